#include "surcharge.h"

#include <cmath>
#include <string>

#include "earth_pressure.h"
#include "earth_pressure_constants.h"
#include "text_format.h"

namespace kestra {
namespace {

using fmt::Line;

// The formulas with the depth z and the ratio n = z/H given separately: the
// slices of the pressure at a depth step n in single-precision units and take
// z = n H, so n is not recomputed from z.
double sigma_at(SurchargeKind kind, double load, double distance, double width, double z, double n, double h,
                SurchargeUse use) {
  const double m = distance / h;
  switch (kind) {
    case SurchargeKind::point: {
      if (m <= kSurchargeNearLimit) {
        const double s = kSurchargeNearSquare + n * n;
        return kPointNearFactor * load * n * n / (h * h * (s * s * s));
      }
      const double s = m * m + n * n;
      return kPointFarFactor * load * m * m * n * n / (h * h * (s * s * s));
    }
    case SurchargeKind::line: {
      if (m <= kSurchargeNearLimit) {
        const double s = kSurchargeNearSquare + n * n;
        return kLineNearFactor * load * n / (h * (s * s));
      }
      const double s = m * m + n * n;
      if (use == SurchargeUse::layer_resultant) return kLineFarResultantFactor * load * m * m * n / (h * (s * s));
      return 4.0 * load * m * m * n / (h * kPiShort * (s * s));
    }
    case SurchargeKind::strip: {
      // Elastic strip solution: beta is the angle the strip subtends at the
      // point of the wall; alpha, the angle of the line to the strip's centre
      // from the vertical, stands in for the direction of beta's bisector.
      const double alpha = std::atan(distance / z);
      const double beta = std::atan((distance + width / 2.0) / z) - std::atan((distance - width / 2.0) / z);
      const double shape = beta - std::sin(beta) * std::cos(2.0 * alpha);
      if (use == SurchargeUse::layer_resultant) return kStripResultantFactor * load * shape;
      return 2.0 * load / kPiShort * shape;
    }
  }
  return 0.0;
}

// Sets the working set from one additional surcharge.
void apply_row(WorkingSurcharge& set, const SurchargeRow& row) {
  set.distance = row.x;
  set.point = set.line = set.strip = 0.0;
  switch (surcharge_kind(row.type)) {
    case SurchargeKind::point:
      set.point = row.magnitude;
      break;
    case SurchargeKind::line:
      set.line = row.magnitude;
      break;
    case SurchargeKind::strip:
      set.strip = row.magnitude;
      set.strip_width = row.width;
      break;
  }
}

WorkingSurcharge from_record(const SurchargeRecord& r) { return {r.distance, r.point, r.line, r.strip, r.strip_width}; }

}  // namespace

SurchargeKind surcharge_kind(int type) {
  if (type == 2) return SurchargeKind::line;
  if (type == 3) return SurchargeKind::strip;
  return SurchargeKind::point;
}

double surcharge_sigma(SurchargeKind kind, double load, double distance, double width, double depth, double free_height,
                       SurchargeUse use) {
  return sigma_at(kind, load, distance, width, depth, depth / free_height, free_height, use);
}

WorkingSurcharge working_surcharge(const Problem& problem) {
  WorkingSurcharge set = from_record(problem.surcharge);
  for (const SurchargeRow& row : problem.surcharges) apply_row(set, row);
  return set;
}

bool has_surcharge_loads(const Problem& problem) {
  if (!problem.surcharges.empty()) return true;
  const WorkingSurcharge set = working_surcharge(problem);
  return set.point > kSurchargeLoadThreshold || set.line > kSurchargeLoadThreshold ||
         set.strip > kSurchargeLoadThreshold;
}

double add_layer_surcharge_resultant(const WorkingSurcharge& set, double top, double thickness, double free_height,
                                     double pa1) {
  const double slice = thickness / kLayerResultantSlices;
  auto add = [&](SurchargeKind kind, double load) {
    if (!(load > kSurchargeLoadThreshold)) return;
    for (int i = 1; i <= kLayerResultantSlices; ++i) {
      const double z = top + i * slice;
      pa1 += slice *
             surcharge_sigma(kind, load, set.distance, set.strip_width, z, free_height, SurchargeUse::layer_resultant);
    }
  };
  add(SurchargeKind::point, set.point);
  add(SurchargeKind::line, set.line);
  add(SurchargeKind::strip, set.strip);
  return pa1;
}

double surcharge_rows_pressure(const std::vector<SurchargeRow>& rows, double depth, double free_height) {
  // The deepest slice above the depth is the same for every row. The last
  // slice lies at 50 x 0.02f = 0.99999998 H, so the excavation level and every
  // depth below it take the value just above it.
  int deepest = 0;
  for (int i = 1; i <= kSurchargeSlices; ++i) {
    if (i * kSurchargeSliceStep * free_height < depth) deepest = i;
  }
  if (deepest == 0) return 0.0;
  const double n = deepest * kSurchargeSliceStep;
  const double z = n * free_height;
  double sum = 0.0;
  for (const SurchargeRow& row : rows) {
    sum += sigma_at(surcharge_kind(row.type), row.magnitude, row.x, row.width, z, n, free_height,
                    SurchargeUse::pressure_at_depth);
  }
  return sum;
}

RunAbort surcharge_free_height_abort() {
  return RunAbort{{"", "", "     EXECUTION HAS BEEN TERMINATED BECAUSE SURCHARGE LOADS ARE GIVEN",
                   "     AND THE FREE HEIGHT OF THE WALL IS NOT GREATER THAN ZERO."}};
}

double surcharge_pressure_at(const Problem& problem, double depth, double free_height) {
  if (problem.surcharges.empty()) return 0.0;
  if (!(free_height >= kDepthTolerance)) throw surcharge_free_height_abort();
  const double pressure = surcharge_rows_pressure(problem.surcharges, depth, free_height);
  if (!std::isfinite(pressure)) {
    throw RunAbort{{"", "", "     EXECUTION HAS BEEN TERMINATED BECAUSE THE LATERAL PRESSURE OF THE SURCHARGE",
                    "     LOADS CANNOT BE COMPUTED (VALUES TOO LARGE)."}};
  }
  return pressure;
}

void write_surcharge_information(TextSink& report, const Problem& problem) {
  const UnitLabels u = UnitLabels::for_code(problem.control.unit);
  report.empty(2);
  write_starred(report, "*              SURCHARGE INFORMATION             *");
  report.empty(2);
  report.line(Line()
                  .x(6)
                  .a("UNIFORM SURFACE PRESSURE     =")
                  .e(problem.surcharge.surface, 10, 3)
                  .a(u.f4)
                  .a("/")
                  .a(u.l2)
                  .a("**")
                  .a("2"));
  WorkingSurcharge set = from_record(problem.surcharge);
  int number = 0;
  for (const SurchargeRow& row : problem.surcharges) {
    apply_row(set, row);
    report.empty();
    report.line(Line().x(6).a("SURCHARGE LOADING NO.        = ").i(++number, 10));
    report.line(Line().x(6).a("POINT LOAD                   = ").e(set.point, 10, 3).a(u.f4));
    report.line(Line().x(6).a("LINE LOAD                    = ").e(set.line, 10, 3).a(u.f4).a("/").a(u.l2));
    report.line(
        Line().x(6).a("STRIP LOAD                   = ").e(set.strip, 10, 3).a(u.f4).a("/").a(u.l2).a("**").a("2"));
    report.line(Line().x(6).a("WIDTH OF THE STRIP LOAD      = ").e(set.strip_width, 10, 3).a(u.l3));
    report.line(Line().x(6).a("HORIZONTAL DISTANCE BETWEEN  = ").e(set.distance, 10, 3).a(u.l3));
    report.line(Line().x(6).a("THE WALL AND SURCHARGE         "));
    report.empty();
  }
}

}  // namespace kestra
