// Soil records of a problem and their intake: user-specified earth pressure,
// the wall, surcharge and soil-layer records, user p-y curves; the earth
// pressure loads on the stations, the p-y curve store and the earth pressure and
// p-y sections of the plot data file.
#pragma once

#include "free_input.h"
#include "problem_data.h"
#include "report_text.h"

namespace kestra {

/// Reads records from the distributed-load block to the p-y curve block,
/// echoing them, runs the earth pressure and p-y generators as the control
/// record asks, loads the earth pressure onto `problem.wall.q`, fills the p-y
/// curve store and writes the two soil sections of the plot data file.
/// `supports` are the spring-block support depths for the trapezoidal
/// envelope. Throws ProblemError on inconsistent data, RunAbort on a read
/// failure or a fatal condition of a generator.
void take_in_soil(FreeInput& in, TextSink& report, TextSink& notes, TextSink& plot, Problem& problem,
                  const SupportDepths& supports);

/// The points of a generated distribution that the report and the plot data
/// file show: all of them, or points 1, 7, 13, ... in English units (code 1)
/// when there are more than 50.
std::vector<PressurePoint> shown_points(const std::vector<PressurePoint>& points, int unit_code);

/// Reads the p-y generator's transfer "SOILDATA" into `problem.wall.curves` and
/// writes the p-y section of the plot data file. User curves, which come first,
/// are taken from `problem.user_curves` as read (chain 0); each generated curve
/// of 34 scratch points becomes a 33-point curve through the origin at the
/// station nearest its depth, chained, P times h.
void read_soildata(const std::string& text, Problem& problem, TextSink& plot);

/// Reads the moment-EI curve block into `problem.wall.ei_curves`.
void read_ei_curves(FreeInput& in, Problem& problem);

/// Adds the pressure distribution, as force per station, to Q of stations 1 ...
/// nearest(D/h), D the depth of the last point, by linear interpolation from
/// depth 0. Stations below the store's end are not loaded.
void load_stations(const std::vector<PressurePoint>& points, WallModel& wall);

}  // namespace kestra
