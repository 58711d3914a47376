// Clay p-y curves: soft clay (Matlock 1970), stiff clay with free water (Reese,
// Cox and Koop 1975) and stiff clay without free water (Welch and Reese 1972),
// with the equivalent depths of clay layers below other layers (Georgiadis 1983).
#include <algorithm>
#include <cmath>

#include "py_context.h"
#include "text_format.h"

namespace kestra::py {

using fmt::Line;

// ---- Formulas ------------------------------------------------------------------

double soft_clay_ultimate(double c, double gamma_a, double x, double b) {
  if (!(c > 0.0)) return 0.0;
  const double np = 3.0 + gamma_a * x / c + 0.5 * x / b;
  return c * b * std::min(np, 9.0);
}

double soft_clay_small_modulus(double pu, double y50) {
  return 0.5 * pu * std::pow(y50 / kSmallDeflection, 2.0 / 3.0) / y50;
}

CurvePoints soft_clay_points(double pu, double y50) {
  CurvePoints c;
  c.y[0] = 0.0;
  c.y[1] = kSoftClayFirstStep * y50;
  for (int k = 1; k <= 12; ++k) c.y[static_cast<std::size_t>(k + 1)] = 0.25 * k * y50;
  c.y[14] = 8.0 * y50;
  c.y[15] = 15.0 * y50;
  c.y[16] = 20.0 * y50;
  const double e0 = soft_clay_small_modulus(pu, y50);
  for (std::size_t k = 0; k < c.y.size(); ++k) {
    const double y = c.y[k];
    if (y < kSmallDeflection)
      c.p[k] = y * e0;
    else if (y <= 8.0 * y50)
      c.p[k] = 0.5 * pu * std::pow(y / y50, 1.0 / 3.0);
    else
      c.p[k] = pu;
  }
  return c;
}

double stiff_clay_as(double r) {
  // Rows at depth/width 0, 1, ... 5; the last segment carries on beyond 5.
  std::size_t i = 1;
  while (i < kAsTable.size() && !(r < static_cast<double>(i))) ++i;
  if (i >= kAsTable.size()) i = kAsTable.size() - 1;
  const double r0 = static_cast<double>(i - 1);
  return kAsTable[i - 1] + (kAsTable[i] - kAsTable[i - 1]) * (r - r0);
}

double stiff_clay_residual(double as) { return kStiffWaterR1 * std::sqrt(as) - 0.75 * as - kStiffWaterR3; }

double stiff_clay_water_ultimate(double c, double ca, double gamma_a, double x, double b) {
  const double pct = 2.0 * ca * b + gamma_a * b * x + kStiffWaterWedge * ca * x;
  const double pcd = 11.0 * c * b;
  return std::min(pct, pcd);
}

CurvePoints stiff_clay_water_points(double pc, double as, double y50, double ei) {
  CurvePoints c;
  const double base = as * y50;
  c.y[0] = 0.0;
  for (int k = 1; k <= 12; ++k) c.y[static_cast<std::size_t>(k)] = 0.5 * k * base;
  c.y[13] = 10.0 * base;
  c.y[14] = 14.0 * base;
  c.y[15] = 18.0 * base;
  c.y[16] = 200.0 * base;
  const double plateau = 0.5 * pc * std::sqrt(6.0 * as) - kStiffWaterR3 * pc;
  for (std::size_t k = 0; k < c.y.size(); ++k) {
    const double y = c.y[k];
    double p;
    if (y <= base) {
      p = 0.5 * pc * std::sqrt(y / y50);
    } else if (y <= 6.0 * base) {
      p = 0.5 * pc * std::sqrt(y / y50) - kStiffWaterDrop * pc * std::pow(y / base - 1.0, 1.25);
    } else if (y <= 18.0 * base) {
      p = plateau - 0.0625 * pc * (y - 6.0 * base) / y50;
    } else {
      p = plateau - 0.75 * pc * as;
    }
    c.p[k] = std::min(p, ei * y);
  }
  return c;
}

double stiff_clay_dry_ultimate(double c, double ca, double gamma_a, double x, double b) {
  const double pct = 3.0 * ca * b + gamma_a * b * x + 0.5 * ca * x;
  const double pcd = 9.0 * c * b;
  return std::min(pct, pcd);
}

CurvePoints stiff_clay_dry_points(double pu, double y50) {
  CurvePoints c;
  const double y16 = 16.0 * y50;
  c.y[0] = 0.0;
  for (std::size_t k = 0; k < kStiffDrySteps.size(); ++k) c.y[k + 1] = y16 * kStiffDrySteps[k];
  c.y[14] = y16;
  c.y[15] = 18.0 * y50;
  c.y[16] = 20.0 * y50;
  for (std::size_t k = 0; k < c.y.size(); ++k) {
    const double y = c.y[k];
    c.p[k] = y <= y16 ? 0.5 * pu * std::pow(y / y50, 0.25) : pu;
  }
  return c;
}

double clay_equivalent_depth(double s, double c, double gamma_a, double b) {
  // Nothing above to match: the layer starts at its own surface.
  if (s <= 0.0) return 0.0;
  const double xr = 6.0 * c * b / (0.5 * c + gamma_a * b);
  const double f = 3.0 * c * b * xr + gamma_a * b * xr * xr / 2.0 + c * xr * xr / 4.0;
  if (s > f) return (s - f) / (9.0 * c * b) + xr;
  const double a = 0.25 * c + 0.5 * gamma_a * b;
  const double lin = 3.0 * c * b;
  return (-lin + std::sqrt(lin * lin + 4.0 * a * s)) / (2.0 * a);
}

double stiff_clay_water_equivalent_depth(double s, double c, double ca, double gamma_a, double b) {
  if (s <= 0.0) return 0.0;
  const double xr = (11.0 * c * b - 2.0 * ca * b) / (kStiffWaterWedge * ca + gamma_a * b);
  const double step = xr / 40.0;
  double f = 0.0;
  double r = 0.0;
  for (int i = 1; i <= 40; ++i) {
    const double xi = i * step;
    r = stiff_clay_residual(stiff_clay_as(xi / b));
    const double previous = f;
    f += (kStiffWaterWedge * ca * xi + 2.0 * ca * b + gamma_a * b * xi) * r * step;
    if (f > s) return xi - (f - s) * step / (f - previous);
  }
  return (s - f) / (11.0 * c * b * r) + xr;
}

// ---- Generators ------------------------------------------------------------------

namespace {

const PyLayer& layer_of(const PyContext& ctx, int layer) { return ctx.layers[static_cast<std::size_t>(layer)]; }
double depth_at(const PyContext& ctx, int j) { return ctx.x[static_cast<std::size_t>(j)]; }

void require_y50(int layer, double y50) {
  if (!(y50 > 0.0)) throw layer_error(layer, "E50 AND THE WIDTH MUST BE POSITIVE TO FORM A CLAY P-Y CURVE");
}

}  // namespace

void soft_clay_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  double x_previous = 0.0;
  for (int j = layer_of(ctx, layer).first; j <= layer_of(ctx, layer).last; ++j) {
    const double X = depth_at(ctx, j);
    const double b = py_width_at(ctx, X);
    const double c = strength_at(ctx, X);
    const double gamma_a = unit_weight_avg(ctx, X);
    const double e50 = e50_at(ctx, X);
    const double pa = clay_offset(ctx, b, c);
    const bool first = j == layer_of(ctx, layer).first;
    if (first) {
      ctx.layers[static_cast<std::size_t>(layer)].sumpu = 0.0;
      if (layer > 0) equivalent_depth(ctx, layer, {b, c, c, gamma_a, 0.0, X});
    }
    const double y50 = 2.5 * e50 * b;
    require_y50(layer, y50);
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      const double x = resistance_depth(ctx, layer, d);
      const double pu = soft_clay_ultimate(c, gamma_a, x, b);
      if (side == 1 && !first) ctx.layers[static_cast<std::size_t>(layer)].sumpu += pu * (X - x_previous);
      Branch br;
      br.raw = soft_clay_points(pu, y50);
      br.small_modulus = soft_clay_small_modulus(pu, y50);
      br.pa = pa;
      br.shown = {d, b, c, gamma_a, e50};
      br.heading = {"",
                    Line().x(9).a("DEPTH BELOW GS").x(6).a("DIAM").x(8).a("C").x(6).a("GAMMA AVG").x(6).a("E50").str(),
                    Line().x(15).a(L).x(13).a(L).x(5).a(ctx.fl2()).x(2).a(ctx.fl3()).str(),
                    Line()
                        .x(8)
                        .f(d, 10, 2)
                        .x(6)
                        .f(b, 10, 3)
                        .x(1)
                        .a(fmt::d(c, 10, 4))
                        .x(1)
                        .a(fmt::d(gamma_a, 10, 4))
                        .x(1)
                        .a(fmt::d(e50, 12, 4))
                        .str(),
                    "",
                    Line().x(37).a("Y,").a(L).x(13).a("P,").a(ctx.fl()).str()};
      br.field = PointField::kF20_3;
      emit_branch(ctx, layer, j, side, br);
    }
    x_previous = X;
  }
}

