#include "soil_intake.h"

#include <cmath>

#include "earth_pressure.h"
#include "py_generator.h"
#include "run_errors.h"
#include "text_format.h"

namespace kestra {
namespace {

using fmt::Line;

bool in_store(int station, int ninc) { return station >= -2 && station <= ninc + 3; }

void write_pressure_heading(TextSink& report, const UnitLabels& u) {
  report.empty(2);
  report.line("         DEPTH         ACTIVE EARTH PRESSURE");
  report.line(Line().x(9).a(u.l3).x(17).a(u.f4).a("/").a(u.l2).str());
  report.line("        --------       ------------------------");
}

void write_pressure_point(TextSink& report, double depth, double pressure) {
  report.line(Line().x(6).e(depth, 10, 3).x(10).e(pressure, 10, 3).str());
}

void read_user_pressure(FreeInput& in, TextSink& report, Problem& problem, const UnitLabels& u) {
  report.empty(2);
  write_starred(report, "*        SPECIFIED ACTIVE EARTH PRESSURE         *");
  report.empty();
  write_pressure_heading(report, u);
  const int n = in.read_int();
  if (n > kMaxPressurePoints) throw storage_error();
  for (int k = 0; k < n; ++k) {
    const auto v = in.read_reals(2);
    problem.user_pressure.push_back({v[0], v[1], v[1], 0.0});
    write_pressure_point(report, v[0], v[1]);
  }
}

void read_soil_records(FreeInput& in, Problem& problem) {
  WallRecord w;
  {
    const auto v = in.read_record(8);
    w.free_height = v[0].real();
    w.wa = v[1].real();
    w.wp = v[2].real();
    w.zwb = v[3].real();
    w.zwe = v[4].real();
    w.amod = v[5].real();
    w.anchor = v[6].integer();
    w.slope = v[7].real();
  }
  problem.wall_record = w;
  {
    const auto v = in.read_reals(6);
    problem.surcharge = {v[0], v[1], v[2], v[3], v[4], v[5]};
  }
  const int n_surcharges = in.read_int();
  if (n_surcharges > kMaxSurchargeRows) throw storage_error();
  for (int k = 0; k < n_surcharges; ++k) {
    const auto v = in.read_record(4);
    problem.surcharges.push_back({v[0].integer(), v[1].real(), v[2].real(), v[3].real()});
  }
  const int n_layers = in.read_int();
  if (n_layers > kMaxSoilLayers) throw storage_error();
  for (int k = 0; k < n_layers; ++k) {
    SoilLayerRecord layer;
    const auto head = in.read_record(2);
    layer.type = head[0].integer();
    layer.bottom = head[1].real();
    const auto top = in.read_reals(6);
    const auto bottom = in.read_reals(6);
    for (int j = 0; j < 6; ++j) {
      layer.top_values[static_cast<std::size_t>(j)] = top[static_cast<std::size_t>(j)];
      layer.bottom_values[static_cast<std::size_t>(j)] = bottom[static_cast<std::size_t>(j)];
    }
    problem.layers.push_back(layer);
  }
}

// Chain flag of a user curve when only user curves act: curves at or below the
// excavation level are interpolated to the next one.
int user_chain_flag(const UserCurve& c, const Problem& problem) {
  return c.station * problem.increments.h >= problem.increments.free_height ? 1 : 0;
}

void read_user_curves(FreeInput& in, TextSink& report, Problem& problem, bool combined, const UnitLabels& u) {
  const int n = problem.control.n_user_curves;
  if (n > kMaxCurves) throw storage_error();
  report.empty(2);
  write_starred(report, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
  report.empty();
  int previous_flag = 0;
  for (int c = 0; c < n; ++c) {
    UserCurve curve;
    const auto head = in.read_record(4);
    curve.station = head[0].integer();
    const int n_points = head[1].integer();
    curve.p_multiplier = head[2].real();
    curve.y_multiplier = head[3].real();
    if (n_points > kMaxCurvePoints || !in_store(curve.station, problem.wall.ninc)) throw storage_error();
    for (int j = 0; j < n_points; ++j) {
      const auto v = in.read_reals(2);
      curve.y.push_back(v[0]);
      curve.p.push_back(v[1]);
    }
    const int flag = user_chain_flag(curve, problem);
    report.empty();
    report.line("     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     ");
    report.empty();
    report.empty();
    Line line;
    if (combined || previous_flag == 1) {
      line.x(9)
          .i(curve.station, 4)
          .i(flag, 3)
          .x(5)
          .e(curve.p_multiplier, 14, 3)
          .e(curve.y_multiplier, 14, 3)
          .x(10)
          .i(n_points, 3);
    } else if (flag == 1) {
      line.x(5)
          .i(curve.station, 4)
          .x(4)
          .i(flag, 3)
          .x(5)
          .e(curve.p_multiplier, 14, 3)
          .e(curve.y_multiplier, 14, 3)
          .x(10)
          .i(n_points, 3);
    } else {
      line.x(5)
          .i(curve.station, 4)
          .i(curve.station, 4)
          .i(flag, 3)
          .x(5)
          .e(curve.p_multiplier, 14, 3)
          .e(curve.y_multiplier, 14, 3)
          .x(8)
          .i(n_points, 4);
    }
    report.line(line.str());
    report.empty(2);
    report.line(Line().x(18).a("    Y    ").x(12).a("   P    ").str());
    report.line(Line().x(20).a(u.l3).x(16).a(u.f4).a("/").a(u.l2).str());
    report.line(Line().x(18).a("---------").x(12).a("--------").str());
    for (std::size_t j = 0; j < curve.y.size(); ++j) {
      report.line(
          Line().x(17).e(curve.y[j] * curve.y_multiplier, 10, 3).x(10).e(curve.p[j] * curve.p_multiplier, 10, 3).str());
    }
    previous_flag = flag;
    problem.user_curves.push_back(std::move(curve));
  }
}

void write_pressure_section(TextSink& plot, const std::vector<PressurePoint>& points, int ep_code) {
  if (ep_code == 0) {
    plot.line(fmt::free_int(0));
    return;
  }
  plot.line(fmt::free_int(static_cast<std::int64_t>(points.size())));
  for (const PressurePoint& pt : points) {
    const double earth = pt.earth == 0.0 ? 1.0e-7 : pt.earth;
    plot.line(
        Line().x(2).e(pt.depth, 10, 3).x(2).e(pt.total, 10, 3).x(2).e(earth, 10, 3).x(2).e(pt.surcharge, 10, 3).str());
  }
}

void write_curve_points(TextSink& plot, const std::vector<double>& y, const std::vector<double>& p) {
  for (std::size_t j = 0; j < y.size(); ++j) plot.line(fmt::free_real(y[j]) + fmt::free_real(p[j]));
}

// A user curve for the store (Y and P multiplied, P times h) and its plot
// section (station, point count, the points before the factor h).
PyCurve store_user_curve(const UserCurve& uc, int chain, double h, TextSink& plot) {
  PyCurve curve;
  curve.start_station = curve.end_station = uc.station;
  curve.chain = chain;
  plot.line(fmt::free_int(uc.station) + fmt::free_int(static_cast<std::int64_t>(uc.y.size())));
  for (std::size_t j = 0; j < uc.y.size(); ++j) {
    const double y = uc.y[j] * uc.y_multiplier;
    const double p = uc.p[j] * uc.p_multiplier;
    plot.line(fmt::free_real(y) + fmt::free_real(p));
    curve.y.push_back(y);
    curve.p.push_back(p * h);
  }
  return curve;
}

}  // namespace

void load_stations(const std::vector<PressurePoint>& points, WallModel& wall) {
  if (points.empty()) return;
  const double h = wall.h;
  const double deepest = points.back().depth;
  const double nearest = std::round(deepest / h);  // halves away from zero
  const int last = nearest > wall.ninc + 3 ? wall.ninc + 3 : static_cast<int>(nearest);
  double value = 0.0;
  for (int s = 1; s <= last; ++s) {
    const double z = s * h;
    double depth0 = 0.0, total0 = 0.0;
    for (const PressurePoint& pt : points) {
      if (z <= pt.depth) {
        value = total0 + (pt.total - total0) * (z - depth0) / (pt.depth - depth0);
        break;
      }
      depth0 = pt.depth;
      total0 = pt.total;
    }
    wall.q[s] += value;
  }
}

namespace {

// Reads the scratch transfer of the earth pressure generator: the point count,
// then depth, total, earth and surcharge per point, multiplied by WA.
std::vector<PressurePoint> read_epdist(const std::string& text, double wa) {
  FreeInput in(text);
  const int n = in.read_int();
  if (n > kMaxPressurePoints) throw storage_error();
  std::vector<PressurePoint> points;
  for (int k = 0; k < n; ++k) {
    const auto v = in.read_reals(4);
    points.push_back({v[0], v[1] * wa, v[2] * wa, v[3] * wa});
  }
  return points;
}

}  // namespace

std::vector<PressurePoint> shown_points(const std::vector<PressurePoint>& points, int unit_code) {
  if (unit_code != 1 || points.size() <= 50) return points;
  std::vector<PressurePoint> out;
  for (std::size_t k = 0; k < points.size(); k += 6) out.push_back(points[k]);
  return out;
}

namespace {

// A generated curve built from its 34 scratch points (p, y): the backfill
// branch mirrored to negative deflections, the origin, the excavation branch;
// the soil force always opposing the deflection. P before the factor h.
PyCurve build_generated_curve(const std::vector<double>& p, const std::vector<double>& y) {
  PyCurve c;
  for (int k = 34; k >= 18; --k) {
    c.y.push_back(-y[static_cast<std::size_t>(k - 1)]);
    c.p.push_back(p[static_cast<std::size_t>(k - 1)]);
  }
  for (int k = 2; k <= 17; ++k) {
    c.y.push_back(y[static_cast<std::size_t>(k - 1)]);
    c.p.push_back(-p[static_cast<std::size_t>(k - 1)]);
  }
  return c;
}

}  // namespace

void read_soildata(const std::string& text, Problem& problem, TextSink& plot) {
  const double h = problem.increments.h;
  const bool with_user = !problem.user_curves.empty();
  FreeInput in(text);
  const int nc = in.read_int();
  if (nc > kMaxCurves || nc < 0) throw storage_error();
  plot.line(fmt::free_int(problem.control.unit) + fmt::free_int(nc));
  for (int c = 0; c < nc; ++c) {
    if (c < static_cast<int>(problem.user_curves.size())) {
      const auto head = in.read_ints(2);
      for (int j = 0; j < head[1]; ++j) in.read_record(3);
      problem.wall.curves.push_back(store_user_curve(problem.user_curves[static_cast<std::size_t>(c)], 0, h, plot));
      continue;
    }
    const auto head = in.read_record(2);
    const double depth = head[0].real();
    const int n = head[1].integer();
    if (n != 34) throw problem_error("     ERROR -- A GENERATED P-Y CURVE DOES NOT HOLD 34 POINTS");
    std::vector<double> p, y;
    for (int k = 0; k < n; ++k) {
      const auto v = in.read_record(3);
      p.push_back(v[1].real());
      y.push_back(v[2].real());
    }
    PyCurve curve = build_generated_curve(p, y);
    const double nearest = std::round(depth / h);
    if (!(std::fabs(nearest) <= kStationStore)) throw storage_error();
    curve.start_station = curve.end_station = static_cast<int>(nearest);
    curve.chain = 1;
    if (with_user) {
      plot.line(fmt::free_int(curve.start_station) + fmt::free_int(33));
    } else {
      plot.line(fmt::Line().x(1).f(depth, 10, 2).x(1).i(33, 5).str());
    }
    write_curve_points(plot, curve.y, curve.p);
    for (double& v : curve.p) v *= h;
    problem.wall.curves.push_back(std::move(curve));
  }
}

namespace {

// The curves of mode U: user curves alone, chained by their depth.
void store_user_curves(Problem& problem, TextSink& plot) {
  for (const UserCurve& uc : problem.user_curves)
    problem.wall.curves.push_back(store_user_curve(uc, user_chain_flag(uc, problem), problem.increments.h, plot));
}

}  // namespace

void take_in_soil(FreeInput& in, TextSink& report, TextSink& notes, TextSink& plot, Problem& problem,
                  const SupportDepths& supports) {
  const Control& c = problem.control;
  const UnitLabels u = UnitLabels::for_code(c.unit);
  const double h = problem.increments.h;
  const bool generated_pressure = c.ep_code >= 2;
  const bool generated_curves = c.py_code == 2;

  // Earth pressure: user-specified points, or the generator's distribution.
  std::vector<PressurePoint> points;
  std::vector<PressurePoint> shown;
  double pa = 0.0;
  double sigma_v = 0.0;
  if (c.ep_code == 1) {
    read_user_pressure(in, report, problem, u);
    points = problem.user_pressure;
  }
  if (generated_pressure || generated_curves) read_soil_records(in, problem);
  if (generated_pressure) {
    const EarthPressureResult generated = generate_earth_pressure(problem, supports, report, notes);
    sigma_v = generated.sigma_v_excavation;
    points = read_epdist(generated.epdist, problem.wall_record->wa);
    shown = shown_points(points, c.unit);
    write_pressure_heading(report, u);
    for (const PressurePoint& pt : shown) write_pressure_point(report, pt.depth, pt.total);
    if (!points.empty()) pa = points.back().total;
  } else {
    shown = points;
    if (generated_curves) sigma_v = sigma_v_at_excavation(problem);
  }

  // p-y curves: user curves alone (U), user and generated curves (B), generated (G).
  const bool user_curves = c.n_user_curves > 0 && c.py_code <= 2;
  if (user_curves) read_user_curves(in, report, problem, generated_curves, u);
  std::string soildata;
  if (generated_curves) soildata = py_setup(problem, PyHandOver{sigma_v, pa}, report, notes);

  // User pressure with additional surcharges: the surcharge part at each depth,
  // with the free height the p-y generator has set.
  if (c.ep_code == 1 && generated_curves && !problem.surcharges.empty()) {
    const double wa = problem.wall_record->wa;
    for (PressurePoint& pt : points) {
      pt.surcharge = wa * surcharge_pressure_at(problem, pt.depth, problem.increments.free_height);
      pt.total = pt.earth + pt.surcharge;
    }
    shown = points;
  }

  write_pressure_section(plot, shown, c.ep_code == 0 ? 0 : 1);
  std::vector<PressurePoint> per_station = points;
  for (PressurePoint& pt : per_station) pt.total *= h;
  load_stations(per_station, problem.wall);

  if (generated_curves) {
    read_soildata(soildata, problem, plot);
  } else if (user_curves) {
    plot.line(fmt::free_int(c.unit) + fmt::free_int(c.n_user_curves));
    store_user_curves(problem, plot);
  } else {
    // No curves (and p-y code 1 without user curves): the section of code 0.
    plot.line(fmt::free_int(c.unit) + fmt::free_int(0));
  }
}

void read_ei_curves(FreeInput& in, Problem& problem) {
  for (int m = 0; m < problem.control.n_ei_curves; ++m) {
    const auto head = in.read_ints(3);
    EiCurve curve;
    curve.from_station = head[0];
    curve.to_station = head[1];
    const int n = head[2];
    if (n > kMaxEiCurvePoints || !in_store(curve.from_station, problem.wall.ninc) ||
        !in_store(curve.to_station, problem.wall.ninc)) {
      throw storage_error();
    }
    if (n < 2) throw problem_error("     ERROR -- A MOMENT-EI CURVE NEEDS AT LEAST 2 POINTS");
    for (int j = 0; j < n; ++j) {
      const auto v = in.read_reals(2);
      curve.moment.push_back(v[0]);
      curve.ei.push_back(v[1]);
    }
    problem.wall.ei_curves.push_back(std::move(curve));
  }
}

}  // namespace kestra
