// The p-y curve generator: the layer model below the excavation, the property
// profiles, generation depths, the curves of every soil type with their
// equivalent depths and modification factors, and the scratch transfer
// "SOILDATA".
#pragma once

#include <string>

#include "problem_data.h"
#include "report_text.h"

namespace kestra {

/// Values the driver hands to the generator.
struct PyHandOver {
  double sigma_v_excavation = 0.0;  // backfill-side effective stress at the excavation level
  double pact = 0.0;                // deepest total of a generated pressure distribution (x WA), else 0
};

/// Generates the p-y curves of a problem whose p-y code is 2 (`py_setup`).
/// Replaces `problem.increments.free_height` by the free height of the wall
/// record; writes the report sections to `report` (and fatal warnings to
/// `notes` where they belong); returns the scratch transfer "SOILDATA" exactly
/// as the file would hold it: the number of curves, the user curves of
/// `problem.user_curves` (station and point count, then point number, p and y,
/// multiplied), then per generated curve its depth and 34, and 34 point lines
/// (I5 and two E10.3 values). Throws RunAbort for the conditions that end the run
/// at once, ProblemError for those that end the problem.
std::string py_setup(Problem& problem, const PyHandOver& hand_over, TextSink& report, TextSink& notes);

}  // namespace kestra
