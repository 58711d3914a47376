// The p-y curve formulas of every soil type as pure functions of the
// properties at one depth: ultimate resistances, the 17 deflections of a branch
// and the resistance at each, and the equivalent depths of lower layers. The
// generators of py_clay.cpp, py_sand.cpp and py_silt_rock.cpp feed them from the
// layer model; tests check them against the published formulations.
#pragma once

#include <array>

#include "py_constants.h"

namespace kestra::py {

/// One branch of a curve: 17 deflections in increasing order and the soil
/// resistance at each, before multipliers and the active-pressure offset.
struct CurvePoints {
  std::array<double, kBranchPoints> y{};
  std::array<double, kBranchPoints> p{};
};

// ---- Clays -------------------------------------------------------------------

/// Soft clay ultimate resistance (Matlock 1970): c b min(Np, 9) with
/// Np = 3 + gamma_a x / c + 0.5 x / b; 0 when c <= 0. b must be positive.
double soft_clay_ultimate(double c, double gamma_a, double x, double b);

/// Soft clay branch (Matlock 1970): deflections 0, 0.008 y50, 0.25 y50 ... 3 y50,
/// 8, 15 and 20 y50; p = 0.5 pu (y/y50)^(1/3) up to 8 y50, pu beyond, and the
/// secant `small_modulus` times y below 1.0E-14. y50 must be positive.
CurvePoints soft_clay_points(double pu, double y50);

/// The secant modulus the soft clay branch uses below a deflection of 1.0E-14:
/// 0.5 pu (y50 / 1.0E-14)^(2/3) / y50. y50 must be positive.
double soft_clay_small_modulus(double pu, double y50);

/// As of stiff clay with free water by depth over width, interpolated in the
/// table 0.223 ... 0.60 and along its last segment beyond 5.
double stiff_clay_as(double depth_over_width);

/// The residual factor R = 1.225 sqrt(As) - 0.75 As - 0.411 of stiff clay with free water.
double stiff_clay_residual(double as);

/// Stiff clay with free water ultimate resistance (Reese, Cox and Koop 1975):
/// min(2 ca b + gamma_a b x + 2.83 ca x, 11 c b).
double stiff_clay_water_ultimate(double c, double ca, double gamma_a, double x, double b);

/// Stiff clay with free water branch (Reese, Cox and Koop 1975) for ultimate
/// resistance pc, factor As, y50 = e50 b and initial modulus ei = k x: the
/// parabola, the two falling segments, the residual, all capped by ei y.
/// y50 must be positive.
CurvePoints stiff_clay_water_points(double pc, double as, double y50, double ei);

/// Stiff clay without free water ultimate resistance (Welch and Reese 1972):
/// min(3 ca b + gamma_a b x + 0.5 ca x, 9 c b).
double stiff_clay_dry_ultimate(double c, double ca, double gamma_a, double x, double b);

/// Stiff clay without free water branch (Welch and Reese 1972):
/// p = 0.5 pu (y/y50)^0.25 up to 16 y50, pu beyond. y50 must be positive.
CurvePoints stiff_clay_dry_points(double pu, double y50);

/// Equivalent depth of a soft clay or stiff clay without free water below other
/// layers (Georgiadis 1983): the depth at which the integral of
/// 3cb + gamma_a b x + 0.5 c x, capped at 9cb beyond xr, reaches `s`.
/// Non-finite when the layer has neither strength nor weight.
double clay_equivalent_depth(double s, double c, double gamma_a, double b);

/// Equivalent depth of a stiff clay with free water: 40 steps of the residual
/// resistance 2 ca b + gamma_a b x + 2.83 ca x times R up to xr, then 11 c b R.
double stiff_clay_water_equivalent_depth(double s, double c, double ca, double gamma_a, double b);

// ---- Sand and silt -----------------------------------------------------------

/// Angles and earth pressure coefficients of a friction angle (radians) for a
/// value of pi: alpha = phi/2, beta = pi/4 + phi/2, K0 = 0.4, Ka, Kp.
struct SandAngles {
  double alpha = 0.0, beta = 0.0, k0 = 0.0, ka = 0.0, kp = 0.0;
};
SandAngles sand_angles(double phi, double pi);

/// Wedge (pst), flow (psd) and governing (ps = min) ultimate resistance of sand.
struct SandUltimate {
  double pst = 0.0, psd = 0.0, ps = 0.0;
};
/// `sand_ultimate` (Reese, Cox and Koop 1974) at resistance depth x for width b,
/// average effective unit weight gamma_a and friction angle phi (radians); `pi`
/// is the short 3.1416 for sand, 4 atan(1) for silt.
SandUltimate sand_ultimate(double x, double b, double gamma_a, double phi, double pi);

/// Which factor table `table_factor` reads.
enum class SandTable { kA, kB };

/// `table_factor`: A or B at depth/b, interpolated linearly between rows and
/// along the last segment (5 to 6) beyond the table. b must be positive.
double table_factor(double depth, double b, SandTable table);

/// The sand branch shared with silt: straight line ei y, parabola C y^(1/n)
/// from yk to ym = b/60, straight line to (yu = 3b/80, pu), then pu; capped by
/// ei y. When x <= 0 the parabola is not formed and yk = 2b. Deflections 0,
/// ym/12 ... ym, yu, yu + b, yu + 2b, yu + 3b.
CurvePoints sand_type_points(double b, double x, double ei, double pu, double pm);

/// Equivalent depth of a sand layer (Georgiadis 1983): 100 steps of
/// A(x) times the wedge resistance up to xr, then 0.88 gamma_a b G x0.
double sand_equivalent_depth(double s, double b, double gamma_a, double phi, double x0);

/// The search shared by sand and silt: `steps` steps of A(x) times the wedge
/// resistance (plus the clay term 3cb + gamma_a b x + 0.5 c x when `with_clay`)
/// up to xr, then the deep value beyond. 0 when s <= 0.
double sand_type_equivalent_depth(double s, double b, double gamma_a, double phi, double c, double x0, double pi,
                                  int steps, bool with_clay);

/// Equivalent depth of a silt layer: as for sand with 50 steps, the clay term
/// 3cb + gamma_a b x + 0.5 c x added, and 9cb + 0.88 gamma_a b G x0 beyond xr.
double silt_equivalent_depth(double s, double b, double gamma_a, double phi, double c, double x0);

// ---- Rock --------------------------------------------------------------------

/// Strong rock branch: slope 2000 su to 0.0004 b, then 100 su up to y2, the
/// residual 0.5 gamma_a b d from y2 on; `pm` multiplies the rising segments
/// only. Deflections 0, y2/15, ... added one step at a time. su must be positive.
CurvePoints strong_rock_points(double su, double b, double gamma_a, double d, double pm);

/// Weak rock (Reese 1997) at depth xr into the rock.
struct WeakRockCurve {
  CurvePoints points;
  double pur = 0.0;  // ultimate resistance
  double kir = 0.0;  // initial modulus
  double yrm = 0.0;  // krm b
  double ya = 0.0;   // end of the initial straight line
};
/// Weak rock branch: alpha_r = 1 - RQD/150; xr <= 3b: pur = alpha_r qa (b + 1.4 xr),
/// Kir = (100 + 400 xr/(3b)) Eir; deeper: 5.2 alpha_r qa b, 500 Eir; p = Kir y up to
/// ya, then min(0.5 pur (y/yrm)^0.25, pur). krm, eir and b must be positive.
WeakRockCurve weak_rock_points(double qa, double rqd, double krm, double eir, double b, double xr);

}  // namespace kestra::py
