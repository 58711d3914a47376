// The general number format (8 digits for files and tables, 18 for entry
// fields), the hex form and the decimal parser, as tables of exact texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tables/number_format.h"

namespace kestra {
namespace {

struct FormatRow {
  long double value;
  int digits;
  const char* text;
};

class GeneralFormat : public ::testing::TestWithParam<FormatRow> {};

TEST_P(GeneralFormat, Text) {
  const FormatRow& row = GetParam();
  EXPECT_EQ(format_general(row.value, row.digits), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    EightDigits, GeneralFormat,
    ::testing::Values(FormatRow{100, 8, "100"}, FormatRow{0.0001L, 8, "0.0001"}, FormatRow{0.00001L, 8, "1E-5"},
                      FormatRow{1.0L / 3, 8, "0.33333333"}, FormatRow{-2.5, 8, "-2.5"},
                      FormatRow{0.0000015L, 8, "1.5E-6"}, FormatRow{123456789, 8, "1.2345679E8"}, FormatRow{0, 8, "0"},
                      FormatRow{-0.0L, 8, "0"}, FormatRow{1, 8, "1"}, FormatRow{10, 8, "10"},
                      FormatRow{99999999, 8, "99999999"},
                      // Rounding decides the notation: these round up a decade.
                      FormatRow{99999999.5L, 8, "1E8"}, FormatRow{0.000099999999999L, 8, "0.0001"},
                      FormatRow{12345678.9L, 8, "12345679"}, FormatRow{0.1, 8, "0.1"}, FormatRow{1e100L, 8, "1E100"},
                      FormatRow{-1.5e-300L, 8, "-1.5E-300"}, FormatRow{1234.5L, 8, "1234.5"},
                      FormatRow{-0.00012345678912L, 8, "-0.00012345679"}, FormatRow{2.5e-5L, 8, "2.5E-5"}));

// The 18-digit rows assume the 64-bit mantissa of x86 extended precision.
INSTANTIATE_TEST_SUITE_P(EighteenDigits, GeneralFormat,
                         ::testing::Values(FormatRow{0.1L, 18, "0.1"}, FormatRow{1.0L / 3, 18, "0.333333333333333333"},
                                           FormatRow{2.0L / 3, 18, "0.666666666666666667"},
                                           FormatRow{1e17L, 18, "100000000000000000"}, FormatRow{1e18L, 18, "1E18"},
                                           FormatRow{123456789012345678.0L, 18, "123456789012345678"},
                                           FormatRow{-4, 18, "-4"}, FormatRow{0.00001L, 18, "1E-5"}));

TEST(GeneralFormat, NonFiniteValuesAreNotNumbers) {
  EXPECT_EQ(format_general8(std::numeric_limits<long double>::quiet_NaN()), "NaN");
  EXPECT_EQ(format_general8(std::numeric_limits<long double>::infinity()), "Inf");
  EXPECT_EQ(format_general18(-std::numeric_limits<long double>::infinity()), "-Inf");
  long double ignored = 0;
  EXPECT_NE(parse_real("NaN", ignored), ParseStatus::ok);
  EXPECT_NE(parse_real("Inf", ignored), ParseStatus::ok);
}

TEST(GeneralFormat, EighteenDigitsReadBack) {
  for (long double v : {std::numeric_limits<long double>::min(), 1.0L / 7, -123.456L, 1e-4000L, 7e4000L}) {
    long double back = 0;
    ASSERT_EQ(parse_real(format_general18(v), back), ParseStatus::ok) << format_general18(v);
    EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-16) << format_general18(v);
  }
  // The largest value rounds up beyond the type at 18 digits: reading that
  // text back is an overflow, never an infinity.
  long double back = 0;
  EXPECT_EQ(parse_real(format_general18(std::numeric_limits<long double>::max()), back), ParseStatus::overflow);
}

TEST(HexFormat, RoundedValueWithAtLeastFourDigits) {
  EXPECT_EQ(format_hex(255), "$00FF");
  EXPECT_EQ(format_hex(0), "$0000");
  EXPECT_EQ(format_hex(65535), "$FFFF");
  EXPECT_EQ(format_hex(65536), "$10000");
  EXPECT_EQ(format_hex(2.5L), "$0002");  // ties to even
  EXPECT_EQ(format_hex(3.5L), "$0004");
  EXPECT_EQ(format_hex(-255), "-$00FF");
  EXPECT_EQ(format_hex(1e30L), "1E30");  // beyond 64 bits: the general form
}

struct ParseRow {
  const char* text;
  ParseStatus status;
  long double value;  // when ok
};

class ParseReal : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseReal, Notation) {
  const ParseRow& row = GetParam();
  long double value = 12345;
  EXPECT_EQ(parse_real(row.text, value), row.status) << row.text;
  if (row.status == ParseStatus::ok)
    EXPECT_EQ(value, row.value) << row.text;
  else
    EXPECT_EQ(value, 12345) << "left untouched: " << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseReal,
    ::testing::Values(ParseRow{"1", ParseStatus::ok, 1}, ParseRow{"-1.5", ParseStatus::ok, -1.5},
                      ParseRow{"+2", ParseStatus::ok, 2}, ParseRow{".5", ParseStatus::ok, 0.5},
                      ParseRow{"5.", ParseStatus::ok, 5}, ParseRow{"1E5", ParseStatus::ok, 1e5},
                      ParseRow{"1e-5", ParseStatus::ok, 1e-5L}, ParseRow{"1E+5", ParseStatus::ok, 1e5},
                      ParseRow{"0.1", ParseStatus::ok, 0.1L}, ParseRow{"1e-99999", ParseStatus::ok, 0},
                      ParseRow{"", ParseStatus::invalid, 0}, ParseRow{".", ParseStatus::invalid, 0},
                      ParseRow{"-", ParseStatus::invalid, 0}, ParseRow{"E5", ParseStatus::invalid, 0},
                      ParseRow{"1E", ParseStatus::invalid, 0}, ParseRow{"1E+", ParseStatus::invalid, 0},
                      ParseRow{"inf", ParseStatus::invalid, 0}, ParseRow{"nan", ParseStatus::invalid, 0},
                      ParseRow{"0x10", ParseStatus::invalid, 0}, ParseRow{" 1", ParseStatus::invalid, 0},
                      ParseRow{"1 ", ParseStatus::invalid, 0}, ParseRow{"1,5", ParseStatus::invalid, 0},
                      ParseRow{"--1", ParseStatus::invalid, 0}, ParseRow{"1.2.3", ParseStatus::invalid, 0},
                      ParseRow{"1e99999", ParseStatus::overflow, 0},
                      ParseRow{"-1e99999999999999999999", ParseStatus::overflow, 0}));

TEST(ParseReal, HugeAndTinyDigitStrings) {
  long double value = 0;
  EXPECT_EQ(parse_real("1" + std::string(6000, '0'), value), ParseStatus::overflow);
  EXPECT_EQ(parse_real("-0." + std::string(6000, '0') + "1", value), ParseStatus::ok);
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(std::signbit(value));
  EXPECT_EQ(parse_real("0." + std::string(6000, '0') + "1e6010", value), ParseStatus::ok);
  EXPECT_NEAR(static_cast<double>(value), 1e9, 1e-6);
}

}  // namespace
}  // namespace kestra
