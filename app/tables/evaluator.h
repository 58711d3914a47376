// The expression evaluator behind every number the user types, in entry
// fields and in grid-table cells: "2*(1-3)", "sqrt(2)/2", "3!", "$FF".
//
// The evaluation is textual, as users have always seen it: every intermediate
// result is written back with 18 significant digits and read again, so that
// what a field shows is exactly what was computed with.
//
// Grammar in brief (names without regard to case):
//   expression := operand (operator operand)*
//   operators, by level, each level left to right:
//     1: ^      2: * / % &      3: + - |      4: =
//   operand := number | "$" hex | constant (pi, e) | function operand | operand "!"
// A "-" is part of its operand (a negation) when it starts the text, follows a
// function name, or follows one of % & * + / = E ^ e | or another "-"; so
// -2^2 is 4 and 2^3^2 is 64.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kestra {

/// A text the evaluator cannot read. what() is the whole message shown to the
/// user: "Entry could not be evaluated:", a carriage return, and the reason.
class TEvaluateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// An arithmetic fault of a readable expression (division by zero, logarithm of
/// a negative number, overflow). what() is one of "Floating point division by
/// zero", "Invalid floating point operation", "Floating point overflow",
/// "Division by zero" (integer remainder by zero).
class TMathError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The reasons the evaluator gives, after "Entry could not be evaluated:\r".
inline constexpr std::string_view kEvaluateHead = "Entry could not be evaluated:";
inline constexpr std::string_view kReasonBlank = "entry cannot be blank";
inline constexpr std::string_view kReasonParentheses = "() (parentheses) do not match";
inline constexpr std::string_view kReasonInvalidExpression = "invalid expression";
inline constexpr std::string_view kReasonFactorial = "! (factoral) applicable to integers only";
inline constexpr std::string_view kReasonHex = "invalid use of $ (hex function)";
inline constexpr std::string_view kReasonInvalidCharacters = "invalid character(s) in expression";

/// Evaluates a typed text and returns its value (finite).
/// Throws TEvaluateError with the user's message when the text cannot be read,
/// and TMathError when the arithmetic itself fails. Never returns NaN or an
/// infinity. Any bytes are safe input.
long double Evaluate(std::string_view text);

/// The result of TryEvaluate: either a value, or the message to show.
struct EvaluateResult {
  bool ok = false;
  long double value = 0;
  std::string message;  // empty when ok
};

/// As Evaluate, but returns failures (of either kind) as a message instead of
/// throwing, for callers that only show the message.
EvaluateResult TryEvaluate(std::string_view text);

}  // namespace kestra
