// The expression evaluator: values of typed texts, the user's messages, and
// the arithmetic faults, each as a table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "tables/evaluator.h"

namespace kestra {
namespace {

struct ValueRow {
  const char* text;
  long double value;
};

class EvaluateValue : public ::testing::TestWithParam<ValueRow> {};

TEST_P(EvaluateValue, Value) {
  const ValueRow& row = GetParam();
  long double got = 0;
  ASSERT_NO_THROW(got = Evaluate(row.text)) << row.text;
  const long double tolerance = 1e-17L * std::fmax(1.0L, std::fabs(row.value));
  EXPECT_LE(std::fabs(got - row.value), tolerance)
      << row.text << " gave " << static_cast<double>(got) << ", expected " << static_cast<double>(row.value);
}

INSTANTIATE_TEST_SUITE_P(Operators, EvaluateValue,
                         ::testing::Values(ValueRow{"2+3*4", 14}, ValueRow{"2^3^2", 64},  // powers left to right
                                           ValueRow{"-2^2", 4},                        // the negation is the operand's
                                           ValueRow{"10%4", 2}, ValueRow{"-7%3", -1},  // sign of the dividend
                                           ValueRow{"7%-3", 1}, ValueRow{"7.9%3", 1},  // truncated operands
                                           ValueRow{"7/2", 3.5}, ValueRow{"1+2*3-4/2", 5}, ValueRow{"2^-1", 0.5},
                                           ValueRow{"2*-3", -6}, ValueRow{"5--2", 7}, ValueRow{"5---2", 3},
                                           ValueRow{"1=1", 1}, ValueRow{"1=2", 0}, ValueRow{"2+1=3", 1},
                                           ValueRow{"2&3", 1}, ValueRow{"1&0", 0}, ValueRow{"0|3", 1},
                                           ValueRow{"0|0", 0}, ValueRow{"1|0&0", 1},  // & binds tighter than |
                                           ValueRow{" 1 +\t2 ", 3}));

INSTANTIATE_TEST_SUITE_P(Parentheses, EvaluateValue,
                         ::testing::Values(ValueRow{"5-(1-3)", 7}, ValueRow{"2*(1-3)", -4}, ValueRow{"((1+2)*3)", 9},
                                           ValueRow{"2^(1-3)", 0.25}, ValueRow{"(2+3)!", 120}, ValueRow{"-(2)", -2}));

INSTANTIATE_TEST_SUITE_P(
    Operands, EvaluateValue,
    ::testing::Values(ValueRow{"1E-5", 0.00001L}, ValueRow{"1.5E3", 1500}, ValueRow{"2e-1", 0.2L}, ValueRow{".5", 0.5},
                      ValueRow{"3!", 6}, ValueRow{"0!", 1}, ValueRow{"-3!", -6}, ValueRow{"3!!", 720},
                      ValueRow{"$FF", 255}, ValueRow{"$ff", 255}, ValueRow{"$10+1", 17}, ValueRow{"-$10", -16},
                      ValueRow{"--4", 4}, ValueRow{"pi", std::numbers::pi_v<long double>},
                      ValueRow{"-PI", -std::numbers::pi_v<long double>}, ValueRow{"e", std::numbers::e_v<long double>},
                      ValueRow{"-e", -std::numbers::e_v<long double>}, ValueRow{"Pi*2", 2 * 3.14159265358979323846L}));

INSTANTIATE_TEST_SUITE_P(
    Functions, EvaluateValue,
    ::testing::Values(ValueRow{"round(2.5)", 2}, ValueRow{"round(3.5)", 4}, ValueRow{"round(-2.5)", -2},
                      ValueRow{"sin(0.5)", std::sin(0.5L)}, ValueRow{"sin0.5", std::sin(0.5L)},
                      ValueRow{"SIN(0.5)", std::sin(0.5L)}, ValueRow{"sin-0.5", -std::sin(0.5L)},
                      ValueRow{"2*sin(-0.5)", -2 * std::sin(0.5L)}, ValueRow{"-sin(0.5)", -std::sin(0.5L)},
                      ValueRow{"abs(-3)", 3}, ValueRow{"abs-3", 3}, ValueRow{"sqrt(16)", 4},
                      ValueRow{"sqrtpi", std::sqrt(std::numbers::pi_v<long double>)}, ValueRow{"int(-2.7)", -2},
                      ValueRow{"frac(-2.75)", -0.75}, ValueRow{"ceil(2.1)", 3}, ValueRow{"floor(-2.1)", -3},
                      ValueRow{"ln(e)", 1}, ValueRow{"log(1000)", 3}, ValueRow{"sec(0)", 1}, ValueRow{"cosh(0)", 1},
                      ValueRow{"arccos(1)", 0}, ValueRow{"cosec(1)", 1 / std::sin(1.0L)},
                      ValueRow{"csc(1)", 1 / std::sin(1.0L)}, ValueRow{"cotan(1)", 1 / std::tan(1.0L)},
                      ValueRow{"cos(1)", std::cos(1.0L)}, ValueRow{"cosh(1)", std::cosh(1.0L)},
                      ValueRow{"arctanh(0.5)", std::atanh(0.5L)}, ValueRow{"arctan(1)", std::atan(1.0L)},
                      ValueRow{"tanh(1)", std::tanh(1.0L)}, ValueRow{"arcsinh(1)", std::asinh(1.0L)},
                      ValueRow{"sin3!", std::sin(6.0L)}));

TEST(Evaluate, IntermediateResultsPassThroughEighteenDigitText) {
  if constexpr (std::numeric_limits<long double>::digits >= 64) {
    // 1/3 is kept as 0.333333333333333333, so times 3 it is not 1.
    EXPECT_EQ(Evaluate("1/3*3"), 0.999999999999999999L);
    EXPECT_EQ(Evaluate("(1/3)*3"), 0.999999999999999999L);
  }
}

struct MessageRow {
  const char* text;
  std::string_view reason;
};

class EvaluateMessage : public ::testing::TestWithParam<MessageRow> {};

TEST_P(EvaluateMessage, Message) {
  const MessageRow& row = GetParam();
  const std::string expected = std::string("Entry could not be evaluated:\r") + std::string(row.reason);
  try {
    Evaluate(row.text);
    ADD_FAILURE() << row.text << " was accepted";
  } catch (const TEvaluateError& e) {
    EXPECT_EQ(e.what(), expected) << row.text;
  }
  const EvaluateResult result = TryEvaluate(row.text);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EvaluateMessage,
    ::testing::Values(MessageRow{"", kReasonBlank}, MessageRow{" \t ", kReasonBlank},
                      MessageRow{"(1+2", kReasonInvalidCharacters}, MessageRow{"(1+2)*(3", kReasonInvalidCharacters},
                      MessageRow{"(12", kReasonInvalidCharacters}, MessageRow{"1+2)", kReasonParentheses},
                      MessageRow{")(", kReasonParentheses}, MessageRow{"2.5!", kReasonFactorial},
                      MessageRow{"pi!", kReasonFactorial}, MessageRow{"$", kReasonHex}, MessageRow{"$G1", kReasonHex},
                      MessageRow{"$11111111111111111", kReasonHex}, MessageRow{"abc", kReasonInvalidCharacters},
                      MessageRow{"1,5", kReasonInvalidCharacters}, MessageRow{"sin", kReasonInvalidCharacters},
                      MessageRow{"2+", kReasonInvalidExpression}, MessageRow{"+2", kReasonInvalidExpression},
                      MessageRow{"2**3", kReasonInvalidExpression}, MessageRow{"()", kReasonInvalidExpression},
                      MessageRow{"-", kReasonInvalidCharacters}, MessageRow{"!", kReasonInvalidCharacters}));

struct FaultRow {
  const char* text;
  const char* message;
};

class EvaluateFault : public ::testing::TestWithParam<FaultRow> {};

TEST_P(EvaluateFault, ArithmeticFaultsAreMessagesNotInfinities) {
  const FaultRow& row = GetParam();
  try {
    const long double v = Evaluate(row.text);
    ADD_FAILURE() << row.text << " gave " << static_cast<double>(v);
  } catch (const TMathError& e) {
    EXPECT_STREQ(e.what(), row.message) << row.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, EvaluateFault,
    ::testing::Values(
        FaultRow{"1/0", "Floating point division by zero"}, FaultRow{"0/0", "Invalid floating point operation"},
        FaultRow{"5%0.5", "Division by zero"}, FaultRow{"ln(0)", "Floating point division by zero"},
        FaultRow{"ln(-1)", "Invalid floating point operation"},
        FaultRow{"sqrt(-1)", "Invalid floating point operation"},
        FaultRow{"arccos(2)", "Invalid floating point operation"}, FaultRow{"0^-1", "Floating point division by zero"},
        FaultRow{"(-8)^(1/3)", "Invalid floating point operation"}, FaultRow{"2^100000", "Floating point overflow"},
        FaultRow{"1755!", "Floating point overflow"}, FaultRow{"1E99999", "Floating point overflow"},
        FaultRow{"1E4932*10", "Floating point overflow"}, FaultRow{"cosh(1E5)", "Floating point overflow"},
        FaultRow{"ceil(1E10)", "Invalid floating point operation"}));

TEST(Evaluate, HugeFactorialArgumentEndsQuickly) {
  // The product overflows long before a counter up to 1E18 could run.
  EXPECT_THROW(Evaluate("1E18!"), TMathError);
}

TEST(Evaluate, LongInputsStayLinear) {
  std::string sum = "1";
  for (int i = 0; i < 100000; ++i) sum += "+1";
  EXPECT_EQ(Evaluate(sum), 100001);
  const std::string nested = std::string(50000, '(') + "2" + std::string(50000, ')');
  EXPECT_EQ(Evaluate(nested), 2);
  std::string chain;
  for (int i = 0; i < 50000; ++i) chain += "abs";
  EXPECT_EQ(Evaluate(chain + "2"), 2);
  EXPECT_EQ(Evaluate("2" + std::string(100000, '!')), 2);  // 2! is 2, again and again
}

}  // namespace
}  // namespace kestra
