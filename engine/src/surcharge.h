// Lateral pressure of loads on the backfill surface: point, line and strip
// loads at a distance from the wall, by elastic solutions with empirical
// coefficients in the ratios m = distance / free height and n = depth / free
// height. Two evaluations: a resultant per soil layer (for the layer forces)
// and a pressure at a depth (for the distribution, and for user-given earth
// pressure). The uniform surface pressure is not handled here: it is
// overburden and acts through the active coefficient.
#pragma once

#include <vector>

#include "problem_data.h"
#include "report_text.h"
#include "run_errors.h"

namespace kestra {

enum class SurchargeKind { point, line, strip };

/// Which of the two forms of a formula: the layer resultant uses the rounded
/// coefficients 1.273 and 0.6366, the pressure at a depth 4/pi and 2/pi.
enum class SurchargeUse { layer_resultant, pressure_at_depth };

/// The kind of an additional surcharge's type code: 2 line, 3 strip, anything
/// else a point load.
SurchargeKind surcharge_kind(int type);

/// Lateral pressure at `depth` (> 0) of one load of `kind`: `load` (point
/// force, line force per length, or strip pressure), `distance` from the wall
/// (to the strip's centre), strip `width` (strips only), with the excavation at
/// `free_height` (> 0; the caller checks). Point and line loads use the near
/// formula for m <= 0.4 and the far one above.
double surcharge_sigma(SurchargeKind kind, double load, double distance, double width, double depth, double free_height,
                       SurchargeUse use);

/// The surcharge set that the layer forces use: the surcharge record, replaced
/// by each additional surcharge in turn (its load kind set, the other two
/// cleared; a strip width stays until a strip sets a new one).
struct WorkingSurcharge {
  double distance = 0.0, point = 0.0, line = 0.0, strip = 0.0, strip_width = 0.0;
};

/// The working set after all additional surcharges of `problem`.
WorkingSurcharge working_surcharge(const Problem& problem);

/// True when a surcharge formula would be evaluated for `problem`: any
/// additional surcharge, or a load of the working set above the threshold.
bool has_surcharge_loads(const Problem& problem);

/// Adds to `pa1` the resultant of the working set's loads over a layer (top,
/// thickness), slice by slice (10 slices, each load only when above the
/// threshold), and returns the sum. `free_height` > 0.
double add_layer_surcharge_resultant(const WorkingSurcharge& set, double top, double thickness, double free_height,
                                     double pa1);

/// Pressure of the additional surcharges at `depth`: each contributes its value
/// at the deepest of 50 slices (0.02 H apart) lying above `depth`, 0 above the
/// first slice. `free_height` > 0; 0 without rows.
double surcharge_rows_pressure(const std::vector<SurchargeRow>& rows, double depth, double free_height);

/// Writes the "SURCHARGE INFORMATION" section: the uniform surface pressure and
/// the working set after each additional surcharge.
void write_surcharge_information(TextSink& report, const Problem& problem);

/// The run-ending message for surcharges on a wall without a free height.
RunAbort surcharge_free_height_abort();

}  // namespace kestra
