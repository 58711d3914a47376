// The earth pressure generator: soil profile and effective stress, Rankine
// coefficients, layer and water forces, the triangular and trapezoidal
// distributions and the scratch text, checked against values worked by hand,
// and every condition that ends the problem or the run.
#include "earth_pressure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "earth_pressure_layers.h"
#include "engine_test_util.h"
#include "run_errors.h"
#include "soil_profile.h"
#include "surcharge.h"

namespace kestra {
namespace {

using test::lines_of;

constexpr double kGammaW = double(0.036f);  // English water weight as the engine holds it
constexpr double kKa30 = 1.0 / 3.0;         // Rankine Ka for 30 degrees
constexpr double kKaTol = 2e-6;             // 57.2958 for 180/pi moves Ka by about 1e-6

SoilLayerRecord soil(int type, double bottom, double gamma, double c, double phi) {
  SoilLayerRecord r;
  r.type = type;
  r.bottom = bottom;
  r.top_values = {gamma, c, phi, 0.0, 0.0, 0.0};
  r.bottom_values = r.top_values;
  return r;
}

WallRecord wall(double free_height, double zwb = 1e6, double zwe = 1e6) {
  WallRecord w;
  w.free_height = free_height;
  w.wa = 1.0;
  w.wp = 1.0;
  w.zwb = zwb;
  w.zwe = zwe;
  w.amod = 1.0;
  return w;
}

Problem problem_of(int unit, const WallRecord& w, std::vector<SoilLayerRecord> layers, int ep_code = 2) {
  Problem p;
  p.control.unit = unit;
  p.control.ep_code = ep_code;
  p.wall_record = w;
  p.layers = std::move(layers);
  return p;
}

struct Generated {
  EarthPressureComputation c;
  TextSink report, notes;
};

Generated compute(const Problem& p, const SupportDepths& supports = {}) {
  Generated g;
  g.c = compute_earth_pressure(p, supports, g.report, g.notes);
  return g;
}

// The point of a distribution at `depth` (points lie at whole depths here).
const PressurePoint& at_depth(const EarthPressureComputation& c, double depth) {
  for (const PressurePoint& pt : c.points)
    if (std::fabs(pt.depth - depth) < 1e-9) return pt;
  ADD_FAILURE() << "no point at depth " << depth;
  return c.points.front();
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// ---------------------------------------------------------------- soil profile

struct SplitCase {
  const char* name;
  std::vector<double> bottoms;  // input layer bottoms
  double h, zwb;
  std::vector<double> tops;  // tops of the split layers
  int excavation, water;     // 0-based; the layer count stands for the profile bottom
};

TEST(SoilProfile, SplitsAtTheFreeHeightAndTheWaterTable) {
  const SplitCase cases[] = {
      {"one layer, both inside", {300}, 120, 200, {0, 120, 200}, 1, 2},
      {"free height and water table together split once", {300}, 120, 120, {0, 120}, 1, 1},
      {"within the tolerance they count once", {300}, 120, 120.000005, {0, 120}, 1, 1},
      {"free height 0 is layer 1 without a split", {300}, 0, 200, {0, 200}, 0, 1},
      {"a split on a layer boundary splits nothing", {100, 300}, 100, 150, {0, 100, 150}, 1, 2},
      {"near a boundary counts as the boundary", {100, 300}, 100.000004, 1e6, {0, 100}, 1, -1},
      {"both splits in the second layer", {100, 300}, 250, 150, {0, 100, 150, 250}, 3, 2},
      {"water table below the profile: no water layer", {300}, 120, 1000, {0, 120}, 1, -1},
      {"water table above the wall: all below water, no split", {300}, 120, -10, {0, 120}, 1, 0},
      {"free height at the profile bottom", {100, 300}, 300, 1e6, {0, 100}, 2, -1},
      {"free height below the profile", {100, 300}, 400, 1e6, {0, 100}, -1, -1},
      {"a layer of no thickness ends the list", {100, 100, 300}, 50, 1e6, {0, 50}, 1, -1},
  };
  for (const SplitCase& c : cases) {
    std::vector<SoilLayerRecord> layers;
    for (double b : c.bottoms) layers.push_back(soil(4, b, 0.07, 0, 30));
    const SoilProfile p = build_soil_profile(wall(c.h, c.zwb), 0.0, layers, 1);
    std::vector<double> tops;
    double sum = 0;
    for (const ProfileLayer& l : p.layers) {
      tops.push_back(l.top);
      EXPECT_NEAR(l.top, sum, 1e-9) << c.name;  // layers follow each other without gaps
      EXPECT_GT(l.thickness, 0.0) << c.name;
      sum += l.thickness;
    }
    EXPECT_EQ(tops, c.tops) << c.name;
    EXPECT_EQ(p.excavation, c.excavation) << c.name;
    EXPECT_EQ(p.water, c.water) << c.name;
  }
}

TEST(SoilProfile, EffectiveStressTakesPoreWaterFromDrainedLayersOnly) {
  // Sand 0-240 over sand 240-300 and clay 300-400, water at 200, surface 0.5.
  const std::vector<SoilLayerRecord> layers = {soil(4, 240, 0.07, 0, 30), soil(5, 300, 0.08, 0, 30),
                                               soil(1, 400, 0.06, 2, 0)};
  const SoilProfile p = build_soil_profile(wall(120, 200), 0.5, layers, 1);
  ASSERT_EQ(p.count(), 5);  // tops 0, 120, 200, 240, 300
  EXPECT_EQ(p.layers[0].sigma_v, 0.5);
  EXPECT_NEAR(p.layers[1].sigma_v, 0.5 + 120 * 0.07, 1e-12);
  EXPECT_NEAR(p.layers[2].sigma_v, 0.5 + 200 * 0.07, 1e-12);  // at the water table: no pore pressure yet
  // Top 240 lies 40 below the water: a drained layer loses 40 x 0.036 = 1.44.
  EXPECT_NEAR(p.layers[3].sigma_v, 0.5 + 240 * 0.07 - 1.44, 1e-6);
  EXPECT_NEAR(p.layers[3].sigma_v, 0.5 + 240 * 0.07 - 40 * kGammaW, 1e-12);
  // The clay keeps the total stress: totals accumulate, water is not carried over.
  EXPECT_NEAR(p.layers[4].sigma_v, 0.5 + 240 * 0.07 + 60 * 0.08, 1e-12);
  EXPECT_TRUE(p.layers[2].below_water);
  EXPECT_FALSE(p.layers[1].below_water);
  EXPECT_TRUE(p.layers[3].drained);
  EXPECT_FALSE(p.layers[4].drained);
  // The bottom (top of a layer below the profile) in the clay: total stress.
  EXPECT_NEAR(p.sigma_v_of(5), 0.5 + 240 * 0.07 + 60 * 0.08 + 100 * 0.06, 1e-12);

  // SI uses 10 kN/m^3.
  const SoilProfile si = build_soil_profile(wall(2, 1), 0.0, {soil(4, 5, 20, 0, 30)}, 2);
  ASSERT_EQ(si.count(), 3);  // tops 0, 1, 2
  EXPECT_NEAR(si.layers[2].sigma_v, 40 - 1 * 10.0, 1e-12);
  EXPECT_EQ(si.gamma_w, 10.0);
}

TEST(SoilProfile, EchoInSiUnits) {
  Problem p = problem_of(2, wall(2, 1, 3), {soil(4, 5, 18.5, 0, 32), soil(1, 9, 17, 25, 0)});
  p.wall_record->slope = 5;
  const Generated g = compute(p);
  const std::string& r = g.report.text();
  EXPECT_TRUE(contains(r, "\n      FREE HEIGHT OF WALL                    =  0.200E+01  M\n"));
  EXPECT_TRUE(contains(r, "\n      UNIT WEIGHT OF WATER                   =  0.100E+02  KN/ M**3  \n"));
  EXPECT_TRUE(contains(r, "\n      SLOPE OF THE BACKFILL (deg.)           =  0.500E+01\n"));
  EXPECT_TRUE(contains(r,
                       "\n               TOTAL                 TOTAL UNIT\n"
                       "       LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP\n"
                       "       NO.     M         kPa     DEG   kN/M^3     T OR F    M \n"
                       "         1      1.0        0.0  32.0   18.500     T      0.00\n"
                       "         2      1.0        0.0  32.0   18.500     T      1.00\n"
                       "         3      3.0        0.0  32.0   18.500     T      2.00\n"
                       "         4      4.0       25.0   0.0   17.000     F      5.00\n"));
  // Effective stress table: 18.5, then 18.5 + 18.5 - 10 x 0 ... at the tops.
  EXPECT_TRUE(contains(r,
                       "                DEPTH                     STRESS       \n"
                       "                  M                        KN/ M**2\n\n"
                       "             0.000E+00                  0.000E+00\n"
                       "             0.100E+01                  0.185E+02\n"
                       "             0.200E+01                  0.270E+02\n"));

  // English headings.
  const Generated e = compute(problem_of(1, wall(20), {soil(4, 50, 0.07, 0, 30)}));
  EXPECT_TRUE(contains(e.report.text(), "\n       NO.     IN        PSI     DEG     PCI     T OR F   IN\n"));
  EXPECT_TRUE(contains(e.report.text(), "=  0.360E-01 LBS/IN**3  \n"));
}

// ---------------------------------------------------------------- coefficients

TEST(RankineCoefficients, HorizontalAndSlopingBackfill) {
  struct Row {
    double phi, slope, ka, kp;
    bool warned;
  };
  // Sloping: cos 20 (cos 20 - sqrt(cos^2 20 - cos^2 30)) / (cos 20 + sqrt(...)) = 0.414205
  const Row rows[] = {
      {30, 0, kKa30, 3.0, false},         {0, 0, 1.0, 1.0, false},
      {20, 0, 0.490291, 2.039607, false},  // tan^2 35, tan^2 55
      {30, 20, 0.414205, 3.0, false},     {30, -20, 0.414205, 3.0, false},
      {20, 25, 0.490291, 2.039607, true},  // slope not below phi: horizontal Ka kept
      {30, 30, kKa30, 3.0, true},
  };
  for (const Row& r : rows) {
    const RankineCoefficients co = rankine_coefficients(r.phi, r.slope);
    EXPECT_NEAR(co.ka, r.ka, 5e-6) << r.phi << " / " << r.slope;
    EXPECT_NEAR(co.kp, r.kp, 2e-5) << r.phi << " / " << r.slope;
    EXPECT_NEAR(co.sqrt_ka * co.sqrt_ka, co.ka, 1e-12);
    EXPECT_EQ(co.slope_not_below_phi, r.warned) << r.phi << " / " << r.slope;
  }
}

TEST(RankineCoefficients, SlopeWarningForLayersAboveTheExcavationOnly) {
  // Three layers: two above the excavation with phi 20 and 35, one below with
  // phi 20; slope 25 warns once (the first layer).
  Problem p =
      problem_of(1, wall(100), {soil(4, 50, 0.07, 0, 20), soil(4, 100, 0.07, 0, 35), soil(4, 200, 0.07, 0, 20)});
  p.wall_record->slope = 25;
  const Generated g = compute(p);
  const std::string warning =
      "\n\n**** WARNING ******\nTHE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\n";
  EXPECT_EQ(g.notes.text(), warning);
  EXPECT_EQ(test::count_lines_starting(g.report.text(), "**** WARNING"), 1);
  EXPECT_NEAR(g.c.coefficients[0].ka, 0.490291, 5e-6);
  EXPECT_LT(g.c.coefficients[1].ka, 0.5);  // sloping formula used for phi 35
  EXPECT_TRUE(contains(g.report.text(), "\n           1          0.490E+00         0.204E+01\n"));
}

// ---------------------------------------------------------------- distributions

TEST(TriangularDistribution, DrySand) {
  // SI: sand gamma 18, phi 30, H = 6; water deep. Pressure Ka gamma z = 6 z.
  const Generated g = compute(problem_of(2, wall(6), {soil(4, 10, 18, 0, 30)}));
  const auto& pts = g.c.points;
  ASSERT_EQ(pts.size(), 7u);
  for (int d = 0; d <= 6; ++d) {
    EXPECT_NEAR(pts[static_cast<std::size_t>(d)].depth, d, 1e-12);
    EXPECT_NEAR(pts[static_cast<std::size_t>(d)].total, 6.0 * d, 6.0 * d * 1e-5) << d;
    EXPECT_EQ(pts[static_cast<std::size_t>(d)].surcharge, 0.0);
    EXPECT_EQ(pts[static_cast<std::size_t>(d)].earth, pts[static_cast<std::size_t>(d)].total);
  }
  ASSERT_EQ(g.c.forces.size(), 1u);
  EXPECT_NEAR(g.c.forces[0].pa1, 0.0, 1e-12);
  EXPECT_NEAR(g.c.forces[0].pa2, 36 * 9 * kKa30, 1e-3);  // T^2 gamma/2 Ka = 108
  EXPECT_NEAR(g.c.forces[0].z1, 3.0, 1e-12);
  EXPECT_NEAR(g.c.forces[0].z2, 4.0, 1e-12);
  EXPECT_NEAR(g.c.net_force, 108.0, 1e-3);
  EXPECT_NEAR(g.c.area, 108.0, 1e-3);  // triangle at unit spacing
  EXPECT_TRUE(contains(g.report.text(),
                       "       LAYER    PA1     Z1       PA2     Z2         PA3     Z3        PA4\n"
                       "        NO   KN/ M**2    M    KN/ M**2    M      KN/ M**2    M      KN/ M**2\n\n"
                       "       1       0.00   3.00     108.00   4.00      -0.00  -0.00       0.00\n"));
  EXPECT_FALSE(contains(g.report.text(), "WATER PRESSURE"));
  EXPECT_FALSE(contains(g.report.text(), "Net active pressure"));

  // The scratch text carries E10.3 values.
  TextSink report, notes;
  const EarthPressureResult r =
      generate_earth_pressure(problem_of(2, wall(6), {soil(4, 10, 18, 0, 30)}), {}, report, notes);
  const auto lines = lines_of(r.epdist);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "           7");
  EXPECT_EQ(lines[1], "      0.000E+00     0.000E+00     0.000E+00     0.000E+00");
  EXPECT_EQ(lines[2], "      0.100E+01     0.600E+01     0.600E+01     0.000E+00");
  EXPECT_EQ(lines[7], "      0.600E+01     0.360E+02     0.360E+02     0.000E+00");
  EXPECT_EQ(r.epdist, epdist_text(g.c.points));
  EXPECT_NEAR(r.sigma_v_excavation, 108.0, 1e-12);
}

TEST(TriangularDistribution, PartlySubmergedSand) {
  // SI sand gamma 20, phi 30, H = 8, backfill water at 4. Above the water
  // p = 20 z / 3; below, effective (80 + 10 z')/3 plus water 10 z'.
  const Generated g = compute(problem_of(2, wall(8, 4), {soil(4, 10, 20, 0, 30)}));
  ASSERT_EQ(g.c.points.size(), 9u);
  const double expected[] = {0, 20.0 / 3, 40.0 / 3, 20, 80.0 / 3, 90.0 / 3 + 10, 100.0 / 3 + 20, 110.0 / 3 + 30, 80};
  for (int d = 0; d <= 8; ++d) {
    EXPECT_NEAR(g.c.points[static_cast<std::size_t>(d)].total, expected[d], 1e-4) << "depth " << d;
  }
  // Layer forces and water resultants: PA2 of the dry part 53.33; PA1 106.67 and
  // PA2 26.67 of the submerged part; its water 0 (top at the table) and 80.
  ASSERT_EQ(g.c.forces.size(), 2u);
  EXPECT_NEAR(g.c.forces[0].pa2, 160.0 / 3, 1e-3);
  EXPECT_NEAR(g.c.forces[1].pa1, 320.0 / 3, 1e-3);
  EXPECT_NEAR(g.c.forces[1].pa2, 80.0 / 3, 1e-3);
  EXPECT_EQ(g.c.forces[1].pw1, -0.0);
  EXPECT_NEAR(g.c.forces[1].pw2, -80.0, 1e-12);
  EXPECT_NEAR(g.c.net_force, 800.0 / 3, 1e-3);
  EXPECT_TRUE(contains(g.report.text(),
                       "      *      ACTIVE WATER PRESSURE OF EACH LAYER       *\n"
                       "      **************************************************\n\n"
                       "       LAYER    PW1     Z1       PW2     Z2                \n"
                       "        NO             \n\n"
                       "       2       0.00   6.00      80.00   6.67\n"));
  EXPECT_NEAR(g.c.profile.sigma_v_of(g.c.profile.excavation), 120.0, 1e-12);

  // Water on the excavation side at 6 takes (depth - 6) x 10 off the points
  // below it, from total and earth alike.
  const Generated e = compute(problem_of(2, wall(8, 4, 6), {soil(4, 10, 20, 0, 30)}));
  EXPECT_NEAR(at_depth(e.c, 6).total, 100.0 / 3 + 20, 1e-4);  // at the level: unchanged
  EXPECT_NEAR(at_depth(e.c, 7).total, 110.0 / 3 + 30 - 10, 1e-4);
  EXPECT_NEAR(at_depth(e.c, 8).total, 80.0 - 20, 1e-4);
  EXPECT_NEAR(at_depth(e.c, 8).earth, 80.0 - 20, 1e-4);
}

TEST(TriangularDistribution, ExcavationWaterFloorsNonPositiveTotals) {
  // Excavation water above the backfill water: below 1 the totals fall under
  // zero and become point number x 1e-12; the earth part keeps its value.
  // Sand below water from the top: Ka (gamma - 10) z + 10 z on the backfill
  // side, less 10 z on the excavation side, leaves z/3.
  const Generated sand = compute(problem_of(2, wall(4, 0, 0), {soil(4, 10, 11, 0, 30)}));
  EXPECT_NEAR(at_depth(sand.c, 3).total, 1.0, 1e-5);
  EXPECT_NEAR(at_depth(sand.c, 3).earth, 1.0, 1e-5);
  // A clay (phi 0, c 0; total stress, no water term) loses 10 z as well:
  // 11 z - 10 z = z stays positive; 9 z - 10 z does not.
  const Generated clay = compute(problem_of(2, wall(4, 0, 0), {soil(1, 10, 11, 0, 0)}));
  EXPECT_NEAR(at_depth(clay.c, 3).total, 3.0, 1e-4);
  const Generated soft = compute(problem_of(2, wall(4, 0, 0), {soil(1, 10, 9, 0, 0)}));
  for (int d = 1; d <= 4; ++d) {
    const PressurePoint& pt = at_depth(soft.c, d);
    EXPECT_NEAR(pt.earth, -1.0 * d, 1e-4) << d;  // 9 z - 10 z
    EXPECT_EQ(pt.total, (d + 1) * double(1.0e-12f)) << d;
  }
}

TEST(TriangularDistribution, ClayWithTensionCrack) {
  // Clay c = 1, phi 0 (Ka = 1), gamma 0.07, H = 40, QU = 0: the top is in
  // tension; t1 = 2, t2 = 2.8 - 2 = 0.8; ZC = 0.8 x 40 / 2.8 = 11.43 below the
  // crack at 28.57 = 2c/gamma; PA4 = ZC t2 / 2 = 4.571; pressure 0.07 (z - 28.57).
  const Generated g = compute(problem_of(1, wall(40), {soil(1, 100, 0.07, 1, 0)}));
  ASSERT_EQ(g.c.forces.size(), 1u);
  const LayerForces& f = g.c.forces[0];
  EXPECT_EQ(f.pa1, 0.0);
  EXPECT_EQ(f.pa2, 0.0);
  EXPECT_EQ(f.pa3, 0.0);
  EXPECT_TRUE(f.cracked);
  EXPECT_NEAR(f.zc, 0.8 * 40 / 2.8, 1e-4);
  EXPECT_NEAR(f.pa4, 0.8 * 40 / 2.8 * 0.8 / 2, 1e-4);
  EXPECT_NEAR(f.z3, 40 - 0.8 * 40 / 2.8 / 3, 1e-4);
  ASSERT_EQ(g.c.points.size(), 41u);
  const double crack = 2.0 / 0.07;
  for (const PressurePoint& pt : g.c.points) {
    const double expected = pt.depth > crack ? 0.07 * (pt.depth - crack) : 0.0;
    EXPECT_NEAR(pt.total, expected, 1e-5) << "depth " << pt.depth;
  }
  EXPECT_NEAR(at_depth(g.c, 40).total, 0.8, 1e-5);
  EXPECT_FALSE(contains(g.report.text(), "Net active pressure"));

  // A clay whose whole height is cracked: no force, and the net force message.
  const Generated all = compute(problem_of(1, wall(20), {soil(1, 100, 0.07, 1, 0)}));
  EXPECT_EQ(all.c.forces[0].pa4, 0.0);
  for (const PressurePoint& pt : all.c.points) EXPECT_EQ(pt.total, 0.0);
  EXPECT_TRUE(contains(all.report.text(), "\n\n\n     Net active pressure is negative.\n\n"));
}

TEST(TriangularDistribution, CrackedDrainedSoilBelowWaterKeepsItsWaterPressure) {
  // A cohesive silt below water from the top, cracked over its whole height:
  // no earth pressure, but the water still presses, 0.036 per unit depth.
  const Generated g = compute(problem_of(1, wall(40, 0), {soil(5, 100, 0.07, 1, 0)}));
  ASSERT_TRUE(g.c.forces[0].cracked);
  EXPECT_EQ(g.c.forces[0].pa4, 0.0);
  EXPECT_NEAR(g.c.forces[0].pw2, -40 * 40 * kGammaW / 2, 1e-9);
  for (int d = 1; d <= 40; ++d) EXPECT_NEAR(at_depth(g.c, d).total, d * kGammaW, 1e-9) << d;
}

TEST(TriangularDistribution, PointCountFollowsRoundedThickness) {
  struct Row {
    std::vector<double> bottoms;
    double h;
    std::size_t n_points;
    double last_depth;
  };
  const Row rows[] = {
      {{20}, 9.4, 10, 9.4},       // 9 points in a layer 9.4 thick
      {{20}, 9.5, 11, 9.5},       // 10 points in one 9.5 thick
      {{9.3, 20}, 9.7, 10, 9.3},  // a layer 0.4 thick adds none
      {{9.3, 20}, 9.9, 11, 9.9},  // one 0.6 thick adds one
      {{20}, 0, 1, 0},            // nothing above the excavation: the top point alone
  };
  for (const Row& r : rows) {
    std::vector<SoilLayerRecord> layers;
    for (double b : r.bottoms) layers.push_back(soil(4, b, 0.07, 0, 30));
    const Generated g = compute(problem_of(1, wall(r.h), layers));
    EXPECT_EQ(g.c.points.size(), r.n_points) << "H = " << r.h;
    EXPECT_NEAR(g.c.points.back().depth, r.last_depth, 1e-12);
    // Points of a layer are evenly spaced within it.
    if (r.h == 9.4) {
      EXPECT_NEAR(g.c.points[1].depth, 9.4 / 9, 1e-12);
    }
  }
}

TEST(TriangularDistribution, SurchargesAddToPointsAndLayerForces) {
  Problem p = problem_of(1, wall(120), {soil(4, 200, 0.07, 0, 30)});
  p.surcharge.surface = 0.6;  // overburden: Ka x 0.6 everywhere
  p.surcharges = {{1, 1000, 60, 0}, {3, 2, 60, 40}};
  const Generated g = compute(p);
  ASSERT_EQ(g.c.points.size(), 121u);
  EXPECT_NEAR(g.c.points[0].total, 0.6 * kKa30, 1e-6);  // top point: Ka QU, no surcharge part
  EXPECT_EQ(g.c.points[0].surcharge, 0.0);
  for (int d : {1, 2, 3, 30, 60, 119, 120}) {
    const PressurePoint& pt = at_depth(g.c, d);
    EXPECT_DOUBLE_EQ(pt.surcharge, surcharge_rows_pressure(p.surcharges, d, 120)) << d;
    EXPECT_NEAR(pt.earth, kKa30 * (0.6 + 0.07 * d), 1e-5) << d;
    EXPECT_DOUBLE_EQ(pt.total, pt.earth + pt.surcharge) << d;
  }
  EXPECT_EQ(at_depth(g.c, 2).surcharge, 0.0);  // above the first slice at 2.4
  EXPECT_GT(at_depth(g.c, 3).surcharge, 0.0);
  // The layer force PA1 holds Ka QU T and the last surcharge's resultant.
  const WorkingSurcharge set = working_surcharge(p);
  const double pa1 = add_layer_surcharge_resultant(set, 0, 120, 120, g.c.coefficients[0].ka * 0.6 * 120);
  EXPECT_DOUBLE_EQ(g.c.forces[0].pa1, pa1);
  EXPECT_GT(pa1, 0.6 * kKa30 * 120 + 1.0);
}

// ---------------------------------------------------------------- trapezoid

TEST(TrapezoidalDistribution, OneSupport) {
  // Dry sand, H = 120: computed area (unit spacing) = 0.07/3 x 120^2 / 2 = 168.
  // One support at 30: rises to pmax at 20, holds to 60, falls to 0 at 120;
  // pmax = 3 x 1.3 x 168 / 240 = 2.73 and the envelope's area is 1.3 x 168.
  const Generated g = compute(problem_of(1, wall(120), {soil(4, 200, 0.07, 0, 30)}, 3), {30, 30, 1});
  EXPECT_NEAR(g.c.area, 168.0, 1e-3);
  const double pmax = 2.73;
  const std::pair<double, double> expected[] = {{0, 0},     {10, pmax / 2}, {20, pmax}, {40, pmax},
                                                {60, pmax}, {90, pmax / 2}, {120, 0}};
  for (const auto& [depth, p] : expected) EXPECT_NEAR(at_depth(g.c, depth).total, p, 2e-5) << depth;
  double envelope = 0;
  for (std::size_t k = 1; k < g.c.points.size(); ++k) envelope += (g.c.points[k - 1].total + g.c.points[k].total) / 2;
  EXPECT_NEAR(envelope, 1.3 * 168.0, 2e-3);
  // Earth and surcharge parts stay those of the computed distribution.
  EXPECT_NEAR(at_depth(g.c, 90).earth, 0.07 * 90 / 3, 1e-5);
}

TEST(TrapezoidalDistribution, TwoSupports) {
  // Supports at 30 and 90: a = 20, c = 2 (120 - 90)/3 = 20, b = 80, e = 100;
  // pmax = 1.3 x 168 / (120 - (20 + 20)/3) = 2.0475.
  const Generated g = compute(problem_of(1, wall(120), {soil(4, 200, 0.07, 0, 30)}, 3), {30, 90, 4});
  const double pmax = 1.3 * 168 / (120 - 40.0 / 3);
  EXPECT_NEAR(at_depth(g.c, 10).total, pmax / 2, 2e-5);
  EXPECT_NEAR(at_depth(g.c, 20).total, pmax, 2e-5);
  EXPECT_NEAR(at_depth(g.c, 100).total, pmax, 2e-5);
  EXPECT_NEAR(at_depth(g.c, 110).total, pmax / 2, 2e-5);
  EXPECT_NEAR(at_depth(g.c, 120).total, 0.0, 2e-5);
}

TEST(TrapezoidalDistribution, UndefinedEnvelopesEndTheProblem) {
  struct Row {
    const char* name;
    double h;
    SupportDepths supports;
    const char* message;
  };
  const Row rows[] = {
      {"no spring row", 120, {30, 30, 0}, "AT LEAST ONE SUPPORT ROW"},
      {"no soil above the excavation", 0, {30, 30, 1}, "CANNOT BE FORMED"},
      {"supports that give no positive peak", 12, {60, 0, 2}, "CANNOT BE FORMED"},
  };
  for (const Row& r : rows) {
    try {
      compute(problem_of(1, wall(r.h), {soil(4, 200, 0.07, 0, 30)}, 3), r.supports);
      ADD_FAILURE() << r.name << ": accepted";
    } catch (const ProblemError& e) {
      ASSERT_EQ(e.lines.size() >= 3, true) << r.name;
      EXPECT_TRUE(contains(e.lines[2] + (e.lines.size() > 3 ? e.lines[3] : ""), r.message)) << r.name;
    }
  }
}

// ---------------------------------------------------------------- ends of the run

struct AbortCase {
  const char* name;
  Problem problem;
  std::vector<std::string> message;  // lines after the two empty ones
};

TEST(EarthPressureFailures, RunEndsWithAMessageAfterTheEcho) {
  std::vector<SoilLayerRecord> many;  // 20 input layers, split twice: 22 > 21
  for (int k = 1; k <= 20; ++k) many.push_back(soil(4, 10.0 * k, 0.07, 0, 30));
  Problem surcharged = problem_of(1, wall(0), {soil(4, 100, 0.07, 0, 30)});
  surcharged.surcharges = {{1, 1000, 60, 0}};
  Problem record_load = problem_of(1, wall(0), {soil(4, 100, 0.07, 0, 30)});
  record_load.surcharge.point = 500;

  const std::vector<AbortCase> cases = {
      {"more than 21 layers",
       problem_of(1, wall(55, 125), many),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE SUBDIVISION OF",
        "     A LAYER HAS LED TO CREATION OF MORE THAN 20 LAYERS."}},
      {"free height below the layers",
       problem_of(1, wall(400), {soil(4, 100, 0.07, 0, 30)}),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE NO SOIL LAYER STARTS AT THE FREE HEIGHT OF THE",
        "     WALL (THE SOIL LAYERS MUST REACH DOWN TO THE EXCAVATION LEVEL)."}},
      {"negative free height",
       problem_of(1, wall(-5), {soil(4, 100, 0.07, 0, 30)}),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE NO SOIL LAYER STARTS AT THE FREE HEIGHT OF THE",
        "     WALL (THE SOIL LAYERS MUST REACH DOWN TO THE EXCAVATION LEVEL)."}},
      {"no layer",
       problem_of(1, wall(0), {}),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE NO SOIL LAYER OF POSITIVE THICKNESS IS GIVEN."}},
      {"surcharge rows without free height",
       surcharged,
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE SURCHARGE LOADS ARE GIVEN",
        "     AND THE FREE HEIGHT OF THE WALL IS NOT GREATER THAN ZERO."}},
      {"a surcharge-record load without free height",
       record_load,
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE SURCHARGE LOADS ARE GIVEN",
        "     AND THE FREE HEIGHT OF THE WALL IS NOT GREATER THAN ZERO."}},
      {"crack in a weightless clay",
       problem_of(1, wall(40), {soil(1, 100, 0.0, 1, 0)}),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE THE ACTIVE EARTH PRESSURE OF LAYER 1",
        "     CANNOT BE COMPUTED (NO STRESS INCREASE BELOW A TENSION CRACK, OR VALUES TOO LARGE)."}},
      {"friction angle beyond 90 on a slope",
       [] {
         Problem p = problem_of(1, wall(40), {soil(4, 100, 0.07, 0, 175)});
         p.wall_record->slope = 10;
         return p;
       }(),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE THE EARTH PRESSURE COEFFICIENTS OF LAYER 1",
        "     ARE UNDEFINED (CHECK ITS FRICTION ANGLE AND THE SLOPE OF THE BACKFILL)."}},
      {"overburden beyond the range of numbers",
       problem_of(1, wall(40), {soil(4, 10, 1e308, 0, 30), soil(4, 100, 1e308, 0, 30)}),
       {"     EXECUTION HAS BEEN TERMINATED BECAUSE THE EFFECTIVE OVERBURDEN STRESS OF LAYER 2",
        "     CANNOT BE COMPUTED (VALUES TOO LARGE)."}},
  };
  for (const AbortCase& c : cases) {
    TextSink report, notes;
    try {
      generate_earth_pressure(c.problem, {}, report, notes);
      ADD_FAILURE() << c.name << ": no abort";
      continue;
    } catch (const RunAbort& e) {
      std::vector<std::string> expected = {"", ""};
      expected.insert(expected.end(), c.message.begin(), c.message.end());
      EXPECT_EQ(e.lines, expected) << c.name;
    }
    // The run ends after the echo of wall, surcharge and soil data.
    EXPECT_TRUE(contains(report.text(), "SOIL INFORMATION")) << c.name;
    EXPECT_TRUE(contains(report.text(), "LAYER THICKNESS")) << c.name;
  }
}

