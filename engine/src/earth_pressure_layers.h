// The pieces of the earth pressure generator between the soil profile and the
// scratch text: Rankine coefficients, the forces of each layer above the
// excavation level, and the distribution with depth before it is written as
// text. Kept apart so that they can be checked with full precision.
#pragma once

#include <string>
#include <vector>

#include "earth_pressure_constants.h"
#include "problem_data.h"
#include "report_text.h"
#include "soil_profile.h"

namespace kestra {

/// Active and passive Rankine coefficients of one layer.
struct RankineCoefficients {
  double sqrt_ka = 0.0, ka = 0.0;
  double sqrt_kp = 0.0, kp = 0.0;
  /// The backfill slope was not below the friction angle, so the coefficient
  /// of a horizontal backfill was kept.
  bool slope_not_below_phi = false;
};

/// Coefficients for friction angle `phi` and backfill slope `slope` (degrees):
/// Ka = tan^2(45 - phi/2) (Rankine 1857), or for a sloping backfill with
/// |slope| < phi, Ka = cos b (cos b - sqrt(cos^2 b - cos^2 phi)) /
/// (cos b + sqrt(cos^2 b - cos^2 phi)); Kp = tan^2(45 + phi/2) always. Angles
/// are converted with the engine's 57.2958. Results may be non-finite for
/// angles far outside 0 to 90 degrees; the caller checks.
RankineCoefficients rankine_coefficients(double phi, double slope);

/// Resultant forces of a layer above the excavation level (per unit width of
/// wall) and their depths, and the tension crack.
struct LayerForces {
  double pa1 = 0.0, pa2 = 0.0, pa3 = 0.0, pa4 = 0.0;
  double z1 = kNoLeverArm, z2 = kNoLeverArm, z3 = kNoCrackLeverArm;
  double zc = 0.0;              // thickness below the tension crack
  double pw1 = 0.0, pw2 = 0.0;  // water resultants, stored negative
  /// The distribution of this layer follows the crack: cohesive and without a
  /// positive net resultant of overburden and cohesion.
  bool cracked = false;
};

/// Everything the generator computed, before it becomes the scratch text.
struct EarthPressureComputation {
  SoilProfile profile;
  std::vector<RankineCoefficients> coefficients;  // one per profile layer
  std::vector<LayerForces> forces;                // layers above the excavation layer
  double net_force = 0.0;
  /// The distribution: point 1 at depth 0, then the points of each layer above
  /// the excavation level; totals are the trapezoid's for earth-pressure code 3.
  std::vector<PressurePoint> points;
  double area = 0.0;  // sum of trapezoids of the computed totals, unit spacing
};

/// Runs the generator (see generate_earth_pressure) and returns its values
/// unrounded. Writes the report sections and warnings; throws RunAbort for the
/// conditions that end the run at once (more than 21 layers after splitting,
/// no layer or no layer top at the free height, surcharges without a free
/// height, values that cannot be computed) and ProblemError for those that end
/// the problem (too many points for the store, a trapezoidal envelope without
/// spring rows or with a degenerate shape). Throws std::invalid_argument when
/// the problem has no wall record.
EarthPressureComputation compute_earth_pressure(const Problem& problem, const SupportDepths& supports, TextSink& report,
                                                TextSink& notes);

/// The scratch text of a distribution: the point count, then per point 5X
/// E10.3 depth, 4X E10.3 total, 4X E10.3 earth part, 4X E10.3 surcharge part.
std::string epdist_text(const std::vector<PressurePoint>& points);

}  // namespace kestra
