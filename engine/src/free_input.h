// The input data file as the engine reads it: a title line read as raw text and
// numeric records in free format.
//
// A record's values are separated by blanks, tabs or commas; a record starts on a
// new line and continues on the next lines while values are missing; values left
// on the record's last line are ignored. Reals may use E or D exponents, or a
// signed exponent without its letter ("0.100+301"). An
// integer position accepts a real of integral value ("3.0" is 3).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

class FreeInput {
 public:
  /// Splits `text` into lines (LF or CR LF; a lone CR also ends a line).
  explicit FreeInput(std::string_view text);

  /// Reads the next line as raw text, without its line end, cut to `width`
  /// characters. Throws RunAbort when the file has ended.
  std::string read_line(std::size_t width);

  /// One value of a record, read by the caller as an integer or a real.
  class Value {
   public:
    Value(std::string token, int line) : token_(std::move(token)), line_(line) {}
    /// Throws RunAbort naming the line when the token is not a real number.
    double real() const;
    /// Throws RunAbort naming the line when the token is not an integer (a real
    /// of integral value within the 32-bit range counts as one).
    std::int32_t integer() const;

   private:
    std::string token_;
    int line_;
  };

  /// Reads one record of `count` values starting on the next line. Throws
  /// RunAbort when the file ends first.
  std::vector<Value> read_record(std::size_t count);

  /// Convenience forms of read_record for records of one kind.
  std::int32_t read_int();
  std::vector<std::int32_t> read_ints(std::size_t count);
  std::vector<double> read_reals(std::size_t count);

  /// The 1-based number of the line read last (0 before any read).
  int line_number() const { return next_; }

 private:
  std::vector<std::string> lines_;
  int next_ = 0;  // index of the next line to read
};

}  // namespace kestra
