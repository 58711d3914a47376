// Solving one problem's wall and writing its results: the iteration monitor in
// the notes, the results table in the report, the rows for the plot data file.
#pragma once

#include <vector>

#include "report_text.h"
#include "wall_model.h"

namespace kestra {

/// One row of a result block of the plot data file.
struct ResultRow {
  double x = 0.0, deflection = 0.0, moment = 0.0, shear = 0.0, reaction = 0.0;
};

/// Solves `wall`, writes the monitor heading and lines to `notes` and the results
/// with their warnings to `report`; returns the rows of stations 0 ... NINC+1.
/// Throws ProblemError when the solution cannot be had (curve stations out of
/// order, degenerate data that would give non-finite results).
std::vector<ResultRow> solve_and_report(WallModel& wall, int unit_code, TextSink& report, TextSink& notes);

}  // namespace kestra
