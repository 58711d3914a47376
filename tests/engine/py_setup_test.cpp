// The p-y set-up along the wall: the layer model below the excavation, the
// water table and the cut two increments below the wall tip, the property
// functions, the two passes with their active-pressure offset, the "SOILDATA"
// text, the report echo, equivalent depths across layers and the messages for
// data that cannot form a curve.
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

namespace kestra::py {
namespace {

using test::lines_of;

SoilLayerRecord layer(int type, double bottom, std::array<double, 6> top, std::array<double, 6> bottom_values) {
  SoilLayerRecord l;
  l.type = type;
  l.bottom = bottom;
  l.top_values = top;
  l.bottom_values = bottom_values;
  return l;
}

// A soft clay layer of uniform unit weight, cohesion and e50.
SoilLayerRecord clay(double bottom, double gamma, double c, int type = 1) {
  return layer(type, bottom, {gamma, c, 0, 0.01, 0, 0}, {gamma, c, 0, 0.01, 0, 0});
}
SoilLayerRecord sand(double bottom, double gamma, double phi, double k) {
  return layer(4, bottom, {gamma, 0, phi, 0, k, 0}, {gamma, 0, phi, 0, k, 0});
}

struct PyRun {
  Problem problem;
  PyHandOver hand{};
  TextSink report, notes;

