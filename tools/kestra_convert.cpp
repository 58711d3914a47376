// kestra-convert INPUT OUTPUT [--dialect N]
//
// Reads a project file in any dialect the program opens and writes it in the
// current format, through the program's own reader and writer. The dialect
// follows the extension as for a recent file (.ktd is version 3.0, anything
// else the current format) unless --dialect gives it: 1 current, 2 version
// 3.0, any other number version 2.0. A staged project becomes the joined file
// OUTPUT with its stage files beside it.
//
// Exit status: 0 written; 1 the input could not be read (nothing is written)
// or the output could not be written; 2 wrong usage.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "data/project_convert.h"

namespace {

constexpr const char* kUsage =
    "usage: kestra-convert INPUT OUTPUT [--dialect N]\n"
    "  N: 1 current format (.kt4d), 2 version 3.0 (.ktd), other version 2.0 (.ktd);\n"
    "     by default .ktd files are read as version 3.0 and all others as the current format\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "kestra-convert: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// The reader's messages break their line with a carriage return.
std::string ForTerminal(std::string message) {
  for (char& c : message) {
    if (c == '\r') c = '\n';
  }
  return message;
}

}  // namespace

int main(int argc, char** argv) {
  std::string files[2];
  int n_files = 0;
  int dialect = 0;
  bool dialect_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--dialect" || arg.starts_with("--dialect=")) {
      std::string_view value;
      if (arg == "--dialect") {
        if (i + 1 >= argc) return Usage("--dialect needs a number");
        value = argv[++i];
      } else {
        value = arg.substr(std::string_view("--dialect=").size());
      }
      if (dialect_given) return Usage("--dialect given twice");
      if (!ParseInt(value, dialect)) return Usage("--dialect needs a whole number, not \"" + std::string(value) + "\"");
      dialect_given = true;
    } else if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg.starts_with("-") && arg != "-") {
      return Usage("unknown option " + std::string(arg));
    } else if (n_files < 2) {
      files[n_files++] = std::string(arg);
    } else {
      return Usage("too many file names");
    }
  }
  if (n_files != 2) return Usage("INPUT and OUTPUT are needed");
  if (files[0].empty() || files[1].empty()) return Usage("empty file name");

  if (!dialect_given) dialect = kestra::DialectForFileName(files[0]);
  const kestra::TFileResult r = kestra::ConvertProjectFile(files[0], files[1], dialect);
  if (!r) {
    std::fprintf(stderr, "%s\n", ForTerminal(r.message).c_str());
    return 1;
  }
  return 0;
}
