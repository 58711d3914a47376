// Sand p-y curves against values worked by hand from Reese, Cox and Koop
// (1974): wedge and flow resistance, the factors A and B, the curve of straight
// line, parabola and linear section; and the equivalent depth of a sand layer
// (Georgiadis 1983) against a hand integration of its resistance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "py_curves.h"

namespace kestra::py {
namespace {

const double kPi = double(3.1416f);
double radians(double degrees) { return degrees * kPi / 180.0; }

// ---- Ultimate resistance ----------------------------------------------------------

struct UltimateRow {
  double x, b, gamma_a, phi_degrees;
  double pst, psd;
};
class SandUltimateResistance : public ::testing::TestWithParam<UltimateRow> {};

TEST_P(SandUltimateResistance, WedgeAndFlowMatchHandValues) {
  const UltimateRow& r = GetParam();
  const SandUltimate u = sand_ultimate(r.x, r.b, r.gamma_a, radians(r.phi_degrees), kPi);
  EXPECT_NEAR(u.pst, r.pst, 1e-11 * std::fabs(r.pst));
  EXPECT_NEAR(u.psd, r.psd, 1e-11 * std::fabs(r.psd));
  EXPECT_EQ(u.ps, r.pst < r.psd ? u.pst : u.psd);  // the smaller governs
}

// pst = gamma x [K0 x tan(phi) sin(beta) / (tan(beta - phi) cos(alpha))
//        + tan(beta)/tan(beta - phi) (b + x tan(beta) tan(alpha))
//        + K0 x tan(beta) (tan(phi) sin(beta) - tan(alpha)) - Ka b],
// psd = Ka b gamma x (tan^8(beta) - 1) + K0 b gamma x tan(phi) tan^4(beta),
// alpha = phi/2, beta = pi/4 + phi/2, K0 = 0.4, pi = 3.1416 (single precision).
INSTANTIATE_TEST_SUITE_P(ReeseCoxKoop1974, SandUltimateResistance,
                         ::testing::Values(UltimateRow{0.5, 0.6, 9.0, 30.0, 11.501392080944463, 77.6156371951599},
                                           UltimateRow{3.0, 0.6, 9.0, 35.0, 295.9996714064933, 871.4999931362916},
                                           UltimateRow{12.0, 24.0, 0.04, 38.0, 67.980326066222, 916.7103431052261},
                                           // Deep: the flow governs.
                                           UltimateRow{20.0, 0.6, 9.0, 30.0, 7170.199941966354, 3104.625487806396}));

// ---- Factors A and B ----------------------------------------------------------------

struct FactorRow {
  double depth_over_width, a, b;
};
class SandTableFactor : public ::testing::TestWithParam<FactorRow> {};

TEST_P(SandTableFactor, InterpolatesRowsAndKeepsTheLastSegment) {
  const FactorRow& r = GetParam();
  const double b = 0.6;
  // The table values are single precision.
  EXPECT_NEAR(table_factor(r.depth_over_width * b, b, SandTable::kA), r.a, 2e-7);
  EXPECT_NEAR(table_factor(r.depth_over_width * b, b, SandTable::kB), r.b, 2e-7);
}

INSTANTIATE_TEST_SUITE_P(StaticTables, SandTableFactor,
                         ::testing::Values(FactorRow{0.0, 2.83, 2.14}, FactorRow{0.25, 2.655, 1.985},
                                           FactorRow{1.0, 2.11, 1.54}, FactorRow{3.5, 0.98, 0.62},
                                           FactorRow{5.0, 0.88, 0.50}, FactorRow{5.5, 0.88, 0.50},
                                           FactorRow{7.0, 0.88, 0.50}));

// ---- The curve ------------------------------------------------------------------------

struct HandPoint {
  int index;
  double y, p;
};
struct SandCurveRow {
  double d, b, gamma_a, phi_degrees, k;  // resistance depth x = pass depth d
  double pu, pm;
  std::vector<HandPoint> points;
};
class SandCurve : public ::testing::TestWithParam<SandCurveRow> {};

TEST_P(SandCurve, PointsMatchHandValues) {
  const SandCurveRow& r = GetParam();
  const SandUltimate u = sand_ultimate(r.d, r.b, r.gamma_a, radians(r.phi_degrees), kPi);
  const double pu = table_factor(r.d, r.b, SandTable::kA) * u.ps;
  const double pm = table_factor(r.d, r.b, SandTable::kB) * u.ps;
  EXPECT_NEAR(pu, r.pu, 1e-10 * std::max(1.0, r.pu));
  EXPECT_NEAR(pm, r.pm, 1e-10 * std::max(1.0, r.pm));
  const CurvePoints c = sand_type_points(r.b, r.d, r.k * r.d, pu, pm);
  for (const HandPoint& h : r.points) {
    const auto k = static_cast<std::size_t>(h.index);
    EXPECT_NEAR(c.y[k], h.y, 1e-12) << "point " << h.index;
    EXPECT_NEAR(c.p[k], h.p, 1e-9 * std::max(1.0, h.p)) << "point " << h.index;
  }
  // The 14th point is yu = 3b/80, and the final cap never lifts p above k x y.
  EXPECT_DOUBLE_EQ(c.y[13], 3.0 * r.b / 80.0);
  for (std::size_t k = 0; k < c.y.size(); ++k) EXPECT_LE(c.p[k], r.k * r.d * c.y[k]);
}

// yu = 3b/80, pu = A ps; ym = b/60, pm = B ps; m = (pu - pm)/(yu - ym),
// n = pm/(m ym), C = pm/ym^(1/n), yk = (C/(k x))^(n/(n-1)).
INSTANTIATE_TEST_SUITE_P(
    ReeseCoxKoop1974, SandCurve,
    ::testing::Values(
        // Stiff k: the parabola starts early (yk = 0.00149 < ym).
        SandCurveRow{1.0,
                     0.6,
                     9.0,
                     35.0,
                     20000.0,
                     75.32991495265333,
                     54.08687764288139,
                     {{1, 0.0008333333333333334, 16.666666666666668},
                      {3, 0.0025, 34.988148099266915},
                      {6, 0.005, 43.50172048547118},
                      {12, 0.01, 54.08687764288139},
                      {13, 0.0225, 75.32991495265333},
                      {16, 1.8225, 75.32991495265333}}},
        // Soft k: the straight line governs up to yk = 1.23, beyond yu.
        SandCurveRow{1.0,
                     0.6,
                     9.0,
                     35.0,
                     200.0,
                     75.32991495265333,
                     54.08687764288139,
                     {{1, 0.0008333333333333334, 0.16666666666666669},
                      {12, 0.01, 2.0},
                      {13, 0.0225, 4.5},
                      {14, 0.6225, 124.5},
                      {16, 1.8225, 75.32991495265333}}},
        SandCurveRow{3.0,
                     0.6,
                     9.0,
                     30.0,
                     40000.0,
                     174.2836366984194,
                     99.02479411522354,
                     {{1, 0.0008333333333333334, 21.857564003246246},
                      {3, 0.0025, 42.62765851031951},
                      {6, 0.005, 64.97072500440831},
                      {12, 0.01, 99.02479411522354},
                      {13, 0.0225, 174.2836366984194}}},
        // At the surface nothing resists.
        SandCurveRow{0.0, 0.6, 9.0, 30.0, 40000.0, 0.0, 0.0, {{1, 0.0008333333333333334, 0.0}, {16, 1.8225, 0.0}}}));

// ---- Equivalent depth ----------------------------------------------------------------

// A(x) times the wedge resistance, written out from the published formula.
double sand_resistance(double x, double b, double gamma_a, double phi) {
  const double alpha = phi / 2, beta = kPi / 4 + phi / 2, k0 = double(0.4f);
  const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  const double pst = gamma_a * x *
                     (k0 * x * std::tan(phi) * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
                      std::tan(beta) / std::tan(beta - phi) * (b + x * std::tan(beta) * std::tan(alpha)) +
                      k0 * x * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - ka * b);
  const double r[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  const double a[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
  const double q = x / b;
  double factor = 0.88;
  for (int i = 1; i < 10; ++i) {
    if (q < r[i]) {
      factor = a[i - 1] + (a[i] - a[i - 1]) * (q - r[i - 1]) / (r[i] - r[i - 1]);
      break;
    }
  }
  return factor * pst;
}

// xr = b (G - D)/E with D = Kp - Ka, E = tan(beta) [K0 (tan(phi) sin(beta)
// (1/cos(alpha) + 1) - tan(alpha)) + Kp tan(alpha)], G = Kp^2 (Kp + K0 tan(phi)) - Ka.
double hand_xr(double b, double phi) {
  const double alpha = phi / 2, beta = kPi / 4 + phi / 2, k0 = double(0.4f);
  const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2), kp = std::pow(std::tan(beta), 2);
  const double d = kp - ka;
  const double e =
      std::tan(beta) *
      (k0 * (std::tan(phi) * std::sin(beta) * (1 / std::cos(alpha) + 1) - std::tan(alpha)) + kp * std::tan(alpha));
  const double g = kp * kp * (kp + k0 * std::tan(phi)) - ka;
  return b * (g - d) / e;
}

struct SandEqRow {
  double s, b, gamma_a, phi_degrees;
};
class SandEquivalentDepth : public ::testing::TestWithParam<SandEqRow> {};

TEST_P(SandEquivalentDepth, IntegralOfTheSandResistanceReachesS) {
  const SandEqRow& r = GetParam();
  const double phi = radians(r.phi_degrees);
  const double xeq = sand_equivalent_depth(r.s, r.b, r.gamma_a, phi, 0.1);
  ASSERT_TRUE(std::isfinite(xeq));
  const int n = 100000;
  const double h = xeq / n;
  double integral = 0.0;
  for (int i = 0; i < n; ++i)
    integral +=
        0.5 * h * (sand_resistance(i * h, r.b, r.gamma_a, phi) + sand_resistance((i + 1) * h, r.b, r.gamma_a, phi));
  // The engine sums 100 right-hand rectangles of the rising resistance up to xr,
  // the depth where wedge and flow meet: the true integral to XEQ lies below S
  // by at most one step times the resistance there.
  const double step = hand_xr(r.b, phi) / 100;
  EXPECT_LE(integral, r.s * (1 + 1e-4));
  EXPECT_GE(integral, r.s - step * sand_resistance(xeq + step, r.b, r.gamma_a, phi));
}

INSTANTIATE_TEST_SUITE_P(Georgiadis1983, SandEquivalentDepth,
                         ::testing::Values(SandEqRow{20.0, 0.6, 9.0, 35.0}, SandEqRow{500.0, 0.6, 9.0, 30.0},
                                           SandEqRow{5.0, 24.0, 0.04, 36.0}));

TEST(SandEquivalentDepthBeyondXr, ExtendsWithTheDeepFlowValueAtTheFirstDepth) {
  // An integral far beyond the wedge range: XEQ = (S - F(xr))/(0.88 gamma b G x0) + xr.
  const double b = 0.6, gamma = 9.0, phi = radians(30.0), x0 = 0.1;
  const double x_far = sand_equivalent_depth(1.0e7, b, gamma, phi, x0);
  const double x_farther = sand_equivalent_depth(2.0e7, b, gamma, phi, x0);
  const double tan_beta = std::tan(kPi / 4 + phi / 2);
  const double kp = tan_beta * tan_beta, ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  const double g = kp * kp * (kp + double(0.4f) * std::tan(phi)) - ka;
  EXPECT_NEAR(x_farther - x_far, 1.0e7 / (double(0.88f) * gamma * b * g * x0), 1e-6);
  EXPECT_EQ(sand_equivalent_depth(0.0, b, gamma, phi, x0), 0.0);
}

}  // namespace
}  // namespace kestra::py
