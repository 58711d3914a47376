// Number texts of the program: the general format in which the project file
// and the tables write reals, the 18-digit form of the entry fields, the hex
// form of hex fields, and the one parser of decimal numbers. All of it is
// locale free: the decimal separator is always the period, whatever the user's
// regional settings (the desktop toolkit switches the C locale to the user's).
#pragma once

#include <string>
#include <string_view>

namespace kestra {

/// The general number format with `significant_digits` digits (clamped into
/// 1..30): the value rounded to that many significant digits (ties to even on
/// the exact binary value), trailing zeros and a bare decimal point removed.
/// Fixed notation is used when the value is 0, or when, after rounding,
/// |v| >= 0.0001 and the integer part has at most `significant_digits` digits;
/// otherwise scientific: one digit before the point, "E", a "-" only for
/// negative exponents, no leading zeros in the exponent. Negative values start
/// with "-"; a negative zero is "0". NaN and infinities give "NaN", "Inf" and
/// "-Inf" (texts no reader accepts as numbers). Never throws.
std::string format_general(long double value, int significant_digits);

/// The input data file's real format, 8 significant digits:
/// 100 -> "100", 0.00001 -> "1E-5", 1/3 -> "0.33333333", 123456789 -> "1.2345679E8".
std::string format_general8(long double value);

/// The entry fields' and the evaluator's format, 18 significant digits.
std::string format_general18(long double value);

/// "$" followed by the value rounded to the nearest integer (ties to even) in
/// upper-case hexadecimal with at least `min_digits` digits ("$00FF"); negative
/// values as "-$00FF". A value beyond the 64-bit integer range, NaN or an
/// infinity gives format_general18 instead. Never throws.
std::string format_hex(long double value, int min_digits = 4);

/// Outcome of parse_real.
enum class ParseStatus {
  ok,        // `value` holds the number
  invalid,   // not a number in the accepted notation; `value` untouched
  overflow,  // well-formed but beyond the range of the extended type; `value` untouched
};

/// Reads a whole text as a decimal number: an optional sign ("+" or "-"),
/// digits with an optional decimal point (at least one digit), and an optional
/// exponent of "E" or "e", an optional sign and at least one digit. No blanks,
/// no "inf", "nan" or hex forms. The period is the decimal separator whatever
/// the locale. A magnitude too small for the type reads as a (signed) zero.
ParseStatus parse_real(std::string_view text, long double& value);

}  // namespace kestra
