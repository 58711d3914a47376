#include "tables/evaluator.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "tables/number_format.h"

namespace kestra {
namespace {

[[noreturn]] void fail(std::string_view reason) {
  std::string message(kEvaluateHead);
  message += '\r';
  message += reason;
  throw TEvaluateError(message);
}

constexpr std::string_view kMathInvalid = "Invalid floating point operation";
constexpr std::string_view kMathZeroDivide = "Floating point division by zero";
constexpr std::string_view kMathOverflow = "Floating point overflow";
constexpr std::string_view kMathIntDivide = "Division by zero";

[[noreturn]] void math_fail(std::string_view message) { throw TMathError(std::string(message)); }

// IEEE arithmetic answers faults with NaN and infinities; the user gets a
// message instead. `pole` says an infinity comes from a division by zero (ln 0,
// 1/tan 0) rather than from a result too large.
long double checked(long double v, bool pole = false) {
  if (std::isnan(v)) math_fail(kMathInvalid);
  if (std::isinf(v)) math_fail(pole ? kMathZeroDivide : kMathOverflow);
  return v;
}

// Every intermediate result goes through its 18-digit text, so that what the
// user sees is what was computed with.
long double round_trip(long double v) {
  long double out = 0;
  if (parse_real(format_general18(checked(v)), out) != ParseStatus::ok) math_fail(kMathOverflow);
  return out;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lower(c);
  return out;
}

long double integer_32(long double v) {
  // ceil and floor answer 32-bit integers; beyond that range they fault.
  if (!(v >= -2147483648.0L && v <= 2147483647.0L)) math_fail(kMathInvalid);
  return v;
}

struct Function {
  std::string_view name;
  long double (*apply)(long double);
  bool pole;  // an infinite result means a division by zero
};

// Longest names first, so that "arctanh" is not read as "arctan" + "h" and
// "cosec" not as "cos" + "ec".
const std::array<Function, 25> kFunctions{{
    {"arctanh", [](long double x) { return std::atanh(x); }, true},
    {"arccosh", [](long double x) { return std::acosh(x); }, false},
    {"arcsinh", [](long double x) { return std::asinh(x); }, false},
    {"arctan", [](long double x) { return std::atan(x); }, false},
    {"arccos", [](long double x) { return std::acos(x); }, false},
    {"arcsin", [](long double x) { return std::asin(x); }, false},
    {"cotan", [](long double x) { return 1.0L / std::tan(x); }, true},
    {"cosec", [](long double x) { return 1.0L / std::sin(x); }, true},
    {"round", [](long double x) { return std::nearbyint(x); }, false},  // ties to even
    {"floor", [](long double x) { return integer_32(std::floor(x)); }, false},
    {"tanh", [](long double x) { return std::tanh(x); }, false},
    {"cosh", [](long double x) { return std::cosh(x); }, false},
    {"sinh", [](long double x) { return std::sinh(x); }, false},
    {"frac", [](long double x) { return x - std::trunc(x); }, false},
    {"ceil", [](long double x) { return integer_32(std::ceil(x)); }, false},
    {"sqrt", [](long double x) { return std::sqrt(x); }, false},
    {"tan", [](long double x) { return std::tan(x); }, false},
    {"cos", [](long double x) { return std::cos(x); }, false},
    {"sin", [](long double x) { return std::sin(x); }, false},
    {"sec", [](long double x) { return 1.0L / std::cos(x); }, true},
    {"csc", [](long double x) { return 1.0L / std::sin(x); }, true},
    {"abs", [](long double x) { return std::fabs(x); }, false},
    {"int", [](long double x) { return std::trunc(x); }, false},
    {"log", [](long double x) { return std::log10(x); }, true},
    {"ln", [](long double x) { return std::log(x); }, true},
}};

const Function* function_at_start(std::string_view lowered) {
  for (const Function& f : kFunctions)
    if (lowered.starts_with(f.name)) return &f;
  return nullptr;
}

bool is_function_name(std::string_view text) {
  if (text.size() > 7) return false;  // longer than any name
  const std::string lowered = lower(text);
  for (const Function& f : kFunctions)
    if (lowered == f.name) return true;
  return false;
}

long double factorial(long double n) {
  if (n != std::trunc(n)) fail(kReasonFactorial);
  const long double magnitude = std::fabs(n);
  long double result = 1;
  // The product overflows long before the counter could run long.
  for (long double k = 2; k <= magnitude; k += 1) {
    result *= k;
    if (std::isinf(result)) math_fail(kMathOverflow);
  }
  return n < 0 ? -result : result;
}

long double hex_value(std::string_view digits) {
  if (digits.empty()) fail(kReasonHex);
  std::uint64_t value = 0;
  for (char c : digits) {
    int d = 0;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      fail(kReasonHex);
    if (value > (UINT64_MAX >> 4)) fail(kReasonHex);
    value = value * 16 + static_cast<std::uint64_t>(d);
  }
  return static_cast<long double>(value);
}

std::string remove_minus_pairs(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      ++i;
      continue;
    }
    out += s[i];
  }
  return out;
}

