// Sand p-y curves (Reese, Cox and Koop 1974): wedge and flow resistance, the
// empirical factors A and B, the straight line, parabola and linear section,
// and the equivalent depth of a sand layer below other layers (Georgiadis 1983).
#include <algorithm>
#include <cmath>

#include "engine_constants.h"
#include "py_context.h"
#include "text_format.h"

namespace kestra::py {

using fmt::Line;

SandAngles sand_angles(double phi, double pi) {
  SandAngles a;
  a.alpha = phi / 2.0;
  a.beta = pi / 4.0 + phi / 2.0;
  a.k0 = kK0;
  const double ta = std::tan(pi / 4.0 - phi / 2.0);
  const double tp = std::tan(pi / 4.0 + phi / 2.0);
  a.ka = ta * ta;
  a.kp = tp * tp;
  return a;
}

SandUltimate sand_ultimate(double x, double b, double gamma_a, double phi, double pi) {
  const SandAngles a = sand_angles(phi, pi);
  const double tan_phi = std::tan(phi);
  const double sin_beta = std::sin(a.beta);
  const double tan_beta = std::tan(a.beta);
  const double tan_beta_phi = std::tan(a.beta - phi);
  const double cos_alpha = std::cos(a.alpha);
  const double tan_alpha = std::tan(a.alpha);
  SandUltimate u;
  u.pst = gamma_a * x *
          (a.k0 * x * tan_phi * sin_beta / (tan_beta_phi * cos_alpha) +
           tan_beta / tan_beta_phi * (b + x * tan_beta * tan_alpha) +
           a.k0 * x * tan_beta * (tan_phi * sin_beta - tan_alpha) - a.ka * b);
  // Integer powers, as repeated squaring.
  const double t2 = tan_beta * tan_beta;
  const double t4 = t2 * t2;
  const double t8 = t4 * t4;
  u.psd = a.ka * b * gamma_a * x * (t8 - 1.0) + a.k0 * b * gamma_a * x * tan_phi * t4;
  u.ps = std::min(u.pst, u.psd);
  return u;
}

double table_factor(double depth, double b, SandTable table) {
  const auto& v = table == SandTable::kA ? kFactorA : kFactorB;
  const auto& r = kFactorDepths;
  const double ratio = depth / b;
  std::size_t i = 1;
  while (i < r.size() && !(ratio < r[i])) ++i;
  if (i >= r.size()) i = r.size() - 1;  // beyond the table: along the last segment
  return v[i - 1] + (v[i] - v[i - 1]) * (ratio - r[i - 1]) / (r[i] - r[i - 1]);
}

CurvePoints sand_type_points(double b, double x, double ei, double pu, double pm) {
  const double yu = 3.0 * b / 80.0;
  const double ym = b / 60.0;
  const double m = (pu - pm) / (yu - ym);
  double n = 1.0, c = 0.0, yk = 2.0 * b;
  if (x > 0.0) {
    n = pm / (m * ym);
    c = pm / std::pow(ym, 1.0 / n);
    yk = std::pow(c / ei, n / (n - 1.0));
  }
  CurvePoints pts;
  const double step = ym / 12.0;
  for (int k = 0; k <= 12; ++k) pts.y[static_cast<std::size_t>(k)] = k * step;
  pts.y[13] = yu;
  pts.y[14] = yu + b;
  pts.y[15] = yu + 2.0 * b;
  pts.y[16] = yu + 3.0 * b;
  for (std::size_t k = 0; k < pts.y.size(); ++k) {
    const double y = pts.y[k];
    double p;
    if (y <= yk)
      p = ei * y;
    else if (y <= ym)
      p = c * std::pow(y, 1.0 / n);
    else if (y <= yu)
      p = pm + m * (y - ym);
    else
      p = pu;
    pts.p[k] = std::min(p, ei * y);
  }
  return pts;
}

namespace {

// The coefficients D, E and G of the wedge and flow resistances written as
// pst = gamma_a b^2 ((x/b) D + (x/b)^2 E) and psd = gamma_a b x G.
struct WedgeCoefficients {
  double d = 0.0, e = 0.0, g = 0.0;
};
WedgeCoefficients wedge_coefficients(double phi, double pi) {
  const SandAngles a = sand_angles(phi, pi);
  const double tan_phi = std::tan(phi);
  const double tan_alpha = std::tan(a.alpha);
  WedgeCoefficients w;
  w.d = a.kp - a.ka;
  w.e = std::tan(a.beta) *
        (a.k0 * (tan_phi * std::sin(a.beta) * (1.0 / std::cos(a.alpha) + 1.0) - tan_alpha) + a.kp * tan_alpha);
  w.g = a.kp * a.kp * (a.kp + a.k0 * tan_phi) - a.ka;
  return w;
}

}  // namespace

// The sand and silt searches share everything but the step count, the clay
// term and the deep extension.
double sand_type_equivalent_depth(double s, double b, double gamma_a, double phi, double c, double x0, double pi,
                                  int steps, bool with_clay) {
  if (s <= 0.0) return 0.0;
  const WedgeCoefficients w = wedge_coefficients(phi, pi);
  const double xr = b * (w.g - w.d) / w.e;
  const double step = xr / steps;
  double f = 0.0;
  for (int i = 1; i <= steps; ++i) {
    const double xi = i * step;
    const double a = table_factor(xi, b, SandTable::kA);
    const double r = xi / b;
    const double previous = f;
    double grow = gamma_a * b * b * (r * r * w.e + r * w.d) * a * step;
    if (with_clay) grow += (3.0 * c * b + gamma_a * b * xi + 0.5 * c * xi) * step;
    f += grow;
    if (f > s) return xi - (f - s) * step / (f - previous);
  }
  const double deep = kFactorADeep * gamma_a * b * w.g * x0 + (with_clay ? 9.0 * c * b : 0.0);
  return (s - f) / deep + xr;
}

double sand_equivalent_depth(double s, double b, double gamma_a, double phi, double x0) {
  return sand_type_equivalent_depth(s, b, gamma_a, phi, 0.0, x0, kPiShort, 100, false);
}

void sand_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  const PyLayer& l = ctx.layers[static_cast<std::size_t>(layer)];
  double x_previous = 0.0, pu_previous = 0.0;
  for (int j = l.first; j <= l.last; ++j) {
    const double X = ctx.x[static_cast<std::size_t>(j)];
    const bool first = j == l.first;
    const double b = py_width_at(ctx, X);
    const double gamma_a = unit_weight_avg(ctx, X);
    const double phi = friction_angle_at(ctx, X);
    const double k = l.k;
    // Without friction the wedge and flow resistances vanish and the parabola
    // is 0/0: a sand layer needs its friction angle.
    const double sin_phi = std::sin(phi);
    if (sin_phi * sin_phi < kNoFriction) throw layer_error(layer, "A SAND LAYER NEEDS A FRICTION ANGLE ABOVE 0");
    const SandAngles a = sand_angles(phi, kPiShort);
    const double pa = sand_offset(ctx, b, a.ka);
    if (first) {
      ctx.layers[static_cast<std::size_t>(layer)].sumpu = 0.0;
      if (layer > 0) equivalent_depth(ctx, layer, {b, 0.0, 0.0, gamma_a, phi, X});
    }
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      const double x = resistance_depth(ctx, layer, d);
      const SandUltimate u = sand_ultimate(x, b, gamma_a, phi, kPiShort);
      const double fa = table_factor(d, b, SandTable::kA);
      const double fb = table_factor(d, b, SandTable::kB);
      const double pu = fa * u.ps;
      const double pm = fb * u.ps;
      if (side == 1) {
        double& sumpu = ctx.layers[static_cast<std::size_t>(layer)].sumpu;
        if (!first) sumpu += (X - x_previous) * (pu + pu_previous) / 2.0;
        if (j == l.last) sumpu += (l.bottom - X) * pu;
        pu_previous = pu;
      }
      const double phi_degrees = phi * 180.0 / kPiShort;
      Branch br;
      br.raw = sand_type_points(b, x, k * x, pu, pm);
      br.pa = pa;
      br.shown = {d, b, phi_degrees, gamma_a, fa, fb, u.pst, u.psd};
      br.heading = {"",
                    "",
                    Line()
                        .x(11)
                        .a("DEPTH BELOW GS")
                        .x(2)
                        .a("DIAM")
                        .x(3)
                        .a("PHI")
                        .x(2)
                        .a("GAMMA AVG")
                        .x(4)
                        .a("A")
                        .x(4)
                        .a("B")
                        .x(5)
                        .a("PCT")
                        .x(7)
                        .a("PCD")
                        .str(),
                    Line().x(17).a(L).x(9).a(L).x(9).a(ctx.fl3()).str(),
                    Line()
                        .x(10)
                        .f(d, 10, 2)
                        .x(4)
                        .f(b, 7, 2)
                        .f(phi_degrees, 7, 2)
                        .e(gamma_a, 9, 2)
                        .x(2)
                        .f(fa, 5, 2)
                        .f(fb, 5, 2)
                        .e(u.pst, 9, 2)
                        .e(u.psd, 9, 2)
                        .str(),
                    "",
                    "",
                    Line().x(38).a("Y").x(19).a("P").str(),
                    Line().x(38).a(L).x(15).a(ctx.fl()).str()};
      br.field = PointField::kF20_3;
      emit_branch(ctx, layer, j, side, br);
    }
    x_previous = X;
  }
}

}  // namespace kestra::py
