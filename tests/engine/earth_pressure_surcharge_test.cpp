// Lateral pressure of surcharges: each formula on both sides of m = 0.4 against
// values worked by hand from the published coefficients, the 50-slice pressure
// at a depth, the 10-slice layer resultant, the working surcharge set and its
// echo, and the refusal of surcharges without a free height.
#include "surcharge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "earth_pressure.h"
#include "engine_test_util.h"
#include "run_errors.h"

namespace kestra {
namespace {

using test::lines_of;

struct SigmaCase {
  const char* name;
  SurchargeKind kind;
  double load, distance, width, depth, free_height;
  SurchargeUse use;
  double expected;  // worked by hand from the formula with its printed coefficients
};

// The coefficients are single-precision values, so hand values agree to about 1e-7.
TEST(SurchargeFormulas, EachLoadOnBothSidesOfTheNearLimit) {
  const SurchargeUse res = SurchargeUse::layer_resultant;
  const SurchargeUse at = SurchargeUse::pressure_at_depth;
  const double pi = 3.1416;  // as the formulas are published for this use
  const double strip_beta = std::atan(80.0 / 60.0) - std::atan(40.0 / 60.0);  // alpha = 45 deg: cos 2 alpha = 0
  const SigmaCase cases[] = {
      // m = 60/120 = 0.5, n = 0.5: 1.77 QP m^2 n^2 / (H^2 (m^2 + n^2)^3)
      {"point far", SurchargeKind::point, 1000, 60, 0, 60, 120, at, 1.77 * 1000 * 0.25 * 0.25 / (14400 * 0.125)},
      // m = 0.3: 0.28 QP n^2 / (H^2 (0.16 + n^2)^3)
      {"point near", SurchargeKind::point, 1000, 36, 0, 60, 120, at, 0.28 * 1000 * 0.25 / (14400 * 0.41 * 0.41 * 0.41)},
      {"point at m = 0.4 is near", SurchargeKind::point, 1000, 48, 0, 60, 120, res,
       0.28 * 1000 * 0.25 / (14400 * 0.41 * 0.41 * 0.41)},
      // 0.203 QL n / (H (0.16 + n^2)^2)
      {"line at m = 0.4 is near", SurchargeKind::line, 50, 48, 0, 60, 120, at, 0.203 * 50 * 0.5 / (120 * 0.41 * 0.41)},
      {"line near, resultant form alike", SurchargeKind::line, 50, 12, 0, 60, 120, res,
       0.203 * 50 * 0.5 / (120 * 0.41 * 0.41)},
      // m = 0.5: 1.273 QL m^2 n / (H (m^2 + n^2)^2) for the resultant, 4/pi for the pressure
      {"line far resultant", SurchargeKind::line, 50, 60, 0, 60, 120, res, 1.273 * 50 * 0.25 * 0.5 / (120 * 0.25)},
      {"line far pressure", SurchargeKind::line, 50, 60, 0, 60, 120, at, 4 * 50 * 0.25 * 0.5 / (120 * pi * 0.25)},
      // strip from 40 to 80 at depth 60: (2 QS / pi) beta and 0.6366 QS beta
      {"strip pressure", SurchargeKind::strip, 2, 60, 40, 60, 120, at, 2 * 2 / pi * strip_beta},
      {"strip resultant", SurchargeKind::strip, 2, 60, 40, 60, 120, res, 0.6366 * 2 * strip_beta},
      {"strip of no width", SurchargeKind::strip, 2, 60, 0, 60, 120, at, 0.0},
      // strip under the wall's edge line: alpha = 0, beta = 2 atan(w/2z): (2q/pi)(beta - sin beta)
      {"strip centred on the wall", SurchargeKind::strip, 2, 0, 120, 60, 120, at,
       2 * 2 / pi * (2 * std::atan(1.0) - std::sin(2 * std::atan(1.0)))},
  };
  for (const SigmaCase& c : cases) {
    const double got = surcharge_sigma(c.kind, c.load, c.distance, c.width, c.depth, c.free_height, c.use);
    EXPECT_NEAR(got, c.expected, 2e-7 * std::fabs(c.expected) + 1e-15) << c.name;
  }
}

TEST(SurchargeFormulas, TypeCodesOtherThanLineAndStripArePointLoads) {
  EXPECT_EQ(surcharge_kind(1), SurchargeKind::point);
  EXPECT_EQ(surcharge_kind(2), SurchargeKind::line);
  EXPECT_EQ(surcharge_kind(3), SurchargeKind::strip);
  EXPECT_EQ(surcharge_kind(0), SurchargeKind::point);
  EXPECT_EQ(surcharge_kind(7), SurchargeKind::point);
}

// The pressure at a depth takes the deepest of 50 slices strictly above it;
// slices are i x 0.02f x H, so slice 1 of H = 120 lies at 2.39999995.
TEST(SurchargePressureAtDepth, DeepestSliceAboveTheDepth) {
  const std::vector<SurchargeRow> rows = {{1, 1000, 60, 0}};
  const double h = 120;
  auto slice = [&](int i) {
    const double n = i * double(0.02f);
    return surcharge_sigma(SurchargeKind::point, 1000, 60, 0, n * h, h, SurchargeUse::pressure_at_depth);
  };
  EXPECT_EQ(surcharge_rows_pressure(rows, 1.0, h), 0.0);  // above the first slice
  EXPECT_EQ(surcharge_rows_pressure(rows, 2.3, h), 0.0);
  EXPECT_DOUBLE_EQ(surcharge_rows_pressure(rows, 2.4, h), slice(1));  // 2.4 lies just below slice 1
  EXPECT_DOUBLE_EQ(surcharge_rows_pressure(rows, 60.0, h), slice(25));
  EXPECT_DOUBLE_EQ(surcharge_rows_pressure(rows, 61.0, h), slice(25));
  // The excavation level and everything below it see the last slice, just above H.
  EXPECT_DOUBLE_EQ(surcharge_rows_pressure(rows, 120.0, h), slice(50));
  EXPECT_DOUBLE_EQ(surcharge_rows_pressure(rows, 500.0, h), slice(50));
  // Slice 25 is n = 0.49999999: within 1e-7 of the hand value at n = 0.5.
  EXPECT_NEAR(surcharge_rows_pressure(rows, 60.0, h), 1.77 * 1000 * 0.25 * 0.25 / (14400 * 0.125), 1e-8);
}

TEST(SurchargePressureAtDepth, RowsAddEachWithItsOwnTypeDistanceAndWidth) {
  const std::vector<SurchargeRow> rows = {{1, 1000, 60, 0}, {2, 50, 12, 0}, {3, 2, 60, 40}, {9, 500, 36, 0}};
  const double h = 120, depth = 61.0;
  const double z = 25 * double(0.02f) * h;
  const SurchargeUse at = SurchargeUse::pressure_at_depth;
  const double expected = surcharge_sigma(SurchargeKind::point, 1000, 60, 0, z, h, at) +
                          surcharge_sigma(SurchargeKind::line, 50, 12, 0, z, h, at) +
                          surcharge_sigma(SurchargeKind::strip, 2, 60, 40, z, h, at) +
                          surcharge_sigma(SurchargeKind::point, 500, 36, 0, z, h, at);
  EXPECT_NEAR(surcharge_rows_pressure(rows, depth, h), expected, 1e-14);

  Problem problem;
  EXPECT_EQ(surcharge_pressure_at(problem, depth, h), 0.0);  // no rows: nothing, whatever H
  EXPECT_EQ(surcharge_pressure_at(problem, depth, 0.0), 0.0);
  problem.surcharges = rows;
  EXPECT_NEAR(surcharge_pressure_at(problem, depth, h), expected, 1e-14);
}

TEST(SurchargePressureAtDepth, RowsWithoutFreeHeightEndTheRun) {
  Problem problem;
  problem.surcharges = {{1, 1000, 60, 0}};
  for (double h : {0.0, 1e-6, -10.0}) {
    try {
      surcharge_pressure_at(problem, 5.0, h);
      ADD_FAILURE() << "free height " << h << " accepted";
    } catch (const RunAbort& e) {
      ASSERT_GE(e.lines.size(), 3u);
      EXPECT_NE(e.lines[2].find("SURCHARGE LOADS ARE GIVEN"), std::string::npos);
    }
  }
}

TEST(SurchargeLayerResultant, TenSlicesOfEachLoadAboveTheThreshold) {
  // A point load: the resultant over a layer 40..60 is the sum of 10 slices of
  // 2, at depths 42 ... 60, each 2 x sigma(z).
  WorkingSurcharge set{60, 1000, 0, 0, 0};
  double expected = 7.0;
  for (int i = 1; i <= 10; ++i) {
    const double z = 40 + 2.0 * i;
    const double n = z / 120;
    expected += 2.0 * 1.77 * 1000 * 0.25 * n * n / (14400 * std::pow(0.25 + n * n, 3));
  }
  EXPECT_NEAR(add_layer_surcharge_resultant(set, 40, 20, 120, 7.0), expected, 1e-6);

  // Loads at or below the single-precision 1e-4 are left out, each separately.
  EXPECT_EQ(add_layer_surcharge_resultant({60, double(1.0e-4f), 0, 0, 0}, 40, 20, 120, 7.0), 7.0);
  EXPECT_GT(add_layer_surcharge_resultant({60, 1.0e-4, 0, 0, 0}, 40, 20, 120, 7.0), 7.0);
  EXPECT_EQ(add_layer_surcharge_resultant({60, -5, -5, -5, 10}, 40, 20, 120, 7.0), 7.0);
  WorkingSurcharge all{60, 1000, 50, 2, 40};
  const double sum = add_layer_surcharge_resultant({60, 1000, 0, 0, 40}, 40, 20, 120, 0.0) +
                     add_layer_surcharge_resultant({60, 0, 50, 0, 40}, 40, 20, 120, 0.0) +
                     add_layer_surcharge_resultant({60, 0, 0, 2, 40}, 40, 20, 120, 0.0);
  EXPECT_NEAR(add_layer_surcharge_resultant(all, 40, 20, 120, 0.0), sum, 1e-12);
}

TEST(SurchargeWorkingSet, LastRowWinsAndStripWidthStays) {
  Problem problem;
  problem.control.unit = 1;
  problem.surcharge = {0.5, 11, 22, 33, 44, 9};
  WorkingSurcharge set = working_surcharge(problem);  // no rows: the surcharge record
  EXPECT_EQ(set.distance, 11);
  EXPECT_EQ(set.point, 22);
  EXPECT_EQ(set.line, 33);
  EXPECT_EQ(set.strip, 44);
  EXPECT_EQ(set.strip_width, 9);

  problem.surcharges = {{3, 5, 20, 4}, {2, 7, 30, 99}};
  set = working_surcharge(problem);
  EXPECT_EQ(set.distance, 30);
  EXPECT_EQ(set.point, 0);
  EXPECT_EQ(set.line, 7);
  EXPECT_EQ(set.strip, 0);
  EXPECT_EQ(set.strip_width, 4);  // only a strip sets the width

  TextSink report;
  write_surcharge_information(report, problem);
  const auto lines = lines_of(report.text());
  const std::vector<std::string> expected = {
      "",
      "",
      "      **************************************************",
      "      *              SURCHARGE INFORMATION             *",
      "      **************************************************",
      "",
      "",
      "      UNIFORM SURFACE PRESSURE     = 0.500E+00 LBS/IN**2",
      "",
      "      SURCHARGE LOADING NO.        =          1",
      "      POINT LOAD                   =  0.000E+00 LBS",
      "      LINE LOAD                    =  0.000E+00 LBS/IN",
      "      STRIP LOAD                   =  0.500E+01 LBS/IN**2",
      "      WIDTH OF THE STRIP LOAD      =  0.400E+01 IN",
      "      HORIZONTAL DISTANCE BETWEEN  =  0.200E+02 IN",
      "      THE WALL AND SURCHARGE         ",
      "",
      "",
      "      SURCHARGE LOADING NO.        =          2",
      "      POINT LOAD                   =  0.000E+00 LBS",
      "      LINE LOAD                    =  0.700E+01 LBS/IN",
      "      STRIP LOAD                   =  0.000E+00 LBS/IN**2",
      "      WIDTH OF THE STRIP LOAD      =  0.400E+01 IN",
      "      HORIZONTAL DISTANCE BETWEEN  =  0.300E+02 IN",
      "      THE WALL AND SURCHARGE         ",
      "",
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace kestra
