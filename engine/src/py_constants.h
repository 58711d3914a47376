// Constants of the p-y curve generator. The short decimal constants of the
// curve formulas are single-precision values widened to double; results are
// compared digit by digit with the legacy engine, so the float stays visible.
// Whole numbers, halves and quarters are exact and written inline.
#pragma once

#include <array>

namespace kestra::py {

// ---- Layer model and property profiles -------------------------------------

/// Generation depths start and end this far inside a layer (length units).
inline constexpr double kGenerationOffset = double(0.1f);
/// Layers thinner than this below the excavation are not modelled at all.
inline constexpr double kMinLayerThickness = 1.0e-6;
/// Most layers the p-y layer model holds.
inline constexpr int kMaxPyLayers = 15;
/// Deflections per branch of a generated curve.
inline constexpr int kBranchPoints = 17;
/// Lines per generated curve in the scratch transfer (two branches).
inline constexpr int kCurveLines = 34;

/// Depth and thickness tolerance of the property functions (9.999999974752427E-07).
inline constexpr double kShortLength = double(0.000001f);
/// Depth below a layer top still treated as the top (9.999999747378752E-06).
inline constexpr double kNearLayerTop = double(0.00001f);
/// Profile values below this count as unset at a layer boundary.
inline constexpr double kUnsetValue = double(1.0e-20f);

// ---- Active-pressure offset ------------------------------------------------

/// PACT above this brings in the pressure term t2.
inline constexpr double kPactActive = double(0.0001f);
/// PACT at or below this gives no offset (clays, sand).
inline constexpr double kPactNone = double(0.00001f);
/// Clay offsets at or below this are dropped.
inline constexpr double kClayOffsetNone = double(1.0e-10f);
/// Sand and silt offsets below this are dropped.
inline constexpr double kSandOffsetNone = double(0.00001f);
/// Silt: PACT below this gives no offset.
inline constexpr double kSiltPactNone = double(1.0e-10f);

// ---- Modification factors --------------------------------------------------

/// Group reduction applies while Wa/Wp is below this ratio.
inline constexpr double kGroupRatioLimit = double(3.1f);
/// Group reduction 0.5292 r^0.5659 for closely spaced wall elements.
inline constexpr double kGroupFactor = double(0.5292f);
inline constexpr double kGroupExponent = double(0.5659f);

// ---- Clays -------------------------------------------------------------------

/// Deflections below this use the secant modulus E0 (9.9999998245167e-15).
inline constexpr double kSmallDeflection = double(1.0e-14f);
/// Second deflection of the soft clay curve, in y50.
inline constexpr double kSoftClayFirstStep = double(0.008f);

/// Stiff clay with free water (Reese, Cox and Koop 1975).
inline constexpr double kStiffWaterWedge = double(2.83f);
inline constexpr double kStiffWaterR1 = double(1.225f);
inline constexpr double kStiffWaterR3 = double(0.411f);
inline constexpr double kStiffWaterDrop = double(0.055f);
/// Empirical As by depth over width 0, 1, ... 5.
inline constexpr std::array<double, 6> kAsTable = {double(0.223f), double(0.46f), double(0.55f),
                                                   double(0.59f),  double(0.60f), double(0.60f)};

/// Stiff clay without free water: deflections below 16 y50, as fractions of 16 y50.
inline constexpr std::array<double, 13> kStiffDrySteps = {
    double(0.00001f), double(0.00005f), double(0.0001f), double(0.0005f), double(0.001f), double(0.005f), double(0.01f),
    double(0.025f),   double(0.05f),    double(0.075f),  double(0.1f),    double(0.25f),  double(0.5f)};

// ---- Sand and silt (Reese, Cox and Koop 1974) ------------------------------

/// Earth pressure coefficient at rest.
inline constexpr double kK0 = double(0.4f);
/// Depth over width of the rows of the A and B tables.
inline constexpr std::array<double, 10> kFactorDepths = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
inline constexpr std::array<double, 10> kFactorA = {double(2.83f), double(2.48f), double(2.11f), double(1.76f),
                                                    double(1.48f), double(1.23f), double(1.06f), double(0.90f),
                                                    double(0.88f), double(0.88f)};
inline constexpr std::array<double, 10> kFactorB = {double(2.14f), double(1.83f), double(1.54f), double(1.27f),
                                                    double(1.05f), double(0.86f), double(0.71f), double(0.53f),
                                                    double(0.50f), double(0.50f)};
/// The deep value of A, used to extend the equivalent depth beyond xr.
inline constexpr double kFactorADeep = double(0.88f);
/// Friction angles with sin^2 below this count as zero.
inline constexpr double kNoFriction = double(1.0e-10f);

// ---- Rock (Reese 1997) -------------------------------------------------------

/// Strong rock: end of the initial slope, in widths (0.00039999998989515007).
inline constexpr double kStrongRockY1 = double(0.0004f);
/// Weak rock: RQD reduction per percent (0.006666666828095913).
inline constexpr double kRqdReduction = double(1.0f / 150.0f);
inline constexpr double kWeakRockShallow = double(1.4f);
inline constexpr double kWeakRockDeep = double(5.2f);
/// Added to the depth into the rock (9.99999993922529e-09).
inline constexpr double kRockDepthOffset = double(1.0e-8f);
/// Weak rock strengths below this count as zero.
inline constexpr double kNoRockStrength = double(1.0e-10f);
/// Weak rock deflections in yrm.
inline constexpr std::array<double, 17> kWeakRockSteps = {double(0.0005f),
                                                          double(0.001f),
                                                          double(0.003f),
                                                          double(0.006f),
                                                          double(0.009f),
                                                          double(0.02f),
                                                          double(0.04f),
                                                          double(0.06f),
                                                          double(0.08f),
                                                          double(0.1f),
                                                          0.25,
                                                          0.5,
                                                          0.75,
                                                          1.0,
                                                          4.0,
                                                          8.0,
                                                          12.0};

}  // namespace kestra::py
