// User p-y curves and the soil sections of the plot data file.
#include "soil_intake.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "run_driver.h"
#include "run_errors.h"

namespace kestra {
namespace {

using test::lines_of;
using test::words_of;

// Takes in the soil records `records` of a problem with 10 increments of 2 and a
// free height of 5.
Problem take_in(const std::string& records, int ep_code, int py_code, int n_curves, TextSink& plot) {
  FreeInput in(records);
  TextSink report, notes;
  Problem problem;
  problem.control = {1, 0, 1, 0, ep_code, py_code, n_curves, 0, 0};
  problem.increments = {10, 2.0, 100, 0.00001, 5.0};
  problem.wall.ninc = 10;
  problem.wall.h = 2.0;
  take_in_soil(in, report, notes, plot, problem, SupportDepths{});
  return problem;
}

TEST(UserCurves, MultipliersChainFlagsAndFactorH) {
  TextSink plot;
  const Problem p = take_in("2\t3\t2\t0.5\n-1\t10\n0\t0\n1\t-10\n4\t2\t1\t1\n0\t0\n1\t-5\n", 0, 1, 2, plot);
  ASSERT_EQ(p.wall.curves.size(), 2u);
  const PyCurve& above = p.wall.curves[0];  // depth 4, above the free height of 5
  EXPECT_EQ(above.chain, 0);
  EXPECT_EQ(above.start_station, 2);
  EXPECT_EQ(above.y, (std::vector<double>{-0.5, 0.0, 0.5}));
  EXPECT_EQ(above.p, (std::vector<double>{40.0, 0.0, -40.0}));  // p x 2 x h
  EXPECT_EQ(p.wall.curves[1].chain, 1);                         // depth 8, below
  // The plot section: no pressure (code 0), unit and count, then the curves
  // with their multiplied points before the factor h.
  const auto w = words_of(plot.text());
  const std::vector<std::string> head(w.begin(), w.begin() + 5);
  EXPECT_EQ(head, (std::vector<std::string>{"0", "1", "2", "2", "3"}));
  EXPECT_DOUBLE_EQ(std::stod(w[5]), -0.5);
  EXPECT_DOUBLE_EQ(std::stod(w[6]), 20.0);
}

TEST(UserCurves, StorageLimits) {
  std::string many_points = "2\t35\t1\t1\n";
  for (int k = 0; k < 35; ++k) many_points += std::to_string(k) + "\t0\n";
  TextSink plot;
  EXPECT_THROW(take_in(many_points, 0, 1, 1, plot), ProblemError);
  EXPECT_THROW(take_in("", 0, 1, 64, plot), ProblemError);
  EXPECT_THROW(take_in("99\t2\t1\t1\n0\t0\n1\t1\n", 0, 1, 1, plot), ProblemError);  // station outside the store
  std::string many_pressures = "1201\n";
  EXPECT_THROW(take_in(many_pressures, 1, 0, 0, plot), ProblemError);
}

TEST(UserCurves, NoCurvesWritesTheEmptySectionForEveryNonGeneratingCode) {
  for (int py_code : {0, 1, 3}) {
    TextSink plot;
    const Problem p = take_in("", 0, py_code, 0, plot);
    EXPECT_TRUE(p.wall.curves.empty());
    EXPECT_EQ(words_of(plot.text()), (std::vector<std::string>{"0", "1", "0"})) << py_code;
  }
}

TEST(UserPressure, PlotSectionAndReportEcho) {
  TextSink plot;
  take_in("2\n0\t0\n10\t5\n", 1, 0, 0, plot);
  const auto lines = lines_of(plot.text());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "           2");
  // An earth part of exactly 0 is written as 1.0E-7.
  EXPECT_EQ(lines[1], "   0.000E+00   0.000E+00   0.100E-06   0.000E+00");
  EXPECT_EQ(lines[2], "   0.100E+02   0.500E+01   0.500E+01   0.000E+00");
}

TEST(EiCurves, PointLimits) {
  const auto read = [](const std::string& text, int n) {
    FreeInput in(text);
    Problem problem;
    problem.control.n_ei_curves = n;
    problem.wall.ninc = 10;
    read_ei_curves(in, problem);
    return problem;
  };
  EXPECT_EQ(read("0 10 2\n0 100\n50 80\n", 1).wall.ei_curves.size(), 1u);
  try {
    read("0 10 1\n0 100\n", 1);
    ADD_FAILURE();
  } catch (const ProblemError& e) {
    EXPECT_EQ(e.lines.back(), "     ERROR -- A MOMENT-EI CURVE NEEDS AT LEAST 2 POINTS");
  }
  EXPECT_THROW(read("0 10 101\n", 1), ProblemError);
  EXPECT_THROW(read("0 99 2\n0 1\n1 1\n", 1), ProblemError);
}

}  // namespace
}  // namespace kestra

