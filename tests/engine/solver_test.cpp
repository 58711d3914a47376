// Wall beam-column solver: closed-form beam solutions, statics, soil springs,
// the iteration's stopping rules, and safety against impossible data.
#include "solver.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

namespace kestra {
namespace {

// Adds values varying linearly from va to vb over stations from ... to, the way
// the input reader distributes wall data: the two end stations hold half
// values, a single station (from == to) the full value.
void spread(StationArray& a, int from, int to, double va, double vb) {
  if (from == to) {
    a[from] += vb;
    return;
  }
  for (int s = from; s <= to; ++s) {
    const double v = va + (vb - va) * (s - from) / (to - from);
    a[s] += (s == from || s == to) ? 0.5 * v : v;
  }
}
void spread(StationArray& a, int from, int to, double v) { spread(a, from, to, v, v); }

// A restraint record: case 1 deflection, 2 slope, 3 both, with its station codes.
void restrain(WallModel& m, int kind, int station, double deflection, double slope) {
  m.restraints.push_back({deflection, slope});
  if (kind <= 1) {
    m.code_at(station) = kDeflection;
  } else if (kind == 2) {
    m.code_at(station - 1) = kBeforeSlope;
    m.code_at(station + 1) = kAfterSlope;
  } else {
    m.code_at(station - 1) = kBeforeSlope;
    m.code_at(station) = kDeflectionSlope;
    m.code_at(station + 1) = kAfterSlope;
  }
}

// A free wall of n increments over `length`, constant EI, no loads.
WallModel make_wall(int n, double length, double ei) {
  WallModel m;
  m.ninc = n;
  m.h = length / n;
  m.max_deflection = 1e9;
  m.tolerance = 1e-12;
  m.code.fill(kFree);
  spread(m.ei, 0, n, ei);
  return m;
}

// Three collinear points P = -k*y over [-reach, reach] (k per unit length).
PyCurve linear_curve(int station, int chain, double k_per_station, double reach) {
  PyCurve c;
  c.start_station = c.end_station = station;
  c.chain = chain;
  c.y = {-reach, 0.0, reach};
  c.p = {k_per_station * reach, 0.0, -k_per_station * reach};
  return c;
}

SolveResult solve(WallModel m) { return solve_wall(m); }

// ---------------------------------------------------------------------------
// Closed forms. Each case builds a model of n increments and returns the
// computed and the exact value of one deflection; the difference scheme is of
// second order, so halving the increment must cut the error about fourfold.

struct ClosedFormCase {
  std::string name;
  std::function<std::pair<double, double>(int n)> run;  // (computed, exact)
  double fine_tolerance;                                // relative, at n = 160
};

const double kEi = 1000.0;

std::pair<double, double> cantilever(int n) {
  // Fixed base, head load P: w(top) = P L^3 / 3EI.
  const double length = 10.0, load = 1.0;
  WallModel m = make_wall(n, length, kEi);
  m.q[0] = load;
  restrain(m, 3, n, 0.0, 0.0);
  return {solve(m).deflection[0], load * std::pow(length, 3) / (3.0 * kEi)};
}

std::pair<double, double> simply_supported(int n) {
  // Uniform load q: midspan deflection 5 q L^4 / 384 EI.
  const double length = 10.0, q = 1.0;
  WallModel m = make_wall(n, length, kEi);
  spread(m.q, 0, n, q * m.h);
  restrain(m, 1, 0, 0.0, 0.0);
  restrain(m, 1, n, 0.0, 0.0);
  return {solve(m).deflection[static_cast<std::size_t>(n / 2)], 5.0 * q * std::pow(length, 4) / (384.0 * kEi)};
}

std::pair<double, double> beam_on_springs(int n) {
  // Semi-infinite beam on a Winkler foundation, free end loaded:
  // w(0) = 2 P beta / k, beta = (k / 4EI)^(1/4) (Hetenyi, 1946). Length 40
  // gives beta L of about 16, long enough to count as infinite.
  const double length = 40.0, k = 100.0, load = 1.0;
  WallModel m = make_wall(n, length, kEi);
  spread(m.s, 0, n, k * m.h);
  m.q[0] = load;
  const double beta = std::pow(k / (4.0 * kEi), 0.25);
  return {solve(m).deflection[0], 2.0 * load * beta / k};
}

std::pair<double, double> beam_column(int n) {
  // Simply supported, uniform load q, axial compression N at half the Euler
  // load: midspan deflection 5 q L^4 / 384 EI times
  // 12 (2 sec u - 2 - u^2) / (5 u^4), u = (L/2) sqrt(N / EI) (Timoshenko and Gere, 1961).
  const double length = 10.0, q = 1.0;
  const double axial = 0.5 * std::numbers::pi * std::numbers::pi * kEi / (length * length);
  WallModel m = make_wall(n, length, kEi);
  spread(m.q, 0, n, q * m.h);
  spread(m.p, 0, n, -axial);  // the reader stores the axial load with its sign reversed
  restrain(m, 1, 0, 0.0, 0.0);
  restrain(m, 1, n, 0.0, 0.0);
  const double u = 0.5 * length * std::sqrt(axial / kEi);
  const double amplification = 12.0 * (2.0 / std::cos(u) - 2.0 - u * u) / (5.0 * std::pow(u, 4));
  return {solve(m).deflection[static_cast<std::size_t>(n / 2)],
          5.0 * q * std::pow(length, 4) / (384.0 * kEi) * amplification};
}

class ClosedForm : public ::testing::TestWithParam<ClosedFormCase> {};

TEST_P(ClosedForm, ConvergesAtSecondOrder) {
  const ClosedFormCase& c = GetParam();
  const auto [coarse, exact] = c.run(40);
  const auto [medium, exact2] = c.run(80);
  const auto [fine, exact3] = c.run(160);
  EXPECT_NEAR(fine, exact, c.fine_tolerance * std::fabs(exact));
  const double e1 = std::fabs(coarse - exact), e2 = std::fabs(medium - exact), e3 = std::fabs(fine - exact);
  EXPECT_GT(e1 / e2, 3.5);
  EXPECT_LT(e1 / e2, 4.5);
  EXPECT_GT(e2 / e3, 3.5);
  EXPECT_LT(e2 / e3, 4.5);
}

INSTANTIATE_TEST_SUITE_P(Solver, ClosedForm,
                         ::testing::Values(ClosedFormCase{"Cantilever", cantilever, 1e-4},
                                           ClosedFormCase{"SimplySupported", simply_supported, 1e-4},
                                           ClosedFormCase{"BeamOnSprings", beam_on_springs, 5e-3},
                                           ClosedFormCase{"BeamColumn", beam_column, 1e-4}),
                         [](const ::testing::TestParamInfo<ClosedFormCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Statics and restraints.

TEST(SolverStatics, DeterminateCantileverMomentShearAndReaction) {
  const int n = 20;
  const double load = 3.0;
  WallModel m = make_wall(n, 10.0, kEi);
  m.q[0] = load;
  restrain(m, 3, n, 0.0, 0.0);
  const SolveResult r = solve(m);
  ASSERT_EQ(r.status, SolveStatus::kConverged);
  ASSERT_EQ(r.x.size(), static_cast<std::size_t>(n + 2));
  for (int s = 0; s < n; ++s) {
    const std::size_t k = static_cast<std::size_t>(s);
    EXPECT_NEAR(r.x[k], s * 0.5, 1e-12);
    EXPECT_NEAR(r.moment[k], load * r.x[k], 1e-9) << "station " << s;
    if (s > 0 && s < n - 1) {  // the base station's half moment enters at n - 1
      EXPECT_NEAR(r.shear[k], load, 1e-9) << "station " << s;
      EXPECT_NEAR(r.reaction[k], 0.0, 1e-9) << "station " << s;
    }
  }
  EXPECT_NEAR(r.reaction[0], load, 1e-9);  // the head load itself
  // The base station carries the half EI of the end of its range, and the
  // moment is EI times curvature there: half the moment of the fixed end.
  EXPECT_NEAR(r.moment[n], 0.5 * load * 10.0, 1e-9);
  EXPECT_EQ(r.moment[n + 1], 0.0);  // no EI beyond the wall
}

TEST(SolverRestraints, FixedBaseHoldsThroughSoilIterations) {
  // A fixed base (case 3, zero deflection and slope) under a head load, with
  // nonlinear soil springs so that several iterations run.
  const int n = 20;
  WallModel m = make_wall(n, 10.0, kEi);
  m.q[0] = 2.0;
  m.tolerance = 1e-10;
  restrain(m, 3, n, 0.0, 0.0);
  for (int s = 0; s <= n; s += 5) {
    PyCurve c;
    c.start_station = c.end_station = s;
    c.chain = 1;
    c.y = {-1.0, -0.01, 0.0, 0.01, 1.0};
    c.p = {0.3, 0.2, 0.0, -0.2, -0.3};
    m.curves.push_back(c);
  }
  const SolveResult r = solve(m);
  ASSERT_EQ(r.status, SolveStatus::kConverged);
  EXPECT_GT(r.iterations, 2);
  EXPECT_EQ(r.deflection[n], 0.0);
  EXPECT_EQ(r.deflection[n + 1], r.deflection[n - 1]);
  EXPECT_NEAR(r.slope[n], 0.0, 1e-15);
}

TEST(SolverRestraints, SpecifiedTopDeflection) {
  // Fixed base and a top pushed to 0.5: w(0) is exactly 0.5, and the force
  // needed is 3 EI w / L^3, seen as the net reaction at the top.
  const int n = 80;
  WallModel m = make_wall(n, 10.0, kEi);
  restrain(m, 1, 0, 0.5, 0.0);
  restrain(m, 3, n, 0.0, 0.0);
  const SolveResult r = solve(m);
  ASSERT_EQ(r.status, SolveStatus::kConverged);
  EXPECT_EQ(r.deflection[0], 0.5);
  EXPECT_NEAR(r.reaction[0], 3.0 * kEi * 0.5 / 1000.0, 1e-3);
}

TEST(SolverRestraints, SpecifiedBaseDeflectionAndSlopeMoveTheWallRigidly) {
  // No load: the wall follows its base, w(x) = 0.2 + 0.01 (x - L).
  const int n = 20;
  WallModel m = make_wall(n, 10.0, kEi);
  restrain(m, 3, n, 0.2, 0.01);
  const SolveResult r = solve(m);
  ASSERT_EQ(r.status, SolveStatus::kConverged);
  for (int s = 0; s <= n; ++s) {
    const std::size_t k = static_cast<std::size_t>(s);
    EXPECT_NEAR(r.deflection[k], 0.2 + 0.01 * (r.x[k] - 10.0), 1e-12) << "station " << s;
    EXPECT_NEAR(r.slope[k], 0.01, 1e-12) << "station " << s;
    EXPECT_NEAR(r.moment[k], 0.0, 1e-9) << "station " << s;
  }
}

TEST(SolverRestraints, SlopeOnlyRestraintGivesTheSymmetricHalfOfABeam) {
  // Half of a simply supported beam: pinned at 0, zero slope (case 2) at the
  // symmetry station, which keeps its deflection free.
  WallModel half = make_wall(20, 5.0, kEi);
  spread(half.q, 0, 20, half.h);
  restrain(half, 1, 0, 0.0, 0.0);
  restrain(half, 2, 20, 0.0, 0.0);
  WallModel full = make_wall(40, 10.0, kEi);
  spread(full.q, 0, 40, full.h);
  restrain(full, 1, 0, 0.0, 0.0);
  restrain(full, 1, 40, 0.0, 0.0);
  const SolveResult rh = solve(half), rf = solve(full);
  ASSERT_EQ(rh.status, SolveStatus::kConverged);
  for (std::size_t s = 0; s <= 20; ++s) EXPECT_NEAR(rh.deflection[s], rf.deflection[s], 1e-12) << s;
  EXPECT_NEAR(rh.slope[20], 0.0, 1e-14);
}

// ---------------------------------------------------------------------------
// Soil springs.

TEST(SolverSoil, ChainedLinearCurvesActLikeInterpolatedSprings) {
  // Curves at stations 10, 20 and 40, all chained: the springs vary linearly
  // between them with half values at the ends of every segment, exactly like
  // spring data distributed over 10-20 and 20-40.
  const int n = 40;
  WallModel springs = make_wall(n, 40.0, kEi);
  springs.q[0] = 1.0;
  WallModel curves = springs;
  spread(springs.s, 10, 20, 50.0, 100.0);
  spread(springs.s, 20, 40, 100.0, 200.0);
  curves.curves = {linear_curve(10, 1, 50.0, 10.0), linear_curve(20, 1, 100.0, 10.0), linear_curve(40, 1, 200.0, 10.0)};
  const SolveResult rs = solve(springs), rc = solve(curves);
  ASSERT_EQ(rc.status, SolveStatus::kConverged);
  EXPECT_FALSE(rc.off_curve);
  for (std::size_t s = 0; s <= static_cast<std::size_t>(n); ++s) {
    EXPECT_NEAR(rc.deflection[s], rs.deflection[s], 1e-12 * std::fabs(rs.deflection[0])) << "station " << s;
  }
}

TEST(SolverSoil, OffCurveCasesFollowTheExtendedLine) {
  // Deflections far beyond the curves' points, and curves of only two points:
  // the off-curve flag is raised and the springs follow the extended segment,
  // which for collinear points is the linear spring itself.
  const int n = 40;
  WallModel springs = make_wall(n, 40.0, kEi);
  springs.q[0] = 1.0;
  spread(springs.s, 10, 40, 80.0);
  const SolveResult expected = solve(springs);
  ASSERT_GT(expected.deflection[10], 1e-4);

  WallModel beyond = make_wall(n, 40.0, kEi);
  beyond.q[0] = 1.0;
  beyond.curves = {linear_curve(10, 1, 80.0, 1e-6), linear_curve(40, 1, 80.0, 1e-6)};
  WallModel two_points = beyond;
  for (PyCurve& c : two_points.curves) {
    c.y = {-10.0, 10.0};
    c.p = {800.0, -800.0};
  }
  for (WallModel* m : {&beyond, &two_points}) {
    const SolveResult r = solve(*m);
    ASSERT_EQ(r.status, SolveStatus::kConverged);
    EXPECT_TRUE(r.off_curve);
    ASSERT_FALSE(r.monitor.empty());
    EXPECT_TRUE(r.monitor.back().off_curve);
    for (std::size_t s = 0; s <= static_cast<std::size_t>(n); ++s) {
      EXPECT_NEAR(r.deflection[s], expected.deflection[s], 1e-12) << "station " << s;
    }
  }
}

TEST(SolverSoil, LoneCurveActsFullyAtItsStationChainedOrNot) {
  // A simply supported beam with one soil spring at midspan equals the same
  // beam with a full spring there. A chained curve with no curve after it
  // must not be dropped.
  const int n = 20;
  WallModel springs = make_wall(n, 10.0, kEi);
  springs.q[10] = 5.0;
  restrain(springs, 1, 0, 0.0, 0.0);
  restrain(springs, 1, n, 0.0, 0.0);
  WallModel base = springs;
  springs.s[10] = 30.0;
  const SolveResult expected = solve(springs);
  for (int chain : {0, 1}) {
    WallModel m = base;
    m.curves = {linear_curve(10, chain, 30.0, 10.0)};
    const SolveResult r = solve(m);
    ASSERT_EQ(r.status, SolveStatus::kConverged) << "chain " << chain;
    EXPECT_NEAR(r.deflection[10], expected.deflection[10], 1e-13) << "chain " << chain;
  }
}

TEST(SolverSoil, NonlinearSpringEndsOnItsCurve) {
  // A propped cantilever whose prop is an elastic-plastic soil spring at the
  // top: the converged soil force must lie on the curve at the final
  // deflection, read here by hand from the points.
  const int n = 40;
  WallModel m = make_wall(n, 10.0, kEi);
  const double load = 1.0;
  m.q[0] = load;
  m.tolerance = 1e-12;
  restrain(m, 3, n, 0.0, 0.0);
  PyCurve c;
  c.start_station = c.end_station = 0;
  c.y = {-1.0, -0.01, 0.01, 1.0};
  c.p = {0.4, 0.4, -0.4, -0.4};  // yields at 0.4 once past 0.01
  m.curves = {c};
  const SolveResult r = solve(m);
  ASSERT_EQ(r.status, SolveStatus::kConverged);
  EXPECT_GT(r.iterations, 2);
  EXPECT_FALSE(r.off_curve);
  const double w0 = r.deflection[0];
  ASSERT_GT(w0, 0.01);  // on the plastic plateau
  EXPECT_NEAR(r.reaction[0], load - 0.4, 1e-9);
  // The rest of the load is carried by the cantilever: w = (P - 0.4) L^3 / 3EI.
  EXPECT_NEAR(w0, (load - 0.4) * 1000.0 / (3.0 * kEi), 1e-4);
}

TEST(SolverSoil, SegmentRunningUpwardStopsWithStationsNotInOrder) {
  WallModel m = make_wall(20, 10.0, kEi);
  m.q[0] = 1.0;
  m.curves = {linear_curve(15, 1, 10.0, 1.0), linear_curve(5, 0, 10.0, 1.0)};
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kStationsNotInOrder);
  EXPECT_TRUE(r.deflection.empty());
  EXPECT_TRUE(r.monitor.empty());
}

TEST(LinearizePyCurve, SegmentAndFlagPerDeflection) {
  // P = 5, 2, 0, -2, -3 at Y = -2, -1, 0, 1, 2.
  PyCurve curve;
  curve.y = {-2.0, -1.0, 0.0, 1.0, 2.0};
  curve.p = {5.0, 2.0, 0.0, -2.0, -3.0};
  PyCurve two;
  two.y = {-1.0, 1.0};
  two.p = {1.0, -1.0};
  PyCurve step;  // equal Y at the first and at the last pair
  step.y = {-1.0, -1.0, 0.0, 1.0, 1.0};
  step.p = {5.0, 2.0, 0.0, -1.0, -4.0};
  PyCurve single;
  single.y = {0.0};
  single.p = {3.0};
  struct Row {
    const PyCurve* curve;
    double y, k, q;
    bool off;
  };
  const Row rows[] = {
      {&curve, 0.5, 2.0, 0.0, false},    // inside
      {&curve, 1.0, 2.0, 0.0, false},    // on a point: the segment below it
      {&curve, 1.5, 1.0, -1.0, false},   // P = -1 - y
      {&curve, -2.0, 3.0, -1.0, false},  // the first point is still on the curve
      {&curve, -5.0, 3.0, -1.0, true},   // below: first segment extended
      {&curve, 7.0, 1.0, -1.0, true},    // above: last segment extended
      {&two, 0.0, 1.0, 0.0, true},       // two points: always flagged
      {&step, -1.0, 0.0, 0.0, false},    // vertical step: no stiffness, no load
      {&step, -3.0, 0.0, 0.0, true},    {&step, 3.0, 0.0, 0.0, true},
      {&single, 0.0, 0.0, 0.0, true},  // no segment at all
  };
  for (const Row& row : rows) {
    const SpringLine line = linearize_py_curve(*row.curve, row.y);
    EXPECT_DOUBLE_EQ(line.k, row.k) << "y = " << row.y;
    EXPECT_DOUBLE_EQ(line.q, row.q) << "y = " << row.y;
    EXPECT_EQ(line.off_curve, row.off) << "y = " << row.y;
  }
}

// ---------------------------------------------------------------------------
// Moment-EI curves.

EiCurve softening_curve(int from, int to) {
  // EI 1000 up to a moment of 10, falling linearly to 500 at 20, then 500.
  EiCurve c;
  c.from_station = from;
  c.to_station = to;
  c.moment = {0.0, 10.0, 20.0, 100.0};
  c.ei = {1000.0, 1000.0, 500.0, 500.0};
  return c;
}

TEST(EiFromCurve, IntersectsTheLineWithTheCurve) {
  const EiCurve c = softening_curve(0, 0);
  // Between 10 and 20: EI = 1000 - 50 (phi EI - 10), so EI = 1500 / (1 + 50 phi).
  const struct {
    double curvature, ei;
  } rows[] = {{0.0, 1000.0}, {0.005, 1000.0}, {1.0 / 70.0, 875.0}, {0.02, 1500.0 / 2.0}, {0.1, 500.0}};
  for (const auto& row : rows) {
    const std::optional<double> ei = ei_from_curve(c, row.curvature);
    ASSERT_TRUE(ei.has_value());
    EXPECT_NEAR(*ei, row.ei, 1e-9) << "curvature " << row.curvature;
  }
  EiCurve one = c;
  one.moment.resize(1);
  one.ei.resize(1);
  EXPECT_FALSE(ei_from_curve(one, 0.01).has_value());
}

TEST(SolverEiCurves, IterateUntilRigiditySettles) {
  // Simply supported, uniform load: the moments follow from statics
  // (q x (L - x) / 2) whatever the rigidity, so the settled EI is known by
  // hand: 875 at midspan (M = 12.5), 1000 where M stays below 10.
  const int n = 40;
  WallModel m = make_wall(n, 10.0, kEi);
  m.tolerance = 1e-9;
  spread(m.q, 0, n, m.h);
  restrain(m, 1, 0, 0.0, 0.0);
  restrain(m, 1, n, 0.0, 0.0);
  m.ei_curves = {softening_curve(0, n)};
  const SolveResult r = solve_wall(m);
  ASSERT_EQ(r.status, SolveStatus::kConverged);
  EXPECT_GT(r.iterations, 4);
  EXPECT_EQ(r.not_closed, 0);
  EXPECT_NEAR(r.moment[20], -12.5, 1e-9);
  EXPECT_NEAR(r.ei[20], 875.0, 1e-3);
  EXPECT_NEAR(r.ei[10], 1000.0, 1e-9);
  EXPECT_EQ(r.ei[0], 1000.0);     // rigidities from the curve carry no half values
  EXPECT_EQ(m.ei[20], r.ei[20]);  // the model keeps the updated rigidities
  // Every rigidity update is followed by an iteration that closes.
  for (const MonitorLine& line : r.monitor) {
    if (line.iteration % 2 == 0) {
      EXPECT_EQ(line.not_closed, 0) << line.iteration;
    }
  }
}

TEST(SolverEiCurves, UnsettledRigidityAfterHundredIterationsIsNotClosed) {
  // With a zero tolerance the rigidity keeps moving; the run must not look
  // converged even though the last iteration itself closed.
  const int n = 40;
  WallModel m = make_wall(n, 10.0, kEi);
  m.tolerance = 0.0;
  spread(m.q, 0, n, m.h);
  restrain(m, 1, 0, 0.0, 0.0);
  restrain(m, 1, n, 0.0, 0.0);
  m.ei_curves = {softening_curve(0, n)};
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kNotClosed);
  EXPECT_EQ(r.iterations, kMaxIterations);
  EXPECT_GT(r.not_closed, 0);
  EXPECT_EQ(r.deflection.size(), static_cast<std::size_t>(n + 2));
}

// ---------------------------------------------------------------------------
// Stopping rules and the monitor.

TEST(SolverIteration, LinearWallClosesOnTheSecondIteration) {
  WallModel m = make_wall(20, 10.0, kEi);
  m.q[0] = 1.0;
  restrain(m, 3, 20, 0.0, 0.0);
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kConverged);
  EXPECT_EQ(r.iterations, 2);
  ASSERT_EQ(r.monitor.size(), 2u);
  EXPECT_EQ(r.monitor[0].iteration, 1);
  EXPECT_EQ(r.monitor[0].not_closed, 20);  // every station but the fixed base moved from zero
  EXPECT_EQ(r.monitor[1].not_closed, 0);
  EXPECT_FALSE(r.monitor[1].off_curve);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(r.monitor[1].w[i], r.deflection[i + 1]);
}

TEST(SolverIteration, ExceedingDeflectionStopsAfterTheFirstIteration) {
  const int n = 20;
  WallModel m = make_wall(n, 10.0, kEi);
  spread(m.q, 0, n, m.h);
  restrain(m, 1, 0, 0.0, 0.0);
  restrain(m, 1, n, 0.0, 0.0);
  const SolveResult free_run = solve(m);
  int beyond = 0;
  for (std::size_t s = 0; s <= static_cast<std::size_t>(n); ++s) beyond += std::fabs(free_run.deflection[s]) > 0.1;
  ASSERT_GT(beyond, 0);
  m.max_deflection = 0.1;
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kExceeded);
  EXPECT_EQ(r.iterations, 1);
  EXPECT_EQ(r.exceeding, beyond);
  EXPECT_GT(r.not_closed, 0);
  EXPECT_EQ(r.deflection, free_run.deflection);
}

