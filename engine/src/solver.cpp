// Wall beam-column solver. The arithmetic follows the older program operation
// by operation (see solver.h); comments explain the reasons, not the algebra.
#include "solver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kestra {
namespace {

// Stations that have a position in the store.
constexpr std::int64_t kFirstStoreStation = -kStationOffset;
constexpr std::int64_t kLastStoreStation = kStationStore - kStationOffset - 1;

// Working arrays of one solution, kept off the stack (they are 8 x 414 doubles).
struct Work {
  StationArray s_lin;           // S': springs including the linearized soil springs
  StationArray q_lin;           // Q': loads including the soil spring intercepts
  StationArray ra, rb, rc, rd;  // recursion coefficients A, B, C, D
  StationArray w;               // current deflection
  StationArray w_update;        // deflection at the last flexural-rigidity update
};

// Returns why the model cannot be solved, or nullptr when it can.
const char* check_model(const WallModel& model) {
  if (model.ninc < 1 || model.ninc > kMaxIncrements) return "NUMBER OF INCREMENTS OUT OF RANGE";
  if (!std::isfinite(model.h) || !(model.h > 0.0)) return "INCREMENT LENGTH MUST BE POSITIVE";
  if (!std::isfinite(model.tolerance)) return "DEFLECTION CLOSURE TOLERANCE IS NOT A NUMBER";
  if (!std::isfinite(model.max_deflection)) return "MAXIMUM ALLOWABLE DEFLECTION IS NOT A NUMBER";
  // Walk the station codes the way the forward recursion consumes restraint
  // rows, so that no iteration can read past the stored rows. A code-5 station
  // needs the values remembered at a code-3 station earlier in the same walk;
  // without them its correction divides by zero.
  std::size_t row = 0;
  bool slope_opened = false;
  for (int s = -1; s <= model.ninc + 1; ++s) {
    const int code = model.code_at(s);
    if (code < kDeflection || code > kAfterSlope) continue;
    if (row >= model.restraints.size()) return "MORE RESTRAINED STATIONS THAN RESTRAINT RECORDS";
    if (code == kBeforeSlope) slope_opened = true;
    if (code == kAfterSlope && !slope_opened) return "SPECIFIED SLOPE ABOVE THE TOP OF THE WALL";
    if (code == kDeflection || code == kAfterSlope) ++row;
  }
  return nullptr;
}

// Adds, with `factor`, the springs interpolated between curves `first` and
// `second` at station `s` of a segment starting at `a` and spanning `span`.
void add_curve_pair(const PyCurve& first, const PyCurve& second, std::int64_t s, std::int64_t a, std::int64_t span,
                    double factor, Work& work, bool& off_curve) {
  const int station = static_cast<int>(s);
  const double ratio = span == 0 ? 0.0 : static_cast<double>(s - a) / static_cast<double>(span);
  const SpringLine l0 = linearize_py_curve(first, work.w[station]);
  const SpringLine l1 = linearize_py_curve(second, work.w[station]);
  off_curve = off_curve || l0.off_curve || l1.off_curve;
  work.q_lin[station] = work.q_lin[station] + (l0.q + (l1.q - l0.q) * ratio) * factor;
  work.s_lin[station] = work.s_lin[station] + (l0.k + (l1.k - l0.k) * ratio) * factor;
}

// Distributes one segment over stations a ... last. Stations outside the store
// (curve stations far above the top of the wall) would only ever hold springs
// that no equation reads, so they are skipped; the loop starts inside the store
// so that absurd stations cannot make it long.
void distribute_segment(const PyCurve& first, const PyCurve& second, std::int64_t a, std::int64_t last,
                        std::int64_t span, Work& work, bool& off_curve) {
  for (std::int64_t s = std::max(a, kFirstStoreStation); s <= last; ++s) {
    add_curve_pair(first, second, s, a, span, 1.0, work, off_curve);
  }
  if (span > 0) {
    // End stations of a segment carry half contributions, like the end
    // stations of every distributed range of wall data.
    if (a >= kFirstStoreStation) add_curve_pair(first, second, a, a, span, -0.5, work, off_curve);
    if (last >= kFirstStoreStation) add_curve_pair(first, second, last, a, span, -0.5, work, off_curve);
  }
}

// Adds the linearized soil springs of every p-y curve to S' and Q'. Returns
// false when a segment runs upward (its end station above its start station).
bool add_soil_springs(WallModel& model, Work& work, bool& off_curve) {
  std::vector<PyCurve>& curves = model.curves;
  const std::int64_t ninc = model.ninc;
  int previous_chain = 0;
  std::size_t start = 0;
  // True while a chained curve waits for the curve to interpolate to.
  bool waiting = false;
  for (std::size_t c = 0; c < curves.size(); ++c) {
    if (previous_chain == 0) {
      start = c;
      if (curves[c].chain == 1) {
        previous_chain = 1;
        waiting = true;
        continue;
      }
    }
    const std::int64_t a = curves[start].start_station;
    const std::int64_t b = curves[c].end_station;
    const std::int64_t span = b - a;
    if (span < 0) return false;
    if (span == 0) {
      // A later curve on the start curve's own station adds nothing; the
      // segment goes on to the next curve.
      if (c != start) continue;
      if (a <= ninc) distribute_segment(curves[start], curves[c], a, a, 0, work, off_curve);
    } else if (a < ninc) {
      distribute_segment(curves[start], curves[c], a, std::min(b, ninc), span, work, off_curve);
    }
    waiting = false;
    if (curves[c].chain == 1) {
      curves[c].start_station = curves[c].end_station;
      start = c;
    }
    previous_chain = curves[c].chain;
  }
  // A chained curve with no curve after it to interpolate to (a single user
  // curve below the excavation, for instance) would otherwise be dropped
  // without a word; it acts at its own station like an unchained curve.
  if (waiting) {
    const std::int64_t a = curves[start].start_station;
    if (a <= ninc) distribute_segment(curves[start], curves[start], a, a, 0, work, off_curve);
  }
  return true;
}

// Replaces EI at the stations of every moment-EI curve by the rigidity that
// matches the current curvature. Stations whose neighbours lie outside the
// store are left alone.
void update_flexural_rigidity(WallModel& model, const StationArray& w, double h2) {
  for (const EiCurve& curve : model.ei_curves) {
    const std::int64_t first = std::max<std::int64_t>(curve.from_station, kFirstStoreStation + 1);
    const std::int64_t last = std::min<std::int64_t>(curve.to_station, kLastStoreStation - 1);
    for (std::int64_t s64 = first; s64 <= last; ++s64) {
      const int s = static_cast<int>(s64);
      const double curvature = std::fabs((w[s - 1] - 2.0 * w[s] + w[s + 1]) / h2);
      if (const std::optional<double> ei = ei_from_curve(curve, curvature)) model.ei[s] = *ei;
    }
  }
}

bool all_finite(const std::vector<double>& values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

SpringLine linearize_py_curve(const PyCurve& curve, double y) {
  SpringLine line;
  const std::size_t n = std::min(curve.y.size(), curve.p.size());
  if (n < 2) {
    line.off_curve = true;
    return line;
  }
  std::size_t j = n - 1;  // upper point of the segment used (0-based)
  if (n == 2) {
    // Two points are a straight line everywhere; the flag tells the user the
    // curve was never really followed.
    line.off_curve = true;
  } else {
    if (y < curve.y[0]) line.off_curve = true;
    bool found = false;
    for (std::size_t k = 1; k < n; ++k) {
      if (curve.y[k] >= y) {
        j = k;
        found = true;
        break;
      }
    }
    if (!found) line.off_curve = true;
  }
  const std::size_t i = j - 1;
  if (curve.y[j] == curve.y[i]) return line;  // a vertical step: no stiffness, no load
  line.k = -(curve.p[j] - curve.p[i]) / (curve.y[j] - curve.y[i]);
  line.q = line.k * curve.y[i] + curve.p[i];
  return line;
}

std::optional<double> ei_from_curve(const EiCurve& curve, double curvature) {
  const std::size_t n = std::min(curve.moment.size(), curve.ei.size());
  if (n < 2) return std::nullopt;
  const std::vector<double>& m = curve.moment;
  const std::vector<double>& ei = curve.ei;
  std::size_t j = n - 1;
  for (std::size_t k = 1; k + 1 < n; ++k) {
    if (m[k] > curvature * ei[k]) {
      j = k;
      break;
    }
  }
  const std::size_t i = j - 1;
  const double r = (m[i] - curvature * ei[i]) / ((ei[j] - ei[i]) * curvature - m[j] + m[i]);
  return ei[i] + (ei[j] - ei[i]) * r;
}

SolveResult solve_wall(WallModel& model) {
  SolveResult result;
  if (const char* why = check_model(model)) {
    result.status = SolveStatus::kInvalidModel;
    result.invalid_reason = why;
    return result;
  }

  const int n = model.ninc;
  const double h = model.h;
  const double h2 = h * h;
  const double h3 = h * h * h;
  const double two_h = 2.0 * h;
  const StationArray& f = model.ei;  // read afresh each iteration: EI curves change it
  const StationArray& p = model.p;
  const StationArray& r = model.r;
  const StationArray& t = model.t;

  auto work_owner = std::make_unique<Work>();
  Work& work = *work_owner;
  StationArray& wa = work.ra;
  StationArray& wb = work.rb;
  StationArray& wc = work.rc;
  StationArray& wd = work.rd;
  StationArray& w = work.w;
  // All arrays start at 0; A, B, C stay 0 at stations -3 and -2, and w stays 0
  // at NINC+2 and NINC+3, which the recursion and back substitution rely on.

  for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
    result.iterations = iteration;
    for (int s = -1; s <= n + 1; ++s) {
      work.s_lin[s] = model.s[s];
      work.q_lin[s] = model.q[s];
    }
    bool off_curve = false;
    if (!model.curves.empty() && !add_soil_springs(model, work, off_curve)) {
      result.status = SolveStatus::kStationsNotInOrder;
      return result;
    }

    // Forward recursion, so that w(s) = A(s) + B(s) w(s+1) + C(s) w(s+2).
    double a_star = 0.0, b_star = 0.0, c_star = 0.0, d_star = 0.0;
    std::size_t row = 0;  // check_model guarantees the rows last
    int zero_pivots = 0;
    for (int s = -1; s <= n + 1; ++s) {
      const double ca = f[s - 1] - (h / 4.0) * (h * p[s - 1] + r[s - 1]);
      const double cb = -2.0 * (f[s - 1] + f[s]);
      const double cc = f[s - 1] + 4.0 * f[s] + f[s + 1] + h3 * work.s_lin[s] +
                        (h / 4.0) * ((h * p[s - 1] + r[s - 1]) + (h * p[s + 1] + r[s + 1]));
      const double cd = -2.0 * (f[s] + f[s + 1]);
      const double ce = f[s + 1] - (h / 4.0) * (h * p[s + 1] + r[s + 1]);
      const double cf = h3 * work.q_lin[s] - (h2 / 2.0) * (t[s - 1] - t[s + 1]);

      const double e = ca * wb[s - 2] + cb;
      const double denominator = e * wb[s - 1] + ca * wc[s - 2] + cc;
      if (denominator == 0.0) {
        wd[s] = 0.0;
        ++zero_pivots;
      } else {
        wd[s] = -1.0 / denominator;
      }
      wc[s] = ce * wd[s];
      wb[s] = (e * wc[s - 1] + cd) * wd[s];
      wa[s] = (e * wa[s - 1] + ca * wa[s - 2] - cf) * wd[s];

      switch (model.code_at(s)) {
        case kDeflection:
          wc[s] = 0.0;
          wb[s] = 0.0;
          wa[s] = model.restraints[row].deflection;
          ++row;
          break;
        case kBeforeSlope:
          d_star = wd[s];
          c_star = wc[s];
          b_star = wb[s];
          a_star = wa[s];
          wc[s] = 1.0;
          wb[s] = 0.0;
          wa[s] = -two_h * model.restraints[row].slope;
          break;
        case kDeflectionSlope:
          wc[s] = 0.0;
          wb[s] = 0.0;
          wa[s] = model.restraints[row].deflection;
          break;
        case kAfterSlope: {
          const double g = 1.0 / (1.0 - (b_star * wb[s - 1] + c_star - 1.0) * wd[s] / d_star);
          wc[s] = g * wc[s];
          wb[s] = g * (b_star * wc[s - 1] * wd[s] / d_star + wb[s]);
          wa[s] = g * ((b_star * wa[s - 1] + a_star + two_h * model.restraints[row].slope) * wd[s] / d_star + wa[s]);
          ++row;
          break;
        }
        default:  // free, and any code the restraint records do not produce
          break;
      }
    }

    // Back substitution, counting exceeding and unclosed stations.
    w[n + 1] = wa[n + 1] + wb[n + 1] * w[n + 2] + wc[n + 1] * w[n + 3];
    int exceeding = 0;
    int not_closed = 0;
    for (int s = n; s >= 0; --s) {
      const double old = w[s];
      w[s] = wa[s] + wb[s] * w[s + 1] + wc[s] * w[s + 2];
      if ((model.max_deflection - std::fabs(w[s])) < 0.0) ++exceeding;
      if (std::fabs(w[s] - old) - model.tolerance > 0.0) ++not_closed;
    }
    w[-1] = wa[-1] + wb[-1] * w[0] + wc[-1] * w[1];

    for (int s = -1; s <= n + 1; ++s) {
      if (!std::isfinite(w[s])) {
        result.status = SolveStatus::kNotFinite;
        return result;
      }
    }

    result.off_curve = off_curve;
    result.exceeding = exceeding;
    result.not_closed = not_closed;
    result.zero_pivots = zero_pivots;
    result.monitor.push_back(MonitorLine{iteration, off_curve, not_closed, {w[1], w[2], w[3], w[4], w[5]}});

    if (exceeding > 0) {
      result.status = SolveStatus::kExceeded;
      break;
    }
    if (not_closed > 0) {
      result.status = SolveStatus::kNotClosed;  // final only if this was the last iteration
      continue;
    }
    if (model.ei_curves.empty()) {
      result.status = SolveStatus::kConverged;
      break;
    }
    int moved = 0;
    for (int s = 0; s <= n; ++s) {
      if (std::fabs(w[s] - work.w_update[s]) > model.tolerance) ++moved;
    }
    if (moved == 0) {
      result.status = SolveStatus::kConverged;
      break;
    }
    for (int s = 0; s <= n; ++s) work.w_update[s] = w[s];
    update_flexural_rigidity(model, w, h2);
    // Should this have been the last iteration, the rigidities never settled:
    // the stations still moving count as not closed, so the report warns
    // instead of presenting the results as converged.
    result.status = SolveStatus::kNotClosed;
    result.not_closed = moved;
  }

  // Results. One station is extrapolated beyond each end; the moment above the
  // top is taken as 0.
  StationArray wr = w;
  wr[-2] = 2.0 * wr[-1] - wr[0];
  wr[n + 2] = 2.0 * wr[n + 1] - wr[n];
  StationArray m;
  m[-1] = 0.0;
  for (int s = 0; s <= n + 2; ++s) m[s] = (wr[s - 1] - 2.0 * wr[s] + wr[s + 1]) * f[s] / h2;

  const std::size_t count = static_cast<std::size_t>(n) + 2;
  result.x.resize(count);
  result.deflection.resize(count);
  result.slope.resize(count);
  result.moment.resize(count);
  result.shear.resize(count);
  result.reaction.resize(count);
  result.ei.resize(count);
  for (int s = 0; s <= n + 1; ++s) {
    const std::size_t k = static_cast<std::size_t>(s);
    result.x[k] = s * h;
    result.deflection[k] = wr[s];
    result.slope[k] = (wr[s + 1] - wr[s - 1]) / two_h;
    result.moment[k] = m[s];
    result.shear[k] = (m[s + 1] - m[s - 1]) / two_h;
    result.reaction[k] = (m[s - 1] - 2.0 * m[s] + m[s + 1]) / h;
    result.ei[k] = f[s];
  }
  if (!all_finite(result.slope) || !all_finite(result.moment) || !all_finite(result.shear) ||
      !all_finite(result.reaction) || !all_finite(result.ei)) {
    result.status = SolveStatus::kNotFinite;
    for (std::vector<double>* v :
         {&result.x, &result.deflection, &result.slope, &result.moment, &result.shear, &result.reaction, &result.ei}) {
      v->clear();
    }
  }
  return result;
}

}  // namespace kestra
