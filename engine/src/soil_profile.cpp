#include "soil_profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "earth_pressure_constants.h"
#include "text_format.h"

namespace kestra {
namespace {

using fmt::Line;

bool near(double a, double b) { return std::fabs(a - b) < kDepthTolerance; }

// The depths at which layers must begin: the excavation level and the backfill
// water table, ascending, counted once when they coincide. A depth at (or, for
// a water table above the wall, above) the top of the first layer splits
// nothing: it would only make a layer of no or negative thickness.
std::vector<double> split_depths(double free_height, double zwb) {
  std::vector<double> depths;
  for (double d : {std::min(free_height, zwb), std::max(free_height, zwb)}) {
    if (d < kDepthTolerance) continue;
    if (!depths.empty() && near(depths.back(), d)) continue;
    depths.push_back(d);
  }
  return depths;
}

ProfileLayer layer_from(const SoilLayerRecord& record, double top, double thickness, double amod) {
  ProfileLayer layer;
  layer.thickness = thickness;
  layer.top = top;
  layer.unit_weight = record.top_values[0];
  layer.cohesion = record.top_values[1];
  layer.phi = record.top_values[2];
  layer.drained = record.type == 4 || record.type == 5;
  layer.amod = amod;
  return layer;
}

}  // namespace

double SoilProfile::top_of(int index) const {
  return index < count() ? layers[static_cast<std::size_t>(index)].top : bottom;
}

double SoilProfile::sigma_v_of(int index) const {
  return index < count() ? layers[static_cast<std::size_t>(index)].sigma_v : bottom_sigma_v;
}

SoilProfile build_soil_profile(const WallRecord& wall, double surface_pressure,
                               const std::vector<SoilLayerRecord>& input, int unit_code) {
  SoilProfile profile;
  profile.gamma_w = water_weight(unit_code);
  profile.free_height = wall.free_height;
  profile.zwb = wall.zwb;

  // Walk the input layers from the top, splitting each at the split depths it
  // contains, so that the excavation level and the water table fall on layer
  // tops.
  const std::vector<double> splits = split_depths(wall.free_height, wall.zwb);
  std::size_t next_split = 0;
  double top = 0.0;
  double previous_bottom = 0.0;
  for (const SoilLayerRecord& record : input) {
    const double thickness = record.bottom - previous_bottom;
    if (!(thickness > 0.0)) break;
    previous_bottom = record.bottom;
    const double bottom = top + thickness;
    while (next_split < splits.size()) {
      const double d = splits[next_split];
      if (std::fabs(bottom - d) < kDepthTolerance) {  // already a boundary
        ++next_split;
        break;
      }
      if (d > bottom) break;
      profile.layers.push_back(layer_from(record, top, d - top, wall.amod));
      top = d;
      ++next_split;
    }
    profile.layers.push_back(layer_from(record, top, bottom - top, wall.amod));
    top = bottom;
  }
  profile.bottom = top;

  const int n = profile.count();
  auto below_water = [&](double depth) { return depth >= wall.zwb - kDepthTolerance; };
  for (int k = 0; k <= n; ++k) {
    if (profile.excavation < 0 && near(profile.top_of(k), wall.free_height)) profile.excavation = k;
    if (profile.water < 0 && below_water(profile.top_of(k))) profile.water = k;
  }

  // Total vertical stress at the layer tops first, then the pore pressure is
  // taken off where the soil carries it (drained layers below water); clays are
  // analysed in total stress.
  double total = surface_pressure;
  for (int k = 0; k < n; ++k) {
    ProfileLayer& layer = profile.layers[static_cast<std::size_t>(k)];
    if (k > 0) {
      const ProfileLayer& above = profile.layers[static_cast<std::size_t>(k - 1)];
      total += above.thickness * above.unit_weight;
    }
    layer.sigma_v = total;
    layer.below_water = below_water(layer.top);
    if (layer.drained && layer.below_water) layer.sigma_v -= (layer.top - wall.zwb) * profile.gamma_w;
  }
  // The bottom of the profile, in the soil of the last layer: needed when the
  // excavation level is the bottom of the last layer.
  if (n > 0) {
    const ProfileLayer& last = profile.layers.back();
    profile.bottom_sigma_v = total + last.thickness * last.unit_weight;
    if (last.drained && below_water(profile.bottom)) {
      profile.bottom_sigma_v -= (profile.bottom - wall.zwb) * profile.gamma_w;
    }
  } else {
    profile.bottom_sigma_v = surface_pressure;
  }
  return profile;
}

void write_wall_information(TextSink& report, const WallRecord& wall, int unit_code) {
  const UnitLabels u = UnitLabels::for_code(unit_code);
  report.empty(2);
  write_starred(report, "*                WALL INFORMATION                *");
  report.empty(2);
  auto length = [&](const char* text, double v) { report.line(Line().x(6).a(text).e(v, 10, 3).a(u.l3)); };
  length("FREE HEIGHT OF WALL                    = ", wall.free_height);
  length("WIDTH FOR EARTH PRESSURE, WA           = ", wall.wa);
  length("WIDTH FOR SOIL RESISTANCE, WP          = ", wall.wp);
  length("DEPTH TO THE WATER TABLE AT BACKFILL   = ", wall.zwb);
  length("DEPTH TO THE WATER TABLE AT EXCAVATION = ", wall.zwe);
  report.line(Line()
                  .x(6)
                  .a("UNIT WEIGHT OF WATER                   = ")
                  .e(water_weight(unit_code), 10, 3)
                  .a(u.f4)
                  .a("/")
                  .a(u.l2)
                  .a("**")
                  .a("3  "));
  report.line(Line().x(6).a("SLOPE OF THE BACKFILL (deg.)           = ").e(wall.slope, 10, 3));
  report.line(Line().x(6).a("MODIFICATION FOR ACTIVE EARTH PRESSURE = ").e(wall.amod, 10, 3));
  report.empty();
}

void write_soil_information(TextSink& report, const SoilProfile& profile, int n_layers, int unit_code) {
  report.empty(2);
  write_starred(report, "*                SOIL INFORMATION                *");
  report.empty(2);
  report.line(Line().x(15).a("TOTAL").x(17).a("TOTAL UNIT"));
  report.line(Line().x(7).a("LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP"));
  if (unit_code == 2) {
    report.line(
        Line().x(7).a("NO.").x(5).a("M ").x(8).a("kPa").x(5).a("DEG").x(3).a("kN/M^3").x(5).a("T OR F").x(3).a(" M "));
  } else {
    report.line(
        Line().x(7).a("NO.").x(5).a("IN").x(8).a("PSI").x(5).a("DEG").x(5).a("PCI").x(5).a("T OR F").x(3).a("IN"));
  }
  const int shown = std::min(n_layers, profile.count());
  for (int k = 0; k < shown; ++k) {
    const ProfileLayer& layer = profile.layers[static_cast<std::size_t>(k)];
    report.line(Line()
                    .x(7)
                    .i(k + 1, 3)
                    .f(layer.thickness, 9, 1)
                    .f(layer.cohesion, 11, 1)
                    .f(layer.phi, 6, 1)
                    .f(layer.unit_weight, 9, 3)
                    .x(5)
                    .a(layer.drained ? "T" : "F")
                    .f(layer.top, 10, 2));
  }
}

void write_effective_stress(TextSink& report, const SoilProfile& profile, int unit_code) {
  const UnitLabels u = UnitLabels::for_code(unit_code);
  report.empty(2);
  write_starred(report, "*            EFFECTIVE OVERBURDEN STRESS         *");
  report.empty();
  report.line(Line().x(6).a("          DEPTH                     STRESS       "));
  report.line(Line().x(16).a(u.l3).x(22).a(u.f4).a("/").a(u.l2).a("**").a("2"));
  report.empty();
  for (const ProfileLayer& layer : profile.layers) {
    report.line(Line().x(12).e(layer.top, 10, 3).x(17).e(layer.sigma_v, 10, 3));
  }
}

}  // namespace kestra
