// The earth pressure generator: the soil profile on the backfill side and its
// effective stresses, Rankine coefficients, layer and water forces, the
// triangular and trapezoidal distributions, and the lateral pressure of
// surcharges.
#pragma once

#include <string>

#include "problem_data.h"
#include "report_text.h"

namespace kestra {

/// What the generator hands on.
struct EarthPressureResult {
  /// The scratch transfer "EPDIST.001" exactly as the file would hold it: the
  /// point count on its first line, then one line per point (5X E10.3 depth,
  /// 4X E10.3 total, 4X E10.3 earth part, 4X E10.3 surcharge part), all before
  /// the width factor. The driver reads it back, so the E10.3 rounding carries on.
  std::string epdist;
  /// Vertical effective stress on the backfill side at the excavation level.
  double sigma_v_excavation = 0.0;
};

/// Generates the earth pressure of a problem whose earth-pressure code is 2 or
/// 3: writes its report sections to `report` and its warnings to `notes` (and the
/// report where they belong). `problem.wall_record`, the surcharge records and
/// the soil layers are set. Throws RunAbort for the conditions that end the run
/// at once, ProblemError for those that end the problem.
EarthPressureResult generate_earth_pressure(const Problem& problem, const SupportDepths& supports, TextSink& report,
                                            TextSink& notes);

/// Vertical effective stress on the backfill side at the excavation level, for a
/// problem whose p-y curves are generated while its earth pressure is not.
/// Writes nothing.
double sigma_v_at_excavation(const Problem& problem);

/// Lateral pressure of all additional surcharges of `problem` at `depth` below
/// the top of the wall, with the excavation at `free_height`; 0 without
/// additional surcharges.
double surcharge_pressure_at(const Problem& problem, double depth, double free_height);

}  // namespace kestra
