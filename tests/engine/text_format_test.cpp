// Fixed fields and number forms of the engine's files. Expected texts are
// gfortran's own output for the same edit descriptor and value.
#include "text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kestra::fmt {
namespace {

struct FieldCase {
  char kind;  // 'I', 'F', 'E', 'D'
  int w, d;
  double value;
  const char* expected;
};

std::string render(const FieldCase& c) {
  switch (c.kind) {
    case 'I':
      return i(static_cast<std::int64_t>(c.value), c.w);
    case 'F':
      return f(c.value, c.w, c.d);
    case 'E':
      return e(c.value, c.w, c.d);
    default:
      return d(c.value, c.w, c.d);
  }
}

TEST(FieldFormat, MatchesFortranEditDescriptors) {
  const double inf = std::numeric_limits<double>::infinity();
  const FieldCase cases[] = {
      {'I', 3, 0, 40, " 40"},
      {'I', 3, 0, -99, "-99"},
      {'I', 3, 0, 1000, "***"},
      {'I', 2, 0, -5, "-5"},
      {'I', 4, 0, 0, "   0"},
      {'F', 7, 3, 12.5, " 12.500"},
      {'F', 7, 3, 12345.0, "*******"},
      {'F', 7, 3, -0.0004, " -0.000"},
      {'F', 7, 5, 0.00001, "0.00001"},
      {'F', 5, 2, 0.125, " 0.12"},  // exact tie: to even
      {'F', 5, 2, 0.375, " 0.38"},
      {'F', 4, 0, 2.5, "  2."},
      {'F', 4, 0, 3.5, "  4."},
      {'F', 4, 3, 0.125, ".125"},  // optional zero dropped
      {'F', 5, 3, -0.125, "-.125"},
      {'F', 4, 3, -0.125, "****"},
      {'F', 10, 2, 12.345, "     12.35"},
      {'F', 7, 3, inf, "*******"},
      {'F', 7, 3, std::nan(""), "*******"},
      {'E', 10, 3, 12.5, " 0.125E+02"},
      {'E', 10, 3, 0.0, " 0.000E+00"},
      {'E', 10, 3, -0.0, "-0.000E+00"},
      {'E', 10, 3, -12.5, "-0.125E+02"},
      {'E', 9, 3, 12.5, "0.125E+02"},
      {'E', 9, 3, -12.5, "-.125E+02"},
      {'E', 8, 3, -12.5, "********"},
      {'E', 10, 3, 9.9996, " 0.100E+02"},  // rounding carries into the exponent
      {'E', 10, 3, 1.0e-99, " 0.100E-98"},
      {'E', 10, 3, 1.0e-120, " 0.100-119"},  // three-digit exponent drops the letter
      {'E', 10, 3, 1.0e300, " 0.100+301"},
      {'E', 10, 2, 0.125, "  0.12E+00"},
      {'E', 13, 4, 1.5, "   0.1500E+01"},
      {'E', 13, 4, -1.0e100, "  -0.1000+101"},
      {'E', 12, 3, 0.0036, "   0.360E-02"},
      {'E', 10, 3, -inf, "**********"},
      {'D', 10, 3, 12.5, " 0.125D+02"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(render(c), c.expected) << c.kind << c.w << "." << c.d << " of " << c.value;
  }
}

TEST(FieldFormat, BlanksAndLines) {
  EXPECT_EQ(x(3), "   ");
  EXPECT_EQ(x(0), "");
  EXPECT_EQ(x(-2), "");
  const std::string line = Line().x(6).a("NUMBER OF INCREMENTS").i(40, 3).f(1.0, 7, 3).a(" IN").str();
  EXPECT_EQ(line, "      NUMBER OF INCREMENTS 40  1.000 IN");
}

TEST(FreeFormat, IntegersAndRealsAsListDirectedOutput) {
  EXPECT_EQ(free_int(1), "           1");
  EXPECT_EQ(free_int(-40), "         -40");
  const struct {
    double value;
    const char* text;
  } reals[] = {
      {1.5, "1.5000000000000000"},
      {-0.1, "-0.10000000000000001"},
      {1.0e-7, "9.9999999999999995E-008"},
      {123456789.123, "123456789.12300000"},
      {0.0, "0.0000000000000000"},
      {1.0e20, "1.0000000000000000E+020"},
      {-2.0e-300, "-2.0000000000000001E-300"},
  };
  for (const auto& r : reals) {
    const std::string s = free_real(r.value);
    ASSERT_EQ(s.size(), 25u) << r.value;
    EXPECT_EQ(s.substr(s.find_first_not_of(' ')), r.text);
    EXPECT_EQ(std::stod(s), r.value) << "free reals must read back exactly";
  }
}

}  // namespace
}  // namespace kestra::fmt