TEST(SolverIteration, NoClosureStopsAtTheHundredthIteration) {
  // A negative tolerance can never be met.
  WallModel m = make_wall(20, 10.0, kEi);
  m.q[0] = 1.0;
  m.tolerance = -1.0;
  restrain(m, 3, 20, 0.0, 0.0);
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kNotClosed);
  EXPECT_EQ(r.iterations, kMaxIterations);
  EXPECT_EQ(r.monitor.size(), static_cast<std::size_t>(kMaxIterations));
  EXPECT_EQ(r.not_closed, 21);
  EXPECT_EQ(r.deflection.size(), 22u);
}

// ---------------------------------------------------------------------------
// Impossible and degenerate data.

TEST(SolverGuards, ModelsThatCannotBeSolved) {
  struct Row {
    const char* what;
    std::function<void(WallModel&)> spoil;
  };
  const Row rows[] = {
      {"no increments", [](WallModel& m) { m.ninc = 0; }},
      {"too many increments", [](WallModel& m) { m.ninc = kMaxIncrements + 1; }},
      {"zero increment length", [](WallModel& m) { m.h = 0.0; }},
      {"NaN increment length", [](WallModel& m) { m.h = std::nan(""); }},
      {"NaN tolerance", [](WallModel& m) { m.tolerance = std::nan(""); }},
      {"infinite maximum deflection", [](WallModel& m) { m.max_deflection = HUGE_VAL; }},
      {"code without a row", [](WallModel& m) { m.code_at(3) = kDeflection; }},
      {"rows used up",
       [](WallModel& m) {
         restrain(m, 3, 10, 0.0, 0.0);
         m.restraints.clear();
       }},
      {"slope above the top", [](WallModel& m) { restrain(m, 2, -1, 0.0, 0.0); }},
  };
  for (const Row& row : rows) {
    WallModel m = make_wall(20, 10.0, kEi);
    m.q[0] = 1.0;
    row.spoil(m);
    const SolveResult r = solve(m);
    EXPECT_EQ(r.status, SolveStatus::kInvalidModel) << row.what;
    EXPECT_NE(std::string(r.invalid_reason), "") << row.what;
    EXPECT_TRUE(r.deflection.empty()) << row.what;
  }
}