  PyRun(int unit, double free_height, int ninc, double h, double wa, double wp, double water) {
    problem.control.unit = unit;
    problem.control.py_code = 2;
    problem.increments.ninc = ninc;
    problem.increments.h = h;
    problem.increments.free_height = -1.0;  // the wall record's value replaces it
    WallRecord w;
    w.free_height = free_height;
    w.wa = wa;
    w.wp = wp;
    w.zwb = water;
    problem.wall_record = w;
  }
  PyOutcome run() { return run_py_generation(problem, hand, report, notes); }
  PyContext model() { return build_py_model(problem, hand, report, notes); }
};

// A generated curve as the transfer text holds it.
struct Transfer {
  int count = 0;
  std::vector<std::string> user_lines;
  std::vector<double> depth;
  std::vector<std::vector<double>> p, y;  // 34 values each
};

Transfer parse(const std::string& text, std::size_t n_user_lines) {
  Transfer t;
  const std::vector<std::string> lines = lines_of(text);
  std::size_t i = 0;
  t.count = std::atoi(lines.at(i++).c_str());
  for (std::size_t k = 0; k < n_user_lines; ++k) t.user_lines.push_back(lines.at(i++));
  while (i < lines.size()) {
    std::istringstream head(lines.at(i++));
    double depth = 0;
    int n = 0;
    head >> depth >> n;
    EXPECT_EQ(n, 34);
    t.depth.push_back(depth);
    t.p.emplace_back();
    t.y.emplace_back();
    for (int k = 0; k < 34; ++k) {
      const std::string& l = lines.at(i++);
      // I5, then two E10.3 values each after a blank.
      EXPECT_EQ(l.size(), 27u) << l;
      EXPECT_EQ(std::atoi(l.substr(0, 5).c_str()), k % 17 + 1) << l;
      t.p.back().push_back(std::strtod(l.substr(6, 10).c_str(), nullptr));
      t.y.back().push_back(std::strtod(l.substr(17, 10).c_str(), nullptr));
    }
  }
  return t;
}

bool has_line(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = lines_of(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// ---- Layer model ---------------------------------------------------------------------

TEST(PyLayerModel, LayersAboveAreSkippedAndTheCrossingLayerStartsAtTheExcavation) {
  PyRun s(2, 10.0, 40, 1.0, 4.0, 1.0, 100.0);
  s.problem.layers = {clay(5, 18, 10), clay(20, 18, 10), sand(30, 18, 30, 20000)};
  const PyOutcome out = s.run();
  EXPECT_EQ(s.problem.increments.free_height, 10.0);
  const PyContext& m = out.context;
  ASSERT_EQ(m.layers.size(), 2u);
  EXPECT_EQ(m.layers[0].top, 0.0);
  EXPECT_EQ(m.layers[0].bottom, 10.0);
  EXPECT_EQ(m.layers[1].top, 10.0);
  EXPECT_EQ(m.layers[1].bottom, 20.0);
  const double o = double(0.1f);
  const std::vector<double> x = {o, 2.5, 5.0, 7.5, 10.0 - o, 10.0 + o, 12.5, 15.0, 17.5, 20.0 - o};
  EXPECT_EQ(m.x, x);
  const Transfer t = parse(out.soildata, 0);
  EXPECT_EQ(t.count, 10);
  ASSERT_EQ(t.depth.size(), 10u);
  EXPECT_DOUBLE_EQ(t.depth[0], 10.0 + o);  // below the top of the wall
  EXPECT_TRUE(has_line(s.report.text(), "          2 LAYER(S) OF SOIL"));
}

TEST(PyLayerModel, AllLayersAboveTheExcavationLeaveOnlyTheUserCurves) {
  PyRun s(1, 120.0, 40, 4.0, 24.0, 24.0, 0.0);
  s.problem.layers = {clay(60, 0.07, 0.05), clay(120, 0.07, 0.05)};
  UserCurve u;
  u.station = 35;
  u.p_multiplier = 2.0;
  u.y_multiplier = 0.5;
  u.y = {-1.0, 0.0, 1.0};
  u.p = {10.0, 0.0, -10.0};
  s.problem.user_curves = {u};
  const PyOutcome out = s.run();
  EXPECT_TRUE(out.context.layers.empty());
  const std::vector<std::string> lines = lines_of(out.soildata);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(std::atoi(lines[0].c_str()), 1);
  std::istringstream head(lines[1]);
  int station = 0, n = 0;
  head >> station >> n;
  EXPECT_EQ(station, 35);
  EXPECT_EQ(n, 3);
  std::istringstream first(lines[2]);
  int k = 0;
  double p = 0, y = 0;
  first >> k >> p >> y;
  EXPECT_EQ(k, 1);
  EXPECT_EQ(p, 20.0);  // multiplied p first, then y
  EXPECT_EQ(y, -0.5);
  EXPECT_TRUE(has_line(s.report.text(), "          0 LAYER(S) OF SOIL"));
  EXPECT_TRUE(has_line(s.report.text(), "                            0 POINTS"));
}

TEST(PyLayerModel, TheLayerPastTheWallTipIsCutByInterpolationAndIsTheLast) {
  // ZLIM = (10 + 2) * 1 - 10 = 2 below the excavation.
  PyRun s(2, 10.0, 10, 1.0, 4.0, 1.0, 100.0);
  s.problem.layers = {layer(1, 20, {18, 10, 0, 0.01, 0, 0}, {18, 30, 0, 0.03, 0, 5}), clay(30, 18, 10)};
  const PyContext m = s.model();
  ASSERT_EQ(m.layers.size(), 1u);
  EXPECT_EQ(m.layers[0].bottom, 2.0);
  ASSERT_EQ(m.strength.size(), 2u);
  EXPECT_EQ(m.strength[1].depth, 2.0);
  EXPECT_DOUBLE_EQ(m.strength[1].c, 14.0);  // 10 + 20 * 2/10
  EXPECT_DOUBLE_EQ(m.strength[1].e50, 0.014);
  EXPECT_DOUBLE_EQ(m.strength[1].sixth, 1.0);
  // The unit-weight profile keeps the layer's full depth.
  EXPECT_EQ(m.weight.back().depth, 10.0);
  const double o = double(0.1f);
  EXPECT_EQ(m.x, (std::vector<double>{o, 0.5, 1.0, 1.5, 2.0 - o}));
}

struct WaterRow {
  const char* name;
  int unit;
  double free_height, water;
  std::vector<SoilLayerRecord> layers;
  std::vector<WeightPoint> weight;
};
class PyWaterTable : public ::testing::TestWithParam<WaterRow> {};

TEST_P(PyWaterTable, EffectiveUnitWeightProfile) {
  const WaterRow& r = GetParam();
  PyRun s(r.unit, r.free_height, 100, 1.0, 4.0, 1.0, r.water);
  s.problem.layers = r.layers;
  const PyContext m = s.model();
  ASSERT_EQ(m.weight.size(), r.weight.size());
  for (std::size_t k = 0; k < r.weight.size(); ++k) {
    EXPECT_DOUBLE_EQ(m.weight[k].depth, r.weight[k].depth) << "point " << k;
    EXPECT_DOUBLE_EQ(m.weight[k].gamma, r.weight[k].gamma) << "point " << k;
  }
}

const double kGwEnglish = double(0.036f);
INSTANTIATE_TEST_SUITE_P(
    Cases, PyWaterTable,
    ::testing::Values(
        // Inside the first of two layers: the first ends dry at the water table, the
        // second's submerged weight continues from there.
        WaterRow{
            "InsideUpperLayer", 2, 10, 15, {clay(20, 18, 10), clay(30, 20, 10)}, {{0, 18}, {5, 18}, {5, 10}, {20, 10}}},
        // A single layer is extended to its bottom with the submerged weight.
        WaterRow{"InsideSingleLayerEnglish",
                 1,
                 10,
                 15,
                 {clay(20, 0.07, 0.05)},
                 {{0, 0.07}, {5, 0.07}, {5, 0.07 - kGwEnglish}, {10, 0.07 - kGwEnglish}}},
        WaterRow{"AboveExcavation", 2, 10, 5, {clay(20, 18, 10)}, {{0, 8}, {10, 8}}},
        // Exactly at the excavation level the layer lies wholly under water.
        WaterRow{"AtExcavation", 2, 10, 10, {clay(20, 18, 10)}, {{0, 8}, {10, 8}}},
        WaterRow{"BelowEverything", 2, 10, 100, {clay(20, 18, 10)}, {{0, 18}, {10, 18}}},
        // A layer boundary at the water table: dry above, submerged below.
        WaterRow{"AtLayerBoundary",
                 2,
                 10,
                 20,
                 {clay(20, 18, 10), clay(30, 20, 10)},
                 {{0, 18}, {10, 18}, {10, 10}, {20, 10}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PyLayerModel, ThinLayersKeepTheirDepthsInOrderAndEmptyLayersAreSkipped) {
  PyRun s(2, 0.0, 20, 1.0, 4.0, 1.0, 100.0);
  s.problem.layers = {clay(5, 18, 10), clay(5, 18, 10), clay(5.1, 18, 20), clay(10, 18, 30)};
  const PyOutcome out = s.run();
  const PyContext& m = out.context;
  ASSERT_EQ(m.layers.size(), 3u);
  EXPECT_NEAR(m.layers[1].bottom - m.layers[1].top, 0.1, 1e-12);
  for (std::size_t j = 1; j < m.x.size(); ++j) EXPECT_GT(m.x[j], m.x[j - 1]) << "depth " << j;
  // Every depth of the thin layer lies inside it and sees its cohesion.
  for (int j = m.layers[1].first; j <= m.layers[1].last; ++j) {
    EXPECT_GT(m.x[static_cast<std::size_t>(j)], 5.0);
    EXPECT_LT(m.x[static_cast<std::size_t>(j)], 5.1);
  }
  EXPECT_EQ(parse(out.soildata, 0).count, 15);
}

TEST(PyLayerModel, BottomsRunningUpwardAreRejected) {
  PyRun s(2, 0.0, 20, 1.0, 4.0, 1.0, 100.0);
  s.problem.layers = {clay(5, 18, 10), clay(4, 18, 10)};
  EXPECT_THROW(s.run(), ProblemError);
}

// ---- Property functions ---------------------------------------------------------------

class PyProperties : public ::testing::Test {
 protected:
  // Two layers below an excavation at 0: [0, 5] dry, [5, 20] under water.
  PyProperties() : s(2, 0.0, 40, 1.0, 4.0, 1.0, 5.0) {
    s.problem.layers = {layer(3, 5, {18, 10, 20, 0.005, 0, 50}, {18, 20, 30, 0.007, 0, 60}),
                        layer(3, 20, {18, 50, 10, 0.0, 0, 80}, {18, 60, 40, 0.0, 0, 90})};
    m = s.model();
  }
  PyRun s;
  PyContext m;
};

TEST_F(PyProperties, BoundaryValuesAndInterpolation) {
  EXPECT_DOUBLE_EQ(strength_at(m, 2.5), 15.0);
  EXPECT_DOUBLE_EQ(strength_at(m, 5.0), 50.0);  // the lower layer wins
  EXPECT_DOUBLE_EQ(strength_at(m, 12.5), 55.0);
  const double to_rad = double(3.1416f) / 180.0;
  EXPECT_DOUBLE_EQ(friction_angle_at(m, 5.0), (30.0 * to_rad + 10.0 * to_rad) / 2.0);  // the mean
  EXPECT_DOUBLE_EQ(e50_at(m, 5.0), 0.007);                                             // the only one set
  EXPECT_DOUBLE_EQ(rqd_at(m, 5.0), 70.0);
  EXPECT_DOUBLE_EQ(e50_at(m, 25.0), 0.0);  // beyond the profile: the last value
  EXPECT_DOUBLE_EQ(rqd_at(m, 25.0), 90.0);
  EXPECT_EQ(py_width_at(m, 3.0), 1.0);
}

TEST_F(PyProperties, AverageUnitWeightIntegratesTheProfile) {
  // (0, 18), (5, 18), (5, 8), (20, 8).
  EXPECT_DOUBLE_EQ(unit_weight_avg(m, 10.0), (5 * 18.0 + 5 * 8.0) / 10.0);
  EXPECT_DOUBLE_EQ(unit_weight_avg(m, 2.0), 18.0);
  EXPECT_DOUBLE_EQ(unit_weight_avg(m, 0.0), 18.0);
  EXPECT_EQ(unit_weight_avg(m, -1.0), 0.0);
  EXPECT_THROW(unit_weight_avg(m, 20.5), RunAbort);
}

TEST_F(PyProperties, AverageStrengthInALayer) {
  EXPECT_DOUBLE_EQ(strength_avg_in_layer(m, 2.0, 0), (10.0 + 14.0) / 2.0);
  EXPECT_DOUBLE_EQ(strength_avg_in_layer(m, 0.0, 0), 10.0);  // at the top: the strength there
  EXPECT_EQ(strength_avg_in_layer(m, 6.0, 0), 0.0);          // below the layer, inside the profile
  EXPECT_TRUE(s.report.text().empty());
  // Beyond the profile: a warning in the report, and the line carried on.
  EXPECT_DOUBLE_EQ(strength_avg_in_layer(m, 30.0, 1), (50.0 + 50.0 + 10.0 * 25.0 / 15.0) / 2.0);
  EXPECT_NE(s.report.text().find("INPUT CURVE FOR STRENGTH"), std::string::npos);
}

TEST_F(PyProperties, ExhaustedProfilesStopTheRunWithTheWarningTwice) {
  try {
    strength_at(m, 21.0);
    FAIL() << "no stop";
  } catch (const RunAbort& e) {
    const std::string joined = [&] {
      std::string j;
      for (const auto& l : e.lines) j += l + "\n";
      return j;
    }();
    EXPECT_NE(joined.find("THE INPUT STRENGTH CURVE"), std::string::npos);
  }
  EXPECT_EQ(test::count_lines_starting(s.notes.text(), "     THE INPUT STRENGTH CURVE"), 2);
  EXPECT_TRUE(has_line(s.notes.text(), "     THE VALUE OF X =  0.2D+02IS BEYOND THE EXTENT OF"));
  EXPECT_THROW(friction_angle_at(m, 21.0), RunAbort);
  EXPECT_EQ(test::count_lines_starting(s.notes.text(), "     THE INPUT PHI CURVE"), 2);
}

// ---- The frame: passes, offsets, multipliers ----------------------------------------------

TEST(PyFrame, BackfillPassUsesTheDepthBelowTheBackfillSurface) {
  // Soft clay c = 10, gamma 18, b = 1, H = 10; Wa = 4 Wp: no group reduction.
  PyRun s(2, 10.0, 40, 1.0, 4.0, 1.0, 100.0);
  s.problem.layers = {clay(30, 18, 10)};
  const Transfer t = parse(s.run().soildata, 0);
  const double X = double(0.1f);
  // Excavation: Np = 3 + 18 X/10 + 0.5 X = 3.23; backfill: x = 10.1 caps Np at 9.
  EXPECT_NEAR(t.p[0][16], 10.0 * (3.0 + 1.8 * X + 0.5 * X), 0.05);
  EXPECT_NEAR(t.p[0][33], 90.0, 1e-9);
  // Both branches start at zero deflection; y50 = 2.5 * 0.01 * 1.
  EXPECT_EQ(t.y[0][0], 0.0);
  EXPECT_EQ(t.y[0][17], 0.0);
  EXPECT_NEAR(t.y[0][16], 20 * 0.025, 1e-12);
}

struct OffsetRow {
  const char* name;
  SoilLayerRecord layer;
  double sigma_v, pact;
  double pa;  // by hand
};
class PyActiveOffset : public ::testing::TestWithParam<OffsetRow> {};

TEST_P(PyActiveOffset, LowersTheExcavationBranchAndRaisesTheBackfillBranch) {
  const OffsetRow& r = GetParam();
  // b = 1, Wa = 4: RATIO 4, no group reduction.
  PyRun s(2, 10.0, 40, 1.0, 4.0, 1.0, 100.0);
  s.problem.layers = {r.layer};
  s.hand = {r.sigma_v, r.pact};
  const Transfer t = parse(s.run().soildata, 0);
  // At zero deflection only the offset remains, to the three digits of the transfer.
  for (std::size_t c = 0; c < t.p.size(); ++c) {
    EXPECT_NEAR(t.p[c][0], -r.pa, 5e-3 * std::max(1.0, r.pa)) << "curve " << c;
    EXPECT_NEAR(t.p[c][17], r.pa, 5e-3 * std::max(1.0, r.pa)) << "curve " << c;
  }
}

const double kKa30 = std::pow(std::tan(double(3.1416f) / 4 - 30.0 * double(3.1416f) / 360.0), 2);
INSTANTIATE_TEST_SUITE_P(Cases, PyActiveOffset,
                         ::testing::Values(
                             // Clay: max(b sv - 2cb, PACT/RATIO - 2cb) = max(50 - 20, 100 - 20).
                             OffsetRow{"ClayPressureGoverns", clay(30, 18, 10), 50.0, 400.0, 80.0},
                             OffsetRow{"ClayStressGoverns", clay(30, 18, 10), 150.0, 400.0, 130.0},
                             // A small PACT leaves the stress term alone; none at all gives no offset.
                             OffsetRow{"ClaySmallPact", clay(30, 18, 10), 50.0, 0.00005, 30.0},
                             OffsetRow{"ClayUserPressure", clay(30, 18, 10), 50.0, 0.0, 0.0},
                             OffsetRow{"ClayCohesionExceeds", clay(30, 18, 100), 50.0, 400.0, 0.0},
                             // Sand: max(sv Ka b, PACT/RATIO).
                             OffsetRow{"SandStress", sand(30, 18, 30, 20000), 400.0, 40.0, 400.0 * kKa30},
                             OffsetRow{"SandPressure", sand(30, 18, 30, 20000), 50.0, 400.0, 100.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PyFrame, GroupReductionScalesEveryResistanceAndIsReported) {
  PyRun s(2, 10.0, 40, 1.0, 1.0, 1.0, 100.0);  // Wa = Wp
  s.problem.layers = {clay(30, 18, 10)};
  const Transfer t = parse(s.run().soildata, 0);
  EXPECT_NEAR(t.p[0][33], 90.0 * double(0.5292f), 0.05);
  EXPECT_TRUE(has_line(s.report.text(), "                      P-Multiplier =  0.529E+00 Y-Multiplier =  0.100E+01"));
}

TEST(PyFrame, ModificationTableScalesBothAxes) {
  PyRun s(2, 10.0, 40, 1.0, 1.0, 1.0, 100.0);
  s.problem.modifications = {{0, 0.5, 2.0}, {100, 0.5, 2.0}};
  s.problem.layers = {clay(30, 18, 10)};
  const Transfer t = parse(s.run().soildata, 0);
  EXPECT_NEAR(t.p[0][33], 45.0, 1e-9);  // 0.5 * 9 c b, no group reduction with a table
  EXPECT_NEAR(t.y[0][33], 2.0 * 20 * 0.025, 1e-12);
  EXPECT_TRUE(has_line(s.report.text(), "         REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS"));
  EXPECT_TRUE(has_line(s.report.text(), "               0.00      0.50        2.00"));
}

// ---- Report echo and blocks -------------------------------------------------------------

TEST(PyReport, EchoAndSoftClayBlockInSIUnits) {
  PyRun s(2, 10.0, 40, 1.0, 4.0, 0.6, 100.0);
  s.problem.layers = {clay(30, 18, 10)};
  s.run();
  const std::string& r = s.report.text();
  const std::vector<std::string> expected = {"      *        SOIL LAYERS AND STRENGTH DATA           *",
                                             "         X AT THE SURFACE OF EXCAVATION SIDE     =      10.00 M",
                                             "         LAYER  1",
                                             "         THE SOIL IS A SOFT CLAY",
                                             "         DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH",
                                             "                     X, M   WEIGHT, KN/ M**3  ",
                                             "                  10.0000     0.1800D+02",
                                             "                     X, M     S, KN/ M**2      PHI,DEGREES      E50",
                                             "                    10.00     0.1000D+02          0.000     0.1000D-01",
                                             "        P-Y CURVES DATA",
                                             "         AT THE EXCAVATION SIDE",
                                             "         DEPTH BELOW GS      DIAM        C      GAMMA AVG      E50",
                                             "                M              M      KN/ M**2   KN/ M**3  ",
                                             "              0.10           0.600 0.1000D+02 0.1800D+02   0.1000D-01",
                                             "                                     Y, M             P, KN/ M",
                                             "         AT THE BACKFILL SIDE",
                                             "             10.10           0.600 0.1000D+02 0.1800D+02   0.1000D-01"};
  for (const std::string& l : expected) EXPECT_TRUE(has_line(r, l)) << "missing: [" << l << "]";
}

TEST(PyReport, ACodeOutsideTheRangeIsSoftClayWithoutATypeLine) {
  PyRun a(2, 10.0, 40, 1.0, 4.0, 0.6, 100.0), b(2, 10.0, 40, 1.0, 4.0, 0.6, 100.0);
  a.problem.layers = {clay(30, 18, 10, 1)};
  b.problem.layers = {clay(30, 18, 10, 9)};
  EXPECT_EQ(a.run().soildata, b.run().soildata);
  EXPECT_TRUE(has_line(b.report.text(), "         LAYER  1"));
  EXPECT_FALSE(has_line(b.report.text(), "         THE SOIL IS A SOFT CLAY"));
}

TEST(PyReport, SandBlock) {
  PyRun s(2, 0.0, 40, 1.0, 4.0, 0.6, 100.0);
  s.problem.layers = {sand(30, 9, 35, 20000)};
  s.run();
  const std::string& r = s.report.text();
  EXPECT_TRUE(has_line(r, "           DEPTH BELOW GS  DIAM   PHI  GAMMA AVG    A    B     PCT       PCD"));
  EXPECT_TRUE(has_line(r, "                  M          M          KN/ M**3  "));
  EXPECT_TRUE(has_line(r, "                0.10       0.60  35.00 0.90E+01   2.71 2.04 0.21E+01 0.29E+02"));
  EXPECT_TRUE(has_line(r, "                                      Y                   P"));
  EXPECT_TRUE(has_line(r, "                                       M                KN/ M"));
}

TEST(PyReport, StiffClayAverageCohesionRunsOverTheGenerationDepthsOfALowerLayer) {
  // Cohesion 20 -> 60 over one metre in both layers. In the first layer the
  // average at its last depth (0.9) is (20 + 56)/2 = 38; in the second it is the
  // running mean over its own depths, (24 + 56)/2 = 40.
  PyRun s(2, 0.0, 40, 1.0, 4.0, 0.6, 100.0);
  const std::array<double, 6> top = {9, 20, 0, 0.005, 50000, 0}, bottom = {9, 60, 0, 0.005, 50000, 0};
  s.problem.layers = {layer(2, 1, top, bottom), layer(2, 2, top, bottom)};
  s.run();
  const std::string& r = s.report.text();
  EXPECT_TRUE(has_line(r, "               0.90          0.600   0.56D+02   0.38D+02   0.90D+01  0.5000D-02"));
  EXPECT_TRUE(has_line(r, "               1.90          0.600   0.56D+02   0.40D+02   0.90D+01  0.5000D-02"));
}

// ---- Equivalent depth across layers -------------------------------------------------------

// Soft clay over sand and sand over soft clay, one unit weight throughout (so
// the average unit weight is that weight at every depth), H = 0, b = 0.6.
TEST(PyEquivalentDepth, ClayBelowSandReachesTheSandIntegral) {
  PyRun s(2, 0.0, 40, 1.0, 4.0, 0.6, 100.0);
  s.problem.layers = {sand(4, 9, 35, 20000), clay(20, 9, 12)};
  const PyOutcome out = s.run();
  const PyContext& m = out.context;
  ASSERT_EQ(m.layers.size(), 2u);
  // SUMPU of the sand: trapezoids of pu = A ps between its depths, and the last
  // depth's pu down to the bottom.
  const double phi = 35.0 * double(3.1416f) / 180.0;
  auto pu = [&](double x) {
    return table_factor(x, 0.6, SandTable::kA) * sand_ultimate(x, 0.6, 9, phi, double(3.1416f)).ps;
  };
  double sum = 0.0;
  for (int j = 1; j < 5; ++j) sum += (m.x[j] - m.x[j - 1]) * (pu(m.x[j]) + pu(m.x[j - 1])) / 2.0;
  sum += (4.0 - m.x[4]) * pu(m.x[4]);
  EXPECT_NEAR(m.layers[0].sumpu, sum, 1e-9 * sum);
  // The clay's equivalent depth: its own resistance 3cb + gamma b x + 0.5 c x
  // (capped at 9cb) integrated from 0 reaches the sand's sum.
  const double xeq = m.layers[1].xeq;
  const double c = 12, b = 0.6, g = 9;
  double integral = 0.0;
  const int n = 100000;
  for (int i = 0; i < n; ++i) {
    const double xm = (i + 0.5) * xeq / n;
    integral += std::min(3 * c * b + g * b * xm + 0.5 * c * xm, 9 * c * b) * xeq / n;
  }
  EXPECT_NEAR(integral, sum, 1e-6 * sum);
  // The clay's first curve is generated at the depth into the layer plus XEQ.
  const Transfer t = parse(out.soildata, 0);
  const double x = m.x[5] - 4.0 + xeq;
  const double expected = c * b * std::min(3 + g * x / c + 0.5 * x / b, 9.0);
  EXPECT_NEAR(t.p[5][16], expected, 0.005 * expected);
}

TEST(PyEquivalentDepth, SandBelowClayReachesTheClayIntegral) {
  PyRun s(2, 0.0, 40, 1.0, 4.0, 0.6, 100.0);
  s.problem.layers = {clay(4, 9, 12), sand(20, 9, 35, 20000)};
  const PyContext m = s.run().context;
  ASSERT_EQ(m.layers.size(), 2u);
  // SUMPU of soft clay: pu at each later depth times the step to it.
  const double c = 12, b = 0.6, g = 9;
  double sum = 0.0;
  for (int j = 1; j < 5; ++j)
    sum += c * b * std::min(3 + g * m.x[j] / c + 0.5 * m.x[j] / b, 9.0) * (m.x[j] - m.x[j - 1]);
  EXPECT_NEAR(m.layers[0].sumpu, sum, 1e-9 * sum);
  // A(x) times the wedge resistance of the sand integrated from 0 to XEQ.
  const double phi = 35.0 * double(3.1416f) / 180.0;
  const double xeq = m.layers[1].xeq;
  double integral = 0.0;
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    const double xm = (i + 0.5) * xeq / n;
    integral += table_factor(xm, b, SandTable::kA) * sand_ultimate(xm, b, g, phi, double(3.1416f)).pst * xeq / n;
  }
  // 100 right-hand rectangles up to xr (about 10.2 here) put the true integral
  // below the sum by at most one step times the resistance at XEQ.
  const double step = 10.2 / 100;
  const double f_end =
      table_factor(xeq + step, b, SandTable::kA) * sand_ultimate(xeq + step, b, g, phi, double(3.1416f)).pst;
  EXPECT_LE(integral, sum * (1 + 1e-4));
  EXPECT_GE(integral, sum - step * f_end);
}

// ---- Data that cannot form a curve ---------------------------------------------------------

struct BadRow {
  const char* name;
  std::vector<SoilLayerRecord> layers;
  double wp;
  const char* message;
};
class PyBadData : public ::testing::TestWithParam<BadRow> {};

TEST_P(PyBadData, EndsTheProblemWithAMessageAndNoInfiniteValue) {
  const BadRow& r = GetParam();
  PyRun s(2, 0.0, 40, 1.0, 4.0, r.wp, 100.0);
  s.problem.layers = r.layers;
  try {
    s.run();
    FAIL() << "no message";
  } catch (const ProblemError& e) {
    ASSERT_FALSE(e.lines.empty());
    EXPECT_NE(e.lines.back().find(r.message), std::string::npos) << e.lines.back();
    EXPECT_EQ(e.lines.back(), [&] {
      std::string u = e.lines.back();
      for (char& ch : u) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      return u;
    }());
  }
  for (const char* bad : {"nan", "inf", "NAN", "INF"}) EXPECT_EQ(s.report.text().find(bad), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PyBadData,
    ::testing::Values(
        BadRow{"SandWithoutFriction", {sand(10, 9, 0, 20000)}, 0.6, "FRICTION ANGLE"},
        BadRow{"ClayWithoutE50", {layer(1, 10, {9, 10, 0, 0, 0, 0}, {9, 10, 0, 0, 0, 0})}, 0.6, "E50"},
        BadRow{"NoResistanceWidth", {clay(10, 9, 10)}, 0.0, "WIDTH FOR SOIL RESISTANCE"},
        BadRow{"ClayWithoutStrengthBelowSand", {sand(4, 9, 35, 20000), clay(20, 9, 0)}, 0.6, "NO EQUIVALENT DEPTH"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestra::py
