// The wall beam-column solver: lateral deflection of the wall by finite
// differences, with nonlinear soil springs (p-y curves) and, optionally, a
// moment-dependent flexural rigidity, iterated until the deflections close.
//
// The difference scheme is the five-diagonal beam-column recursion of Matlock
// and Haliburton (1966); each iteration replaces every p-y curve by the line
// through the segment that holds the current deflection, the iterative
// treatment of soil springs described by Reese and Van Impe (2001). Results are compared digit by digit with an older
// program, so every formula is evaluated in the order it is written: do not rearrange or fuse the arithmetic, and build
// without floating-point contraction.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "wall_model.h"

namespace kestra {

/// Iterations of one solution before it stops unclosed.
inline constexpr int kMaxIterations = 100;

/// One line of the iteration monitor (processor-run notes).
struct MonitorLine {
  int iteration = 0;
  bool off_curve = false;     // some deflection fell outside its p-y curve
  int not_closed = 0;         // stations whose deflection changed by more than the tolerance
  std::array<double, 5> w{};  // deflections of stations 1..5
};

enum class SolveStatus {
  kConverged,           // closed (and the flexural rigidities settled)
  kExceeded,            // stopped: some deflection exceeds the maximum allowable one
  kNotClosed,           // stopped after kMaxIterations without convergence
  kStationsNotInOrder,  // a p-y curve segment runs upward; results are empty
  kNotFinite,           // the solution overflowed or met NaN (degenerate data); results are empty
  kInvalidModel,        // the model cannot be solved as given (see invalid_reason); results are empty
};

struct SolveResult {
  SolveStatus status = SolveStatus::kInvalidModel;
  int iterations = 0;                // the number printed after "RESULTS -- ITERATION"
  bool off_curve = false;            // off-curve flag of the last iteration
  int exceeding = 0;                 // stations exceeding the maximum allowable deflection (last iteration)
  int not_closed = 0;                // stations not closed (last iteration; see solve_wall)
  int zero_pivots = 0;               // stations of the last iteration whose recursion denominator was exactly 0
  const char* invalid_reason = "";   // with kInvalidModel: what is wrong, in upper case
  std::vector<MonitorLine> monitor;  // one per completed iteration, in order
  // Stations 0 ... NINC+1 (NINC+2 entries each); empty unless the status is
  // kConverged, kExceeded or kNotClosed.
  std::vector<double> x, deflection, slope, moment, shear, reaction, ei;
};

/// The straight line P = q - k*y that stands for a p-y curve near one deflection.
struct SpringLine {
  double k = 0.0;          // stiffness (positive when the soil resists)
  double q = 0.0;          // intercept: the soil force at zero deflection
  bool off_curve = false;  // y lay outside the curve's points, or the curve has only two
};

/// Linearizes `curve` at deflection `y`: the line through the segment holding y,
/// the end segment extended beyond the points. A segment of two equal Y gives
/// k = q = 0. A curve of fewer than two points has no segment: k = q = 0 and
/// off_curve set (the input reader rejects such curves; this keeps the solver safe).
SpringLine linearize_py_curve(const PyCurve& curve, double y);

/// Flexural rigidity at `curvature` (>= 0) from a moment-EI curve: the
/// intersection of the line M = curvature * EI with the curve's segment that
/// holds it (the last segment when none does). Returns nothing for a curve of
/// fewer than two points. A segment parallel to the line gives a non-finite value.
std::optional<double> ei_from_curve(const EiCurve& curve, double curvature);

/// Solves one problem. Takes the station arrays, restraint codes and rows, p-y
/// curves and EI curves of `model`; updates model.ei from the EI curves and the
/// start stations of chained p-y curves as the iteration goes (so the model is
/// not reusable for an identical second solve).
///
/// Never indexes outside the station store: curve stations beyond it are
/// skipped, EI-curve ranges are clipped to it. Data that cannot be solved
/// (NINC outside 1 ... kMaxIncrements, increment length not positive, a
/// non-finite tolerance or maximum deflection, more restraint codes than rows,
/// a slope restraint whose first station lies above station -1) gives
/// kInvalidModel. Stopping after kMaxIterations because the flexural rigidities
/// have not settled reports, in not_closed, the stations whose deflection still
/// changed by more than the tolerance since the last rigidity update, so that
/// the caller warns about it.
SolveResult solve_wall(WallModel& model);

}  // namespace kestra
