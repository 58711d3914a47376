// The two ways a problem can end early. Both unwind to the run driver.
#pragma once

#include <string>
#include <vector>

namespace kestra {

/// Inconsistent data of a problem: the driver writes the report lines, leaves the
/// problem loop and ends the run in order (closing line, last result block).
struct ProblemError {
  std::vector<std::string> lines;  // written to the report as they stand
};

/// A condition that ends the run at once: the driver writes the report lines and
/// closes the files, without the closing line or the last result block.
struct RunAbort {
  std::vector<std::string> lines;
};

/// "TOO MUCH DATA FOR AVAILABLE STORAGE": a store would overflow.
ProblemError storage_error();
/// "ERROR STOP -- STATIONS NOT IN ORDER".
ProblemError order_error();
/// A problem error with one message line after two empty lines.
ProblemError problem_error(const std::string& message);
/// A run abort with one message line after two empty lines.
RunAbort run_abort(const std::string& message);

}  // namespace kestra
