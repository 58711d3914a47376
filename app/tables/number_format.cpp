#include "tables/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace kestra {
namespace {

constexpr int kMaxDigits = 30;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Significant digits (trailing zeros removed) and decimal exponent of |v|
// rounded to `digits` digits: |v| = d.ddd x 10^exponent. v finite, non-zero.
struct Decimal {
  std::string digits;
  long exponent = 0;
};

Decimal decimal_of(long double v, int digits) {
  char buf[128];
  // to_chars is locale free, unlike printf.
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, digits - 1);
  Decimal out;
  const char* p = buf;
  for (; p != r.ptr && *p != 'e'; ++p)
    if (*p != '.') out.digits += *p;
  if (p != r.ptr) {
    ++p;  // 'e'
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    long e = 0;
    std::from_chars(p, r.ptr, e);
    out.exponent = negative ? -e : e;
  }
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  return out;
}

}  // namespace

std::string format_general(long double value, int significant_digits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0) return "0";
  if (significant_digits < 1) significant_digits = 1;
  if (significant_digits > kMaxDigits) significant_digits = kMaxDigits;

  const Decimal dec = decimal_of(value, significant_digits);
  const std::string& d = dec.digits;
  const std::size_t n = d.size();
  std::string text = value < 0 ? "-" : "";
  const long e = dec.exponent;
  if (e >= -4 && e <= significant_digits - 1) {
    if (e < 0) {
      text += "0.";
      text.append(static_cast<std::size_t>(-e - 1), '0');
      text += d;
    } else {
      const auto int_digits = static_cast<std::size_t>(e) + 1;
      if (n <= int_digits) {
        text += d;
        text.append(int_digits - n, '0');
      } else {
        text += d.substr(0, int_digits);
        text += '.';
        text += d.substr(int_digits);
      }
    }
    return text;
  }
  text += d[0];
  if (n > 1) {
    text += '.';
    text += d.substr(1);
  }
  text += 'E';
  text += std::to_string(e);
  return text;
}

std::string format_general8(long double value) { return format_general(value, 8); }

std::string format_general18(long double value) { return format_general(value, 18); }

std::string format_hex(long double value, int min_digits) {
  if (!std::isfinite(value)) return format_general18(value);
  const long double rounded = std::nearbyint(value);  // default rounding: ties to even
  // 2^63 is exact in every floating type; anything at or beyond it cannot be held.
  constexpr long double kLimit = 9223372036854775808.0L;
  if (rounded >= kLimit || rounded <= -kLimit) return format_general18(value);
  const auto integer = static_cast<std::int64_t>(rounded);
  const std::uint64_t magnitude =
      integer < 0 ? 0 - static_cast<std::uint64_t>(integer) : static_cast<std::uint64_t>(integer);
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, 16);
  std::string hex(buf, r.ptr);
  for (char& c : hex)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (min_digits > 32) min_digits = 32;
  if (static_cast<int>(hex.size()) < min_digits) hex.insert(0, static_cast<std::size_t>(min_digits) - hex.size(), '0');
  return (integer < 0 ? "-$" : "$") + hex;
}

ParseStatus parse_real(std::string_view text, long double& value) {
  // Check the notation by hand: from_chars would also take "inf", "nan" and
  // "0x" forms, and refuses a leading "+".
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t mantissa_start = i;
  // Decimal position of the first significant digit, for telling overflow
  // from underflow when the type cannot hold the value.
  std::int64_t int_digits = 0;  // integer digits after leading zeros
  std::int64_t leading_frac_zeros = 0;
  bool seen_nonzero = false;
  std::size_t n_digits = 0;
  for (; i < n && is_digit(text[i]); ++i, ++n_digits) {
    if (text[i] != '0') seen_nonzero = true;
    if (seen_nonzero && int_digits < INT32_MAX) ++int_digits;
  }
  if (i < n && text[i] == '.') {
    for (++i; i < n && is_digit(text[i]); ++i, ++n_digits) {
      if (text[i] != '0') seen_nonzero = true;
      if (!seen_nonzero && leading_frac_zeros < INT32_MAX) ++leading_frac_zeros;
    }
  }
  if (n_digits == 0) return ParseStatus::invalid;
  std::int64_t exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool exp_negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) exp_negative = text[i++] == '-';
    const std::size_t exp_start = i;
    for (; i < n && is_digit(text[i]); ++i)
      if (exponent < INT32_MAX) exponent = exponent * 10 + (text[i] - '0');
    if (i == exp_start) return ParseStatus::invalid;
    if (exp_negative) exponent = -exponent;
  }
  if (i != n) return ParseStatus::invalid;

  // from_chars refuses a leading "+": hand it the text after the sign.
  long double parsed = 0;
  const char* first = text.data() + mantissa_start;
  const auto r = std::from_chars(first, text.data() + n, parsed, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    const std::int64_t position = int_digits > 0 ? exponent + int_digits : exponent - leading_frac_zeros;
    if (position > 0) return ParseStatus::overflow;
    value = negative ? -0.0L : 0.0L;
    return ParseStatus::ok;
  }
  if (r.ec != std::errc() || r.ptr != text.data() + n) return ParseStatus::invalid;
  value = negative ? -parsed : parsed;
  return ParseStatus::ok;
}

}  // namespace kestra
