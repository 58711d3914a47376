// The records of one problem as read from the input data file, and the state a
// run keeps from one problem to the next.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "wall_model.h"

namespace kestra {

/// Control record: nine integers.
struct Control {
  int unit = 0;  // 1 English, 2 SI, other generic
  int n_restraints = 0;
  int n_stiffness = 0;
  int n_modifications = 0;
  int ep_code = 0;  // 0 none, 1 user pressure, 2 triangular, 3 trapezoidal
  int py_code = 0;  // 2 generated p-y curves
  int n_user_curves = 0;
  int stage_count = 0;
  int n_ei_curves = 0;
};

/// Increment record.
struct Increments {
  int ninc = 0;
  double h = 0.0;
  double max_deflection = 0.0;
  double tolerance = 0.0;
  double free_height = 0.0;
};

struct Modification {
  double depth = 0.0, p_multiplier = 0.0, y_multiplier = 0.0;
};

/// One point of the pressure distribution on the backfill side.
struct PressurePoint {
  double depth = 0.0, total = 0.0, earth = 0.0, surcharge = 0.0;
};
inline constexpr int kMaxPressurePoints = 1200;

/// Wall record.
struct WallRecord {
  double free_height = 0.0;
  double wa = 0.0;     // width for earth pressure
  double wp = 0.0;     // width for soil resistance
  double zwb = 0.0;    // water table, backfill side
  double zwe = 0.0;    // water table, excavation side
  double amod = 0.0;   // modification for active earth pressure
  int anchor = 0;      // integer switch, no effect on results
  double slope = 0.0;  // backfill slope, degrees
};

/// Surcharge record: the legacy single surcharge and the surface pressure.
struct SurchargeRecord {
  double surface = 0.0, distance = 0.0, point = 0.0, line = 0.0, strip = 0.0, strip_width = 0.0;
};

/// One row of the surcharge block.
struct SurchargeRow {
  int type = 0;  // 1 point, 2 line, 3 strip
  double magnitude = 0.0, x = 0.0, width = 0.0;
};
inline constexpr int kMaxSurchargeRows = 1000;

/// One soil layer as read: type, bottom depth, the six values at its top and bottom.
struct SoilLayerRecord {
  int type = 0;
  double bottom = 0.0;
  std::array<double, 6> top_values{};
  std::array<double, 6> bottom_values{};
};
inline constexpr int kMaxSoilLayers = 10;

/// A user p-y curve as read (points before the multipliers).
struct UserCurve {
  int station = 0;
  double p_multiplier = 1.0, y_multiplier = 1.0;
  std::vector<double> y, p;
};

/// Spring-block support depths used by the trapezoidal envelope; kept from an
/// earlier problem when a spring block does not set them.
struct SupportDepths {
  double top = 0.0;
  double bottom = 0.0;
  int n_spring_rows = 0;
};

/// Everything read for one problem.
struct Problem {
  std::string title;  // the 70-character title of this problem
  Control control;
  Increments increments;
  WallModel wall;
  std::vector<Modification> modifications;
  std::vector<PressurePoint> user_pressure;  // earth-pressure code 1
  std::optional<WallRecord> wall_record;     // with the soil records below
  SurchargeRecord surcharge;
  std::vector<SurchargeRow> surcharges;
  std::vector<SoilLayerRecord> layers;
  std::vector<UserCurve> user_curves;
};

}  // namespace kestra
