#include "earth_pressure.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iostream>
#include <stdexcept>
#include <string>

#include "earth_pressure_constants.h"
#include "earth_pressure_layers.h"
#include "run_errors.h"
#include "soil_profile.h"
#include "surcharge.h"
#include "text_format.h"

namespace kestra {
namespace {

using fmt::Line;

constexpr const char* kTerminated = "     EXECUTION HAS BEEN TERMINATED BECAUSE ";

RunAbort terminated(const std::string& first, const std::string& second = {}) {
  RunAbort abort{{"", "", kTerminated + first}};
  if (!second.empty()) abort.lines.push_back("     " + second);
  return abort;
}

// Values that overflow (absurdly large data) must end the run with a message,
// never reach the report or the scratch text as asterisks or NaN.
void require_finite(std::initializer_list<double> values, const std::string& first, const std::string& second) {
  for (double v : values) {
    if (!std::isfinite(v)) throw terminated(first, second);
  }
}

std::string layer_no(int index) { return std::to_string(index + 1); }

void write_lines(TextSink& sink, std::initializer_list<const char*> lines) {
  for (const char* l : lines) sink.line(l);
}

// --- Profile checks --------------------------------------------------------

void check_profile(const SoilProfile& profile) {
  if (profile.count() > kMaxProfileLayers) {
    throw RunAbort{{"", "", "     EXECUTION HAS BEEN TERMINATED BECAUSE SUBDIVISION OF",
                    "     A LAYER HAS LED TO CREATION OF MORE THAN 20 LAYERS."}};
  }
  if (profile.count() == 0) throw terminated("NO SOIL LAYER OF POSITIVE THICKNESS IS GIVEN.");
  if (profile.excavation < 0) {
    throw terminated("NO SOIL LAYER STARTS AT THE FREE HEIGHT OF THE",
                     "WALL (THE SOIL LAYERS MUST REACH DOWN TO THE EXCAVATION LEVEL).");
  }
  for (int k = 0; k <= profile.count(); ++k) {
    require_finite({profile.sigma_v_of(k)}, "THE EFFECTIVE OVERBURDEN STRESS OF LAYER " + layer_no(k),
                   "CANNOT BE COMPUTED (VALUES TOO LARGE).");
  }
}

// --- Coefficients ------------------------------------------------------------

std::vector<RankineCoefficients> coefficients_of(const SoilProfile& profile, double slope, TextSink& report,
                                                 TextSink& notes) {
  std::vector<RankineCoefficients> out;
  for (int k = 0; k < profile.count(); ++k) {
    const RankineCoefficients co = rankine_coefficients(profile.layers[static_cast<std::size_t>(k)].phi, slope);
    require_finite({co.sqrt_ka, co.ka, co.sqrt_kp, co.kp}, "THE EARTH PRESSURE COEFFICIENTS OF LAYER " + layer_no(k),
                   "ARE UNDEFINED (CHECK ITS FRICTION ANGLE AND THE SLOPE OF THE BACKFILL).");
    // Only the layers retained above the excavation level are warned about.
    if (co.slope_not_below_phi && k < profile.excavation) {
      for (TextSink* sink : {&notes, &report}) {
        sink->empty(2);
        write_lines(*sink, {"**** WARNING ******",
                            "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND."});
      }
    }
    out.push_back(co);
  }
  report.empty(2);
  write_starred(report, "* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *");
  report.empty();
  report.line(Line().x(6).a("  LAYER         ACTIVE EARTH     PASSIVE EARTH   "));
  report.line(Line().x(6).a("   NO.          COEFFICIENT      COEFFICIENT     "));
  for (std::size_t k = 0; k < out.size(); ++k) {
    report.line(Line().x(10).i(static_cast<std::int64_t>(k) + 1, 2).x(9).e(out[k].ka, 10, 3).x(8).e(out[k].kp, 10, 3));
  }
  return out;
}

// --- Layer forces -------------------------------------------------------------

// Effective unit weight in the layer: drained soil below water is buoyant.
double effective_unit_weight(const ProfileLayer& layer, double gamma_w) {
  return layer.drained && layer.below_water ? layer.unit_weight - gamma_w : layer.unit_weight;
}

LayerForces forces_of(const SoilProfile& profile, int k, const RankineCoefficients& co, const WorkingSurcharge& set) {
  const ProfileLayer& layer = profile.layers[static_cast<std::size_t>(k)];
  const double t = layer.thickness;
  const double amod = layer.amod;
  LayerForces f;
  f.pa1 = layer.sigma_v * co.ka * t * amod;
  f.pa1 = add_layer_surcharge_resultant(set, layer.top, t, profile.free_height, f.pa1);
  f.pa2 = t * t * (effective_unit_weight(layer, profile.gamma_w) / 2.0) * co.ka * amod;
  f.pa3 = -(2.0 * layer.cohesion * co.sqrt_ka * t * amod);
  f.z1 = layer.top + t / 2.0;
  f.z2 = layer.top + 2.0 * t / 3.0;
  if (f.pa1 + f.pa3 < 0.0) {
    // Tension crack: the cohesion holds the upper part of the layer; only the
    // part below the crack (thickness ZC) presses, linearly from zero to t2.
    f.pa1 = f.pa2 = f.pa3 = 0.0;
    const double t1 = 2.0 * layer.cohesion * co.sqrt_ka - layer.sigma_v * co.ka;
    const double t2 = profile.sigma_v_of(k + 1) * co.ka - 2.0 * layer.cohesion * co.sqrt_ka;
    f.zc = t2 * t / (t2 + t1);
    f.pa4 = t2 > 0.0 ? amod * f.zc * t2 / 2.0 : 0.0;
    f.z3 = layer.top + t - f.zc / 3.0;
  }
  f.cracked = f.pa1 + f.pa3 <= 0.0 && layer.cohesion > 0.0;
  require_finite({f.pa1, f.pa2, f.pa3, f.pa4, f.z1, f.z2, f.z3, f.zc},
                 "THE ACTIVE EARTH PRESSURE OF LAYER " + layer_no(k),
                 "CANNOT BE COMPUTED (NO STRESS INCREASE BELOW A TENSION CRACK, OR VALUES TOO LARGE).");
  return f;
}

void write_layer_forces(TextSink& report, const std::vector<LayerForces>& forces, const UnitLabels& u) {
  report.empty(2);
  write_starred(report, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
  report.empty();
  report.line(Line().x(6).a(" LAYER    PA1     Z1       PA2     Z2         PA3     Z3").a("        PA4"));
  const std::string pressure = u.f4 + "/" + u.l2 + "**" + "2";
  report.line(Line()
                  .x(6)
                  .a("  NO")
                  .x(1)
                  .a(pressure)
                  .x(2)
                  .a(u.l3)
                  .x(2)
                  .a(pressure)
                  .x(2)
                  .a(u.l3)
                  .x(4)
                  .a(pressure)
                  .x(2)
                  .a(u.l3)
                  .x(4)
                  .a(pressure));
  report.empty();
  for (std::size_t k = 0; k < forces.size(); ++k) {
    const LayerForces& f = forces[k];
    report.line(Line()
                    .x(6)
                    .i(static_cast<std::int64_t>(k) + 1, 2)
                    .x(1)
                    .f(f.pa1, 10, 2)
                    .x(1)
                    .f(f.z1, 6, 2)
                    .x(1)
                    .f(f.pa2, 10, 2)
                    .x(1)
                    .f(f.z2, 6, 2)
                    .x(1)
                    .f(f.pa3, 10, 2)
                    .x(1)
                    .f(f.z3, 6, 2)
                    .x(1)
                    .f(f.pa4, 10, 2));
  }
}

// Water resultants of the drained layers from the water layer down to the
// excavation level; written only when the water table lies above it.
void water_forces(const SoilProfile& profile, std::vector<LayerForces>& forces, TextSink& report) {
  if (profile.water < 0 || profile.water >= profile.excavation) return;
  report.empty(2);
  write_starred(report, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
  report.empty();
  report.line(Line().x(6).a(" LAYER    PW1     Z1       PW2     Z2                "));
  report.line(Line().x(6).a("  NO             "));
  report.empty();
  for (int k = profile.water; k < profile.excavation; ++k) {
    const ProfileLayer& layer = profile.layers[static_cast<std::size_t>(k)];
    if (!layer.drained) continue;
    LayerForces& f = forces[static_cast<std::size_t>(k)];
    const double t = layer.thickness;
    f.pw1 = -(layer.top - profile.zwb) * profile.gamma_w * t;
    f.pw2 = -(t * t * profile.gamma_w / 2.0);
    require_finite({f.pw1, f.pw2}, "THE WATER PRESSURE OF LAYER " + layer_no(k),
                   "CANNOT BE COMPUTED (VALUES TOO LARGE).");
    report.line(
        Line().x(6).i(k + 1, 2).x(1).f(-f.pw1, 10, 2).x(1).f(f.z1, 6, 2).x(1).f(-f.pw2, 10, 2).x(1).f(f.z2, 6, 2));
  }
}

// --- Distribution ---------------------------------------------------------------

// Lateral pressure of the earth (and backfill water) at local depth z of a layer.
double earth_at(const ProfileLayer& layer, const RankineCoefficients& co, const LayerForces& f, double z,
                double gamma_w, double zwb) {
  const bool wet = layer.drained && layer.below_water;
  const double pore = wet ? gamma_w * (layer.top + z - zwb) : 0.0;
  if (f.cracked) {
    const double zz = z - (layer.thickness - f.zc);
    const double earth = zz > 0.0 && f.zc > 0.0 ? 2.0 * f.pa4 * zz / (f.zc * f.zc) : 0.0;
    // The crack holds the soil, not the water: drained soil below the water
    // table keeps its water pressure.
    return wet ? earth + pore : earth;
  }
  return co.ka * layer.amod * (layer.sigma_v + effective_unit_weight(layer, gamma_w) * z) -
         2.0 * layer.cohesion * co.sqrt_ka * layer.amod + pore;
}

// Apparent-pressure envelope over the computed distribution (after Terzaghi &
// Peck 1967 for braced and anchored walls): rises to pmax at 2/3 of the top
// support depth, holds, and falls to zero at the excavation level; its area is
// 1.3 times the computed area for one support.
void make_trapezoid(std::vector<PressurePoint>& points, double area, const SupportDepths& supports) {
  if (supports.n_spring_rows < 1) {
    throw problem_error(
        "     ERROR -- THE TRAPEZOIDAL EARTH PRESSURE NEEDS AT LEAST ONE SUPPORT ROW (LATERAL SPRING DATA)");
  }
  const double depth_d = points.back().depth;
  const double d1 = supports.top;
  const double d2 = supports.bottom;
  const double a = 2.0 * d1 / 3.0;
  double b = 0.0, c = 0.0, denominator = 0.0, pmax = 0.0;
  if (supports.n_spring_rows > 1) {
    c = 2.0 * (depth_d - d2) / 3.0;
    b = depth_d - a - c;
    denominator = depth_d - (c + a) / 3.0;
    pmax = kTrapezoidFactor * area / denominator;
  } else {
    c = 2.0 * (depth_d - d1) / 3.0;
    b = depth_d / 3.0;
    denominator = 2.0 * depth_d;
    pmax = 3.0 * kTrapezoidFactor * area / denominator;
  }
  if (!(denominator > 0.0) || !std::isfinite(pmax)) {
    throw ProblemError{{"", "", "     ERROR -- THE TRAPEZOIDAL EARTH PRESSURE CANNOT BE FORMED: NO SOIL ABOVE THE",
                        "     EXCAVATION LEVEL, OR SUPPORT DEPTHS THAT GIVE NO POSITIVE PEAK"}};
  }
  const double e = a + b;
  for (PressurePoint& pt : points) {
    if (pt.depth < a) {
      pt.total = pmax * pt.depth / a;
    } else if (pt.depth <= e || !(c > 0.0)) {
      // Without a falling branch (c <= 0) a depth can pass e only by rounding.
      pt.total = pmax;
    } else {
      pt.total = pmax - (pt.depth - e) * pmax / c;
    }
  }
}

}  // namespace

RankineCoefficients rankine_coefficients(double phi, double slope) {
  RankineCoefficients co;
  co.sqrt_ka = std::tan((kRankineBase - phi / 2.0) / kDegreesPerRadian);
  co.ka = co.sqrt_ka * co.sqrt_ka;
  if (slope != 0.0) {
    if (std::fabs(slope) < phi) {
      // Rankine's coefficient for a backfill sloping at `slope`.
      const double cb = std::cos(slope / kDegreesPerRadian);
      const double cp = std::cos(phi / kDegreesPerRadian);
      const double root = std::sqrt(cb * cb - cp * cp);
      co.ka = cb * (cb - root) / (cb + root);
      co.sqrt_ka = std::sqrt(co.ka);
    } else {
      co.slope_not_below_phi = true;
    }
  }
  co.sqrt_kp = std::tan((kRankineBase + phi / 2.0) / kDegreesPerRadian);
  co.kp = co.sqrt_kp * co.sqrt_kp;
  return co;
}

std::string epdist_text(const std::vector<PressurePoint>& points) {
  std::string text = fmt::free_int(static_cast<std::int64_t>(points.size())) + "\n";
  for (const PressurePoint& pt : points) {
    text += Line()
                .x(5)
                .e(pt.depth, 10, 3)
                .x(4)
                .e(pt.total, 10, 3)
                .x(4)
                .e(pt.earth, 10, 3)
                .x(4)
                .e(pt.surcharge, 10, 3)
                .str();
    text += '\n';
  }
  return text;
}

EarthPressureComputation compute_earth_pressure(const Problem& problem, const SupportDepths& supports, TextSink& report,
                                                TextSink& notes) {
  if (!problem.wall_record) throw std::invalid_argument("compute_earth_pressure: the problem has no wall record");
  const WallRecord& wall = *problem.wall_record;
  const int unit = problem.control.unit;
  const UnitLabels u = UnitLabels::for_code(unit);

  EarthPressureComputation out;
  out.profile = build_soil_profile(wall, problem.surcharge.surface, problem.layers, unit);
  const SoilProfile& profile = out.profile;

  write_wall_information(report, wall, unit);
  write_surcharge_information(report, problem);
  write_soil_information(report, profile, kMaxProfileLayers, unit);
  check_profile(profile);
  if (has_surcharge_loads(problem) && !(wall.free_height >= kDepthTolerance)) throw surcharge_free_height_abort();
  write_effective_stress(report, profile, unit);

  out.coefficients = coefficients_of(profile, wall.slope, report, notes);

  const int excavation = profile.excavation;
  const WorkingSurcharge set = working_surcharge(problem);
  for (int k = 0; k < excavation; ++k) {
    out.forces.push_back(forces_of(profile, k, out.coefficients[static_cast<std::size_t>(k)], set));
  }
  write_layer_forces(report, out.forces, u);
  water_forces(profile, out.forces, report);

  for (const LayerForces& f : out.forces) out.net_force = out.net_force + f.pa1 + f.pa2 + f.pa3 + f.pa4 - f.pw1 - f.pw2;
  if (out.net_force < kSmallPressure) {
    report.empty(2);
    report.line("     Net active pressure is negative.");
    report.empty();
    std::cerr << "\n\n     Net active pressure is negative.\n\n";
  }

  // Point count: one point per length unit of each layer (rounded), plus the
  // top of the wall. Checked against the store before anything is built.
  double n_points = 1.0;
  for (int k = 0; k < excavation; ++k) n_points += std::round(profile.layers[static_cast<std::size_t>(k)].thickness);
  if (!(n_points <= kMaxPressurePoints)) throw storage_error();

  const RankineCoefficients& first = out.coefficients.front();
  const double top_pressure = first.ka * profile.layers.front().sigma_v;
  require_finite({top_pressure}, "THE EARTH PRESSURE AT POINT 1", "CANNOT BE COMPUTED (VALUES TOO LARGE).");
  out.points.push_back({0.0, top_pressure, top_pressure, 0.0});
  double previous_total = 0.0;
  for (int k = 0; k < excavation; ++k) {
    const ProfileLayer& layer = profile.layers[static_cast<std::size_t>(k)];
    const RankineCoefficients& co = out.coefficients[static_cast<std::size_t>(k)];
    const LayerForces& f = out.forces[static_cast<std::size_t>(k)];
    const int n = static_cast<int>(std::round(layer.thickness));
    for (int i = 1; i <= n; ++i) {
      const double z = i * layer.thickness / n;
      PressurePoint pt;
      pt.depth = layer.top + z;
      pt.earth = earth_at(layer, co, f, z, profile.gamma_w, profile.zwb);
      pt.surcharge = surcharge_rows_pressure(problem.surcharges, pt.depth, profile.free_height);
      pt.total = pt.earth + pt.surcharge;
      const int number = static_cast<int>(out.points.size()) + 1;
      if (pt.depth > wall.zwe) {
        // Water on the excavation side balances the backfill water below its level.
        if (layer.below_water) {
          const double balance = (pt.depth - wall.zwe) * profile.gamma_w;
          pt.total -= balance;
          pt.earth -= balance;
        }
        if (pt.total < kSmallPressure) pt.total = number * kTinyTotal;
      }
      out.area += (previous_total + pt.total) / 2.0;
      previous_total = pt.total;
      require_finite({pt.depth, pt.total, pt.earth, pt.surcharge, out.area},
                     "THE EARTH PRESSURE AT POINT " + std::to_string(number), "CANNOT BE COMPUTED (VALUES TOO LARGE).");
      out.points.push_back(pt);
    }
  }

  if (problem.control.ep_code == 3) make_trapezoid(out.points, out.area, supports);
  return out;
}

EarthPressureResult generate_earth_pressure(const Problem& problem, const SupportDepths& supports, TextSink& report,
                                            TextSink& notes) {
  const EarthPressureComputation c = compute_earth_pressure(problem, supports, report, notes);
  EarthPressureResult result;
  result.epdist = epdist_text(c.points);
  result.sigma_v_excavation = c.profile.sigma_v_of(c.profile.excavation);
  return result;
}

double sigma_v_at_excavation(const Problem& problem) {
  if (!problem.wall_record) return 0.0;
  const SoilProfile profile =
      build_soil_profile(*problem.wall_record, problem.surcharge.surface, problem.layers, problem.control.unit);
  if (profile.count() == 0 || profile.excavation < 0) return 0.0;
  const double sigma_v = profile.sigma_v_of(profile.excavation);
  require_finite({sigma_v}, "THE EFFECTIVE OVERBURDEN STRESS AT THE EXCAVATION LEVEL",
                 "CANNOT BE COMPUTED (VALUES TOO LARGE).");
  return sigma_v;
}

}  // namespace kestra
