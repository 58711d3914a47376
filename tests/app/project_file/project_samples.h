// Sample projects for the project file tests, built through the model the way
// the dialogs and table editors fill it, and small file helpers.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "data/main_model.h"
#include "data/project_file.h"
#include "tables/program_tables.h"
#include "test_files.h"

namespace kestra::test {

/// Lines of a text split at CR LF (the writer's line end).
inline std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t eol = text.find("\r\n", pos);
    if (eol == std::string::npos) {
      out.push_back(text.substr(pos));
      break;
    }
    out.push_back(text.substr(pos, eol - pos));
    pos = eol + 2;
  }
  return out;
}

// Cell setters by column.
inline void set_ints(TGridTable& t, int row, std::initializer_list<std::pair<int, int>> cells) {
  for (auto [c, v] : cells) t.Column(c).SetInteger(row, v);
}
inline void set_reals(TGridTable& t, int row, std::initializer_list<std::pair<int, long double>> cells) {
  for (auto [c, v] : cells) t.Column(c).SetFloat(row, v);
}
/// Fills a point table (two float columns) with (x, y) pairs.
inline void set_points(TGridTable& t, const std::vector<std::pair<long double, long double>>& points) {
  t.SetRowCount(static_cast<int>(points.size()));
  for (int k = 0; k < static_cast<int>(points.size()); ++k)
    set_reals(t, k, {{0, points[k].first}, {1, points[k].second}});
}

/// A cantilever sheet pile in English units with user-specified earth
/// pressure and user p-y curves: 40 increments of 6 in, EI 2.4E9 lb-in2,
/// 10 ft retained, pressure points given in feet and pounds per foot.
inline void build_cantilever_user(TMainModel& m) {
  TProgramData& p = m.Project();
  TProgramTables& t = m.Tables();
  p.SetTitle("Cantilever sheet pile - user earth pressure and p-y curves");
  p.IncrementCount = 40;
  p.IncrementLength = 6;
  p.FreeHeight = 120;
  p.SetEarthPressureOption(1);
  p.GeneratePY = false;
  p.ApplyExternalPY = true;

  t.PileSect().SetRowCount(1);
  set_ints(t.PileSect(), 0, {{0, 0}, {1, 40}, {2, 1}});
  set_reals(t.PileSect(), 0, {{3, 2.4e9L}});

  t.DistLoad().SetRowCount(3);
  set_reals(t.DistLoad(), 0, {{0, 0}, {1, 0}});
  set_reals(t.DistLoad(), 1, {{0, 10}, {1, 400}});
  set_reals(t.DistLoad(), 2, {{0, 20}, {1, 400}});

  t.PYCurves2().SetRowCount(2);
  const int nodes[] = {20, 40};
  const long double scale[] = {1, 15};
  for (int r = 0; r < 2; ++r) {
    set_ints(t.PYCurves2(), r, {{0, nodes[r]}});
    const long double s = scale[r];
    set_points(*t.PYCurves2().Column(1).GetTable(r),
               {{-2, 100 * s}, {-0.5L, 80 * s}, {0, 0}, {0.5L, -80 * s}, {2, -100 * s}});
  }
}

