#include "wall_input.h"

#include "run_errors.h"
#include "text_format.h"

namespace kestra {
namespace {

using fmt::Line;

// Stations a record may name: -2 ... NINC+3 (positions 2 ... NINC+7 of the store).
bool in_store(int station, int ninc) { return station >= -2 && station <= ninc + 3; }

void check_station(int station, int ninc) {
  if (!in_store(station, ninc)) throw storage_error();
}

void write_control_line(TextSink& out, const char* text, int value) { out.line(Line().x(6).a(text).i(value, 2).str()); }

}  // namespace

void read_control(FreeInput& in, Problem& problem) {
  const auto v = in.read_ints(9);
  Control& c = problem.control;
  c.unit = v[0];
  c.n_restraints = v[1];
  c.n_stiffness = v[2];
  c.n_modifications = v[3];
  c.ep_code = v[4];
  c.py_code = v[5];
  c.n_user_curves = v[6];
  c.stage_count = v[7];
  c.n_ei_curves = v[8];
}

void echo_control(TextSink& report, const Control& c) {
  report.empty(2);
  write_starred(report, "*        PROGRAM CONTROL PARAMETERS              *");
  report.empty();
  write_control_line(report, "NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ", c.n_restraints);
  write_control_line(report, "NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ", c.n_stiffness);
  write_control_line(report, "GENERATE EARTH PRESSURE INTERNALLY                 = ", c.ep_code >= 2 ? 1 : 0);
  write_control_line(report, "GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ", c.py_code == 2 ? 1 : 0);
  write_control_line(report, "NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ", c.n_modifications);
  write_control_line(report, "NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ", c.n_user_curves);
}

void distribute_range(StationArray* const* targets, int n_targets, int a, int b, const RangeValues& va,
                      const RangeValues& vb) {
  if (b < a) throw order_error();
  if (b == a) {
    for (int k = 0; k < n_targets; ++k) targets[k]->at(a) += vb.v[k];
    return;
  }
  for (int k = 0; k < n_targets; ++k) {
    StationArray& arr = *targets[k];
    for (int s = a; s <= b; ++s) arr.at(s) += va.v[k] + (vb.v[k] - va.v[k]) * (s - a) / (b - a);
    arr.at(a) += -0.5 * va.v[k];
    arr.at(b) += -0.5 * vb.v[k];
  }
}

namespace {

// One row of a distributed block, as read.
struct BlockRow {
  int from = 0, to = 0, code = 1;
  RangeValues values;
};

// Distributes the rows of one block by the chain rule (continuation code 1:
// constant over the row's range; 2: linear to the end station of the next row)
// and echoes each row with the six values that `echo_values` gives for it.
template <class EchoValues>
void distribute_block(TextSink& report, const std::vector<BlockRow>& rows, StationArray* const* targets, int n_targets,
                      int ninc, EchoValues echo_values) {
  int previous_flag = 0;
  int start_station = 0;
  RangeValues start_values;
  for (const BlockRow& row : rows) {
    check_station(row.from, ninc);
    check_station(row.to, ninc);
    const int flag = row.code - 1;
    const int kind = 2 * previous_flag + flag + 1;
    previous_flag = flag;
    const auto six = echo_values(row);
    Line line;
    if (kind == 2) {
      line.x(5).i(row.from, 4).x(4).i(flag, 3);
    } else if (kind == 3 || kind == 4) {
      line.x(9).i(row.to, 4).i(flag, 3);
    } else {
      line.x(5).i(row.from, 4).i(row.to, 4).i(flag, 3);
    }
    line.x(1);
    for (double v : six) line.e(v, 10, 3);
    report.line(line.str());

    if (kind == 2) {
      start_station = row.from;
      start_values = row.values;
    } else if (kind == 3 || kind == 4) {
      distribute_range(targets, n_targets, start_station, row.to, start_values, row.values);
      if (kind == 4) {
        start_station = row.to;
        start_values = row.values;
      }
    } else {
      distribute_range(targets, n_targets, row.from, row.to, row.values, row.values);
    }
  }
}

void read_restraints(FreeInput& in, TextSink& report, Problem& problem) {
  WallModel& wall = problem.wall;
  const int count = problem.control.n_restraints;
  const int ninc = wall.ninc;
  for (int s = -3; s <= ninc + 3; ++s) wall.code_at(s) = kFree;
  if (count > 20) throw storage_error();
  if (count <= 0) {
    report.empty();
    report.line(std::string(20, ' '));
    return;
  }
  report.empty(2);
  write_starred(report, "*        SPECIFIED DEFLECTIONS AND SLOPES        *");
  report.empty();
  report.line("          STA      CASE       DEFLECTION        SLOPE");
  report.empty();
  int previous_station = -1;
  for (int k = 0; k < count; ++k) {
    const auto v = in.read_record(4);
    const int kase = v[0].integer();
    const int station = v[1].integer();
    const double deflection = v[2].real();
    const double slope = v[3].real();
    Line line;
    line.x(10).i(station, 3).x(7).i(kase, 2);
    if (kase >= 3) {
      line.x(3).x(5).e(deflection, 10, 3).x(5).e(slope, 10, 3);
    } else if (kase == 2) {
      line.x(11).a("NONE").x(8).e(slope, 10, 3);
    } else {
      line.x(8).e(deflection, 10, 3).x(9).a("NONE");
    }
    report.line(line.str());
    if (station < previous_station) throw order_error();
    previous_station = station;
    // The codes reach one station to each side.
    if (station > ninc + 2) throw storage_error();
    wall.restraints.push_back({deflection, slope});
    if (kase <= 1) {
      wall.code_at(station) = kDeflection;
    } else if (kase == 2) {
      wall.code_at(station - 1) = kBeforeSlope;
      wall.code_at(station + 1) = kAfterSlope;
    } else {
      wall.code_at(station - 1) = kBeforeSlope;
      wall.code_at(station) = kDeflectionSlope;
      wall.code_at(station + 1) = kAfterSlope;
    }
  }
}

int read_count(FreeInput& in) {
  const int n = in.read_int();
  return n > 0 ? n : 0;
}

}  // namespace

void read_wall_records(FreeInput& in, TextSink& report, Problem& problem, SupportDepths& supports) {
  WallModel& wall = problem.wall;
  Increments& inc = problem.increments;
  const UnitLabels u = UnitLabels::for_code(problem.control.unit);

  {
    const auto v = in.read_record(5);
    inc.ninc = v[0].integer();
    inc.h = v[1].real();
    inc.max_deflection = v[2].real();
    inc.tolerance = v[3].real();
    inc.free_height = v[4].real();
  }
  report.line(Line().x(6).a("NUMBER OF INCREMENTS                               = ").i(inc.ninc, 3).str());
  report.line(Line().x(6).a("INCREMENT LENGTH                                   = ").f(inc.h, 7, 3).a(u.l3).str());
  report.line(
      Line().x(6).a("FREE HEIGHT OF WALL                                = ").f(inc.free_height, 7, 3).a(u.l3).str());
  report.line(
      Line().x(6).a("MAXIMUM ALLOWABLE DEFLECTION                       = ").f(inc.max_deflection, 7, 3).a(u.l3).str());
  report.line(
      Line().x(6).a("DEFLECTION CLOSURE TOLERANCE                       = ").f(inc.tolerance, 7, 5).a(u.l3).str());
  if (inc.ninc > kMaxIncrements) throw storage_error();
  if (inc.ninc < 1) throw problem_error("     ERROR -- THE NUMBER OF INCREMENTS MUST BE 1 OR MORE");
  if (!(inc.h > 0.0)) throw problem_error("     ERROR -- THE INCREMENT LENGTH MUST BE GREATER THAN 0");

  wall.ninc = inc.ninc;
  wall.h = inc.h;
  wall.max_deflection = inc.max_deflection;
  wall.tolerance = inc.tolerance;
  const int ninc = inc.ninc;

  read_restraints(in, report, problem);

  report.empty(2);
  write_starred(report, "*        STIFFNESS AND LOAD DATA                 *");
  report.line("      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,");
  report.line("      S - STIFFNESS OF TRANSVERSE RESISTANCE,");
  report.line("      T - TORQUE,              P - AXIAL LOAD,");
  report.line("      R - STIFFNESS OF TORSIONAL RESISTANCE.");
  report.empty();
  report.line("     FROM TO CONTD     EI         Q        S'        T         R         P");
  report.empty();
  report.line(Line()
                  .x(18)
                  .a(u.f4)
                  .a("-")
                  .a(u.l2)
                  .a("**")
                  .a("2")
                  .x(4)
                  .a(u.f4)
                  .x(4)
                  .a(u.f4)
                  .a("/")
                  .a(u.l2)
                  .x(3)
                  .a(u.l3)
                  .a("-")
                  .a(u.f3)
                  .x(2)
                  .a(u.l3)
                  .a("-")
                  .a(u.f3)
                  .x(4)
                  .a(u.f4)
                  .str());

  // Stiffness records: from, to, code, EI.
  {
    std::vector<BlockRow> rows;
    for (int k = 0; k < problem.control.n_stiffness; ++k) {
      const auto v = in.read_record(4);
      BlockRow row;
      row.from = v[0].integer();
      row.to = v[1].integer();
      row.code = v[2].integer();
      row.values.v[0] = v[3].real();
      rows.push_back(row);
    }
    StationArray* targets[] = {&wall.ei};
    distribute_block(report, rows, targets, 1, ninc,
                     [](const BlockRow& r) { return std::array<double, 6>{r.values.v[0], 0.0, 0.0, 0.0, 0.0, 0.0}; });
  }

  // Concentrated-load block: code, from, to, Q, T, axial load (stored reversed).
  {
    std::vector<BlockRow> rows;
    std::vector<double> axial;
    const int n = read_count(in);
    for (int k = 0; k < n; ++k) {
      const auto v = in.read_record(6);
      BlockRow row;
      row.code = v[0].integer();
      row.from = v[1].integer();
      row.to = v[2].integer();
      row.values.v[0] = v[3].real();
      row.values.v[1] = v[4].real();
      row.values.v[2] = -v[5].real();
      rows.push_back(row);
    }
    StationArray* targets[] = {&wall.q, &wall.t, &wall.p};
    distribute_block(report, rows, targets, 3, ninc, [&wall](const BlockRow& r) {
      return std::array<double, 6>{wall.ei.at(r.from), r.values.v[0], 0.0, r.values.v[1], 0.0, -r.values.v[2]};
    });
  }

  // Spring block: from, to, code, S, R.
  {
    std::vector<BlockRow> rows;
    const int n = read_count(in);
    for (int k = 0; k < n; ++k) {
      const auto v = in.read_record(5);
      BlockRow row;
      row.from = v[0].integer();
      row.to = v[1].integer();
      row.code = v[2].integer();
      row.values.v[0] = v[3].real();
      row.values.v[1] = v[4].real();
      rows.push_back(row);
    }
    StationArray* targets[] = {&wall.s, &wall.r};
    distribute_block(report, rows, targets, 2, ninc, [&wall](const BlockRow& r) {
      return std::array<double, 6>{wall.ei.at(r.from), 0.0, r.values.v[0], 0.0, r.values.v[1], 0.0};
    });
    supports.n_spring_rows = n;
    if (n > 0 && rows.front().from == rows.front().to) supports.top = rows.front().from * inc.h;
    if (n > 0 && rows.back().from == rows.back().to) supports.bottom = rows.back().from * inc.h;
  }

  for (int k = 0; k < problem.control.n_modifications; ++k) {
    const auto v = in.read_reals(3);
    problem.modifications.push_back({v[0], v[1], v[2]});
  }
}

void check_nothing_beyond_end(const WallModel& w) {
  const int n = w.ninc;
  const double sum = w.ei[n + 1] + w.ei[n + 2] + w.q[n + 1] + w.s[n + 1] + w.t[n + 1] + w.t[n + 2] + w.r[n + 1] +
                     w.r[n + 2] + w.p[n + 1] + w.p[n + 2];
  if (sum != 0.0) throw problem_error("     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
}

}  // namespace kestra
