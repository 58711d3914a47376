// Constants of the earth pressure generator. The short decimals are the
// engine's single-precision values widened to double; each is spelled once,
// here, with the float visible, because reports are compared digit by digit.
#pragma once

#include "engine_constants.h"

namespace kestra {

/// Most layers the split soil profile may hold.
inline constexpr int kMaxProfileLayers = 21;

/// Half of a right angle in degrees: the Rankine wedge angle is 45 -/+ phi/2.
inline constexpr double kRankineBase = 45.0;
/// Peak factor of the apparent-pressure envelope over the computed area
/// (1.2999999523162842).
inline constexpr double kTrapezoidFactor = double(1.3f);
/// Floor put on a non-positive total below the excavation-side water table,
/// times the point number, so the wall still sees a (vanishing) load there
/// (9.999999960041972E-13).
inline constexpr double kTinyTotal = double(1.0e-12f);
/// Pressures and net forces below this count as not positive; the engine uses
/// the same single-precision 1.0E-5 as for depths.
inline constexpr double kSmallPressure = kDepthTolerance;
/// Start values of the lever arms of the layer forces: Z1 and Z2 of layers
/// that carry no force, and Z3 of layers without a tension crack.
inline constexpr double kNoLeverArm = -1000.0;
inline constexpr double kNoCrackLeverArm = -kDepthTolerance;

// Surcharge formulas (elastic solutions with empirical coefficients; Terzaghi
// 1954 as adopted in NAVFAC DM-7.2, 1982, for point and line loads; Boussinesq
// strip solution for strip loads).

/// m = distance / free height at which the near and far formulas meet (0.4000000059604645).
inline constexpr double kSurchargeNearLimit = double(0.4f);
/// 0.4 squared as the engine writes it (0.1599999964237213).
inline constexpr double kSurchargeNearSquare = double(0.16f);
/// Point load, m <= 0.4 (0.2800000011920929).
inline constexpr double kPointNearFactor = double(0.28f);
/// Point load, m > 0.4 (1.7699999809265137).
inline constexpr double kPointFarFactor = double(1.77f);
/// Line load, m <= 0.4 (0.20299999415874481).
inline constexpr double kLineNearFactor = double(0.203f);
/// Line load, m > 0.4, in the layer resultant: 4/pi rounded (1.2730000019073486).
inline constexpr double kLineFarResultantFactor = double(1.273f);
/// Strip load in the layer resultant: 2/pi rounded (0.6366000175476074).
inline constexpr double kStripResultantFactor = double(0.6366f);
/// Slice step of the pressure at a depth, in units of the free height (0.019999999552965164).
inline constexpr double kSurchargeSliceStep = double(0.02f);
/// Number of slices of the pressure at a depth, and per layer for its resultant.
inline constexpr int kSurchargeSlices = 50;
inline constexpr int kLayerResultantSlices = 10;
/// Loads of the working surcharge set at or below this are left out of the
/// layer resultants (9.999999747378752E-05).
inline constexpr double kSurchargeLoadThreshold = double(1.0e-4f);

}  // namespace kestra