/// A project in SI units that uses every table: restraints, concentrated
/// loads, springs, p-y modification factors, a generated trapezoidal
/// distribution with surcharges, one layer of every soil type, user p-y
/// curves and a moment-EI curve.
inline void build_si_everything(TMainModel& m) {
  m.SetUnits(kUnitsSI);
  TProgramData& p = m.Project();
  TProgramTables& t = m.Tables();
  p.SetTitle("SI wall\twith every table");
  p.IncrementCount = 50;
  p.IncrementLength = 0.2L;
  p.MaxDeflection = 2.5L;
  p.ClosureTolerance = 2.5e-7L;
  p.FreeHeight = 4.5L;
  p.ActiveWidth = 1;
  p.ResistanceWidth = 1.25L;
  p.WaterDepthBackfill = 3;
  p.WaterDepthExcavation = 6.5L;
  p.BackfillSlope = 10;
  p.SurfacePressure = 12.5L;
  p.SetEarthPressureOption(3);
  p.ApplyRestraints = p.ApplyConcentratedLoads = p.ApplySprings = p.ApplyPYMod = true;
  p.ApplySurcharges = p.ApplyExternalPY = p.ApplyEICurves = true;

  t.SoilLayer().SetRowCount(2);
  set_ints(t.SoilLayer(), 0, {{0, 1}, {1, 0}});
  set_reals(t.SoilLayer(), 0, {{2, 0.001L}, {3, 0}});
  set_ints(t.SoilLayer(), 1, {{0, 2}, {1, 50}});
  set_reals(t.SoilLayer(), 1, {{2, 0}, {3, -0.0005L}});

  t.PileSect().SetRowCount(2);
  set_ints(t.PileSect(), 0, {{0, 0}, {1, 20}, {2, 2}});
  set_reals(t.PileSect(), 0, {{3, 45000}});
  set_ints(t.PileSect(), 1, {{0, 30}, {1, 50}, {2, 2}});  // written as constant: the last range
  set_reals(t.PileSect(), 1, {{3, 38000.5L}});

  t.BoundCond().SetRowCount(1);
  set_ints(t.BoundCond(), 0, {{0, 1}, {1, 0}, {2, 0}});
  set_reals(t.BoundCond(), 0, {{3, 10}, {4, -2.5L}, {5, 100}});

  t.SoilStrength().SetRowCount(1);
  set_ints(t.SoilStrength(), 0, {{0, 2}, {1, 5}, {2, 6}});
  set_reals(t.SoilStrength(), 0, {{3, 1500}, {4, 0}});

  t.PYMod().SetRowCount(2);
  set_reals(t.PYMod(), 0, {{0, 4.5L}, {1, 0.8L}, {2, 1}});
  set_reals(t.PYMod(), 1, {{0, 10}, {1, 1}, {2, 1.2L}});

  t.SurchargeTable().SetRowCount(2);
  set_ints(t.SurchargeTable(), 0, {{0, 1}});
  set_reals(t.SurchargeTable(), 0, {{1, 50}, {2, 1500}, {3, 0}});
  set_ints(t.SurchargeTable(), 1, {{0, 3}});
  set_reals(t.SurchargeTable(), 1, {{1, 20}, {2, 2345.6789L}, {3, 1200}});

  t.NewSoil().SetRowCount(7);
  for (int r = 0; r < 7; ++r) {
    set_ints(t.NewSoil(), r, {{0, r + 1}});
    set_reals(t.NewSoil(), r, {{1, 2.0L * (r + 1)}});
    TGridTable& params = *t.NewSoil().Column(2).GetTable(r);
    for (int row = 0; row < 2; ++row) {
      for (int c = 0; c < params.ColumnCount(); ++c) params.Column(c).SetFloat(row, 17.5L + 10 * c + row + r / 8.0L);
    }
  }

  t.PYCurves2().SetRowCount(2);
  for (int r = 0; r < 2; ++r) {
    set_ints(t.PYCurves2(), r, {{0, 30 + 10 * r}});
    set_reals(t.PYCurves2(), r, {{2, 0.9L}, {3, 1.1L}});
    set_points(*t.PYCurves2().Column(1).GetTable(r), {{-0.05L, 40}, {0, 0}, {0.05L, -40}});
  }

  t.MEICurves2().SetRowCount(1);
  set_ints(t.MEICurves2(), 0, {{0, 0}, {1, 50}});
  set_points(*t.MEICurves2().Column(2).GetTable(0), {{0, 45000}, {150, 40000}, {300, 20000}});
}

