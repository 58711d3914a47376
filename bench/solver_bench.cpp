// Cost of the wall solver against the number of increments: a linear wall
// (two iterations: one to solve, one to confirm closure) and a wall on
// generated-style p-y curves at every station (several iterations, each
// searching every curve). The work per iteration should grow linearly.
#include <benchmark/benchmark.h>

#include "solver.h"

namespace {

using kestra::PyCurve;
using kestra::WallModel;

// A 10-unit wall of `n` increments, EI 1000 with half values at the ends, a
// head load, a fixed base.
WallModel make_wall(int n) {
  WallModel m;
  m.ninc = n;
  m.h = 10.0 / n;
  m.max_deflection = 1e9;
  m.tolerance = 1e-10;
  m.code.fill(kestra::kFree);
  for (int s = 0; s <= n; ++s) m.ei[s] = (s == 0 || s == n) ? 500.0 : 1000.0;
  m.q[0] = 1.0;
  m.restraints.push_back({0.0, 0.0});
  m.code_at(n - 1) = kestra::kBeforeSlope;
  m.code_at(n) = kestra::kDeflectionSlope;
  m.code_at(n + 1) = kestra::kAfterSlope;
  return m;
}

// Softening curves of 33 points, chained along the lower half of the wall.
void add_curves(WallModel& m) {
  for (int s = m.ninc / 2; s <= m.ninc; ++s) {
    PyCurve c;
    c.start_station = c.end_station = s;
    c.chain = 1;
    for (int j = -16; j <= 16; ++j) {
      const double y = 0.002 * j;
      c.y.push_back(y);
      c.p.push_back(-m.h * 5.0 * (j < 0 ? -1.0 : 1.0) * (1.0 - 1.0 / (1.0 + 100.0 * (j < 0 ? -y : y))));
    }
    m.curves.push_back(c);
  }
}

// Solving changes nothing these models depend on (no EI curves; every curve's
// start station already equals its end station), so one model serves all runs.
void BM_LinearWall(benchmark::State& state) {
  WallModel m = make_wall(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(kestra::solve_wall(m));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LinearWall)->Arg(100)->Arg(200)->Arg(400)->Complexity(benchmark::oN);

void BM_WallOnPyCurves(benchmark::State& state) {
  WallModel m = make_wall(static_cast<int>(state.range(0)));
  add_curves(m);
  int iterations = 0;
  for (auto _ : state) {
    const kestra::SolveResult r = kestra::solve_wall(m);
    iterations = r.iterations;
    benchmark::DoNotOptimize(r.deflection.data());
  }
  state.counters["iterations"] = iterations;
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WallOnPyCurves)->Arg(100)->Arg(200)->Arg(400);

}  // namespace
