#include "soil_intake.h"

#include <cmath>

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
      line.x(9).i(curve.station, 4).i(flag, 3).x(5).e(curve.p_multiplier, 14, 3).e(curve.y_multiplier, 14, 3)
          .x(10).i(n_points, 3);
    } else if (flag == 1) {
      line.x(5).i(curve.station, 4).x(4).i(flag, 3).x(5).e(curve.p_multiplier, 14, 3).e(curve.y_multiplier, 14, 3)
          .x(10).i(n_points, 3);
    } else {
      line.x(5).i(curve.station, 4).i(curve.station, 4).i(flag, 3).x(5).e(curve.p_multiplier, 14, 3)
          .e(curve.y_multiplier, 14, 3).x(8).i(n_points, 4);
    }
    report.line(line.str());
    report.empty(2);
    report.line(Line().x(18).a("    Y    ").x(12).a("   P    ").str());
    report.line(Line().x(20).a(u.l3).x(16).a(u.f4).a("/").a(u.l2).str());
    report.line(Line().x(18).a("---------").x(12).a("--------").str());
    for (std::size_t j = 0; j < curve.y.size(); ++j) {
      report.line(Line().x(17).e(curve.y[j] * curve.y_multiplier, 10, 3).x(10)
                      .e(curve.p[j] * curve.p_multiplier, 10, 3).str());
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
    plot.line(Line().x(2).e(pt.depth, 10, 3).x(2).e(pt.total, 10, 3).x(2).e(earth, 10, 3).x(2)
                  .e(pt.surcharge, 10, 3).str());
  }
}

void write_curve_points(TextSink& plot, const std::vector<double>& y, const std::vector<double>& p) {
  for (std::size_t j = 0; j < y.size(); ++j) plot.line(fmt::free_real(y[j]) + fmt::free_real(p[j]));
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

void take_in_soil(FreeInput& in, TextSink& report, TextSink& plot, Problem& problem) {
  const Control& c = problem.control;
  const UnitLabels u = UnitLabels::for_code(c.unit);
  const double h = problem.increments.h;

  if (c.ep_code == 1) read_user_pressure(in, report, problem, u);
  if (c.ep_code >= 2 || c.py_code == 2) {
    read_soil_records(in, problem);
    throw run_abort("     ERROR -- GENERATED EARTH PRESSURE AND P-Y CURVES ARE NOT AVAILABLE IN THIS VERSION");
  }

  // Earth pressure: forces per station, plot section, station loads.
  std::vector<PressurePoint> per_station = problem.user_pressure;
  for (PressurePoint& pt : per_station) pt.total *= h;
  write_pressure_section(plot, problem.user_pressure, c.ep_code == 1 ? 1 : 0);
  load_stations(per_station, problem.wall);

  // p-y curves given by the user alone.
  plot.line(fmt::free_int(c.unit) + fmt::free_int(0 < c.n_user_curves && c.py_code < 2 ? c.n_user_curves : 0));
  if (c.n_user_curves > 0 && c.py_code < 2) {
    read_user_curves(in, report, problem, false, u);
    for (const UserCurve& uc : problem.user_curves) {
      PyCurve curve;
      curve.start_station = curve.end_station = uc.station;
      curve.chain = user_chain_flag(uc, problem);
      std::vector<double> y_plot, p_plot;
      for (std::size_t j = 0; j < uc.y.size(); ++j) {
        y_plot.push_back(uc.y[j] * uc.y_multiplier);
        p_plot.push_back(uc.p[j] * uc.p_multiplier);
        curve.y.push_back(uc.y[j] * uc.y_multiplier);
        curve.p.push_back(uc.p[j] * uc.p_multiplier * h);
      }
      plot.line(fmt::free_int(uc.station) + fmt::free_int(static_cast<std::int64_t>(uc.y.size())));
      write_curve_points(plot, y_plot, p_plot);
      problem.wall.curves.push_back(std::move(curve));
    }
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
