// The run of one call: the problem loop over an input data file, producing the
// output report, the plot data file and the processor-run notes.
#pragma once

#include <string>
#include <string_view>

namespace kestra {

/// The three texts a run writes.
struct RunTexts {
  std::string report;
  std::string plot;
  std::string notes;
};

/// Runs every problem of `input` (the text of an input data file). Never throws
/// for bad data: inconsistent or unreadable data end the run with a message in
/// the report.
RunTexts run_input(std::string_view input);

/// The run on four named files: reads the input data file, replaces the output
/// report, plot data file and notes. Returns the run status, 0. When a file
/// cannot be opened, says so on the standard error stream (and in the report
/// when only the input file is missing).
int run_files(const char* input_path, const char* report_path, const char* plot_path, const char* notes_path);

}  // namespace kestra
