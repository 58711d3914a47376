// The p-y set-up along the wall: the layer model below the excavation, the
// unit-weight and strength profiles, the generation depths, the report echo,
// the per-point frame every generator writes through, and "SOILDATA".
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "engine_constants.h"
#include "py_context.h"
#include "text_format.h"

namespace kestra {

using fmt::Line;

namespace py {
namespace {

// Water-table tests of a profile depth z (below the excavation level). The
// comparisons allow a small tolerance: a layer boundary given at the water table
// must count as being at it, whatever the last bit of H + z.
bool below_water(const PyInputs& in, double z) { return in.free_height + z > in.water_depth + kDepthTolerance; }
bool above_water(const PyInputs& in, double z) { return in.free_height + z < in.water_depth - kDepthTolerance; }
bool at_water(const PyInputs& in, double z) { return !below_water(in, z) && !above_water(in, z); }

double interpolate(double v0, double v1, double fraction) { return v0 + (v1 - v0) * fraction; }

PyInputs take_inputs(const Problem& problem, const PyHandOver& hand_over) {
  const WallRecord& w = *problem.wall_record;
  PyInputs in;
  in.unit = problem.control.unit;
  in.free_height = w.free_height;
  in.ninc = problem.increments.ninc;
  in.h = problem.increments.h;
  in.wa = w.wa;
  in.wp = w.wp;
  in.water_depth = w.zwb;
  in.gamma_w = water_weight(in.unit);
  in.sigma_v = hand_over.sigma_v_excavation;
  in.pact = hand_over.pact;
  in.ratio = w.wp > 0.0 ? w.wa / w.wp : 0.0;
  if (!(in.ratio >= 1.0)) in.ratio = 1.0;
  in.modifications = problem.modifications;
  return in;
}

// The two unit-weight points of a new layer [top, bottom] (bottom before any cut
// at ZLIM) with total unit weight gamma.
void add_weight_points(PyContext& ctx, double top, double bottom, double gamma) {
  const PyInputs& in = ctx.in;
  double top_depth = top;
  if (!ctx.weight.empty() && top_depth > ctx.weight.back().depth) top_depth = ctx.weight.back().depth;
  // A top at the water table lies under water when the point above it is there
  // too; the first layer's top has nothing above it within the model, so a
  // water table exactly at the excavation level submerges it.
  const bool top_wet = below_water(in, top_depth) ||
                       (at_water(in, top_depth) && (ctx.weight.empty() || at_water(in, ctx.weight.back().depth)));
  ctx.weight.push_back({top_depth, top_wet ? gamma - in.gamma_w : gamma});
  if (!top_wet && above_water(in, top_depth) && below_water(in, bottom)) {
    // The layer's part under water is described by the next layer's submerged
    // points (or the extension below the last layer).
    ctx.weight.push_back({in.water_depth - in.free_height, gamma});
  } else {
    ctx.weight.push_back({bottom, below_water(in, bottom) ? gamma - in.gamma_w : gamma});
  }
}

void add_generation_depths(PyContext& ctx, const PyLayer& layer) {
  const double t = layer.bottom - layer.top;
  // The usual offset of 0.1 would put the first depth below the last in a layer
  // thinner than twice that offset; such a layer gets depths at t/8 from its ends.
  const double offset = t < 2.0 * kGenerationOffset ? 0.125 * t : kGenerationOffset;
  ctx.x.push_back(layer.top + offset);
  ctx.x.push_back(layer.top + 0.25 * t);
  ctx.x.push_back(layer.top + 0.5 * t);
  ctx.x.push_back(layer.top + 0.75 * t);
  ctx.x.push_back(layer.bottom - offset);
}

// Point index k >= 1 of the first profile point with z <= depth(k), or n.
std::size_t find_point(const std::vector<StrengthPoint>& pts, double z) {
  std::size_t k = 1;
  while (k < pts.size() && !(z <= pts[k].depth)) ++k;
  return k;
}

// A profile value at z by the rule of phi, e50 and RQD: at a layer boundary the
// mean of both values, or the one that is set when the other is not. Empty when
// z lies below the profile.
template <typename Member>
std::optional<double> mean_rule_value(const std::vector<StrengthPoint>& pts, double z, Member member) {
  if (pts.size() < 2) return std::nullopt;
  const std::size_t k = find_point(pts, z);
  if (k >= pts.size()) return std::nullopt;
  const double vk = pts[k].*member;
  if (z == pts[k].depth) {
    if (k + 1 < pts.size() && pts[k + 1].depth == pts[k].depth) {
      const double below = pts[k + 1].*member;
      if (vk < kUnsetValue && below >= kUnsetValue) return below;
      if (below < kUnsetValue && vk >= kUnsetValue) return vk;
      return (vk + below) / 2.0;
    }
    return vk;
  }
  const StrengthPoint& a = pts[k - 1];
  if (pts[k].depth == a.depth) return vk;
  return interpolate(a.*member, vk, (z - a.depth) / (pts[k].depth - a.depth));
}

// The console warning of an exhausted profile, as the notes and the report get it.
std::vector<std::string> beyond_profile_warning(double z, const char* is_beyond, const char* curve) {
  return {"", Line().x(29).a("**** WARNING ****").str(),
          Line().x(5).a("THE VALUE OF X =").a(fmt::d(z, 9, 1)).a(is_beyond).str(), Line().x(5).a(curve).str()};
}

[[noreturn]] void stop_beyond_profile(const PyContext& ctx, double z, const char* is_beyond, const char* curve) {
  const std::vector<std::string> warning = beyond_profile_warning(z, is_beyond, curve);
  for (int twice = 0; twice < 2; ++twice)
    for (const std::string& l : warning) ctx.notes->line(l);
  RunAbort abort{{"", ""}};
  abort.lines.insert(abort.lines.end(), warning.begin() + 1, warning.end());
  throw abort;
}

// ---- Echo ----------------------------------------------------------------------

const char* soil_type_line(int code) {
  switch (code) {
    case 1:
      return "THE SOIL IS A SOFT CLAY";
    case 2:
      return "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE";
    case 3:
      return "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE";
    case 4:
      return "THE SOIL IS A SAND";
    case 5:
      return "THE SOIL IS A SILT";
    case 6:
      return "THE LAYER IS ROCK";
    case 7:
      return "THE LAYER IS WEAK ROCK";
    default:
      return nullptr;
  }
}

void write_echo(PyContext& ctx) {
  TextSink& r = *ctx.report;
  const double H = ctx.in.free_height;
  r.empty(2);
  write_starred(r, "*        SOIL LAYERS AND STRENGTH DATA           *");
  r.empty();
  r.empty();
  r.line(Line().x(9).a("X AT THE SURFACE OF EXCAVATION SIDE     = ").f(H, 10, 2).a(ctx.length_label).str());
  r.empty();
  r.line(Line().x(9).i(static_cast<std::int64_t>(ctx.layers.size()), 2).a(" LAYER(S) OF SOIL").str());
  for (std::size_t l = 0; l < ctx.layers.size(); ++l) {
    r.empty();
    r.line(Line().x(9).a("LAYER").i(static_cast<std::int64_t>(l + 1), 3).str());
    if (const char* type = soil_type_line(ctx.layers[l].code)) r.line(Line().x(9).a(type).str());
  }

  r.empty(2);
  r.line(Line().x(9).a("DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH").str());
  r.line(Line().x(27).i(static_cast<std::int64_t>(ctx.weight.size()), 2).a(" POINTS").str());
  r.empty();
  r.line(Line().x(21).a("X,").a(ctx.length_label).x(3).a("WEIGHT,").a(ctx.fl3()).str());
  for (const WeightPoint& w : ctx.weight) r.line(Line().x(10).f(H + w.depth, 15, 4).a(fmt::d(w.gamma, 15, 4)).str());

  r.empty(2);
  r.line(Line().x(9).a("DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH").str());
  r.line(Line().x(27).i(static_cast<std::int64_t>(ctx.strength.size()), 2).a(" POINTS").str());
  r.empty();
  r.line(Line().x(21).a("X,").a(ctx.length_label).x(5).a("S,").a(ctx.fl2()).x(6).a("PHI,DEGREES").x(6).a("E50").str());
  for (const StrengthPoint& s : ctx.strength) {
    Line l;
    l.x(10).f(H + s.depth, 15, 2).x(2).a(fmt::d(s.c, 13, 4)).x(2).f(s.phi * 180.0 / kPiShort, 13, 3);
    if (s.e50 <= kShortLength)
      l.x(7).a("-----");
    else
      l.a(fmt::d(s.e50, 15, 4));
    r.line(l.str());
  }

  if (!ctx.in.modifications.empty()) {
    r.empty();
    r.line(Line().x(9).a("REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS").str());
    r.line(fmt::x(7 + 33));
    r.line(Line().x(7).a("      DEPTH     P-FACTOR     Y-FACTOR        ").str());
    r.empty();
    for (const Modification& m : ctx.in.modifications)
      r.line(Line().x(12).f(m.depth, 7, 2).x(4).f(m.p_multiplier, 6, 2).x(6).f(m.y_multiplier, 6, 2).str());
  }

  r.empty(2);
  r.line(Line().x(8).a("P-Y CURVES DATA").str());
  r.empty();
}

// The user curves' lines of "SOILDATA": station and point count, then point
// number, p and y, both multiplied.
std::string user_curve_text(const std::vector<UserCurve>& curves) {
  std::string text;
  for (const UserCurve& c : curves) {
    const std::size_t n = std::min(c.y.size(), c.p.size());
    text += fmt::free_int(c.station) + fmt::free_int(static_cast<std::int64_t>(n)) + "\n";
    for (std::size_t j = 0; j < n; ++j) {
      const double p = c.p_multiplier * c.p[j];
      const double y = c.y_multiplier * c.y[j];
      if (!std::isfinite(p) || !std::isfinite(y))
        throw problem_error("     ERROR -- A USER-SPECIFIED P-Y CURVE HOLDS A VALUE TOO LARGE TO USE");
      text += fmt::free_int(static_cast<std::int64_t>(j + 1)) + fmt::free_real(p) + fmt::free_real(y) + "\n";
    }
  }
  return text;
}

std::string point_field(double v, PointField field) {
  switch (field) {
    case PointField::kF20_3:
      return fmt::f(v, 20, 3);
    case PointField::kF20_5:
      return fmt::f(v, 20, 5);
    case PointField::kE20_3:
      return fmt::e(v, 20, 3);
    case PointField::kD20_3:
      return fmt::d(v, 20, 3);
  }
  return fmt::f(v, 20, 3);
}

}  // namespace

// ---- Model -------------------------------------------------------------------

PyContext build_py_model(const Problem& problem, const PyHandOver& hand_over, TextSink& report, TextSink& notes) {
  if (!problem.wall_record) throw std::logic_error("p-y generation without a wall record");
  PyContext ctx;
  ctx.in = take_inputs(problem, hand_over);
  ctx.report = &report;
  ctx.notes = &notes;
  const UnitLabels labels = UnitLabels::for_code(ctx.in.unit);
  ctx.length_label = labels.l2;
  ctx.force_label = labels.f3;

  const double H = ctx.in.free_height;
  // Two increments below the wall tip, below the excavation level.
  const double zlim = (ctx.in.ninc + 2) * ctx.in.h - H;
  double d = 0.0;           // running input depth: sum of thicknesses
  double previous_d = 0.0;  // bottom of the previous input layer
  double z = 0.0;           // running depth of the model
  for (const SoilLayerRecord& rec : problem.layers) {
    double t = rec.bottom - previous_d;
    d += t;
    previous_d = rec.bottom;
    if (ctx.layers.empty()) {
      if (d <= H) continue;  // wholly above the excavation level
      t = d - H;
    } else if (t < 0.0) {
      throw problem_error("     ERROR -- SOIL LAYER BOTTOMS BELOW THE EXCAVATION ARE NOT IN ORDER OF DEPTH");
    }
    // A layer of no thickness has nothing to generate; a thin sliver below the
    // excavation level becomes part of the next layer.
    if (t < kMinLayerThickness) continue;
    if (static_cast<int>(ctx.layers.size()) >= kMaxPyLayers) throw storage_error();

    PyLayer layer;
    layer.code = rec.type;
    layer.k = rec.top_values[4];
    layer.top = z;
    layer.bottom = z + t;
    const double full_bottom = layer.bottom;
    const bool truncated = full_bottom > zlim;
    if (truncated) {
      layer.bottom = zlim;
      if (layer.bottom - layer.top < kMinLayerThickness) break;
    }
    z = layer.bottom;

    add_weight_points(ctx, layer.top, full_bottom, rec.top_values[0]);

    const auto& tv = rec.top_values;
    const auto& bv = rec.bottom_values;
    StrengthPoint top{layer.top, tv[1], tv[2], tv[3], tv[5]};
    StrengthPoint bottom{full_bottom, bv[1], bv[2], bv[3], bv[5]};
    if (truncated) {
      const double fraction = (zlim - layer.top) / (full_bottom - layer.top);
      bottom = {zlim, interpolate(tv[1], bv[1], fraction), interpolate(tv[2], bv[2], fraction),
                interpolate(tv[3], bv[3], fraction), interpolate(tv[5], bv[5], fraction)};
    }
    ctx.strength.push_back(top);
    ctx.strength.push_back(bottom);
    add_generation_depths(ctx, layer);
    ctx.layers.push_back(layer);
    if (truncated) break;  // the layer reaching past the wall tip is the last one used
  }

  for (StrengthPoint& s : ctx.strength) s.phi = s.phi * kPiShort / 180.0;
  if (!ctx.weight.empty() && !ctx.strength.empty() && ctx.weight.back().depth < ctx.strength.back().depth) {
    const double gamma = ctx.weight.back().gamma - ctx.in.gamma_w;
    const double depth = ctx.weight.back().depth;
    ctx.weight.push_back({depth, gamma});
    ctx.weight.push_back({ctx.strength.back().depth, gamma});
  }
  return ctx;
}

// ---- Property functions -------------------------------------------------------

double unit_weight_avg(const PyContext& ctx, double z) {
  const std::vector<WeightPoint>& w = ctx.weight;
  if (z < 0.0 || w.empty()) return 0.0;
  if (z < kShortLength) {
    for (const WeightPoint& p : w)
      if (p.gamma > 0.0) return p.gamma;
    return w.back().gamma;
  }
  if (z > w.back().depth) {
    throw RunAbort{{"", "",
                    Line()
                        .x(5)
                        .a("ERROR -- THE VALUE OF X =")
                        .e(z, 10, 3)
                        .a(" IS BEYOND THE EXTENT OF THE UNIT WEIGHT PROFILE")
                        .str()}};
  }
  double sum = 0.0;
  for (std::size_t k = 1; k < w.size(); ++k) {
    const WeightPoint& a = w[k - 1];
    const WeightPoint& b = w[k];
    if (b.depth <= z) {
      sum += (b.depth - a.depth) * (a.gamma + b.gamma) / 2.0;
      continue;
    }
    const double part = z - a.depth;
    if (part >= kShortLength) {
      const double gz = interpolate(a.gamma, b.gamma, part / (b.depth - a.depth));
      sum += part * (a.gamma + gz) / 2.0;
    }
    break;
  }
  return sum / z;
}

double strength_at(const PyContext& ctx, double z) {
  const std::vector<StrengthPoint>& s = ctx.strength;
  const std::size_t k = s.size() < 2 ? s.size() : find_point(s, z);
  if (k >= s.size()) stop_beyond_profile(ctx, z, "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE");
  if (z == s[k].depth) {
    if (k + 1 < s.size() && s[k + 1].depth == s[k].depth) return s[k + 1].c < kUnsetValue ? s[k].c : s[k + 1].c;
    return s[k].c;
  }
  const StrengthPoint& a = s[k - 1];
  if (s[k].depth == a.depth) return s[k].c;
  return interpolate(a.c, s[k].c, (z - a.depth) / (s[k].depth - a.depth));
}

double strength_avg_in_layer(PyContext& ctx, double z, int layer) {
  if (z < 0.0) return 0.0;
  const StrengthPoint& top = ctx.strength.at(2 * static_cast<std::size_t>(layer));
  const StrengthPoint& bottom = ctx.strength.at(2 * static_cast<std::size_t>(layer) + 1);
  if (z - top.depth < kNearLayerTop) return strength_at(ctx, z);
  const double span = bottom.depth - top.depth;
  const double cz = top.c + (span < kShortLength ? 0.0 : (bottom.c - top.c) * (z - top.depth) / span);
  if (z < bottom.depth) return (top.c + cz) / 2.0;
  if (z <= ctx.strength.back().depth) return 0.0;
  TextSink& r = *ctx.report;
  r.empty();
  r.line(Line().x(29).a("**** WARNING ****").str());
  r.line(Line().x(5).a("THE VALUE OF X =").e(z, 9, 2).a("IS BEYOND THE EXTENT OF THE").str());
  r.line(Line().x(5).a("INPUT CURVE FOR STRENGTH").str());
  return (top.c + cz) / 2.0;
}

double friction_angle_at(const PyContext& ctx, double z) {
  const std::optional<double> v = mean_rule_value(ctx.strength, z, &StrengthPoint::phi);
  if (!v) stop_beyond_profile(ctx, z, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE");
  return *v;
}

double e50_at(const PyContext& ctx, double z) {
  if (ctx.strength.empty()) return 0.0;
  return mean_rule_value(ctx.strength, z, &StrengthPoint::e50).value_or(ctx.strength.back().e50);
}

double rqd_at(const PyContext& ctx, double z) {
  if (ctx.strength.empty()) return 0.0;
  return mean_rule_value(ctx.strength, z, &StrengthPoint::sixth).value_or(ctx.strength.back().sixth);
}

double py_width_at(const PyContext& ctx, double /*z*/) { return ctx.in.wp; }

// ---- Frame ---------------------------------------------------------------------

double pass_depth(const PyContext& ctx, double X, int side) { return side == 1 ? X : ctx.in.free_height + X; }

double resistance_depth(const PyContext& ctx, int layer, double depth) {
  const PyLayer& l = ctx.layers[static_cast<std::size_t>(layer)];
  if (layer == 0 || l.code == 6 || l.code == 7) return depth;
  return (depth - l.top) + l.xeq;
}

double clay_offset(const PyContext& ctx, double b, double c) {
  const PyInputs& in = ctx.in;
  double pa = b * in.sigma_v - 2.0 * c * b;
  if (in.pact > kPactActive) pa = std::max(pa, in.pact / in.ratio - 2.0 * c * b);
  if (pa <= kClayOffsetNone || in.pact <= kPactNone) pa = 0.0;
  return pa;
}

double sand_offset(const PyContext& ctx, double b, double ka) {
  const PyInputs& in = ctx.in;
  double pa = in.sigma_v * ka * b;
  if (in.pact > kPactActive) pa = std::max(pa, in.pact / in.ratio);
  if (pa < kSandOffsetNone || in.pact <= kPactNone) pa = 0.0;
  return pa;
}

double silt_offset(const PyContext& ctx, double b, double c, double ka) {
  const PyInputs& in = ctx.in;
  const double cohesion = 2.0 * c * std::sqrt(ka) * b;
  double pa = in.sigma_v * ka * b - cohesion;
  if (in.pact > kPactActive) pa = std::max(pa, in.pact / in.ratio - cohesion);
  if (pa < kSandOffsetNone || in.pact < kSiltPactNone) pa = 0.0;
  return pa;
}

ProblemError layer_error(int layer, const std::string& what) {
  return problem_error(Line().x(5).a("ERROR -- P-Y LAYER").i(layer + 1, 3).a(": ").a(what).str());
}

void emit_branch(PyContext& ctx, int layer, int j, int side, const Branch& br) {
  const double X = ctx.x[static_cast<std::size_t>(j)];
  const double zt = ctx.in.free_height + X;
  const double pm = p_multiplier_at(ctx.in.modifications, ctx.in.wa, ctx.in.wp, ctx.in.free_height, zt);
  const double ym = y_multiplier_at(ctx.in.modifications, zt);
  const double offset = side == 1 ? -br.pa : br.pa;

  CurvePoints out;
  bool finite = std::isfinite(pm) && std::isfinite(ym) && std::isfinite(offset) &&
                (!br.small_modulus || std::isfinite(*br.small_modulus));
  for (double v : br.shown) finite = finite && std::isfinite(v);
  for (int k = 0; k < kBranchPoints; ++k) {
    const auto kk = static_cast<std::size_t>(k);
    out.y[kk] = ym * br.raw.y[kk];
    out.p[kk] = (br.multiply_p ? pm * br.raw.p[kk] : br.raw.p[kk]) + offset;
    finite = finite && std::isfinite(out.y[kk]) && std::isfinite(out.p[kk]);
  }
  if (!finite) {
    throw layer_error(layer, Line().a("THE SOIL DATA GIVE NO FINITE P-Y CURVE AT DEPTH").f(zt, 10, 2).str());
  }

  TextSink& r = *ctx.report;
  if (br.side_heading) {
    r.empty(2);
    r.line(Line().x(9).a(side == 1 ? "AT THE EXCAVATION SIDE" : "AT THE BACKFILL SIDE").str());
  }
  for (const std::string& l : br.heading) r.line(l);
  for (int k = 0; k < kBranchPoints; ++k) {
    const auto kk = static_cast<std::size_t>(k);
    if (br.small_modulus && k >= 1 && out.y[kk] < kSmallDeflection) {
      r.empty();
      r.line(Line().x(29).a("**** WARNING ****").str());
      r.line(Line().x(5).a("DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM").str());
      r.line(Line().x(5).a("USED A SOIL MODULUS OF ").a(fmt::d(*br.small_modulus, 12, 4)).str());
    }
    r.line(Line().x(21).a(point_field(out.y[kk], br.field)).a(point_field(out.p[kk], br.field)).str());
  }
  if (br.multipliers_line) {
    r.empty();
    r.line(Line().x(21).a(" P-Multiplier = ").e(pm, 10, 3).a(" Y-Multiplier = ").e(ym, 10, 3).str());
  }

  // The solver works with these values rounded to three digits.
  std::string& s = ctx.curves_text;
  if (side == 1) {
    s += fmt::free_real(zt) + fmt::free_int(kCurveLines) + "\n";
    ++ctx.n_generated;
  }
  for (int k = 0; k < kBranchPoints; ++k) {
    const auto kk = static_cast<std::size_t>(k);
    s += Line().i(k + 1, 5).x(1).e(out.p[kk], 10, 3).x(1).e(out.y[kk], 10, 3).str();
    s += '\n';
  }
}

void equivalent_depth(PyContext& ctx, int layer, const TopProperties& top) {
  double s = 0.0;
  for (int l = 0; l < layer; ++l) s += ctx.layers[static_cast<std::size_t>(l)].sumpu;
  PyLayer& l = ctx.layers[static_cast<std::size_t>(layer)];
  double xeq = 0.0;
  switch (l.code) {
    case 2:
      xeq = stiff_clay_water_equivalent_depth(s, top.c, top.ca, top.gamma_a, top.b);
      break;
    case 4:
      xeq = sand_equivalent_depth(s, top.b, top.gamma_a, top.phi, top.x0);
      break;
    case 5:
      xeq = silt_equivalent_depth(s, top.b, top.gamma_a, top.phi, top.c, top.x0);
      break;
    case 6:
    case 7:
      return;  // rock has no equivalent depth
    default:
      xeq = clay_equivalent_depth(s, top.c, top.gamma_a, top.b);
      break;
  }
  if (!std::isfinite(s) || !std::isfinite(xeq)) {
    throw layer_error(layer, "NO EQUIVALENT DEPTH: ITS STRENGTH AND UNIT WEIGHT GIVE NO RESISTANCE");
  }
  l.xeq = xeq;
}

void py_dispatch_layers(PyContext& ctx) {
  const int n_depths = static_cast<int>(ctx.x.size());
  int j = 0;
  double previous_bottom = -std::numeric_limits<double>::infinity();
  for (PyLayer& l : ctx.layers) {
    const int first = j;
    while (j < n_depths && ctx.x[static_cast<std::size_t>(j)] <= l.bottom &&
           ctx.x[static_cast<std::size_t>(j)] > previous_bottom)
      ++j;
    previous_bottom = l.bottom;
    l.first = j > first ? first : -1;
    l.last = j > first ? j - 1 : -1;
  }
  bool any = false;
  for (const PyLayer& l : ctx.layers) any = any || l.first >= 0;
  if (any && !(ctx.in.wp > 0.0)) {
    throw problem_error("     ERROR -- THE WIDTH FOR SOIL RESISTANCE MUST BE POSITIVE TO GENERATE P-Y CURVES");
  }
  for (int layer = 0; layer < static_cast<int>(ctx.layers.size()); ++layer) {
    if (ctx.layers[static_cast<std::size_t>(layer)].first < 0) continue;
    switch (ctx.layers[static_cast<std::size_t>(layer)].code) {
      case 2:
        stiff_clay_water_curves(ctx, layer);
        break;
      case 3:
        stiff_clay_dry_curves(ctx, layer);
        break;
      case 4:
        sand_curves(ctx, layer);
        break;
      case 5:
        silt_curves(ctx, layer);
        break;
      case 6:
        strong_rock_curves(ctx, layer);
        break;
      case 7:
        weak_rock_curves(ctx, layer);
        break;
      default:
        soft_clay_curves(ctx, layer);
        break;  // 1, and any code outside 1 ... 7
    }
  }
}

PyOutcome run_py_generation(Problem& problem, const PyHandOver& hand_over, TextSink& report, TextSink& notes) {
  if (!problem.wall_record) throw std::logic_error("p-y generation without a wall record");
  problem.increments.free_height = problem.wall_record->free_height;
  PyOutcome out{build_py_model(problem, hand_over, report, notes), {}};
  write_echo(out.context);
  const std::string users = user_curve_text(problem.user_curves);
  py_dispatch_layers(out.context);
  out.soildata = fmt::free_int(static_cast<std::int64_t>(problem.user_curves.size()) + out.context.n_generated) + "\n" +
                 users + out.context.curves_text;
  return out;
}

}  // namespace py

std::string py_setup(Problem& problem, const PyHandOver& hand_over, TextSink& report, TextSink& notes) {
  return py::run_py_generation(problem, hand_over, report, notes).soildata;
}

}  // namespace kestra
