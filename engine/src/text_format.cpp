#include "text_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kestra::fmt {
namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// Right-aligns `s` in w columns, or stars when it does not fit.
std::string fit(std::string s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  s.insert(0, static_cast<std::size_t>(w) - s.size(), ' ');
  return s;
}

// Drops the optional zero of "0.xxx" / "-0.xxx" when the text is one too long.
std::string fit_optional_zero(std::string s, int w) {
  if (static_cast<int>(s.size()) == w + 1) {
    if (s.starts_with("0."))
      s.erase(0, 1);
    else if (s.starts_with("-0."))
      s.erase(1, 1);
  }
  return fit(std::move(s), w);
}

// Decimal digits and exponent of |v| rounded to `digits` significant digits:
// |v| = 0.DIGITS x 10^exponent. v must be finite and non-zero.
struct Decimal {
  std::string digits;
  int exponent = 0;
};
Decimal decimal(double v, int digits) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific, digits - 1);
  *res.ptr = '\0';
  // buf: d.ddde[+-]xx (locale-free)
  Decimal out;
  const char* p = buf;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p != '.') out.digits += *p;
  out.exponent = (p < res.ptr ? std::atoi(p + 1) : 0) + 1;
  return out;
}

// Fixed notation with `decimals` digits after the point, locale-free; empty
// when it does not fit the buffer.
std::string fixed(double v, int decimals) {
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) return {};
  return std::string(buf, res.ptr);
}

}  // namespace

std::string x(int n) { return std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' '); }

std::string i(std::int64_t value, int w) { return fit(std::to_string(value), w); }

std::string f(double value, int w, int d) {
  if (!std::isfinite(value) || d < 0 || d > 60) return stars(w);
  std::string s = fixed(value, d);
  if (s.empty()) return stars(w);
  if (d == 0) s += '.';
  return fit_optional_zero(std::move(s), w);
}

namespace {
std::string exponent_field(double value, int w, int d, char letter) {
  if (!std::isfinite(value) || d < 1) return stars(w);
  std::string mantissa;
  int exponent = 0;
  if (value == 0.0) {
    mantissa.assign(static_cast<std::size_t>(d), '0');
  } else {
    const Decimal dec = decimal(value, d);
    mantissa = dec.digits;
    exponent = dec.exponent;
  }
  std::string s = std::signbit(value) ? "-0." : "0.";
  s += mantissa;
  const int magnitude = std::abs(exponent);
  char buf[16];
  if (magnitude <= 99) {
    std::snprintf(buf, sizeof buf, "%c%c%02d", letter, exponent < 0 ? '-' : '+', magnitude);
  } else if (magnitude <= 999) {
    std::snprintf(buf, sizeof buf, "%c%03d", exponent < 0 ? '-' : '+', magnitude);
  } else {
    return stars(w);
  }
  s += buf;
  return fit_optional_zero(std::move(s), w);
}
}  // namespace

std::string e(double value, int w, int d) { return exponent_field(value, w, d, 'E'); }
std::string d(double value, int w, int dec) { return exponent_field(value, w, dec, 'D'); }

std::string free_int(std::int64_t value) { return i(value, 12); }

std::string free_real(double value) {
  constexpr int kDigits = 17;
  if (!std::isfinite(value)) return stars(25);
  std::string s;
  if (value == 0.0) {
    s = std::signbit(value) ? "-0.0000000000000000" : "0.0000000000000000";
  } else {
    const Decimal dec = decimal(value, kDigits);
    if (dec.exponent >= 0 && dec.exponent <= 16) {
      // Fixed: exponent integer digits, the rest after the point.
      s = fixed(value, kDigits - dec.exponent);
    } else {
      s = std::signbit(value) ? "-" : "";
      s += dec.digits.substr(0, 1) + "." + dec.digits.substr(1);
      char buf[16];
      const int e10 = dec.exponent - 1;
      std::snprintf(buf, sizeof buf, "E%c%03d", e10 < 0 ? '-' : '+', std::abs(e10));
      s += buf;
    }
  }
  return fit(std::move(s), 25);
}

}  // namespace kestra::fmt
