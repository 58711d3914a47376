#include "report_text.h"

#include "text_format.h"

namespace kestra {

UnitLabels UnitLabels::for_code(int unit_code) {
  if (unit_code == 1) return {" IN", "IN", " LBS", "LBS"};
  if (unit_code == 2) return {"  M", " M", "  KN", " KN"};
  return {"  L", " L", "   F", "  F"};
}

void write_banner(TextSink& out) {
  out.line(" KESTRA - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES");
  out.line(" VERSION 2013");
  out.empty(2);
}

std::string title_buffer(std::string_view line) {
  std::string title(line.substr(0, 70));
  title.resize(70, ' ');
  return title;
}

void write_heading(TextSink& out, const std::string& title, const std::string& main_title, int problem_counter,
                   int stage_count) {
  out.empty();
  if (stage_count >= 2) {
    out.line(fmt::Line().x(6).a("Stage No :").i(problem_counter, 2).x(2).a(main_title).str());
  } else if (problem_counter <= 1) {
    out.line(fmt::Line().x(6).a(title).str());
  } else {
    out.line(fmt::Line().x(6).a("Long Term :").x(2).a(main_title).str());
  }
}

void write_starred(TextSink& out, std::string_view framed) {
  const std::string stars(50, '*');
  out.line("      " + stars);
  out.line("      " + std::string(framed));
  out.line("      " + stars);
}

}  // namespace kestra