// One operand: a number, a constant, a hex integer, a function of an operand,
// or an operand followed by "!". Prefix functions and trailing "!" are peeled
// off in a loop and applied afterwards, innermost first, so that a long chain
// costs neither stack nor repeated copies.
long double operand_value(const std::string& text) {
  // Removing the pairs once is enough: what remains has no "--" anywhere, so
  // no part peeled off later can have one either.
  const std::string s = remove_minus_pairs(text);
  const std::string lowered = lower(s);
  enum class Step { negate, function, factorial };
  struct Pending {
    Step step;
    const Function* function;
  };
  std::vector<Pending> pending;
  std::size_t begin = 0;
  std::size_t end = s.size();
  long double value = 0;
  for (;;) {
    const std::string_view low = std::string_view(lowered).substr(begin, end - begin);
    if (low == "pi" || low == "-pi") {
      value = low[0] == '-' ? -std::numbers::pi_v<long double> : std::numbers::pi_v<long double>;
      break;
    }
    if (low == "e" || low == "-e") {
      value = low[0] == '-' ? -std::numbers::e_v<long double> : std::numbers::e_v<long double>;
      break;
    }
    const bool negative = low.starts_with('-');
    const std::string_view body = low.substr(negative ? 1 : 0);
    if (const Function* f = function_at_start(body)) {
      // The argument is the rest of the operand: sin0.5, sin-0.5, sqrtpi.
      if (negative) pending.push_back({Step::negate, nullptr});
      pending.push_back({Step::function, f});
      begin += (negative ? 1 : 0) + f->name.size();
      continue;
    }
    if (low.ends_with('!')) {
      pending.push_back({Step::factorial, nullptr});
      --end;
      continue;
    }
    const std::string_view original = std::string_view(s).substr(begin, end - begin);
    if (body.starts_with('$')) {
      value = hex_value(original.substr(negative ? 2 : 1));
      if (negative) value = -value;
      break;
    }
    switch (parse_real(original, value)) {
      case ParseStatus::ok:
        break;
      case ParseStatus::invalid:
        fail(kReasonInvalidCharacters);
      case ParseStatus::overflow:
        math_fail(kMathOverflow);
    }
    break;
  }
  for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
    switch (it->step) {
      case Step::negate:
        value = -value;
        break;
      case Step::factorial:
        value = round_trip(factorial(value));
        break;
      case Step::function:
        value = round_trip(checked(it->function->apply(value), it->function->pole));
        break;
    }
  }
  return value;
}

int level_of(char op) {
  switch (op) {
    case '^':
      return 1;
    case '*':
    case '/':
    case '%':
    case '&':
      return 2;
    case '+':
    case '-':
    case '|':
      return 3;
    default:
      return 4;  // '='
  }
}

