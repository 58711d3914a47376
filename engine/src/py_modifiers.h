// p- and y-multipliers of the generated p-y curves by depth: from the user's
// modification table, or without one from the group reduction for closely
// spaced wall elements.
#pragma once

#include <vector>

#include "problem_data.h"

namespace kestra::py {

/// `p_multiplier_at`: the p-multiplier at depth zt below the top of the wall.
/// With table rows: 1.0 above the first row and below the last, the lower row
/// at a step, linear between rows. Without rows: 0.5292 (wa/wp)^0.5659 at and
/// below the excavation level (free_height) while wa/wp < 3.1, else 1.0 (also
/// for wp <= 0).
double p_multiplier_at(const std::vector<Modification>& table, double wa, double wp, double free_height, double zt);

/// `y_multiplier_at`: the y-multiplier at zt from the same table; 1.0 without rows.
double y_multiplier_at(const std::vector<Modification>& table, double zt);

}  // namespace kestra::py
