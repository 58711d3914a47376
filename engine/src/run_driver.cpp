#include "run_driver.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "free_input.h"
#include "problem_data.h"
#include "report_text.h"
#include "run_errors.h"
#include "soil_intake.h"
#include "text_format.h"
#include "wall_input.h"
#include "wall_solution.h"

namespace kestra {
namespace {

// State of one run: everything that lives from the first problem to the last.
struct RunContext {
  explicit RunContext(std::string_view input_text) : in(input_text) {}

  FreeInput in;
  TextSink report, plot, notes;
  int problem_counter = 0;
  std::string main_title;
  int result_block_count = 1;
  int last_unit = 0;            // unit code of the last control record read
  SupportDepths supports;       // kept from problem to problem
  std::vector<ResultRow> held;  // result rows of the last problem that reached them
};

void write_result_block(TextSink& plot, int count, int unit, const std::vector<ResultRow>& rows) {
  plot.line(fmt::free_int(count) + fmt::free_int(static_cast<std::int64_t>(rows.size())) + fmt::free_int(unit));
  for (const ResultRow& r : rows) {
    plot.line(fmt::Line()
                  .x(1)
                  .e(r.x, 13, 4)
                  .x(1)
                  .e(r.deflection, 13, 4)
                  .x(1)
                  .e(r.moment, 13, 4)
                  .x(1)
                  .e(r.shear, 13, 4)
                  .x(1)
                  .e(r.reaction, 13, 4)
                  .str());
  }
}

// One problem: its records, loads, curves and solution. Returns the stage count
// of its control record.
int run_problem(RunContext& ctx) {
  Problem problem;
  problem.title = title_buffer(ctx.in.read_line(80));
  ++ctx.problem_counter;
  if (ctx.problem_counter == 1) ctx.main_title = problem.title;

  read_control(ctx.in, problem);
  ctx.last_unit = problem.control.unit;
  if (ctx.problem_counter > 1) ctx.report.empty(2);
  write_banner(ctx.report);
  write_heading(ctx.report, problem.title, ctx.main_title, ctx.problem_counter, problem.control.stage_count);
  echo_control(ctx.report, problem.control);
  read_wall_records(ctx.in, ctx.report, problem, ctx.supports);
  take_in_soil(ctx.in, ctx.report, ctx.notes, ctx.plot, problem, ctx.supports);
  read_ei_curves(ctx.in, problem);
  check_nothing_beyond_end(problem.wall);

  write_heading(ctx.report, problem.title, ctx.main_title, ctx.problem_counter, problem.control.stage_count);
  ctx.held = solve_and_report(problem.wall, problem.control.unit, ctx.report, ctx.notes);
  return problem.control.stage_count;
}

void write_lines(TextSink& sink, const std::vector<std::string>& lines) {
  for (const std::string& l : lines) sink.line(l);
}

}  // namespace

RunTexts run_input(std::string_view input) {
  RunContext ctx(input);
  try {
    for (;;) {
      const int stage_count = run_problem(ctx);
      int continuation = ctx.in.read_int();
      if (continuation == stage_count) continuation = 0;
      if (continuation == 0) break;
      ctx.result_block_count = continuation == 9 ? 2 : stage_count;
      write_result_block(ctx.plot, ctx.result_block_count, ctx.last_unit, ctx.held);
    }
  } catch (const ProblemError& e) {
    write_lines(ctx.report, e.lines);
  } catch (const RunAbort& e) {
    write_lines(ctx.report, e.lines);
    return {ctx.report.text(), ctx.plot.text(), ctx.notes.text()};
  }
  ctx.report.empty(3);
  ctx.report.line("     END OF ANALYSIS" + std::string(29, ' '));
  write_result_block(ctx.plot, ctx.result_block_count, ctx.last_unit, ctx.held);
  return {ctx.report.text(), ctx.plot.text(), ctx.notes.text()};
}

int run_files(const char* input_path, const char* report_path, const char* plot_path, const char* notes_path) {
  std::ifstream input(input_path, std::ios::binary);
  std::string text;
  bool input_ok = false;
  if (input) {
    text.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
    input_ok = !input.bad();
  }
  std::ofstream report(report_path, std::ios::trunc);
  std::ofstream plot(plot_path, std::ios::trunc);
  std::ofstream notes(notes_path, std::ios::trunc);
  if (!report || !plot || !notes) {
    std::cerr << " THE OUTPUT FILES OF THE RUN CANNOT BE CREATED: " << report_path << ", " << plot_path << ", "
              << notes_path << "\n";
    return 0;
  }
  if (!input_ok) {
    report << "\n\n     ERROR -- THE INPUT DATA FILE CANNOT BE READ: " << input_path << "\n";
    std::cerr << " THE INPUT DATA FILE CANNOT BE READ: " << input_path << "\n";
    return 0;
  }
  const RunTexts out = run_input(text);
  report << out.report;
  plot << out.plot;
  notes << out.notes;
  return 0;
}

}  // namespace kestra