long double apply(char op, long double a, long double b) {
  switch (op) {
    case '^':
      // 0 raised to a negative power is a division by zero.
      return checked(std::pow(a, b), a == 0);
    case '*':
      return checked(a * b);
    case '/':
      if (b == 0) math_fail(a == 0 ? kMathInvalid : kMathZeroDivide);
      return checked(a / b);
    case '%': {
      // Remainder of the truncated integers, with the sign of the dividend;
      // fmod is exact, so no integer range limits the operands.
      const long double ta = std::trunc(a), tb = std::trunc(b);
      if (tb == 0) math_fail(kMathIntDivide);
      return std::fmod(ta, tb);
    }
    case '&':
      return (a != 0 && b != 0) ? 1 : 0;
    case '+':
      return checked(a + b);
    case '-':
      return checked(a - b);
    case '|':
      return (a != 0 || b != 0) ? 1 : 0;
    default:
      return a == b ? 1 : 0;  // '='
  }
}

bool is_operator(char c) {
  switch (c) {
    case '^':
    case '*':
    case '/':
    case '%':
    case '+':
    case '=':
    case '|':
    case '&':
      return true;
    default:
      return false;
  }
}

// A "-" is a negation, part of its operand, after these characters.
bool negation_follows(char c) {
  switch (c) {
    case '%':
    case '&':
    case '*':
    case '+':
    case '/':
    case '=':
    case 'E':
    case '^':
    case 'e':
    case '|':
    case '-':
      return true;
    default:
      return false;
  }
}

// An expression without blanks and parentheses.
long double expression_value(std::string_view text) {
  std::vector<std::string> operands;
  std::string ops;
  std::string current;
  auto close_operand = [&] {
    if (!current.empty()) operands.push_back(std::move(current));
    current.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-') {
      std::string_view so_far = current;
      while (so_far.starts_with('-')) so_far.remove_prefix(1);
      if (i == 0 || negation_follows(text[i - 1]) || is_function_name(so_far)) {
        current += c;
        continue;
      }
      close_operand();
      ops += c;
    } else if (is_operator(c)) {
      close_operand();
      ops += c;
    } else {
      current += c;
    }
  }
  close_operand();
  if (operands.size() != ops.size() + 1) fail(kReasonInvalidExpression);

  // Level by level, left to right, each application replacing two operands by
  // the text of its result.
  for (int level = 1; level <= 4 && !ops.empty(); ++level) {
    std::vector<std::string> next_operands{std::move(operands[0])};
    std::string next_ops;
    for (std::size_t i = 0; i < ops.size(); ++i) {
      if (level_of(ops[i]) == level) {
        const long double result = apply(ops[i], operand_value(next_operands.back()), operand_value(operands[i + 1]));
        next_operands.back() = format_general18(checked(result));
      } else {
        next_ops += ops[i];
        next_operands.push_back(std::move(operands[i + 1]));
      }
    }
    operands = std::move(next_operands);
    ops = std::move(next_ops);
  }
  return operand_value(operands[0]);
}

}  // namespace

long double Evaluate(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t') compact += c;
  // A field of blanks is as empty as an empty one.
  if (compact.empty()) fail(kReasonBlank);

  // Each ")" closes the last "(" before it: the text between them is evaluated
  // and its result takes the place of the parenthesised part. A stack of open
  // segments does this in one pass.
  std::vector<std::string> segments(1);
  for (char c : compact) {
    if (c == '(') {
      segments.emplace_back();
    } else if (c == ')') {
      if (segments.size() == 1) fail(kReasonParentheses);
      const long double inner = expression_value(segments.back());
      segments.pop_back();
      segments.back() += format_general18(checked(inner));
    } else {
      segments.back() += c;
    }
  }
  // An unclosed "(" stays in the text and is refused there as a character.
  std::string rest = std::move(segments[0]);
  for (std::size_t i = 1; i < segments.size(); ++i) {
    rest += '(';
    rest += segments[i];
  }
  return checked(expression_value(rest));
}

EvaluateResult TryEvaluate(std::string_view text) {
  EvaluateResult result;
  try {
    result.value = Evaluate(text);
    result.ok = true;
  } catch (const TEvaluateError& e) {
    result.message = e.what();
  } catch (const TMathError& e) {
    result.message = e.what();
  }
  return result;
}

}  // namespace kestra