void stiff_clay_water_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  double x_previous = 0.0, c_previous = 0.0, pc_previous = 0.0;
  double integral = 0.0;  // running integral of c over the layer's depths (layers below the first)
  const int j_first = layer_of(ctx, layer).first;
  for (int j = j_first; j <= layer_of(ctx, layer).last; ++j) {
    const double X = depth_at(ctx, j);
    const bool first = j == j_first;
    const double b = py_width_at(ctx, X);
    const double c = strength_at(ctx, X);
    const double gamma_a = unit_weight_avg(ctx, X);
    const double e50 = e50_at(ctx, X);
    const double k = layer_of(ctx, layer).k;
    double ca;
    if (layer == 0) {
      ca = strength_avg_in_layer(ctx, X, layer);
    } else if (first) {
      ca = c;
      integral = 0.0;
    } else {
      integral += (X - x_previous) * (c_previous + c) / 2.0;
      const double span = X - depth_at(ctx, j_first);
      // Coincident depths (a layer of 0.4 exactly) leave the average where it was.
      ca = span != 0.0 ? integral / span : c;
    }
    const double pa = clay_offset(ctx, b, c);
    if (first) {
      ctx.layers[static_cast<std::size_t>(layer)].sumpu = 0.0;
      if (layer > 0) equivalent_depth(ctx, layer, {b, c, ca, gamma_a, 0.0, X});
    }
    const double y50 = e50 * b;
    require_y50(layer, y50);
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      const double x = resistance_depth(ctx, layer, d);
      const double as = stiff_clay_as(d / b);
      const double pc = stiff_clay_water_ultimate(c, ca, gamma_a, x, b);
      if (side == 1) {
        if (!first) {
          ctx.layers[static_cast<std::size_t>(layer)].sumpu +=
              (X - x_previous) * ((pc + pc_previous) / 2.0) * stiff_clay_residual(as);
        }
        pc_previous = pc;
      }
      Branch br;
      br.raw = stiff_clay_water_points(pc, as, y50, k * x);
      br.pa = pa;
      br.shown = {d, b, c, ca, gamma_a, e50};
      br.heading = {"", "",
                    Line()
                        .x(9)
                        .a("DEPTH BELOW GS")
                        .x(6)
                        .a("DIAM")
                        .x(8)
                        .a("C")
                        .x(9)
                        .a("CAVG")
                        .x(4)
                        .a("GAMMA AVG")
                        .x(6)
                        .a("E50")
                        .str(),
                    Line().x(15).a(L).x(13).a(L).x(5).a(ctx.fl2()).x(2).a(ctx.fl2()).x(2).a(ctx.fl3()).str(),
                    Line()
                        .x(9)
                        .f(d, 10, 2)
                        .x(5)
                        .f(b, 10, 3)
                        .x(1)
                        .a(fmt::d(c, 10, 2))
                        .x(1)
                        .a(fmt::d(ca, 10, 2))
                        .x(1)
                        .a(fmt::d(gamma_a, 10, 2))
                        .a(fmt::d(e50, 12, 4))
                        .str()};
      br.field = PointField::kF20_3;
      emit_branch(ctx, layer, j, side, br);
    }
    x_previous = X;
    c_previous = c;
  }
}

