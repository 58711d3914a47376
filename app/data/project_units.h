// Conversions between the display units of the grid tables and the units of
// the input data file, for the few columns where the two differ. Shared by
// the writer (divides or multiplies one way) and the reader (the other way).
#pragma once

#include "data/units.h"

namespace kestra {

/// The factors between table values and file values for one unit system.
/// They are applied as exact multiplications and divisions in the directions
/// given, so that a value the writer wrote reads back as held.
struct TFileUnits {
  /// Depths of layers, distributed loads and p-y modification factors are
  /// held in feet in English units and written in inches: file = table x
  /// depth, table = file / depth. A distributed line load held per foot is
  /// written per inch: file = table / depth, table = file x depth.
  long double depth = 1;
  /// Unit weights, per cubic foot in the table and per cubic inch in the
  /// file: file = table / unit_weight, table = file x unit_weight.
  long double unit_weight = 1;
  /// Cohesions, per square foot in the table and per square inch in the
  /// file: file = table / cohesion, table = file x cohesion.
  long double cohesion = 1;
  /// Surcharge distance and strip width, millimetres in an SI table and
  /// metres in the file, since the engine takes every SI length in metres:
  /// file = table / surcharge_length, table = file x surcharge_length.
  long double surcharge_length = 1;

  /// The multipliers for unit code `unit_system` (1 English, 2 SI, other
  /// generic: nothing converted).
  static TFileUnits For(int unit_system) {
    TFileUnits u;
    if (unit_system == kUnitsEnglish) {
      u.depth = 12;
      u.unit_weight = 1728;
      u.cohesion = 144;
    } else if (unit_system == kUnitsSI) {
      u.surcharge_length = 1000;
    }
    return u;
  }
};

}  // namespace kestra
