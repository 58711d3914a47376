// Wall records on stations: distribution rules, restraint codes, storage and
// order checks, and the echo of the stiffness and load data.
#include "wall_input.h"

#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "run_driver.h"
#include "run_errors.h"
#include "soil_intake.h"

namespace kestra {
namespace {

using test::lines_of;

// Reads the wall records (increments to springs) of `records` into a problem
// with the given control counts.
Problem read_wall(const std::string& records, int n_restraints = 0, int n_stiffness = 1) {
  FreeInput in(records);
  TextSink report;
  Problem problem;
  problem.control.unit = 1;
  problem.control.n_restraints = n_restraints;
  problem.control.n_stiffness = n_stiffness;
  SupportDepths supports;
  read_wall_records(in, report, problem, supports);
  return problem;
}

struct DistributionCase {
  const char* name;
  const char* stiffness_rows;
  int n_rows;
  std::vector<std::pair<int, double>> expected;  // station, EI
};

TEST(Distribution, StiffnessRowsOnStations) {
  const DistributionCase cases[] = {
      {"constant range holds half values at its ends", "0 10 1 1000\n", 1, {{0, 500}, {1, 1000}, {9, 1000}, {10, 500}}},
      {"ranges sharing an end station sum there",
       "0 5 1 1000\n5 10 1 2000\n",
       2,
       {{0, 500}, {4, 1000}, {5, 1500}, {6, 2000}, {10, 1000}}},
      {"chain interpolates to the next row's end",
       "0 3 2 1000\n7 10 1 2000\n",
       2,
       {{0, 500}, {5, 1500}, {10, 1000}, {3, 1300}}},
      {"a single-station row holds the full value", "4 4 1 700\n", 1, {{3, 0}, {4, 700}, {5, 0}}},
      {"a chain of three rows",
       "0 0 2 1000\n0 5 2 2000\n0 10 1 1000\n",
       3,
       {{0, 500}, {5, 2000}, {10, 500}, {2, 1400}}},
  };
  for (const auto& c : cases) {
    const Problem p = read_wall(std::string("10 1 100 0.00001 0\n") + c.stiffness_rows + "0\n0\n", 0, c.n_rows);
    for (const auto& [station, ei] : c.expected)
      EXPECT_DOUBLE_EQ(p.wall.ei[station], ei) << c.name << ", station " << station;
  }
}

TEST(Distribution, LoadsSpringsAndSupportDepths) {
  const Problem p = read_wall(
      "10 2 100 0.00001 0\n0 10 1 1000\n"
      "2\n1 3 3 50 7 100\n1 0 10 0 0 20\n"
      "3\n2 2 1 400 9\n4 6 1 30 0\n8 8 1 500 0\n");
  EXPECT_DOUBLE_EQ(p.wall.q[3], 50);
  EXPECT_DOUBLE_EQ(p.wall.t[3], 7);
  EXPECT_DOUBLE_EQ(p.wall.p[3], -100 - 20);  // axial loads stored with reversed sign
  EXPECT_DOUBLE_EQ(p.wall.p[0], -10);
  EXPECT_DOUBLE_EQ(p.wall.s[2], 400);
  EXPECT_DOUBLE_EQ(p.wall.r[2], 9);
  EXPECT_DOUBLE_EQ(p.wall.s[4], 15);
  EXPECT_DOUBLE_EQ(p.wall.s[5], 30);
  EXPECT_DOUBLE_EQ(p.wall.s[8], 500);
  // Support depths from single-station first and last spring rows.
  FreeInput in("10 2 100 0.00001 0\n0 10 1 1000\n0\n3\n2 2 1 400 9\n4 6 1 30 0\n8 8 1 500 0\n");
  TextSink report;
  Problem problem;
  problem.control = {1, 0, 1, 0, 0, 0, 0, 0, 0};
  SupportDepths supports{1.5, 2.5, 0};
  read_wall_records(in, report, problem, supports);
  EXPECT_DOUBLE_EQ(supports.top, 4.0);
  EXPECT_DOUBLE_EQ(supports.bottom, 16.0);
  EXPECT_EQ(supports.n_spring_rows, 3);
  // A block that does not set them keeps the earlier depths.
  FreeInput in2("10 2 100 0.00001 0\n0 10 1 1000\n0\n1\n2 4 1 400 9\n");
  Problem problem2;
  problem2.control = problem.control;
  read_wall_records(in2, report, problem2, supports);
  EXPECT_DOUBLE_EQ(supports.top, 4.0);
  EXPECT_EQ(supports.n_spring_rows, 1);
}

TEST(Restraints, CodesAroundTheRestrainedStation) {
  const Problem p = read_wall("10 1 100 0.00001 0\n1 0 0.5 0\n2 5 0 0.01\n3 10 0 0\n0 10 1 1000\n0\n0\n", 3);
  EXPECT_EQ(p.wall.code_at(0), kDeflection);
  EXPECT_EQ(p.wall.code_at(4), kBeforeSlope);
  EXPECT_EQ(p.wall.code_at(5), kFree);
  EXPECT_EQ(p.wall.code_at(6), kAfterSlope);
  EXPECT_EQ(p.wall.code_at(9), kBeforeSlope);
  EXPECT_EQ(p.wall.code_at(10), kDeflectionSlope);
  EXPECT_EQ(p.wall.code_at(11), kAfterSlope);
  ASSERT_EQ(p.wall.restraints.size(), 3u);
  EXPECT_DOUBLE_EQ(p.wall.restraints[0].deflection, 0.5);
  EXPECT_DOUBLE_EQ(p.wall.restraints[1].slope, 0.01);
}

// The message a problem's records end with, or "" when they are accepted.
std::string error_of(const std::string& records, int n_restraints = 0, int n_stiffness = 1) {
  try {
    Problem p = read_wall(records, n_restraints, n_stiffness);
    check_nothing_beyond_end(p.wall);
  } catch (const ProblemError& e) {
    return e.lines.at(2);
  }
  return "";
}

TEST(WallChecks, MessagesForInconsistentData) {
  const std::string storage = "     TOO MUCH DATA FOR AVAILABLE STORAGE";
  const std::string order = "     ERROR STOP -- STATIONS NOT IN ORDER";
  const std::string beyond = "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END";
  const struct {
    std::string records;
    int n_restraints;
    std::string message;
  } cases[] = {
      {"406 1 100 0.00001 0\n0 406 1 1000\n0\n0\n", 0, ""},
      {"407 1 100 0.00001 0\n", 0, storage},
      {"10 1 100 0.00001 0\n", 21, storage},
      {"10 1 100 0.00001 0\n1 5 0 0\n1 4 0 0\n", 2, order},
      {"10 1 100 0.00001 0\n1 -2 0 0\n", 1, order},
      {"10 1 100 0.00001 0\n1 13 0 0\n", 1, storage},
      {"10 1 100 0.00001 0\n5 3 1 1000\n", 0, order},
      {"10 1 100 0.00001 0\n0 14 1 1000\n", 0, storage},
      {"10 1 100 0.00001 0\n-3 10 1 1000\n", 0, storage},
      {"10 1 100 0.00001 0\n0 10 1 1000\n1\n1 11 11 5 0 0\n0\n", 0, beyond},
      {"10 1 100 0.00001 0\n0 10 1 1000\n0\n1\n11 11 1 0 3\n", 0, beyond},
      {"10 1 100 0.00001 0\n0 11 1 1000\n0\n0\n", 0, beyond},
      {"10 1 100 0.00001 0\n0 10 1 1000\n1\n1 12 12 5 0 0\n0\n", 0, ""},  // two below the end: not checked
      {"0 1 100 0.00001 0\n", 0, "     ERROR -- THE NUMBER OF INCREMENTS MUST BE 1 OR MORE"},
      {"10 0 100 0.00001 0\n", 0, "     ERROR -- THE INCREMENT LENGTH MUST BE GREATER THAN 0"},
  };
  for (const auto& c : cases) EXPECT_EQ(error_of(c.records, c.n_restraints), c.message) << c.records;
}

TEST(WallEcho, StiffnessAndLoadRows) {
  FreeInput in("10 2 100 0.00001 0\n0 3 2 1000\n7 10 1 2000\n1\n1 2 2 5 0 100\n1\n4 4 1 30 0\n");
  TextSink report;
  Problem problem;
  problem.control = {1, 0, 2, 0, 0, 0, 0, 0, 0};
  SupportDepths supports;
  read_wall_records(in, report, problem, supports);
  const auto lines = lines_of(report.text());
  const std::vector<std::string> tail(lines.end() - 4, lines.end());
  EXPECT_EQ(tail[0], "        0      1  0.100E+04 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00");
  EXPECT_EQ(tail[1], "           10  0  0.200E+04 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00");
  EXPECT_EQ(tail[2], "        2   2  0  0.120E+04 0.500E+01 0.000E+00 0.000E+00 0.000E+00 0.100E+03");
  EXPECT_EQ(tail[3], "        4   4  0  0.140E+04 0.000E+00 0.300E+02 0.000E+00 0.000E+00 0.000E+00");
  EXPECT_NE(report.text().find("                   LBS-IN**2     LBS     LBS/IN    IN-LBS   IN-LBS     LBS\n"),
            std::string::npos);
  EXPECT_NE(report.text().find("      INCREMENT LENGTH                                   =   2.000 IN\n"),
            std::string::npos);
}

TEST(WallEcho, SiLabelsAndOverflowingFields) {
  const RunTexts out = run_input("T\n2 0 1 0 0 0 0 0 0\n10 12345.0 100 0.00001 0\n0 10 1 1000\n0\n1\n0 10 1 1 0\n0\n");
  EXPECT_NE(out.report.find("                    KN- M**2      KN      KN/ M     M- KN    M- KN      KN\n"),
            std::string::npos);
  EXPECT_NE(out.report.find("      INCREMENT LENGTH                                   = *******  M\n"),
            std::string::npos);
}

TEST(UserPressure, StationLoadsByInterpolation) {
  WallModel wall;
  wall.ninc = 12;
  wall.h = 1.0;
  // 0.5 at depth 0 rising to 1.0 at depth 10.
  load_stations({{0.0, 0.5, 0.5, 0.0}, {10.0, 1.0, 1.0, 0.0}}, wall);
  EXPECT_DOUBLE_EQ(wall.q[0], 0.0);
  for (int s = 1; s <= 10; ++s) EXPECT_DOUBLE_EQ(wall.q[s], 0.5 + 0.05 * s) << s;
  EXPECT_DOUBLE_EQ(wall.q[11], 0.0);
  // A station below the last point takes the value of the station above it.
  WallModel w2;
  w2.ninc = 12;
  w2.h = 2.0;
  load_stations({{0.0, 0.0, 0.0, 0.0}, {9.0, 9.0, 9.0, 0.0}}, w2);  // nearest(9/2) = 5 stations
  EXPECT_DOUBLE_EQ(w2.q[4], 8.0);
  EXPECT_DOUBLE_EQ(w2.q[5], 8.0);
  EXPECT_DOUBLE_EQ(w2.q[6], 0.0);
  // A distribution far deeper than the wall loads no station outside the store.
  WallModel w3;
  w3.ninc = 2;
  w3.h = 1.0;
  load_stations({{1.0e300, 1.0, 1.0, 0.0}}, w3);
  EXPECT_GT(w3.q[3], 0.0);
}

}  // namespace
}  // namespace kestra

namespace kestra {
namespace {

TEST(GeneratedPressure, EverySixthPointInEnglishUnitsBeyondFifty) {
  const auto points_of = [](int n) {
    std::vector<PressurePoint> pts;
    for (int k = 0; k < n; ++k) pts.push_back({double(k), double(k), double(k), 0.0});
    return pts;
  };
  const auto sixty = shown_points(points_of(60), 1);
  ASSERT_EQ(sixty.size(), 10u);
  EXPECT_DOUBLE_EQ(sixty.front().depth, 0.0);
  EXPECT_DOUBLE_EQ(sixty[1].depth, 6.0);       // point 7
  EXPECT_DOUBLE_EQ(sixty.back().depth, 54.0);  // point 55
  EXPECT_EQ(shown_points(points_of(50), 1).size(), 50u);
  EXPECT_EQ(shown_points(points_of(60), 2).size(), 60u);
  EXPECT_EQ(shown_points(points_of(60), 3).size(), 60u);
}

}  // namespace
}  // namespace kestra
