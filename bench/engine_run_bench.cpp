// A whole run through the file entry: a 300-increment wall with 60 user p-y
// curves, earth pressure given point by point, report, plot data and notes
// written to disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kestra/engine.h"
#include "run_driver.h"

namespace {

// Wall of 300 increments of 0.05 m, excavation at 6 m, 60 chained p-y curves
// from the excavation to the tip, triangular pressure to 6 m.
std::string long_wall_input() {
  std::ostringstream s;
  s << "Benchmark wall\r\n2 0\t1\t0\t1\t1 60 0 0\r\n300 0.05\t1\t0.00001\t6\r\n0\t300\t1\t100000\r\n0\r\n"
    << "1\r\n2\t2\t1\t20000\t0\r\n";
  s << "3\r\n0\t0\r\n6\t40\r\n15\t40\r\n";
  for (int c = 0; c < 60; ++c) {
    const int station = 120 + c * 3;
    const double k = 1.0 + c * 0.2;
    s << station << "\t7\t1\t1\r\n";
    const double y[] = {-0.1, -0.02, -0.005, 0, 0.005, 0.02, 0.1};
    const double p[] = {300, 250, 120, 0, -120, -250, -300};
    for (int j = 0; j < 7; ++j) s << y[j] << "\t" << p[j] * k << "\r\n";
  }
  s << "0\r\n";
  return s.str();
}

void BM_RunFilesLongWall(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "kestra-bench";
  std::filesystem::create_directories(dir);
  const std::string input = (dir / "wall.kt4d").string();
  std::ofstream(input, std::ios::binary) << long_wall_input();
  const std::string report = (dir / "wall.kt4o").string();
  const std::string plot = (dir / "wall.kt4p").string();
  const std::string notes = (dir / "wall.kt4r").string();
  for (auto _ : state)
    benchmark::DoNotOptimize(KestraRunFiles(input.c_str(), report.c_str(), plot.c_str(), notes.c_str()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RunFilesLongWall)->Unit(benchmark::kMillisecond);

void BM_RunInputLongWall(benchmark::State& state) {
  const std::string input = long_wall_input();
  for (auto _ : state) benchmark::DoNotOptimize(kestra::run_input(input));
}
BENCHMARK(BM_RunInputLongWall)->Unit(benchmark::kMillisecond);

}  // namespace
