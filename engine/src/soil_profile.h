// The soil profile on the backfill side: the input layers split at the
// excavation level and at the backfill water table, and the vertical effective
// stress at the top of every layer. The earth pressure generator builds its
// coefficients, layer forces and distributions on it.
#pragma once

#include <vector>

#include "problem_data.h"
#include "report_text.h"

namespace kestra {

/// One layer of the split profile.
struct ProfileLayer {
  double thickness = 0.0;
  double top = 0.0;          // depth of the layer top below the top of the wall
  double cohesion = 0.0;     // c
  double phi = 0.0;          // friction angle, degrees
  double unit_weight = 0.0;  // total unit weight
  bool drained = false;      // sand and silt carry water pressure separately
  double amod = 0.0;         // modification factor for active earth pressure
  double passive_factor = 1.0;
  bool below_water = false;  // top at or below the backfill water table
  double sigma_v = 0.0;      // vertical effective stress at the top
};

/// The split profile of a problem. Layer indices are 0-based; index
/// `layers.size()` stands for the bottom of the last layer (the top of a layer
/// below the profile).
struct SoilProfile {
  std::vector<ProfileLayer> layers;
  double bottom = 0.0;          // bottom depth of the last layer
  double bottom_sigma_v = 0.0;  // vertical effective stress there
  double gamma_w = 0.0;         // unit weight of water of the unit code
  double free_height = 0.0;     // H, depth of the excavation level
  double zwb = 0.0;             // backfill water table
  /// The layer whose top lies at the free height (within the depth tolerance),
  /// or -1 when there is none.
  int excavation = -1;
  /// The first layer whose top is at or below the water table, or -1 when the
  /// water table lies below the whole profile.
  int water = -1;

  int count() const { return static_cast<int>(layers.size()); }
  /// Top depth of layer `index` (0 ... count()); the bottom for count().
  double top_of(int index) const;
  /// Effective stress at the top of layer `index` (0 ... count()).
  double sigma_v_of(int index) const;
};

/// Builds the profile from the wall record and the soil layers as read: takes
/// the input layers until one has no positive thickness, splits them at the
/// free height and the backfill water table (split depths at or above the top
/// of the wall are passed over, those below the profile are not applied), finds
/// the excavation and water layers and fills the effective stresses (drained
/// layers below water lose the pore pressure, water weight by `unit_code`).
/// Never fails; the layer count is not limited here (the generator checks it),
/// and values are not checked for being finite.
SoilProfile build_soil_profile(const WallRecord& wall, double surface_pressure,
                               const std::vector<SoilLayerRecord>& input, int unit_code);

/// Writes the "WALL INFORMATION" section of the report.
void write_wall_information(TextSink& report, const WallRecord& wall, int unit_code);

/// Writes the "SOIL INFORMATION" section: the column heading of the unit code
/// and one line for each of the first `n_layers` layers of `profile`.
void write_soil_information(TextSink& report, const SoilProfile& profile, int n_layers, int unit_code);

/// Writes the "EFFECTIVE OVERBURDEN STRESS" table: top depth and effective
/// stress of every layer. The caller has checked the values are finite.
void write_effective_stress(TextSink& report, const SoilProfile& profile, int unit_code);

}  // namespace kestra
