// Reading, checking and echoing the wall records of a problem: control,
// increments, restraints, stiffness, concentrated loads, springs and the
// modification records; distribution of tabulated values onto stations.
#pragma once

#include "free_input.h"
#include "problem_data.h"
#include "report_text.h"

namespace kestra {

/// Reads the control record into `problem.control`.
void read_control(FreeInput& in, Problem& problem);

/// Writes the control block of the report.
void echo_control(TextSink& report, const Control& control);

/// Reads the increment record up to the modification records, echoing them and
/// building the station arrays of `problem.wall`. Updates `supports` from the
/// spring block. Throws ProblemError on inconsistent data, RunAbort on a read
/// failure.
void read_wall_records(FreeInput& in, TextSink& report, Problem& problem, SupportDepths& supports);

/// Checks that nothing is loaded beyond the bottom of the wall (stations NINC+1
/// and NINC+2). Throws ProblemError.
void check_nothing_beyond_end(const WallModel& wall);

/// One value per distributed array of a row (EI; or Q, T, P; or S, R).
struct RangeValues {
  double v[3] = {0.0, 0.0, 0.0};
};

/// Adds `va` at station a varying linearly to `vb` at station b onto `targets`,
/// with half values on the end stations of a range longer than one station.
/// Throws ProblemError when b < a. Stations must already be checked against the store.
void distribute_range(StationArray* const* targets, int n_targets, int a, int b, const RangeValues& va,
                      const RangeValues& vb);

}  // namespace kestra