namespace kestra {
namespace {

// A SOILDATA text with one generated curve at `depth` whose two branches rise
// from (0, 0) to (1, 100) in 17 points.
std::string one_generated_curve(double depth) {
  std::string text = "1\n" + std::to_string(depth) + " 34\n";
  for (int branch = 0; branch < 2; ++branch)
    for (int k = 1; k <= 17; ++k)
      text +=
          std::to_string(k) + " " + std::to_string(100.0 * (k - 1) / 16) + " " + std::to_string((k - 1) / 16.0) + "\n";
  return text;
}

TEST(GeneratedCurves, TwoBranchesBecomeOneCurveThroughTheOrigin) {
  Problem problem;
  problem.control.unit = 2;
  problem.increments.h = 0.5;
  TextSink plot;
  read_soildata(one_generated_curve(3.0), problem, plot);
  ASSERT_EQ(problem.wall.curves.size(), 1u);
  const PyCurve& c = problem.wall.curves[0];
  ASSERT_EQ(c.y.size(), 33u);
  EXPECT_EQ(c.start_station, 6);
  EXPECT_EQ(c.chain, 1);
  EXPECT_DOUBLE_EQ(c.y.front(), -1.0);
  EXPECT_DOUBLE_EQ(c.p.front(), 100.0 * 0.5);
  EXPECT_DOUBLE_EQ(c.y[16], 0.0);
  EXPECT_DOUBLE_EQ(c.p[16], 0.0);
  EXPECT_DOUBLE_EQ(c.y.back(), 1.0);
  EXPECT_DOUBLE_EQ(c.p.back(), -100.0 * 0.5);
  // Without user curves the plot label is the depth (F10.2), before the factor h.
  const auto lines = test::lines_of(plot.text());
  EXPECT_EQ(lines[1], "       3.00    33");
  EXPECT_DOUBLE_EQ(std::stod(test::words_of(lines[2])[1]), 100.0);
}

TEST(GeneratedCurves, UserCurvesComeFirstUnchainedAndLabelStations) {
  Problem problem;
  problem.control.unit = 1;
  problem.increments.h = 1.0;
  problem.user_curves.push_back({4, 2.0, 0.5, {-1, 0, 1}, {5, 0, -5}});
  std::string text = one_generated_curve(7.0);
  text.replace(0, 1, "2\n4 3\n1 10 -0.5\n2 0 0\n3 -10 0.5");
  TextSink plot;
  read_soildata(text, problem, plot);
  ASSERT_EQ(problem.wall.curves.size(), 2u);
  EXPECT_EQ(problem.wall.curves[0].chain, 0);
  EXPECT_EQ(problem.wall.curves[0].p, (std::vector<double>{10, 0, -10}));
  EXPECT_EQ(problem.wall.curves[0].y, (std::vector<double>{-0.5, 0, 0.5}));
  const auto words = test::words_of(plot.text());
  EXPECT_EQ(words[0], "1");
  EXPECT_EQ(words[1], "2");
  EXPECT_EQ(words[2], "4");
  EXPECT_EQ(words[3], "3");
  EXPECT_EQ(words[4 + 6], "7");  // the generated curve labelled by its station
  EXPECT_EQ(words[5 + 6], "33");
}

}  // namespace
}  // namespace kestra