TEST(EarthPressureFailures, LayerLimitEchoesTheFirst21Layers) {
  std::vector<SoilLayerRecord> many;
  for (int k = 1; k <= 20; ++k) many.push_back(soil(4, 10.0 * k, 0.07, 0, 30));
  TextSink report, notes;
  EXPECT_THROW(generate_earth_pressure(problem_of(1, wall(55, 125), many), {}, report, notes), RunAbort);
  EXPECT_EQ(test::count_lines_starting(report.text(), "        21 "), 1);
  EXPECT_EQ(test::count_lines_starting(report.text(), "        22 "), 0);
  EXPECT_FALSE(contains(report.text(), "EFFECTIVE OVERBURDEN STRESS"));

  // Exactly 21 layers is accepted: 19 input layers split twice.
  many.resize(19);
  TextSink r2, n2;
  EXPECT_NO_THROW(generate_earth_pressure(problem_of(1, wall(55, 125), many), {}, r2, n2));
}

TEST(EarthPressureFailures, TooManyPointsForTheStoreEndTheProblem) {
  // An English wall of 1200 inches needs 1201 points; the store holds 1200.
  TextSink report, notes;
  try {
    generate_earth_pressure(problem_of(1, wall(1200), {soil(4, 1300, 0.07, 0, 30)}), {}, report, notes);
    ADD_FAILURE() << "accepted";
  } catch (const ProblemError& e) {
    EXPECT_EQ(e.lines, storage_error().lines);
  }
  EXPECT_NO_THROW(generate_earth_pressure(problem_of(1, wall(1199), {soil(4, 1300, 0.07, 0, 30)}), {}, report, notes));
  // Absurd thickness: refused before anything is built.
  EXPECT_THROW(generate_earth_pressure(problem_of(1, wall(1e15), {soil(4, 2e15, 0.07, 0, 30)}), {}, report, notes),
               ProblemError);
}