void stiff_clay_dry_curves(PyContext& ctx, int layer) {
  const std::string& L = ctx.length_label;
  double x_previous = 0.0, pu_previous = 0.0;
  for (int j = layer_of(ctx, layer).first; j <= layer_of(ctx, layer).last; ++j) {
    const double X = depth_at(ctx, j);
    const bool first = j == layer_of(ctx, layer).first;
    const double gamma_a = unit_weight_avg(ctx, X);
    const double e50 = e50_at(ctx, X);
    const double b = py_width_at(ctx, X);
    const double c = strength_at(ctx, X);
    const double ca = strength_avg_in_layer(ctx, X, layer);
    const double pa = clay_offset(ctx, b, c);
    if (first) {
      ctx.layers[static_cast<std::size_t>(layer)].sumpu = 0.0;
      if (layer > 0) equivalent_depth(ctx, layer, {b, c, ca, gamma_a, 0.0, X});
    }
    const double y50 = 2.5 * e50 * b;
    require_y50(layer, y50);
    for (int side = 1; side <= 2; ++side) {
      const double d = pass_depth(ctx, X, side);
      const double x = resistance_depth(ctx, layer, d);
      const double pu = stiff_clay_dry_ultimate(c, ca, gamma_a, x, b);
      if (side == 1) {
        if (!first) ctx.layers[static_cast<std::size_t>(layer)].sumpu += (X - x_previous) * (pu + pu_previous) / 2.0;
        pu_previous = pu;
      }
      Branch br;
      br.raw = stiff_clay_dry_points(pu, y50);
      br.pa = pa;
      br.shown = {d, b, c, ca, gamma_a, e50};
      br.heading = {"",
                    "",
                    Line()
                        .x(10)
                        .a("DEPTH BELOW GS")
                        .x(5)
                        .a("DIAM")
                        .x(8)
                        .a("C")
                        .x(7)
                        .a("CAVG")
                        .x(4)
                        .a("GAMMA AVG")
                        .x(5)
                        .a("E50")
                        .str(),
                    Line().x(16).a(L).x(12).a(L).x(5).a(ctx.fl2()).x(1).a(ctx.fl2()).x(1).a(ctx.fl3()).x(1).str(),
                    Line()
                        .x(10)
                        .f(d, 10, 2)
                        .x(5)
                        .f(b, 10, 3)
                        .a(fmt::d(c, 10, 2))
                        .a(fmt::d(ca, 10, 2))
                        .a(fmt::d(gamma_a, 10, 2))
                        .a(fmt::d(e50, 12, 4))
                        .str(),
                    Line().x(38).a("Y").x(19).a("P").str(),
                    Line().x(38).a(L).x(15).a(ctx.fl()).str()};
      br.field = PointField::kF20_5;
      emit_branch(ctx, layer, j, side, br);
    }
    x_previous = X;
  }
}

}  // namespace kestra::py
