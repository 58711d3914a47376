// Silt and rock p-y curves: strong rock's two slopes and residual, weak rock
// (Reese 1997) on both sides of xr = 3b and beyond ya, silt without cohesion
// against sand and with cohesion against a hand value, rock in the resistance
// integral of lower layers, and the stops and messages of degenerate data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine_test_util.h"
#include "py_context.h"
#include "run_errors.h"
#include "text_format.h"

namespace kestra::py {
namespace {

using test::lines_of;

struct HandPoint {
  int index;
  double y, p;
};

// ---- Strong rock ---------------------------------------------------------------------

struct StrongRow {
  double qu, b, gamma_a, d, pm;
  std::vector<HandPoint> points;
};
class StrongRock : public ::testing::TestWithParam<StrongRow> {};

TEST_P(StrongRock, TwoSlopesThenTheResidual) {
  const StrongRow& r = GetParam();
  const CurvePoints c = strong_rock_points(0.5 * r.qu, r.b, r.gamma_a, r.d, r.pm);
  for (const HandPoint& h : r.points) {
    const auto k = static_cast<std::size_t>(h.index);
    EXPECT_NEAR(c.y[k], h.y, 1e-15) << "point " << h.index;
    EXPECT_NEAR(c.p[k], h.p, 1e-9 * std::max(1.0, h.p)) << "point " << h.index;
  }
  // The peak su b itself is never among the points.
  for (double p : c.p) EXPECT_LT(p, r.pm * 0.5 * r.qu * r.b);
}

// su = qu/2, slope 2000 su to y1 = 0.0004 b, then 100 su up to
// y2 = y1 + (su b - 2000 su y1)/(100 su), from y2 on 0.5 gamma b d.
INSTANTIATE_TEST_SUITE_P(Rows, StrongRock,
                         ::testing::Values(StrongRow{5000,
                                                     0.6,
                                                     20,
                                                     2.0,
                                                     1.0,
                                                     {{0, 0.0, 0.0},
                                                      {1, 9.600000767968595e-05, 480.00003839842975},
                                                      {2, 0.0001920000153593719, 960.0000767968595},
                                                      {3, 0.00028800002303905786, 1211.9999769609421},
                                                      {10, 0.0009600000767968595, 1379.9999904003926},
                                                      {14, 0.0013440001075156036, 1475.9999980800785},
                                                      {15, 0.0014400001151952896, 12.0},
                                                      {16, 0.0015360001228749756, 12.0}}},
                                           // The multiplier scales the slopes but not the residual (backfill depth 12).
                                           StrongRow{5000,
                                                     0.6,
                                                     20,
                                                     12.0,
                                                     0.5,
                                                     {{1, 9.600000767968595e-05, 240.00001919921488},
                                                      {5, 0.00048000003839842974, 629.9999904003926},
                                                      {14, 0.0013440001075156036, 737.9999990400393},
                                                      {15, 0.0014400001151952896, 72.0}}}));

// ---- Weak rock -------------------------------------------------------------------------

struct WeakRow {
  const char* name;
  double qa, rqd, krm, eir, b, xr;
  double pur, kir;
  std::vector<HandPoint> points;
};
class WeakRock : public ::testing::TestWithParam<WeakRow> {};

TEST_P(WeakRock, MatchesReese1997) {
  const WeakRow& r = GetParam();
  const WeakRockCurve w = weak_rock_points(r.qa, r.rqd, r.krm, r.eir, r.b, r.xr);
  EXPECT_NEAR(w.pur, r.pur, 1e-10 * r.pur);
  EXPECT_NEAR(w.kir, r.kir, 1e-10 * r.kir);
  EXPECT_DOUBLE_EQ(w.yrm, r.krm * r.b);
  for (const HandPoint& h : r.points) {
    const auto k = static_cast<std::size_t>(h.index);
    EXPECT_NEAR(w.points.y[k], h.y, 1e-15) << "point " << h.index;
    EXPECT_NEAR(w.points.p[k], h.p, 1e-9 * std::max(1.0, h.p)) << "point " << h.index;
  }
}

// alpha_r = 1 - RQD/150; xr <= 3b: pur = alpha_r qa (b + 1.4 xr), Kir = (100 + 400 xr/(3b)) Eir;
// deeper: pur = 5.2 alpha_r qa b, Kir = 500 Eir; yrm = krm b;
// ya = (0.5 pur/(yrm^0.25 Kir))^(4/3); p = Kir y below ya, else min(0.5 pur (y/yrm)^0.25, pur).
INSTANTIATE_TEST_SUITE_P(
    Reese1997, WeakRock,
    ::testing::Values(WeakRow{"Shallow",
                              2000,
                              50,
                              0.0005,
                              1e5,
                              0.6,
                              0.5,
                              1733.3332964529598,
                              21111111.111111116,
                              {{0, 1.5000000712461768e-07, 3.1666668170752628},
                               {6, 1.1999999731779098e-05, 253.33332767089212},
                               {9, 3.0000000447034832e-05, 487.3624732775235},
                               {13, 0.0003, 866.6666482264799},
                               {16, 0.0036, 1613.0483881225844}}},
                      WeakRow{"Deep",
                              2000,
                              50,
                              0.0005,
                              1e5,
                              0.6,
                              3.0,
                              4159.999797046186,
                              5e7,
                              {{0, 1.5000000712461768e-07, 7.500000356230884},
                               {9, 3.0000000447034832e-05, 1169.6699036886278},
                               {16, 0.0036, 3871.316024994929}}},
                      // RQD = 100 leaves a third; a stiff mass starts on the power curve at once.
                      WeakRow{"FullRqd",
                              2000,
                              100,
                              0.0005,
                              5e7,
                              0.6,
                              0.5,
                              866.6666167477771,
                              10555555555.555557,
                              {{0, 1.5000000712461768e-07, 64.79844422338556}, {16, 0.0036, 806.5241647670584}}},
                      // ya = 4.56 lies beyond the last deflection: the straight line throughout.
                      WeakRow{"BeyondYa",
                              2000,
                              50,
                              0.0005,
                              10,
                              0.6,
                              0.5,
                              1733.3332964529598,
                              2111.1111111111113,
                              {{0, 1.5000000712461768e-07, 2111.1111111111113 * 1.5000000712461768e-07},
                               {16, 0.0036, 2111.1111111111113 * 0.0036}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Through the generator -----------------------------------------------------------------

SoilLayerRecord layer(int type, double bottom, std::array<double, 6> values) {
  SoilLayerRecord l;
  l.type = type;
  l.bottom = bottom;
  l.top_values = values;
  l.bottom_values = values;
  return l;
}

struct PyRun {
  Problem problem;
  PyHandOver hand{};
  TextSink report, notes;
  explicit PyRun(double free_height, std::vector<SoilLayerRecord> layers) {
    problem.control.unit = 2;
    problem.control.py_code = 2;
    problem.increments.ninc = 40;
    problem.increments.h = 1.0;
    WallRecord w;
    w.free_height = free_height;
    w.wa = 2.4;  // four widths: no group reduction
    w.wp = 0.6;
    w.zwb = 100.0;
    problem.wall_record = w;
    problem.layers = std::move(layers);
  }
  PyOutcome run() { return run_py_generation(problem, hand, report, notes); }
};

// p and y of every point line of the transfer text, curve by curve.
struct Transfer {
  std::vector<std::vector<double>> p, y;
};
Transfer parse(const std::string& text) {
  Transfer t;
  const std::vector<std::string> lines = lines_of(text);
  for (std::size_t i = 1; i < lines.size();) {
    ++i;  // depth and 34
    t.p.emplace_back();
    t.y.emplace_back();
    for (int k = 0; k < 34; ++k, ++i) {
      t.p.back().push_back(std::strtod(lines.at(i).substr(6, 10).c_str(), nullptr));
      t.y.back().push_back(std::strtod(lines.at(i).substr(17, 10).c_str(), nullptr));
    }
  }
  return t;
}

bool has_line(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = lines_of(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(Silt, WithoutCohesionItIsTheSandCurveUpToPi) {
  // In the first layer the resistance depth is the pass depth, so A and B are
  // read at the same depth; the two differ only by pi in the angles.
  const std::array<double, 6> values = {9, 0, 30, 0, 20000, 0};
  PyRun silt(2.0, {layer(5, 12, values)}), sand(2.0, {layer(4, 12, values)});
  const Transfer a = parse(silt.run().soildata), b = parse(sand.run().soildata);
  ASSERT_EQ(a.p.size(), b.p.size());
  for (std::size_t c = 0; c < a.p.size(); ++c) {
    EXPECT_EQ(a.y[c], b.y[c]);
    for (std::size_t k = 0; k < a.p[c].size(); ++k)
      EXPECT_NEAR(a.p[c][k], b.p[c][k], 5e-3 * std::fabs(b.p[c][k]));  // three digits
  }
  // Silt prints its points in E fields and its heading with the byte 0xED for phi.
  EXPECT_NE(silt.report.text().find("   Puc       Pu\xED\n"), std::string::npos);
  EXPECT_TRUE(has_line(silt.report.text(), "                                     Y                   P"));
  EXPECT_TRUE(has_line(silt.report.text(), "                                0.000E+00           0.000E+00"));
}

TEST(Silt, CohesionAddsTheClayTermToBothSections) {
  // x = 0.1, b = 0.6, gamma 9, phi 30, c 5: A ps = 2.8064 x 0.5743 (pi itself) and
  // c b min(3 + gamma x/c + 0.5 x/b, 9) = 9.79; pu = 14.164, the last point's p.
  PyRun s(0.0, {layer(5, 12, {9, 5, 30, 0, 20000, 0})});
  const Transfer t = parse(s.run().soildata);
  EXPECT_NEAR(t.p[0][16], 14.16405473539411, 0.05);  // to the three digits of the transfer
  // The second depth, x = 3.0.
  EXPECT_NEAR(t.p[1][16], 201.28326801705657, 0.5);
}

TEST(Silt, ALowerSiltLayerReadsItsFactorsAtTheResistanceDepth) {
  // Below 4 m of very soft clay the silt's first depth is 4.1 (A = 0.88 there),
  // but its resistance depth 0.1 + XEQ lies much higher up the table.
  PyRun s(0.0, {layer(1, 4, {9, 1, 0, 0.01, 0, 0}), layer(5, 12, {9, 5, 30, 0, 20000, 0})});
  const PyOutcome out = s.run();
  const double x = double(0.1f) + out.context.layers[1].xeq;
  ASSERT_LT(x / 0.6, 5.0);
  const std::string a = fmt::f(table_factor(x, 0.6, SandTable::kA), 10, 2);
  EXPECT_NE(a, fmt::f(0.88, 10, 2));
  EXPECT_NE(s.report.text().find("      4.10      0.60      30.0 0.900E+01" + a), std::string::npos);
}

// The silt's equivalent depth integrates A(x) times the wedge resistance (pi
// itself) plus the clay term 3cb + gamma b x + 0.5 c x.
struct SiltEqRow {
  double s, b, gamma_a, phi_degrees, c;
};
class SiltEquivalentDepth : public ::testing::TestWithParam<SiltEqRow> {};

TEST_P(SiltEquivalentDepth, IntegralOfTheSiltResistanceReachesS) {
  const SiltEqRow& r = GetParam();
  const double pi = 4 * std::atan(1.0);
  const double phi = r.phi_degrees * double(3.1416f) / 180.0;
  const double alpha = phi / 2, beta = pi / 4 + phi / 2, k0 = double(0.4f);
  const double ka = std::pow(std::tan(pi / 4 - phi / 2), 2), kp = std::pow(std::tan(beta), 2);
  auto resistance = [&](double x) {
    const double pst = r.gamma_a * x *
                       (k0 * x * std::tan(phi) * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
                        std::tan(beta) / std::tan(beta - phi) * (r.b + x * std::tan(beta) * std::tan(alpha)) +
                        k0 * x * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - ka * r.b);
    const double q[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
    const double a[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
    double factor = 0.88;
    for (int i = 1; i < 10; ++i)
      if (x / r.b < q[i]) {
        factor = a[i - 1] + (a[i] - a[i - 1]) * (x / r.b - q[i - 1]) / (q[i] - q[i - 1]);
        break;
      }
    return factor * pst + 3 * r.c * r.b + r.gamma_a * r.b * x + 0.5 * r.c * x;
  };
  const double xeq = silt_equivalent_depth(r.s, r.b, r.gamma_a, phi, r.c, 0.1);
  ASSERT_TRUE(std::isfinite(xeq));
  const int n = 50000;
  double integral = 0.0;
  for (int i = 0; i < n; ++i) integral += resistance((i + 0.5) * xeq / n) * xeq / n;
  // 50 right-hand rectangles up to xr = b (G - D)/E.
  const double e =
      std::tan(beta) *
      (k0 * (std::tan(phi) * std::sin(beta) * (1 / std::cos(alpha) + 1) - std::tan(alpha)) + kp * std::tan(alpha));
  const double g = kp * kp * (kp + k0 * std::tan(phi)) - ka;
  const double step = r.b * (g - (kp - ka)) / e / 50;
  EXPECT_LE(integral, r.s * (1 + 1e-4));
  EXPECT_GE(integral, r.s - step * resistance(xeq + step));
}

INSTANTIATE_TEST_SUITE_P(Rows, SiltEquivalentDepth,
                         ::testing::Values(SiltEqRow{30.0, 0.6, 9.0, 30.0, 5.0}, SiltEqRow{400.0, 0.6, 9.0, 30.0, 5.0},
                                           SiltEqRow{50.0, 0.6, 9.0, 35.0, 0.0}));

TEST(Silt, NoFrictionStopsTheRunWithTheWarningInTheNotes) {
  PyRun s(0.0, {layer(5, 12, {9, 5, 0, 0, 20000, 0})});
  EXPECT_THROW(s.run(), RunAbort);
  EXPECT_TRUE(has_line(s.notes.text(), "       WARNING-------The Angle of the slope can not"));
}

TEST(StrongRockGenerator, OwnHeadingsNoMultiplierLineAndALargerBackfillResidual) {
  PyRun s(2.0, {layer(6, 12, {20, 5000, 0, 0, 0, 0})});
  const Transfer t = parse(s.run().soildata);
  const std::string& r = s.report.text();
  EXPECT_TRUE(has_line(r, "                 DEPTH-EXCAVATION SIDE     DIAM        C       "));
  EXPECT_TRUE(has_line(r, "                 DEPTH-BACKFILL SIDE       DIAM        C       "));
  EXPECT_TRUE(has_line(r, "                               M             M      KN/ M**2 "));
  EXPECT_TRUE(has_line(r, "                              0.10          0.600   0.2E+04"));
  EXPECT_EQ(r.find("AT THE EXCAVATION SIDE"), std::string::npos);
  EXPECT_EQ(r.find("P-Multiplier"), std::string::npos);
  EXPECT_NE(r.find("D+"), std::string::npos);
  // Residual 0.5 gamma b d: d = 0.1 on the excavation side, 2.1 on the backfill side.
  EXPECT_NEAR(t.p[0][16], 0.5 * 20 * 0.6 * double(0.1f), 0.001);
  EXPECT_NEAR(t.p[0][33], 0.5 * 20 * 0.6 * (2.0 + double(0.1f)), 0.01);
  EXPECT_EQ(t.p[0][0], 0.0);  // no active-pressure offset
}

TEST(WeakRockGenerator, DepthIntoTheRockDecidesTheFormula) {
  // b = 0.6, so 3b = 1.8: the excavation side at X = 0.1 is shallow, the backfill
  // side at H + X = 2.1 is deep.
  PyRun s(2.0, {layer(7, 12, {20, 2000, 0, 0.0005, 1e5, 50})});
  const Transfer t = parse(s.run().soildata);
  // The first point is Kir times 0.0005 yrm on both sides (Kir below ya).
  const double y0 = double(0.0005f) * 0.0005 * 0.6;
  const double kir_shallow = (100 + 400 * (0.1 + 1e-8) / 1.8) * 1e5;
  EXPECT_NEAR(t.p[0][0], kir_shallow * y0, 0.005 * kir_shallow * y0);
  EXPECT_NEAR(t.p[0][17], 500 * 1e5 * y0, 0.005 * 500 * 1e5 * y0);
  EXPECT_TRUE(has_line(s.report.text(), "                0.10     0.600  0.20E+04  0.10E+06  0.20E+02   0.500E-03"));
}

struct RockErrorRow {
  const char* name;
  SoilLayerRecord layer;
  const char* message;
};
class RockBadData : public ::testing::TestWithParam<RockErrorRow> {};

TEST_P(RockBadData, EndsTheProblemWithAMessage) {
  const RockErrorRow& r = GetParam();
  PyRun s(0.0, {r.layer});
  try {
    s.run();
    FAIL() << "no message";
  } catch (const ProblemError& e) {
    EXPECT_NE(e.lines.back().find(r.message), std::string::npos) << e.lines.back();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RockBadData,
    ::testing::Values(RockErrorRow{"StrongRockWithoutStrength", layer(6, 12, {20, 0, 0, 0, 0, 0}),
                                   "COMPRESSIVE STRENGTH"},
                      RockErrorRow{"WeakRockWithoutKrm", layer(7, 12, {20, 2000, 0, 0, 1e5, 50}), "KRM"},
                      RockErrorRow{"WeakRockWithoutModulus", layer(7, 12, {20, 2000, 0, 0.0005, 0, 50}), "MODULUS"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WeakRockGenerator, ZeroStrengthBelowTheFirstDepthStopsTheRun) {
  PyRun s(0.0, {layer(7, 12, {20, 0, 0, 0.0005, 1e5, 50})});
  EXPECT_THROW(s.run(), RunAbort);
  EXPECT_TRUE(has_line(s.notes.text(), "       THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT"));
  // The first depth passed with zero resistance before the stop.
  EXPECT_EQ(test::count_lines_starting(s.report.text(), "         AT THE EXCAVATION SIDE"), 1);
}

TEST(RockLayers, AddNothingToTheIntegralOfLowerLayersAndGetNoEquivalentDepth) {
  const std::array<double, 6> sand = {9, 0, 35, 0, 20000, 0};
  const std::array<double, 6> clay = {9, 12, 0, 0.01, 0, 0};
  const std::array<double, 6> rock = {9, 5000, 0, 0.0005, 1e5, 50};  // the same unit weight throughout
  PyRun with_rock(0.0, {layer(4, 4, sand), layer(6, 6, rock), layer(1, 20, clay)});
  PyRun without(0.0, {layer(4, 4, sand), layer(1, 20, clay)});
  const PyOutcome a = with_rock.run(), b = without.run();
  EXPECT_EQ(a.context.layers[1].sumpu, 0.0);
  EXPECT_EQ(a.context.layers[1].xeq, 0.0);
  // The clay below the rock matches the same sand integral.
  EXPECT_DOUBLE_EQ(a.context.layers[2].xeq, b.context.layers[1].xeq);
  // Weak rock below clay: no equivalent depth either.
  PyRun weak(0.0, {layer(1, 4, clay), layer(7, 12, rock)});
  EXPECT_EQ(weak.run().context.layers[1].xeq, 0.0);
}

}  // namespace
}  // namespace kestra::py