/// Short-term and long-term analyses in English units with a generated
/// trapezoidal distribution: each variant has its own soil layers.
inline void build_long_term(TMainModel& m) {
  TProgramData& p = m.Project();
  TProgramTables& t = m.Tables();
  p.SetTitle("Anchored wall, short and long term");
  p.IncrementCount = 60;
  p.IncrementLength = 6;
  p.FreeHeight = 180;
  p.ActiveWidth = 12;
  p.ResistanceWidth = 12;
  p.SetEarthPressureOption(3);
  p.SetLongTermAnalysis(true);
  t.PileSect().SetRowCount(1);
  set_ints(t.PileSect(), 0, {{0, 0}, {1, 60}, {2, 1}});
  set_reals(t.PileSect(), 0, {{3, 3.1e9L}});
  auto layers = [](TGridTable& soil, int type, long double cohesion) {
    soil.SetRowCount(2);
    set_ints(soil, 0, {{0, 4}});
    set_reals(soil, 0, {{1, 12.5L}});
    set_ints(soil, 1, {{0, type}});
    set_reals(soil, 1, {{1, 40}});
    TGridTable& sand = *soil.Column(2).GetTable(0);
    for (int row = 0; row < 2; ++row) set_reals(sand, row, {{0, 115}, {1, 32}, {2, 90}});
    TGridTable& clay = *soil.Column(2).GetTable(1);
    for (int row = 0; row < 2; ++row) set_reals(clay, row, {{0, 120}, {1, cohesion}, {2, 0.01L}, {3, 500}});
  };
  layers(t.NewSoil(), 3, 1440);
  layers(t.LongSoil(), 3, 288);
}

/// A project in other units (nothing converted) with user earth pressure
/// and generated p-y curves in one silt layer.
inline void build_other_units(TMainModel& m) {
  m.SetUnits(kUnitsOther);
  TProgramData& p = m.Project();
  TProgramTables& t = m.Tables();
  p.SetTitle("");
  p.IncrementCount = 10;
  p.IncrementLength = 0.5L;
  p.SetEarthPressureOption(1);
  t.PileSect().SetRowCount(1);
  set_ints(t.PileSect(), 0, {{0, 0}, {1, 10}, {2, 1}});
  set_reals(t.PileSect(), 0, {{3, 1e12L}});
  t.DistLoad().SetRowCount(2);
  set_reals(t.DistLoad(), 0, {{0, 0}, {1, 1.5L}});
  set_reals(t.DistLoad(), 1, {{0, 5}, {1, 123456789}});
  t.NewSoil().SetRowCount(1);
  set_ints(t.NewSoil(), 0, {{0, 5}});
  set_reals(t.NewSoil(), 0, {{1, 5}});
  TGridTable& silt = *t.NewSoil().Column(2).GetTable(0);
  for (int row = 0; row < 2; ++row) set_reals(silt, row, {{0, 0.00001L}, {1, 25}, {2, 1.0L / 3}, {3, 0.02L}, {4, 100}});
}

/// A staged version 3.0 file of two stages (no EI count, the single
/// surcharge of the surcharge record, one p-y curve without multipliers):
/// stage n has 20 x n increments and its surcharge at 30 x n.
inline std::string older_staged_text() {
  std::string text;
  for (int n = 1; n <= 2; ++n) {
    text += (n == 1 ? std::string("Old staged wall") : " Stage No : " + std::to_string(n)) + "\r\n";
    text += "1 0\t1\t0\t2\t2 1 2\r\n";
    text += std::to_string(20 * n) + " 6\t100\t1E-5\t60\r\n0\t40\t1\t2400000000\r\n0\r\n0\r\n";
    text += "60\t12\t12\t0\t0\t1\t1\t0\r\n0\t" + std::to_string(30 * n) + "\t100\t0\t0\t0\r\n";
    text += "1\r\n4 240 \r\n0.0625 0.0  30 0.0  100 0.0  \r\n0.0625 0.0  30 0.0  100 0.0  \r\n";
    text += "20\t3\r\n-1\t10\r\n0\t0\r\n1\t-10\r\n" + std::to_string(n) + "\r\n";
  }
  return text;
}

struct SampleProject {
  const char* name;
  std::function<void(TMainModel&)> build;
};

inline std::vector<SampleProject> sample_projects() {
  return {{"CantileverUser", build_cantilever_user},
          {"SIEverything", build_si_everything},
          {"LongTerm", build_long_term},
          {"OtherUnits", build_other_units}};
}

}  // namespace kestra::test
