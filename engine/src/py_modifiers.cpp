#include "py_modifiers.h"

#include <cmath>
#include <cstddef>

#include "py_constants.h"

namespace kestra::py {
namespace {

// The table procedure shared by both multipliers; `column` picks the value.
template <typename Column>
double table_value(const std::vector<Modification>& table, double zt, Column column) {
  const std::size_t n = table.size();
  if (n == 0 || zt < table[0].depth) return 1.0;
  std::size_t i = 1;
  while (i < n && !(zt <= table[i].depth)) ++i;
  if (i >= n) return 1.0;  // below the last row, or a table of one row
  if (zt == table[n - 1].depth) return column(table[i]);
  if (zt == table[i].depth) {
    // At a step the lower row wins.
    if (i + 1 < n && table[i + 1].depth == table[i].depth) return column(table[i + 1]);
    return column(table[i]);
  }
  // zt lies strictly between rows i-1 and i, so their depths differ.
  const Modification& a = table[i - 1];
  const Modification& b = table[i];
  return column(a) + (column(b) - column(a)) * (zt - a.depth) / (b.depth - a.depth);
}

}  // namespace

double p_multiplier_at(const std::vector<Modification>& table, double wa, double wp, double free_height, double zt) {
  if (table.empty()) {
    // Group reduction for closely spaced elements; an unset resistance width
    // makes the ratio unbounded and so leaves the curves as they are.
    if (wp <= 0.0) return 1.0;
    const double r = wa / wp;
    if (r < kGroupRatioLimit && zt >= free_height) return kGroupFactor * std::pow(r, kGroupExponent);
    return 1.0;
  }
  return table_value(table, zt, [](const Modification& m) { return m.p_multiplier; });
}

double y_multiplier_at(const std::vector<Modification>& table, double zt) {
  return table_value(table, zt, [](const Modification& m) { return m.y_multiplier; });
}

}  // namespace kestra::py
