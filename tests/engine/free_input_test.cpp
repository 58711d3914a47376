// Free-format records of the input data file.
#include "free_input.h"

#include <gtest/gtest.h>

#include "run_errors.h"

namespace kestra {
namespace {

TEST(FreeInput, SeparatorsContinuationAndSurplus) {
  FreeInput in("T i t l e\twith tab  \r\n1,2\t3\n\n4 5 6 7 8\n9\n1.5D2 -2.5e-1 0.100+301 .5 3.0\n");
  EXPECT_EQ(in.read_line(80), "T i t l e\twith tab  ");
  // A record of five integers continues over lines; the surplus 6 7 8 is ignored.
  EXPECT_EQ(in.read_ints(5), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(in.line_number(), 4);
  EXPECT_EQ(in.read_int(), 9);
  const auto v = in.read_record(5);
  EXPECT_DOUBLE_EQ(v[0].real(), 150.0);
  EXPECT_DOUBLE_EQ(v[1].real(), -0.25);
  EXPECT_DOUBLE_EQ(v[2].real(), 1.0e300);
  EXPECT_DOUBLE_EQ(v[3].real(), 0.5);
  EXPECT_EQ(v[4].integer(), 3);  // a real of integral value in an integer position
}

TEST(FreeInput, TitleIsCutAtTheBufferWidth) {
  FreeInput in(std::string(100, 'x') + "\n");
  EXPECT_EQ(in.read_line(80).size(), 80u);
}

TEST(FreeInput, TokensThatAreNotTheNumberExpected) {
  for (const char* token : {"abc", "1.2.3", "1e", "--1", "0x10", "inf", "nan", "1e999", "+", "."}) {
    FreeInput in(std::string("\n\n") + token + "\n");
    in.read_line(80);
    in.read_line(80);
    try {
      in.read_record(1)[0].real();
      ADD_FAILURE() << token << " was read as a number";
    } catch (const RunAbort& e) {
      EXPECT_EQ(e.lines.back(), "     ERROR -- VALUE ON LINE 3 IS NOT A NUMBER") << token;
    }
  }
  for (const char* token : {"3.5", "1e10", "-3000000000"}) {
    FreeInput in(std::string(token) + "\n");
    try {
      in.read_int();
      ADD_FAILURE() << token << " was read as an integer";
    } catch (const RunAbort& e) {
      EXPECT_EQ(e.lines.back(), "     ERROR -- VALUE ON LINE 1 IS NOT AN INTEGER") << token;
    }
  }
}

}  // namespace
}  // namespace kestra
