#include "data/units.h"

#include <array>
#include <cstddef>

namespace kestra {
namespace {

// One token with its labels in the English, SI and generic systems.
struct Token {
  std::string_view text;
  std::string_view english;
  std::string_view si;
  std::string_view other;
};

constexpr Token kF{"F", "lbs", "kN", "F"};
constexpr Token kF1{"F1", "kips", "kN", "F"};
constexpr Token kF2{"F2", "tons", "kN", "F"};
constexpr Token kF4{"F4", "lb-sec2/in", "Mg", "M"};
constexpr Token kF5{"F5", "sec", "sec", "T"};
constexpr Token kF6{"F6", "slug", "Mg", "F"};
constexpr Token kL{"L", "in", "m", "L"};
constexpr Token kL1{"L1", "in", "mm", "L"};
constexpr Token kL2{"L2", "ft", "m", "L"};
constexpr Token kL3{"L3", "rad", "rad", "L"};

// Table headers replace every token; the longer tokens go first so that "F2"
// is not read as "F" followed by "2".
constexpr std::array<const Token*, 10> kHeaderOrder{&kF2, &kF1, &kF4, &kF5, &kF6, &kF, &kL3, &kL2, &kL1, &kL};
// Entry fields replace only the first force token and the first length token
// found, in these orders.
constexpr std::array<const Token*, 6> kEntryForceOrder{&kF6, &kF5, &kF4, &kF2, &kF1, &kF};
constexpr std::array<const Token*, 4> kEntryLengthOrder{&kL2, &kL1, &kL3, &kL};

std::string_view label_of(const Token& token, int unit_code) {
  if (unit_code == kUnitsEnglish) return token.english;
  if (unit_code == kUnitsSI) return token.si;
  return token.other;
}

// Replaces every occurrence of `from`, searching on after each inserted text so
// that a label containing its own token cannot loop.
void replace_all(std::string& text, std::string_view from, std::string_view to) {
  std::size_t pos = text.find(from);
  while (pos != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos = text.find(from, pos + to.size());
  }
}

// SI-to-English factors selected by the digit after F or L.
double force_factor(char digit) {
  switch (digit) {
    case '1':
      return 0.2248089237;
    case '2':
      return 0.1124044745;
    case '4':
      return 5.7101483;
    case '5':
      return 1.0;
    case '6':
      return 68.364249;
    default:
      return 224.8089237;  // '0', i.e. plain F
  }
}

double length_factor(char digit) {
  switch (digit) {
    case '1':
      return 0.03937007874;
    case '2':
      return 3.280839895;
    case '3':
      return 1.0;
    default:
      return 39.37007874;  // '0', i.e. plain L
  }
}

// An exponent digit; anything else (a malformed or missing exponent) counts as 1.
int exponent_at(const std::string& part, std::size_t index) {
  if (index < part.size() && part[index] >= '0' && part[index] <= '9') return part[index] - '0';
  return 1;
}

double power(double base, int exponent) {
  double result = 1.0;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}

// force^a x length^c of one side of a unit string ("F-L^2", "L2^3", "RAD.").
double part_factor(std::string part) {
  double value = 1.0;
  if (!part.empty() && part[0] == 'F') {
    // A plain F is F0: the digit selects the factor, a missing one means 0.
    if (part.size() < 2 || std::string_view("012456").find(part[1]) == std::string_view::npos) part.insert(1, "0");
    const double factor = force_factor(part[1]);
    int a = 1;
    std::size_t consumed = 3;  // token and one separator ("-" of "F-L")
    if (part.size() > 2 && part[2] == '^') {
      a = exponent_at(part, 3);
      consumed = 5;  // token, caret, exponent digit and one separator
    }
    value *= power(factor, a);
    part.erase(0, consumed < part.size() ? consumed : part.size());
  }
  if (!part.empty() && part[0] == 'L') {
    if (part.size() < 2 || part[1] < '0' || part[1] > '3') part.insert(1, "0");
    const double factor = length_factor(part[1]);
    const int c = part.size() >= 3 ? exponent_at(part, 3) : 1;
    value *= power(factor, c);
  }
  return value;
}

}  // namespace

int clamp_unit_code(int code) {
  if (code < kUnitsEnglish) return kUnitsEnglish;
  if (code > kUnitsOther) return kUnitsOther;
  return code;
}

std::string unit_menu_caption(int code) {
  switch (clamp_unit_code(code)) {
    case kUnitsEnglish:
      return "&English Units (lbs, in)";
    case kUnitsSI:
      return "&SI Units (kN, m)";
    default:
      return "&Other Units (F, L)";
  }
}

std::string unit_label(std::string_view unit_string, int unit_code) {
  std::string text(unit_string);
  for (const Token* token : kHeaderOrder) replace_all(text, token->text, label_of(*token, unit_code));
  return text;
}

std::string unit_entry_label(std::string_view unit_string, int unit_code) {
  std::string text(unit_string);
  if (unit_code != kUnitsEnglish && unit_code != kUnitsSI) return text;
  for (const Token* token : kEntryForceOrder) {
    if (text.find(token->text) != std::string::npos) {
      replace_all(text, token->text, label_of(*token, unit_code));
      break;
    }
  }
  for (const Token* token : kEntryLengthOrder) {
    if (text.find(token->text) != std::string::npos) {
      replace_all(text, token->text, label_of(*token, unit_code));
      break;
    }
  }
  return text;
}

double unit_factor_si_to_english(std::string_view unit_string) {
  const std::size_t slash = unit_string.find('/');
  if (slash == std::string_view::npos) return part_factor(std::string(unit_string));
  return part_factor(std::string(unit_string.substr(0, slash))) /
         part_factor(std::string(unit_string.substr(slash + 1)));
}

double unit_factor(int old_code, int new_code, std::string_view unit_string) {
  if (old_code == kUnitsSI && new_code == kUnitsEnglish) return unit_factor_si_to_english(unit_string);
  if (old_code == kUnitsEnglish && new_code == kUnitsSI) return 1.0 / unit_factor_si_to_english(unit_string);
  return 1.0;
}

ScalarFactors scalar_factors(int old_code, int new_code) {
  old_code = clamp_unit_code(old_code);
  new_code = clamp_unit_code(new_code);
  if (old_code == kUnitsEnglish && new_code == kUnitsSI) return {kScalarLengthEnglishToSI, kScalarForceEnglishToSI};
  if (old_code == kUnitsSI && new_code == kUnitsEnglish) return {kScalarLengthSIToEnglish, kScalarForceSIToEnglish};
  return {};
}

}  // namespace kestra