// ---------------------------------------------------------------- hand-over

TEST(EarthPressureHandOver, SigmaVAtExcavationWithoutGeneration) {
  Problem p = problem_of(2, wall(8, 4), {soil(4, 10, 20, 0, 30)});
  p.surcharge.surface = 5;
  EXPECT_NEAR(sigma_v_at_excavation(p), 5 + 160 - 40, 1e-12);
  TextSink report, notes;
  EXPECT_EQ(generate_earth_pressure(p, {}, report, notes).sigma_v_excavation, sigma_v_at_excavation(p));
  // No layer top at the free height, or no soil: nothing to hand over.
  EXPECT_EQ(sigma_v_at_excavation(problem_of(2, wall(20), {soil(4, 10, 20, 0, 30)})), 0.0);
  EXPECT_EQ(sigma_v_at_excavation(problem_of(2, wall(0), {})), 0.0);
  Problem none;
  EXPECT_EQ(sigma_v_at_excavation(none), 0.0);
  // Free height at the bottom of the profile: the stress there.
  EXPECT_NEAR(sigma_v_at_excavation(problem_of(2, wall(10), {soil(1, 10, 20, 5, 0)})), 200.0, 1e-12);
}

// A whole report for a small SI problem, line by line: the sections in order
// and their layout.
TEST(EarthPressureReport, SectionsInOrder) {
  Problem p = problem_of(2, wall(2, 1, 5), {soil(4, 3, 20, 0, 30)});
  p.surcharge.surface = 3;
  TextSink report, notes;
  const EarthPressureResult r = generate_earth_pressure(p, {}, report, notes);
  const std::string expected =
      "\n\n"
      "      **************************************************\n"
      "      *                WALL INFORMATION                *\n"
      "      **************************************************\n"
      "\n\n"
      "      FREE HEIGHT OF WALL                    =  0.200E+01  M\n"
      "      WIDTH FOR EARTH PRESSURE, WA           =  0.100E+01  M\n"
      "      WIDTH FOR SOIL RESISTANCE, WP          =  0.100E+01  M\n"
      "      DEPTH TO THE WATER TABLE AT BACKFILL   =  0.100E+01  M\n"
      "      DEPTH TO THE WATER TABLE AT EXCAVATION =  0.500E+01  M\n"
      "      UNIT WEIGHT OF WATER                   =  0.100E+02  KN/ M**3  \n"
      "      SLOPE OF THE BACKFILL (deg.)           =  0.000E+00\n"
      "      MODIFICATION FOR ACTIVE EARTH PRESSURE =  0.100E+01\n"
      "\n\n\n"
      "      **************************************************\n"
      "      *              SURCHARGE INFORMATION             *\n"
      "      **************************************************\n"
      "\n\n"
      "      UNIFORM SURFACE PRESSURE     = 0.300E+01  KN/ M**2\n"
      "\n\n"
      "      **************************************************\n"
      "      *                SOIL INFORMATION                *\n"
      "      **************************************************\n"
      "\n\n"
      "               TOTAL                 TOTAL UNIT\n"
      "       LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP\n"
      "       NO.     M         kPa     DEG   kN/M^3     T OR F    M \n"
      "         1      1.0        0.0  30.0   20.000     T      0.00\n"
      "         2      1.0        0.0  30.0   20.000     T      1.00\n"
      "         3      1.0        0.0  30.0   20.000     T      2.00\n"
      "\n\n"
      "      **************************************************\n"
      "      *            EFFECTIVE OVERBURDEN STRESS         *\n"
      "      **************************************************\n"
      "\n"
      "                DEPTH                     STRESS       \n"
      "                  M                        KN/ M**2\n"
      "\n"
      "             0.000E+00                  0.300E+01\n"
      "             0.100E+01                  0.230E+02\n"
      "             0.200E+01                  0.330E+02\n"
      "\n\n"
      "      **************************************************\n"
      "      * ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *\n"
      "      **************************************************\n"
      "\n"
      "        LAYER         ACTIVE EARTH     PASSIVE EARTH   \n"
      "         NO.          COEFFICIENT      COEFFICIENT     \n"
      "           1          0.333E+00         0.300E+01\n"
      "           2          0.333E+00         0.300E+01\n"
      "           3          0.333E+00         0.300E+01\n"
      "\n\n"
      "      **************************************************\n"
      "      *      ACTIVE EARTH PRESSURE OF EACH LAYER       *\n"
      "      **************************************************\n"
      "\n"
      "       LAYER    PA1     Z1       PA2     Z2         PA3     Z3        PA4\n"
      "        NO   KN/ M**2    M    KN/ M**2    M      KN/ M**2    M      KN/ M**2\n"
      "\n"
      "       1       1.00   0.50       3.33   0.67      -0.00  -0.00       0.00\n"
      "       2       7.67   1.50       1.67   1.67      -0.00  -0.00       0.00\n"
      "\n\n"
      "      **************************************************\n"
      "      *      ACTIVE WATER PRESSURE OF EACH LAYER       *\n"
      "      **************************************************\n"
      "\n"
      "       LAYER    PW1     Z1       PW2     Z2                \n"
      "        NO             \n"
      "\n"
      "       2       0.00   1.50       5.00   1.67\n";
  EXPECT_EQ(report.text(), expected);
  EXPECT_EQ(notes.text(), "");
  // Points: Ka QU = 1 at the top; 1 + 20/3 = 7.667 at 1; (23 + 10)/3 + 10 = 21 at 2.
  EXPECT_EQ(r.epdist,
            "           3\n"
            "      0.000E+00     0.100E+01     0.100E+01     0.000E+00\n"
            "      0.100E+01     0.767E+01     0.767E+01     0.000E+00\n"
            "      0.200E+01     0.210E+02     0.210E+02     0.000E+00\n");
  EXPECT_NEAR(r.sigma_v_excavation, 33.0, 1e-12);
}

}  // namespace
}  // namespace kestra
