#include "free_input.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "run_errors.h"

namespace kestra {
namespace {

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\f' || c == '\v'; }

// A real number in Fortran's input forms: optional sign, digits with an optional
// point, optional exponent introduced by E, D, e or d. Nothing else (no hex, no
// "inf", no "nan").
bool parse_real(const std::string& token, double& out) {
  std::string s = token;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size()) {
    // The exponent letter may be left out before a signed exponent ("0.100+301",
    // as an E field writes three-digit exponents).
    if (s[i] == '+' || s[i] == '-') {
      s.insert(i, 1, 'E');
    } else if (s[i] != 'E' && s[i] != 'e' && s[i] != 'D' && s[i] != 'd') {
      return false;
    }
    s[i] = 'E';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exponent_digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++exponent_digits;
    if (exponent_digits == 0 || i != s.size()) return false;
  }
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

std::string line_message(const char* what, int line) {
  return "     ERROR -- " + std::string(what) + " ON LINE " + std::to_string(line) + " IS NOT A NUMBER";
}

}  // namespace

FreeInput::FreeInput(std::string_view text) {
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      lines_.push_back(std::move(current));
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines_.push_back(std::move(current));
}

std::string FreeInput::read_line(std::size_t width) {
  if (next_ >= static_cast<int>(lines_.size())) {
    throw run_abort("     ERROR -- INPUT DATA FILE ENDS EARLY AT LINE " + std::to_string(next_ + 1));
  }
  const std::string& line = lines_[static_cast<std::size_t>(next_++)];
  return line.substr(0, width);
}

double FreeInput::Value::real() const {
  double v = 0.0;
  if (!parse_real(token_, v)) throw run_abort(line_message("VALUE", line_));
  return v;
}

std::int32_t FreeInput::Value::integer() const {
  double v = 0.0;
  if (!parse_real(token_, v)) throw run_abort(line_message("VALUE", line_));
  if (v != std::floor(v) || v < std::numeric_limits<std::int32_t>::min() ||
      v > std::numeric_limits<std::int32_t>::max()) {
    throw run_abort("     ERROR -- VALUE ON LINE " + std::to_string(line_) + " IS NOT AN INTEGER");
  }
  return static_cast<std::int32_t>(v);
}

std::vector<FreeInput::Value> FreeInput::read_record(std::size_t count) {
  std::vector<Value> values;
  values.reserve(count);
  while (values.size() < count) {
    if (next_ >= static_cast<int>(lines_.size())) {
      throw run_abort("     ERROR -- INPUT DATA FILE ENDS EARLY AT LINE " + std::to_string(next_ + 1));
    }
    const std::string& line = lines_[static_cast<std::size_t>(next_++)];
    std::size_t i = 0;
    while (i < line.size() && values.size() < count) {
      while (i < line.size() && is_separator(line[i])) ++i;
      const std::size_t start = i;
      while (i < line.size() && !is_separator(line[i])) ++i;
      if (i > start) values.emplace_back(line.substr(start, i - start), next_);
    }
  }
  return values;
}

std::int32_t FreeInput::read_int() { return read_record(1)[0].integer(); }

std::vector<std::int32_t> FreeInput::read_ints(std::size_t count) {
  std::vector<std::int32_t> out;
  for (const Value& v : read_record(count)) out.push_back(v.integer());
  return out;
}

std::vector<double> FreeInput::read_reals(std::size_t count) {
  std::vector<double> out;
  for (const Value& v : read_record(count)) out.push_back(v.real());
  return out;
}

}  // namespace kestra
