// Small helpers shared by the engine tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace kestra::test {

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

inline int count_lines_starting(const std::string& text, const std::string& start) {
  int n = 0;
  for (const std::string& l : lines_of(text))
    if (l.rfind(start, 0) == 0) ++n;
  return n;
}

/// Whitespace-separated words of a text (the plot data file's reading rule).
inline std::vector<std::string> words_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

/// A wall of 10 increments of 1, EI 1000, on springs of 100 per station, with
/// the given concentrated-load block (row count first; default 10 at the top).
/// The continuation code is appended by the caller.
inline std::string simple_problem(const std::string& title, const std::string& control = "1 0 1 0 0 0 0 0 0",
                                  const std::string& loads = "1\n1\t0\t0\t10\t0\t0\n") {
  return title + "\n" + control + "\n10 1 100 0.00001 0\n0 10 1 1000\n" + loads + "1\n0\t10\t1\t100\t0\n";
}

}  // namespace kestra::test
