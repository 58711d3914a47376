// The results section of the report and the iteration monitor of the notes.
#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "run_driver.h"

namespace kestra {
namespace {

using test::count_lines_starting;
using test::lines_of;
using test::simple_problem;

TEST(ResultsReport, TableAndMonitorLayout) {
  const RunTexts out = run_input(simple_problem("Layout") + "0\n");
  const auto lines = lines_of(out.report);
  std::size_t k = 0;
  while (k < lines.size() && lines[k].rfind("     RESULTS -- ITERATION", 0) != 0) ++k;
  ASSERT_LT(k + 5, lines.size());
  EXPECT_EQ(lines[k], "     RESULTS -- ITERATION  2");
  EXPECT_EQ(lines[k + 1], "     --------------------");
  EXPECT_EQ(lines[k + 2], "");
  EXPECT_EQ(lines[k + 3], "   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI ");
  EXPECT_EQ(lines[k + 4],
            "             IN          IN                    LBS-IN        LBS        LBS       LBS-IN**2");
  EXPECT_EQ(lines[k + 5],
            "   ------    ----        ----       -----'      ------      ------    ---------    ----------");
  EXPECT_EQ(lines[k + 6].substr(0, 18), "     0   0.000E+00");
  EXPECT_EQ(lines[k + 16].substr(0, 18), "    10   0.100E+02");
  EXPECT_EQ(lines[k + 6].size(), 90u);
  // The heading is repeated before the results.
  EXPECT_EQ(lines[k - 3], "      Layout" + std::string(64, ' '));

  const auto notes = lines_of(out.notes);
  ASSERT_EQ(notes.size(), 7u);
  EXPECT_EQ(notes[0], "");
  EXPECT_EQ(notes[3], "     ITERATION MONITOR DATA");
  EXPECT_EQ(notes[4], "     ----------------------");
  EXPECT_EQ(notes[5].substr(0, 23), "      1       NO       ");
  EXPECT_EQ(notes[6].substr(0, 27), "      2       NO          0");
  EXPECT_EQ(notes[6].size(), 27u + 2u + 5u * 10u);
}

TEST(ResultsReport, WarningsInTheirOrder) {
  // A maximum allowable deflection far below the free deflection, and a
  // two-point p-y curve (always off its curve).
  const std::string input =
      "Warnings\n1 0\t1\t0\t0\t1 1 0 0\n10 1 0.000001\t0.00001\t0\n0\t10\t1\t1000\n1\n1\t0\t0\t10\t0\t0\n"
      "1\n0\t10\t1\t100\t0\n5\t2\t1\t1\n-1\t1\n1\t-1\n0\n";
  const RunTexts out = run_input(input);
  const std::string expected =
      "     RESULTS -- ITERATION  1\n     --------------------\n\n"
      "     ***** DEFLECTION OFF Q - W CURVES *****\n\n"
      "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  11  *** STATIONS *****\n\n"
      "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n\n   STA I";
  EXPECT_NE(out.report.find(expected), std::string::npos) << out.report;
}

TEST(ResultsReport, UnsupportedWallIsNamedNotPassedOffAsAtRest) {
  // No stiffness, no springs: nothing holds the wall.
  const RunTexts out = run_input("Nothing\n1 0 1 0 0 0 0 0 0\n10 1 100 0.00001 0\n0 10 1 0\n0\n0\n0\n");
  EXPECT_EQ(count_lines_starting(out.report, "     ***** NO STIFFNESS OR SUPPORT AT"), 1) << out.report;
  EXPECT_NE(out.report.find("END OF ANALYSIS"), std::string::npos);
}

TEST(ResultsReport, DegenerateSolutionEndsWithAMessage) {
  // A slope restraint at station -1 cannot be solved.
  const RunTexts out = run_input(
      "Degenerate\n1 1 1 0 0 0 0 0 0\n10 1 100 0.00001 0\n2\t-1\t0\t0\n0 10 1 1000\n0\n1\n0\t10\t1\t100\t0\n0\n");
  EXPECT_EQ(out.report.find("RESULTS -- ITERATION"), std::string::npos);
  EXPECT_NE(out.report.find("     ERROR -- SPECIFIED SLOPE ABOVE THE TOP OF THE WALL"), std::string::npos);
  EXPECT_NE(out.report.find("END OF ANALYSIS"), std::string::npos);
  for (const std::string& text : {out.report, out.plot, out.notes}) {
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
  }
}

}  // namespace
}  // namespace kestra
