#include "run_errors.h"

namespace kestra {

ProblemError storage_error() { return ProblemError{{"", "", "     TOO MUCH DATA FOR AVAILABLE STORAGE", "", ""}}; }

ProblemError order_error() { return problem_error("     ERROR STOP -- STATIONS NOT IN ORDER"); }

ProblemError problem_error(const std::string& message) { return ProblemError{{"", "", message}}; }

RunAbort run_abort(const std::string& message) { return RunAbort{{"", "", message}}; }

}  // namespace kestra
