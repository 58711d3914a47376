// Station arrays, p-y curve store and moment-EI curves of one problem: the data
// the wall solver works on. Filled by the input reader and the soil intake.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kestra {

/// Positions of a station array. Station s lives at position s + kStationOffset;
/// stations -3 ... NINC+3 are addressable, so NINC is at most kMaxIncrements.
inline constexpr int kStationStore = 414;
inline constexpr int kStationOffset = 4;
inline constexpr int kMaxIncrements = kStationStore - 8;  // 406

/// A double per station, indexed by station number (-4 ... 409). Out-of-range
/// stations are a programming error caught by at().
class StationArray {
 public:
  double& operator[](int station) { return values_[static_cast<std::size_t>(station + kStationOffset)]; }
  double operator[](int station) const { return values_[static_cast<std::size_t>(station + kStationOffset)]; }
  double& at(int station) { return values_.at(static_cast<std::size_t>(station + kStationOffset)); }
  double at(int station) const { return values_.at(static_cast<std::size_t>(station + kStationOffset)); }
  void clear() { values_.fill(0.0); }
  /// True when `station` has a position in the store.
  static bool holds(int station) { return station + kStationOffset >= 0 && station + kStationOffset < kStationStore; }

 private:
  std::array<double, kStationStore> values_{};
};

/// Station condition codes of the restraint records.
enum StationCode : int {
  kFree = 1,
  kDeflection = 2,       // deflection specified at this station
  kBeforeSlope = 3,      // station before a specified slope
  kDeflectionSlope = 4,  // deflection and slope specified here
  kAfterSlope = 5,       // station after a specified slope
};

/// One stored restraint row, consumed in order by the solver.
struct RestraintRow {
  double deflection = 0.0;
  double slope = 0.0;
};

/// One p-y curve of the store: points ascending in Y; P is the force on the wall
/// per station (already multiplied by the increment length).
struct PyCurve {
  int start_station = 0;
  int end_station = 0;
  int chain = 0;  // 1: interpolate to the next curve's station
  std::vector<double> y;
  std::vector<double> p;
};
inline constexpr int kMaxCurves = 63;
inline constexpr int kMaxCurvePoints = 34;

/// One moment-EI curve over a station range (2 ... 100 points).
struct EiCurve {
  int from_station = 0;
  int to_station = 0;
  std::vector<double> moment;
  std::vector<double> ei;
};
inline constexpr int kMaxEiCurvePoints = 100;

/// Everything the solver needs of one problem.
struct WallModel {
  int ninc = 0;                           // number of increments
  double h = 0.0;                         // increment length
  double max_deflection = 0.0;            // maximum allowable deflection
  double tolerance = 0.0;                 // deflection closure tolerance
  StationArray ei, q, s, t, r, p;         // p: axial load with reversed sign
  std::array<int, kStationStore> code{};  // station condition codes by position
  std::vector<RestraintRow> restraints;
  std::vector<PyCurve> curves;
  std::vector<EiCurve> ei_curves;

  int& code_at(int station) { return code.at(static_cast<std::size_t>(station + kStationOffset)); }
  int code_at(int station) const { return code.at(static_cast<std::size_t>(station + kStationOffset)); }
};

}  // namespace kestra
