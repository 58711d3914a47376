// Builds plot data text block by block for the reader's tests, laid out the
// way the engine writes it (the reader does not care about the layout).
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace kestra::plot_test {

struct Curve {
  double label = 0;
  std::vector<std::pair<double, double>> points;  // (y, p)
};

struct Block {
  std::vector<std::array<double, 4>> pressure;  // depth, total, soils, surcharge
  int unit = 1;
  std::vector<Curve> curves;
  int n_problems = 1;
  std::vector<std::array<double, 5>> stations;  // depth, deflection, moment, shear, reaction
  int unit_again = -1;                          // -1: the same as unit

  std::string Text() const {
    std::string s = Int(static_cast<long>(pressure.size())) + "\n";
    for (const auto& r : pressure) s += Reals(r.data(), 4);
    s += Int(unit) + Int(static_cast<long>(curves.size())) + "\n";
    for (const Curve& c : curves) {
      s += Real(c.label) + Int(static_cast<long>(c.points.size())) + "\n";
      for (const auto& [y, p] : c.points) s += Real(y) + Real(p) + "\n";
    }
    s += Int(n_problems) + Int(static_cast<long>(stations.size())) + Int(unit_again < 0 ? unit : unit_again) + "\n";
    for (const auto& r : stations) s += Reals(r.data(), 5);
    return s;
  }

  static std::string Int(long v) { return " " + std::to_string(v); }
  static std::string Real(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, " %.17g", v);
    return buf;
  }
  static std::string Reals(const double* v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += Real(v[i]);
    return s + "\n";
  }
};

inline std::string Join(const std::vector<Block>& blocks) {
  std::string s;
  for (const Block& b : blocks) s += b.Text();
  return s;
}

// Station rows at depths 0, step, 2 step, ... with deflection, moment, shear
// and reaction derived from the row number so that every value differs.
inline std::vector<std::array<double, 5>> Stations(int n, double step, double scale = 1) {
  std::vector<std::array<double, 5>> rows;
  for (int j = 0; j < n; ++j)
    rows.push_back({j * step, scale * (1 + j), scale * 100 * (j + 1), scale * 10 * (j + 2), scale * -(j + 3)});
  return rows;
}

}  // namespace kestra::plot_test
