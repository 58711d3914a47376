// Silt (a c-phi soil: the sand construction of Reese, Cox and Koop 1974 with a
// clay term after Matlock 1970), strong rock, and weak rock (Reese 1997).
#include <algorithm>
#include <cmath>

#include "py_context.h"
#include "text_format.h"

namespace kestra::py {

using fmt::Line;

namespace {

// Silt uses pi itself where sand uses the short 3.1416.
const double kPiSilt = 4.0 * std::atan(1.0);

}  // namespace

// ---- Formulas ------------------------------------------------------------------

double silt_equivalent_depth(double s, double b, double gamma_a, double phi, double c, double x0) {
  return sand_type_equivalent_depth(s, b, gamma_a, phi, c, x0, kPiSilt, 50, true);
}

CurvePoints strong_rock_points(double su, double b, double gamma_a, double d, double pm) {
  const double ei = 2000.0 * su;
  const double y1 = kStrongRockY1 * b;
  const double p1 = ei * y1;
  const double pu = su * b;
  const double y2 = y1 + (pu - p1) / (100.0 * su);
  const double step = y2 / 15.0;
  CurvePoints c;
  c.y[0] = 0.0;
  for (std::size_t k = 1; k < c.y.size(); ++k) c.y[k] = c.y[k - 1] + step;
  for (std::size_t k = 0; k < c.y.size(); ++k) {
    const double y = c.y[k];
    if (y < y1)
      c.p[k] = pm * ei * y;
    else if (y < y2)
      c.p[k] = pm * (p1 + 100.0 * su * (y - y1));
    else
      c.p[k] = 0.5 * gamma_a * b * d;  // residual, without multiplier
  }
  return c;
}

WeakRockCurve weak_rock_points(double qa, double rqd, double krm, double eir, double b, double xr) {
  WeakRockCurve w;
  const double alpha_r = 1.0 - rqd * kRqdReduction;
  if (xr <= 3.0 * b) {
    w.pur = alpha_r * qa * (b + kWeakRockShallow * xr);
    w.kir = (100.0 + 400.0 * xr / (3.0 * b)) * eir;
  } else {
    w.pur = kWeakRockDeep * alpha_r * qa * b;
    w.kir = 500.0 * eir;
  }
  w.yrm = krm * b;
  w.ya = std::pow(0.5 * w.pur / (std::pow(w.yrm, 0.25) * w.kir), 4.0 / 3.0);
  for (std::size_t k = 0; k < w.points.y.size(); ++k) {
    const double y = w.yrm * kWeakRockSteps[k];
    w.points.y[k] = y;
    w.points.p[k] = y < w.ya ? w.kir * y : std::min(0.5 * w.pur * std::pow(y / w.yrm, 0.25), w.pur);
  }
  return w;
}

// ---- Generators ------------------------------------------------------------------

void silt_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  const PyLayer& l = ctx.layers[static_cast<std::size_t>(layer)];
  double x_previous = 0.0, pu_previous = 0.0;
  for (int j = l.first; j <= l.last; ++j) {
    const double X = ctx.x[static_cast<std::size_t>(j)];
    const bool first = j == l.first;
    const double b = py_width_at(ctx, X);
    const double gamma_a = unit_weight_avg(ctx, X);
    const double phi = friction_angle_at(ctx, X);
    const double c = strength_at(ctx, X);
    const double k = l.k;
    const double sin_phi = std::sin(phi);
    if (sin_phi * sin_phi < kNoFriction) {
      TextSink& n = *ctx.notes;
      n.empty(2);
      n.line(Line().x(7).a("WARNING-------The Angle of the slope can not").str());
      n.line(Line().x(7).a("              be greater than the internal  ").str());
      n.line(Line().x(7).a("              friction angle of the sand.   ").str());
      n.empty();
      throw RunAbort{{"", "",
                      Line()
                          .x(5)
                          .a("ERROR -- P-Y LAYER")
                          .i(layer + 1, 3)
                          .a(": A SILT LAYER NEEDS A FRICTION ANGLE ABOVE 0")
                          .str()}};
    }
    const SandAngles a = sand_angles(phi, kPiSilt);
    const double pa = silt_offset(ctx, b, c, a.ka);
    if (first) {
      ctx.layers[static_cast<std::size_t>(layer)].sumpu = 0.0;
      if (layer > 0) equivalent_depth(ctx, layer, {b, c, c, gamma_a, phi, X});
    }
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      const double x = resistance_depth(ctx, layer, d);
      const SandUltimate u = sand_ultimate(x, b, gamma_a, phi, kPiSilt);
      const double puc = soft_clay_ultimate(c, gamma_a, x, b);
      // Unlike sand, silt reads its factors at the resistance depth.
      const double fa = table_factor(x, b, SandTable::kA);
      const double fb = table_factor(x, b, SandTable::kB);
      const double pu = fa * u.ps + puc;
      const double pm = fb * u.ps + puc;
      if (side == 1) {
        double& sumpu = ctx.layers[static_cast<std::size_t>(layer)].sumpu;
        if (!first) sumpu += (X - x_previous) * (pu + pu_previous) / 2.0;
        if (j == l.last) sumpu += (l.bottom - X) * pu;
        pu_previous = pu;
      }
      const double phi_degrees = phi * 180.0 / kPiSilt;
      Branch br;
      br.raw = sand_type_points(b, x, k * x, pu, pm);
      br.pa = pa;
      br.shown = {d, b, phi_degrees, gamma_a, fa, fb, puc, u.ps};
      // The heading's last column is "Pu" and phi in code page 437 (0xED): the
      // report is a single-byte text.
      br.heading = {"",
                    "",
                    Line()
                        .x(5)
                        .a("DEPTH")
                        .x(6)
                        .a("DIAM")
                        .x(6)
                        .a("PHI")
                        .x(2)
                        .a("GAMMA AVG")
                        .x(8)
                        .a("A")
                        .x(9)
                        .a("B")
                        .x(5)
                        .a("Puc")
                        .x(7)
                        .a("Pu\xED")
                        .str(),
                    Line().x(7).a(L).x(8).a(L).x(12).a(ctx.fl3()).str(),
                    Line()
                        .f(d, 10, 2)
                        .f(b, 10, 2)
                        .f(phi_degrees, 10, 1)
                        .e(gamma_a, 10, 3)
                        .f(fa, 10, 2)
                        .f(fb, 10, 2)
                        .e(puc, 10, 3)
                        .e(u.ps, 10, 3)
                        .str(),
                    "",
                    "",
                    Line().x(37).a("Y").x(19).a("P").str(),
                    Line().x(37).a(L).x(16).a(ctx.fl()).str()};
      br.field = PointField::kE20_3;
      emit_branch(ctx, layer, j, side, br);
    }
    x_previous = X;
  }
}

