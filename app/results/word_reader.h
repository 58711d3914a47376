// TWordReader: the tokeniser through which the program reads the text files
// it and the engine write (project file, stage files, plot data file). It
// loads a whole file at once and hands out its words strictly forwards, as
// strings, reals or integers, or whole lines. Its error texts are what the
// user sees when such a file is damaged.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

/// Failure to open or read a file, or damaged content met by TWordReader.
/// Readers of project and plot files catch this one class; what() is the
/// message shown to the user.
class TInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TWordReader {
 public:
  /// Reads the whole file. Lines end at CR LF, LF or a lone CR; a last line
  /// without a line end is read like the others; an empty file gives one empty
  /// line. Throws TInOutError when the file cannot be opened or read (the
  /// message names the file and the system's reason).
  explicit TWordReader(const std::filesystem::path& file_name);

  /// A reader over text already in memory, split exactly as a file would be.
  /// Never throws except for lack of memory.
  static TWordReader FromText(std::string_view text);

  /// True when every line has been passed (the line index equals the number
  /// of lines). Note that after the last word of the last line has been taken
  /// the reader is not yet at its end; only ReadLine or NextWord move past it.
  bool AtEnd() const { return line_index_ == lines_.size(); }

  /// The next word, passing over lines without words. Throws TInOutError
  /// "This file either invalid or incomplete." when the words run out.
  std::string NextWord();

  /// The next word as a real (period as decimal separator, whatever the
  /// locale; optional sign, digits with an optional point, optional exponent
  /// with E or e). Throws TInOutError "Error on Line n Item m\rA floating point
  /// number was expected but not found." (n, m 1-based) when the word is not
  /// such a number or too large for the type, and the running-out error of
  /// NextWord. The offending word is consumed either way.
  long double ReadFloat();

  /// The next word as a 32-bit integer: read as a real, then it must have no
  /// fractional part and lie in [-2147483648, 2147483647] (so "12", "12.0" and
  /// "1.2E1" all give 12). Otherwise throws TInOutError "Error on Line n Item
  /// m\rAn integer was expected but not found.".
  std::int32_t ReadInt();

  /// The full text of the line at the line index (the line of the last word
  /// taken, even when all its words have been taken; at the start the first
  /// line); then moves to the start of the next line. Throws TInOutError
  /// "This file either invalid or incomplete." when every line has been passed.
  std::string ReadLine();

  /// Number of lines read from the file.
  std::size_t LineCount() const { return lines_.size(); }

  /// The message raised when the words or lines run out.
  static constexpr std::string_view kIncomplete = "This file either invalid or incomplete.";

 private:
  struct Line {
    std::string text;                // exactly as read, without the line end
    std::vector<std::string> words;  // split at runs of blanks and TABs
  };

  TWordReader() = default;
  void Load(std::string_view content);

  // Position of the word last taken, for error messages (both 1-based).
  std::string ItemError(std::string_view what) const;

  std::vector<Line> lines_;
  std::size_t line_index_ = 0;
  std::size_t word_index_ = 0;
};

}  // namespace kestra
