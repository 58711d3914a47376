#include "wall_solution.h"

#include <cmath>

#include "run_errors.h"
#include "solver.h"
#include "text_format.h"

namespace kestra {
namespace {

using fmt::Line;

bool finite_line(const MonitorLine& m) {
  for (double v : m.w)
    if (!std::isfinite(v)) return false;
  return true;
}

void write_monitor_line(TextSink& notes, const MonitorLine& m) {
  Line line;
  line.x(3).i(m.iteration, 4);
  if (m.off_curve)
    line.x(7).a("YES").x(6);
  else
    line.x(7).a("NO").x(7);
  line.i(m.not_closed, 4).x(2);
  for (double v : m.w) line.e(v, 10, 3);
  notes.line(line.str());
}

}  // namespace

std::vector<ResultRow> solve_and_report(WallModel& wall, int unit_code, TextSink& report, TextSink& notes) {
  notes.empty(3);
  notes.line("     ITERATION MONITOR DATA");
  notes.line("     ----------------------");

  const SolveResult r = solve_wall(wall);
  for (const MonitorLine& m : r.monitor) {
    if (r.status == SolveStatus::kNotFinite && !finite_line(m)) break;
    write_monitor_line(notes, m);
  }
  switch (r.status) {
    case SolveStatus::kStationsNotInOrder:
      throw order_error();
    case SolveStatus::kNotFinite:
      throw problem_error(
          "     ERROR -- THE SOLUTION DOES NOT EXIST FOR THESE DATA: CHECK STIFFNESS, SUPPORTS AND SPRINGS");
    case SolveStatus::kInvalidModel:
      throw problem_error(std::string("     ERROR -- ") + r.invalid_reason);
    default:
      break;
  }

  const UnitLabels u = UnitLabels::for_code(unit_code);
  report.empty(2);
  report.line(Line().a("     RESULTS -- ITERATION").i(r.iterations, 3).str());
  report.line("     --------------------");
  if (r.off_curve) {
    report.empty();
    report.line("     ***** DEFLECTION OFF Q - W CURVES *****");
  }
  if (r.exceeding > 0) {
    report.empty();
    report.line(Line()
                    .a("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***")
                    .i(r.exceeding, 4)
                    .a("  *** STATIONS *****")
                    .str());
  }
  if (r.not_closed > 0) {
    report.empty();
    report.line("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****");
  }
  if (r.zero_pivots > 0) {
    // The recursion met stations with no stiffness at all: their deflections
    // follow from the restraints alone, and a wall without support reads as
    // resting at zero. Say so rather than let that pass for a result.
    report.empty();
    report.line(Line()
                    .a("     ***** NO STIFFNESS OR SUPPORT AT")
                    .i(r.zero_pivots, 4)
                    .a("  STATIONS -- CHECK EI, SPRINGS AND RESTRAINTS *****")
                    .str());
  }
  report.empty();
  report.line("   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI ");
  report.line(Line()
                  .x(12)
                  .a(u.l3)
                  .x(9)
                  .a(u.l3)
                  .x(20)
                  .a(u.f3)
                  .a("-")
                  .a(u.l2)
                  .x(7)
                  .a(u.f4)
                  .x(7)
                  .a(u.f4)
                  .x(7)
                  .a(u.f3)
                  .a("-")
                  .a(u.l2)
                  .a("**")
                  .a("2")
                  .str());
  report.line("   ------    ----        ----       -----'      ------      ------    ---------    ----------");
  for (int s = 0; s <= wall.ninc; ++s) {
    const auto k = static_cast<std::size_t>(s);
    report.line(Line()
                    .x(2)
                    .i(s, 4)
                    .x(2)
                    .e(r.x[k], 10, 3)
                    .e(r.deflection[k], 12, 3)
                    .e(r.slope[k], 12, 3)
                    .e(r.moment[k], 12, 3)
                    .e(r.shear[k], 12, 3)
                    .e(r.reaction[k], 12, 3)
                    .e(r.ei[k], 12, 3)
                    .str());
  }

  std::vector<ResultRow> rows;
  for (std::size_t k = 0; k < r.x.size(); ++k) {
    rows.push_back({r.x[k], r.deflection[k], r.moment[k], r.shear[k], r.reaction[k]});
  }
  return rows;
}

}  // namespace kestra
