// Text sinks of a run and the report's shared pieces: unit labels, banner,
// problem heading, starred section banners.
#pragma once

#include <string>
#include <string_view>

#include "problem_data.h"
#include "text_format.h"

namespace kestra {

/// A text file being composed in memory; written out when the run ends.
class TextSink {
 public:
  void line(std::string_view s) {
    text_.append(s);
    text_.push_back('\n');
  }
  void line(const fmt::Line& l) { line(std::string_view(l.str())); }
  void empty(int n = 1) {
    for (int k = 0; k < n; ++k) text_.push_back('\n');
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

/// Unit labels of the report, selected by the unit code.
struct UnitLabels {
  std::string l3, l2, f4, f3;
  static UnitLabels for_code(int unit_code);
};

/// The banner of every problem: the program line, the version line, two empty lines.
void write_banner(TextSink& out);

/// The problem heading: an empty line, then the title line for the first
/// problem, "Long Term :" with the main title for later ones, or "Stage No :"
/// with the problem counter when the stage count is 2 or more.
void write_heading(TextSink& out, const std::string& title, const std::string& main_title, int problem_counter,
                   int stage_count);

/// A starred section banner: 6X and 50 '*', 6X and the framed text, 6X and 50 '*'.
/// `framed` is the full 50-character middle line ("*   ...   *").
void write_starred(TextSink& out, std::string_view framed);

/// The 70-character title buffer filled from a title line.
std::string title_buffer(std::string_view line);

}  // namespace kestra
