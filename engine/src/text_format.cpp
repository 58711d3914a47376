#include "text_format.h"

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
    if (s.starts_with("0.")) s.erase(0, 1);
    else if (s.starts_with("-0.")) s.erase(1, 1);
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
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(v));
  // buf: d.ddde[+-]xx
  Decimal out;
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') out.digits += *p;
  out.exponent = std::atoi(p + 1) + 1;
  return out;
}

}  // namespace

std::string x(int n) { return std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' '); }

std::string i(std::int64_t value, int w) { return fit(std::to_string(value), w); }

std::string f(double value, int w, int d) {
  if (!std::isfinite(value)) return stars(w);
  char buf[512];
  const int n = std::snprintf(buf, sizeof buf, "%.*f", d, value);
  if (n < 0 || n >= static_cast<int>(sizeof buf)) return stars(w);
  std::string s(buf, static_cast<std::size_t>(n));
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
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.*f", kDigits - dec.exponent, value);
      s = buf;
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

std::string general8(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
  if (value == 0.0) return "0";
  const Decimal dec = decimal(value, 8);
  std::string digits = dec.digits;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const std::string sign = value < 0 ? "-" : "";
  // |v| = 0.digits x 10^exponent; the integer part has `exponent` digits.
  const bool fixed = dec.exponent <= 8 && dec.exponent >= -3;  // 0.0001 = 0.1 x 10^-3
  if (fixed) {
    std::string s;
    if (dec.exponent <= 0) {
      s = "0." + std::string(static_cast<std::size_t>(-dec.exponent), '0') + digits;
    } else if (static_cast<int>(digits.size()) <= dec.exponent) {
      s = digits + std::string(static_cast<std::size_t>(dec.exponent) - digits.size(), '0');
    } else {
      s = digits.substr(0, static_cast<std::size_t>(dec.exponent)) + "." +
          digits.substr(static_cast<std::size_t>(dec.exponent));
    }
    return sign + s;
  }
  std::string s = digits.substr(0, 1);
  if (digits.size() > 1) s += "." + digits.substr(1);
  return sign + s + "E" + std::to_string(dec.exponent - 1);
}

}  // namespace kestra::fmt