void strong_rock_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  const PyLayer& l = ctx.layers[static_cast<std::size_t>(layer)];
  for (int j = l.first; j <= l.last; ++j) {
    const double X = ctx.x[static_cast<std::size_t>(j)];
    const double b = py_width_at(ctx, X);
    const double qu = strength_at(ctx, X);
    const double su = 0.5 * qu;
    const double gamma_a = unit_weight_avg(ctx, X);
    // The second slope divides by the strength.
    if (!(qu > 0.0)) throw layer_error(layer, "STRONG ROCK NEEDS A COMPRESSIVE STRENGTH ABOVE 0");
    const double zt = ctx.in.free_height + X;
    const double pm = p_multiplier_at(ctx.in.modifications, ctx.in.wa, ctx.in.wp, ctx.in.free_height, zt);
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      Branch br;
      br.raw = strong_rock_points(su, b, gamma_a, d, pm);
      br.multiply_p = false;
      br.side_heading = false;
      br.multipliers_line = false;
      br.shown = {d, b, su};
      br.heading = {"",
                    "",
                    Line()
                        .x(17)
                        .a(side == 1 ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ")
                        .x(5)
                        .a("DIAM")
                        .x(8)
                        .a("C")
                        .x(7)
                        .str(),
                    Line().x(30).a(L).x(12).a(L).x(5).a(ctx.fl2()).x(1).str(),
                    Line().x(24).f(d, 10, 2).x(5).f(b, 10, 3).e(su, 10, 1).str(),
                    Line().x(38).a("Y").x(19).a("P").str(),
                    Line().x(38).a(L).x(15).a(ctx.fl()).str()};
      br.field = PointField::kD20_3;
      emit_branch(ctx, layer, j, side, br);
    }
  }
}

void weak_rock_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  const PyLayer& l = ctx.layers[static_cast<std::size_t>(layer)];
  for (int j = l.first; j <= l.last; ++j) {
    const double X = ctx.x[static_cast<std::size_t>(j)];
    const double b = py_width_at(ctx, X);
    const double qur = strength_at(ctx, X);
    const double gamma_a = unit_weight_avg(ctx, X);
    const double rqd = rqd_at(ctx, X);
    const double krm = e50_at(ctx, X);
    const double eir = l.k;
    if (j != l.first && qur < kNoRockStrength) {
      const std::vector<std::string> warning = {
          "", Line().x(7).a("--------------------WARNING----------------------").str(),
          Line().x(7).a("THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT").str(),
          Line().x(7).a("DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.").str()};
      for (const std::string& w : warning) ctx.notes->line(w);
      RunAbort abort{{""}};
      abort.lines.insert(abort.lines.end(), warning.begin(), warning.end());
      throw abort;
    }
    const double qa = layer == 0 ? strength_avg_in_layer(ctx, X, layer) : (strength_at(ctx, l.top) + qur) / 2.0;
    // yrm = krm b and Kir from Eir are divisors of ya.
    if (!(krm > 0.0) || !(eir > 0.0)) throw layer_error(layer, "WEAK ROCK NEEDS KRM AND A ROCK MASS MODULUS ABOVE 0");
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      const double xr = d - l.top + kRockDepthOffset;
      Branch br;
      br.raw = weak_rock_points(qa, rqd, krm, eir, b, xr).points;
      br.multipliers_line = false;
      br.shown = {d, b, qur, eir, gamma_a, krm};
      br.heading = {
          "",
          "",
          Line().x(14).a("DEPTH").x(5).a("DIAM").x(7).a("Qu").x(7).a(" Eu ").x(3).a("GAMMA AVG").x(6).a("E50").str(),
          Line().x(16).a(L).x(7).a(L).x(4).a(ctx.fl2()).x(1).a(ctx.fl2()).x(1).a(ctx.fl3()).x(1).str(),
          Line().x(10).f(d, 10, 2).f(b, 10, 3).e(qur, 10, 2).e(eir, 10, 2).e(gamma_a, 10, 2).e(krm, 12, 3).str(),
          Line().x(37).a("Y").x(19).a("P").str(),
          Line().x(37).a(L).x(16).a(ctx.fl()).str()};
      br.field = PointField::kE20_3;
      emit_branch(ctx, layer, j, side, br);
    }
  }
}

}  // namespace kestra::py
