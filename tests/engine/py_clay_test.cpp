// Clay p-y curves against points worked by hand from the published
// formulations: soft clay (Matlock 1970), stiff clay with free water (Reese,
// Cox and Koop 1975), stiff clay without free water (Welch and Reese 1972), and
// the equivalent depth of a clay below other layers (Georgiadis 1983).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "py_curves.h"

namespace kestra::py {
namespace {

struct HandPoint {
  int index;
  double y, p;
};

void expect_points(const CurvePoints& c, const std::vector<HandPoint>& hand) {
  for (const HandPoint& h : hand) {
    const auto k = static_cast<std::size_t>(h.index);
    EXPECT_NEAR(c.y[k], h.y, 1e-12 * std::max(1.0, std::fabs(h.y))) << "point " << h.index;
    EXPECT_NEAR(c.p[k], h.p, 1e-10 * std::max(1.0, std::fabs(h.p))) << "point " << h.index;
  }
}

void expect_increasing_deflections(const CurvePoints& c) {
  for (std::size_t k = 1; k < c.y.size(); ++k) EXPECT_GT(c.y[k], c.y[k - 1]) << "point " << k;
}

// ---- Soft clay --------------------------------------------------------------------

struct SoftClayRow {
  double c, gamma_a, x, b, e50;
  double pu;
  std::vector<HandPoint> points;
};

class SoftClay : public ::testing::TestWithParam<SoftClayRow> {};

TEST_P(SoftClay, UltimateAndPointsMatchMatlock) {
  const SoftClayRow& r = GetParam();
  const double pu = soft_clay_ultimate(r.c, r.gamma_a, r.x, r.b);
  EXPECT_NEAR(pu, r.pu, 1e-12 * r.pu);
  const CurvePoints c = soft_clay_points(pu, 2.5 * r.e50 * r.b);
  expect_points(c, r.points);
  expect_increasing_deflections(c);
  EXPECT_EQ(c.p[0], 0.0);
  // Points 15 to 17 (8, 15 and 20 y50) carry pu.
  for (std::size_t k = 14; k < 17; ++k) EXPECT_EQ(c.p[k], pu);
}

// Np = 3 + gamma_a x / c + 0.5 x / b, capped at 9; y50 = 2.5 e50 b;
// p = 0.5 pu (y/y50)^(1/3). The 0.008 of the second point is single precision.
INSTANTIATE_TEST_SUITE_P(Matlock1970, SoftClay,
                         ::testing::Values(
                             // Shallow: Np = 3 + 0.8 + 0.8333 = 4.6333.
                             SoftClayRow{10,
                                         8,
                                         1.0,
                                         0.6,
                                         0.01,
                                         27.8,
                                         {{1, 0.00012000000569969415, 2.780000044014304},
                                          {2, 0.00375, 8.756451296769368},
                                          {5, 0.015, 13.9},
                                          {13, 0.045, 20.047269027272975},
                                          {14, 0.12, 27.8},
                                          {16, 0.3, 27.8}}},
                             // Deep: Np = 19.3 is capped at 9, pu = 9 c b.
                             SoftClayRow{10,
                                         8,
                                         10.0,
                                         0.6,
                                         0.01,
                                         54.0,
                                         {{1, 0.00012000000569969415, 5.400000085495411},
                                          {2, 0.00375, 17.008934173580787},
                                          {5, 0.015, 27.0},
                                          {13, 0.045, 38.94073839830003},
                                          {14, 0.12, 54.0},
                                          {16, 0.3, 54.0}}},
                             // English units, wide wall.
                             SoftClayRow{0.05,
                                         0.00005,
                                         12.0,
                                         24.0,
                                         0.02,
                                         3.9144,
                                         {{1, 0.009600000455975534, 0.39144000619746744},
                                          {2, 0.3, 1.232958739427123},
                                          {5, 1.2, 1.9572},
                                          {13, 3.6, 2.8227708590056597},
                                          {14, 9.6, 3.9144},
                                          {16, 24.0, 3.9144}}}));

TEST(SoftClayUltimate, NpReachesNineExactlyWhereTheWedgeMeetsTheFlow) {
  // 3 + gamma_a x / c + 0.5 x / b = 9 at x = 6 / (8/10 + 0.5/0.6) = 3.6735 for c = 10, b = 0.6.
  const double x9 = 6.0 / (0.8 + 0.5 / 0.6);
  EXPECT_NEAR(soft_clay_ultimate(10, 8, x9, 0.6), 54.0, 1e-9);
  EXPECT_DOUBLE_EQ(soft_clay_ultimate(10, 8, x9 * 1.5, 0.6), 54.0);
  EXPECT_LT(soft_clay_ultimate(10, 8, x9 * 0.9, 0.6), 54.0);
  // No cohesion, no resistance (and no division by zero).
  EXPECT_EQ(soft_clay_ultimate(0.0, 8, 2.0, 0.6), 0.0);
}

TEST(SoftClayPoints, TinyY50UsesTheSecantModulusBelowTheSmallDeflection) {
  const double y50 = 1.0e-17;
  const double pu = 10.0;
  const CurvePoints c = soft_clay_points(pu, y50);
  const double e0 = 0.5 * pu * std::pow(y50 / double(1.0e-14f), 2.0 / 3.0) / y50;
  EXPECT_DOUBLE_EQ(soft_clay_small_modulus(pu, y50), e0);
  // 20 y50 = 2e-16 is still below 1e-14: every point lies on the secant.
  for (std::size_t k = 0; k < c.y.size(); ++k) EXPECT_DOUBLE_EQ(c.p[k], c.y[k] * e0);
}

// ---- Stiff clay with free water ------------------------------------------------------

struct StiffWaterRow {
  double c, ca, gamma_a, x, b, e50, k, d;
  double pc, as;
  std::vector<HandPoint> points;
};

class StiffClayWater : public ::testing::TestWithParam<StiffWaterRow> {};

TEST_P(StiffClayWater, UltimateAndPointsMatchReeseCoxKoop) {
  const StiffWaterRow& r = GetParam();
  const double pc = stiff_clay_water_ultimate(r.c, r.ca, r.gamma_a, r.x, r.b);
  EXPECT_NEAR(pc, r.pc, 1e-12 * r.pc);
  const double as = stiff_clay_as(r.d / r.b);
  EXPECT_NEAR(as, r.as, 1e-12);
  const CurvePoints c = stiff_clay_water_points(pc, as, r.e50 * r.b, r.k * r.x);
  expect_points(c, r.points);
  expect_increasing_deflections(c);
  // The curve never rises above the initial straight line k x y.
  for (std::size_t j = 0; j < c.y.size(); ++j) EXPECT_LE(c.p[j], r.k * r.x * c.y[j]);
}

// pc = min(2 ca b + gamma_a b x + 2.83 ca x, 11 c b); y50 = e50 b; deflections in
// steps of 0.5 As y50 to 6 As y50, then 10, 14, 18 and 200 As y50.
INSTANTIATE_TEST_SUITE_P(Reese1975, StiffClayWater,
                         ::testing::Values(
                             // 11 c b = 660 governs over 698; As between the rows 3 and 4 (d/b = 3.33).
                             StiffWaterRow{100,
                                           100,
                                           10,
                                           2.0,
                                           0.6,
                                           0.005,
                                           100000,
                                           2.0,
                                           660.0,
                                           0.5933333237965902,
                                           {{1, 0.0008899999856948853, 177.99999713897708},
                                            {2, 0.0017799999713897707, 254.1928381395681},
                                            {3, 0.002669999957084656, 296.0591050017536},
                                            {8, 0.007119999885559083, 365.0652170452066},
                                            {12, 0.010679999828338624, 351.23694739080577},
                                            {13, 0.01779999971389771, 253.4827424734286},
                                            {15, 0.032039999485015874, 57.68274562055382},
                                            {16, 0.35599999427795415, 57.682745620553874}}},
                             // Beyond d/b = 5 As stays 0.60.
                             StiffWaterRow{100,
                                           80,
                                           10,
                                           20.0,
                                           0.6,
                                           0.005,
                                           100000,
                                           20.0,
                                           660.0,
                                           0.6000000238418579,
                                           {{1, 0.0009000000357627869, 180.7484475678537},
                                            {2, 0.0018000000715255738, 255.616905928341},
                                            {12, 0.010800000429153443, 354.7251868324329},
                                            {16, 0.36000001430511475, 57.87096853977346}}},
                             // A soft initial modulus: the straight line k x y governs up to point 16.
                             StiffWaterRow{100,
                                           100,
                                           10,
                                           2.0,
                                           0.6,
                                           0.005,
                                           500,
                                           2.0,
                                           660.0,
                                           0.5933333237965902,
                                           {{1, 0.0008899999856948853, 0.8899999856948854},
                                            {8, 0.007119999885559083, 7.119999885559083},
                                            {15, 0.032039999485015874, 32.039999485015876},
                                            {16, 0.35599999427795415, 57.682745620553874}}},
                             // The wedge 2 ca b + gamma_a b x + 2.83 ca x = 324.25 governs over 11 c b = 550.
                             StiffWaterRow{50,
                                           50,
                                           8,
                                           1.5,
                                           1.0,
                                           0.007,
                                           50000,
                                           4.5,
                                           324.2499942779541,
                                           0.6000000238418579,
                                           {{1, 0.0021000000834465026, 88.79951983276614},
                                            {3, 0.006300000250339508, 146.3071119882556},
                                            {13, 0.04200000166893005, 125.70630702432499},
                                            {16, 0.8400000333786011, 28.43130487557761}}}));

TEST(StiffClayWaterPoints, ZeroInitialModulusGivesNoResistance) {
  const CurvePoints c = stiff_clay_water_points(660.0, 0.5, 0.003, 0.0);
  for (double p : c.p) EXPECT_EQ(p, 0.0);
}

TEST(StiffClayAs, TableRowsAndLastSegment) {
  EXPECT_DOUBLE_EQ(stiff_clay_as(0.0), double(0.223f));
  EXPECT_DOUBLE_EQ(stiff_clay_as(1.0), double(0.46f));
  EXPECT_DOUBLE_EQ(stiff_clay_as(2.5), (double(0.55f) + double(0.59f)) / 2.0);
  EXPECT_DOUBLE_EQ(stiff_clay_as(9.0), double(0.60f));
  // R is small but positive over the whole table.
  EXPECT_GT(stiff_clay_residual(double(0.223f)), 0.0);
  EXPECT_NEAR(stiff_clay_residual(0.6), 1.225 * std::sqrt(0.6) - 0.45 - 0.411, 1e-6);
}

// ---- Stiff clay without free water ----------------------------------------------------

struct StiffDryRow {
  double c, ca, gamma_a, x, b, e50;
  double pu;
  std::vector<HandPoint> points;
};

class StiffClayDry : public ::testing::TestWithParam<StiffDryRow> {};

TEST_P(StiffClayDry, UltimateAndPointsMatchWelchReese) {
  const StiffDryRow& r = GetParam();
  const double pu = stiff_clay_dry_ultimate(r.c, r.ca, r.gamma_a, r.x, r.b);
  EXPECT_NEAR(pu, r.pu, 1e-12 * r.pu);
  const CurvePoints c = stiff_clay_dry_points(pu, 2.5 * r.e50 * r.b);
  expect_points(c, r.points);
  expect_increasing_deflections(c);
  EXPECT_EQ(c.p[0], 0.0);
  // 0.5 * 16^0.25 = 1: point 15 reaches pu by the formula itself.
  EXPECT_DOUBLE_EQ(c.p[14], pu);
}

// pu = min(3 ca b + gamma_a b x + 0.5 ca x, 9 c b); y50 = 2.5 e50 b; p = 0.5 pu (y/y50)^0.25.
INSTANTIATE_TEST_SUITE_P(WelchReese1972, StiffClayDry,
                         ::testing::Values(StiffDryRow{100,
                                                       90,
                                                       10,
                                                       2.0,
                                                       0.6,
                                                       0.005,
                                                       264.0,
                                                       {{1, 1.1999999696854501e-06, 14.845810891266032},
                                                        {5, 0.00012000000569969415, 46.94657698248824},
                                                        {10, 0.009000000357627868, 138.1558397722129},
                                                        {13, 0.06, 221.99665362698062},
                                                        {15, 0.135, 264.0},
                                                        {16, 0.15, 264.0}}},
                                           StiffDryRow{100,
                                                       100,
                                                       10,
                                                       40.0,
                                                       0.6,
                                                       0.005,
                                                       540.0,
                                                       {{1, 1.1999999696854501e-06, 30.366431368498702},
                                                        {10, 0.009000000357627868, 282.5914904431627},
                                                        {13, 0.06, 454.0840642370058},
                                                        {16, 0.15, 540.0}}}));

// ---- Equivalent depth ---------------------------------------------------------------

// The resistance a clay's equivalent depth integrates: 3cb + gamma_a b x + 0.5 c x,
// capped at 9cb, integrated by the trapezoid rule on a fine grid.
double integrate(double to, int n, auto f) {
  const double h = to / n;
  double sum = 0.5 * (f(0.0) + f(to));
  for (int i = 1; i < n; ++i) sum += f(i * h);
  return sum * h;
}

struct ClayEqRow {
  double s, c, gamma_a, b;
};
class ClayEquivalentDepth : public ::testing::TestWithParam<ClayEqRow> {};

TEST_P(ClayEquivalentDepth, IntegralOfTheClayResistanceReachesS) {
  const ClayEqRow& r = GetParam();
  const double xeq = clay_equivalent_depth(r.s, r.c, r.gamma_a, r.b);
  ASSERT_TRUE(std::isfinite(xeq));
  ASSERT_GT(xeq, 0.0);
  const double integral = integrate(xeq, 200000, [&](double x) {
    return std::min(3 * r.c * r.b + r.gamma_a * r.b * x + 0.5 * r.c * x, 9 * r.c * r.b);
  });
  EXPECT_NEAR(integral, r.s, 1e-6 * r.s);
}

// xr = 6cb/(0.5c + gamma_a b) = 2.5 m for the first clay; its integral there is 52.5.
INSTANTIATE_TEST_SUITE_P(Georgiadis1983, ClayEquivalentDepth,
                         ::testing::Values(ClayEqRow{10.0, 10, 8, 0.5},   // on the quadratic part
                                           ClayEqRow{52.0, 10, 8, 0.5},   // just short of xr
                                           ClayEqRow{400.0, 10, 8, 0.5},  // beyond xr: 9cb
                                           ClayEqRow{3.0, 0.04, 0.00007, 24.0}));

TEST(ClayEquivalentDepthEdges, NothingAboveGivesZeroAndNoStrengthGivesNoDepth) {
  EXPECT_EQ(clay_equivalent_depth(0.0, 10, 8, 0.5), 0.0);
  EXPECT_EQ(stiff_clay_water_equivalent_depth(0.0, 10, 10, 8, 0.5), 0.0);
  // A weightless clay without cohesion has no finite equivalent depth; the
  // generator turns that into a message.
  EXPECT_FALSE(std::isfinite(clay_equivalent_depth(50.0, 0.0, 0.0, 0.5)));
  EXPECT_FALSE(std::isfinite(stiff_clay_water_equivalent_depth(50.0, 0.0, 0.0, 0.0, 0.5)));
}

struct StiffEqRow {
  double s, c, gamma_a, b;
};
class StiffClayWaterEquivalentDepth : public ::testing::TestWithParam<StiffEqRow> {};

TEST_P(StiffClayWaterEquivalentDepth, IntegralOfTheResidualResistanceReachesS) {
  const StiffEqRow& r = GetParam();
  const double ca = r.c;  // at a lower layer's first depth the average is c itself
  const double xeq = stiff_clay_water_equivalent_depth(r.s, r.c, ca, r.gamma_a, r.b);
  ASSERT_TRUE(std::isfinite(xeq));
  // The residual resistance (2 ca b + gamma_a b x + 2.83 ca x) R(As(x/b)), and
  // 11 c b R beyond xr; R from As = 0.223 ... 0.60 by depth over width.
  const double xr = (11 * r.c * r.b - 2 * ca * r.b) / (2.83 * ca + r.gamma_a * r.b);
  auto as_at = [&](double x) {
    const double t[] = {0.223, 0.46, 0.55, 0.59, 0.60, 0.60};
    const double q = std::min(x / r.b, 5.0);
    const int i = std::min(static_cast<int>(q), 4);
    return t[i] + (t[i + 1] - t[i]) * (q - i);
  };
  auto resistance = [&](double x) {
    const double as = as_at(std::min(x, xr));
    const double rr = 1.225 * std::sqrt(as) - 0.75 * as - 0.411;
    return x <= xr ? (2 * ca * r.b + r.gamma_a * r.b * x + 2.83 * ca * x) * rr : 11 * r.c * r.b * rr;
  };
  // The engine sums 40 right-hand rectangles of a rising resistance: the true
  // integral to XEQ lies below S by at most one step times the resistance there.
  const double step = xr / 40;
  const double integral = integrate(xeq, 100000, resistance);
  EXPECT_LE(integral, r.s * (1 + 1e-9));
  EXPECT_GE(integral, r.s - step * resistance(xeq + step));
}

INSTANTIATE_TEST_SUITE_P(Georgiadis1983, StiffClayWaterEquivalentDepth,
                         ::testing::Values(StiffEqRow{5.0, 100, 10, 0.6}, StiffEqRow{60.0, 100, 10, 0.6},
                                           StiffEqRow{2000.0, 100, 10, 0.6}));

}  // namespace
}  // namespace kestra::py