TEST(SolverGuards, StationsOutsideTheStoreAreSkippedSafely) {
  // Absurd curve and EI-curve stations must neither write outside the store
  // nor make a loop run for billions of stations.
  const int n = 20;
  WallModel m = make_wall(n, 10.0, kEi);
  m.q[0] = 1.0;
  restrain(m, 3, n, 0.0, 0.0);
  m.curves = {linear_curve(INT_MIN, 1, 10.0, 1.0), linear_curve(5, 1, 10.0, 1.0), linear_curve(INT_MAX, 0, 10.0, 1.0),
              linear_curve(kStationStore * 2, 0, 10.0, 1.0)};
  m.curves[0].start_station = INT_MIN;
  m.ei_curves = {softening_curve(INT_MIN, INT_MAX)};
  const SolveResult r = solve(m);
  ASSERT_TRUE(r.status == SolveStatus::kConverged || r.status == SolveStatus::kNotClosed);
  for (double v : r.deflection) EXPECT_TRUE(std::isfinite(v));
}

TEST(SolverGuards, NonFiniteSolutionIsReportedNotReturned) {
  // A load of 1e300 on a wall of EI 1e-300 overflows.
  WallModel m = make_wall(10, 10.0, 1e-300);
  m.q[0] = 1e300;
  restrain(m, 3, 10, 0.0, 0.0);
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kNotFinite);
  EXPECT_TRUE(r.deflection.empty());
  EXPECT_TRUE(r.moment.empty());
}

TEST(SolverGuards, ZeroRecursionDenominatorsAreCounted) {
  // No rigidity and no springs anywhere: every denominator is 0, the wall
  // stays at zero deflection, and the count lets the caller say so.
  WallModel m = make_wall(10, 10.0, 0.0);
  m.q[3] = 1.0;
  const SolveResult r = solve(m);
  EXPECT_EQ(r.status, SolveStatus::kConverged);
  EXPECT_EQ(r.zero_pivots, 13);  // stations -1 ... NINC+1
  for (double v : r.deflection) EXPECT_EQ(v, 0.0);
}

}  // namespace
}  // namespace kestra
