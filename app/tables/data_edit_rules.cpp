#include "tables/data_edit_rules.h"

#include <cmath>
#include <limits>

#include "data/units.h"
#include "tables/evaluator.h"
#include "tables/number_format.h"

namespace kestra {
namespace {

constexpr long double kIntMin = -2147483648.0L;
constexpr long double kIntMax = 2147483647.0L;

long double clamp_int32(long double x) {
  if (x < kIntMin) return kIntMin;
  if (x > kIntMax) return kIntMax;
  return x;
}

}  // namespace

TDataEditRules::TDataEditRules()
    : min_val_(std::numeric_limits<long double>::lowest()), max_val_(std::numeric_limits<long double>::max()) {}

void TDataEditRules::SetUnits(int code) { units_ = clamp_unit_code(code); }

std::string TDataEditRules::LabelText() const {
  if (units_string_.empty()) return caption_;
  return caption_ + " (" + unit_entry_label(units_string_, units_) + ")";
}

long double TDataEditRules::Number() const { return Evaluate(text_); }

void TDataEditRules::SetNumber(long double value) {
  if (std::isnan(value)) return;
  if (!loading_) {
    if (value < min_val_) value = min_val_;
    if (value > max_val_) value = max_val_;
  }
  text_ = Format(value);
}

void TDataEditRules::SetIntegerOnly(bool on) {
  integer_only_ = on;
  SetMaxVal(max_val_);
  SetMinVal(min_val_);
}

void TDataEditRules::SetMaxVal(long double x) {
  if (std::isnan(x)) return;
  if (loading_) {
    max_val_ = x;
    return;
  }
  if (x < min_val_) x = min_val_;
  if (integer_only_) x = clamp_int32(x);
  max_val_ = x;
  // A text that cannot be evaluated has no value to compare; it stays for
  // validation to report.
  const EvaluateResult current = TryEvaluate(text_);
  if (current.ok && current.value > x) SetNumber(x);
}

void TDataEditRules::SetMinVal(long double x) {
  if (std::isnan(x)) return;
  if (loading_) {
    min_val_ = x;
    return;
  }
  if (x > max_val_) x = max_val_;
  if (integer_only_) x = clamp_int32(x);
  min_val_ = x;
  const EvaluateResult current = TryEvaluate(text_);
  if (current.ok && current.value < x) SetNumber(x);
}

std::string TDataEditRules::Format(long double value) const {
  return hex_ ? format_hex(value) : format_general18(value);
}

std::string TDataEditRules::Validate() {
  valid_ = false;
  long double value = 0;
  try {
    value = Evaluate(text_);
  } catch (const TEvaluateError& e) {
    if (integer_only_) return "Entry must be a valid integer.";
    return e.what();
  } catch (const TMathError& e) {
    return e.what();
  }
  if (integer_only_ && value != std::trunc(value)) return "Entry must be an integer.";
  if (value < min_val_) {
    SetNumber(min_val_);
    return "Entry must be greater than or equal to " + Format(min_val_);
  }
  if (value > max_val_) {
    SetNumber(max_val_);
    return "Entry must be less than or equal to " + Format(max_val_);
  }
  text_ = Format(value);
  valid_ = true;
  return {};
}

bool TDataEditRules::ExtendsValue(char typed, bool whole_text_selected) {
  if (!whole_text_selected) return false;
  switch (typed) {
    case '+':
    case '-':
    case '/':
    case '*':
    case '^':
    case '=':
    case '%':
    case '!':
      return true;
    default:
      return false;
  }
}

}  // namespace kestra
