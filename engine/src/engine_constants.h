// Constants of the engine's arithmetic that several modules share. Short
// decimal constants of the engine are single-precision values widened to
// double; they are spelled here once, with the float visible.
#pragma once

namespace kestra {

/// Unit weight of water in English units, lb/in^3 (0.035999998450279236).
inline constexpr double kWaterWeightEnglish = double(0.036f);
/// Unit weight of water in SI units, kN/m^3.
inline constexpr double kWaterWeightSI = 10.0;
/// Degrees per radian as the engine divides by it (57.29579925537109).
inline constexpr double kDegreesPerRadian = double(57.2958f);
/// Pi as the engine writes it where it is not computed (3.141599893569946).
inline constexpr double kPiShort = double(3.1416f);
/// Depth tolerance of the soil profile, 1.0E-5 length units (9.999999747378752E-06).
inline constexpr double kDepthTolerance = double(1.0e-5f);

/// Unit weight of water for a unit code: 10 for SI, otherwise the English value.
inline constexpr double water_weight(int unit_code) { return unit_code == 2 ? kWaterWeightSI : kWaterWeightEnglish; }

}  // namespace kestra
