// The three unit systems of the program and the short unit strings that table
// columns and entry fields carry.
//
// Quantities carry no units of their own. A column or field holds a unit string
// built from force tokens (F, F1, F2, F4, F5, F6) and length tokens (L, L1, L2,
// L3), for example "F/L2^3" for a unit weight. From that string and a unit code
// follow the label shown to the user and the factor that converts a stored
// value when the user switches the unit system.
//
// Everything here is a pure function of its arguments, so the project object,
// the grid tables and the dialogs can share it without holding any state.
#pragma once

#include <string>
#include <string_view>

namespace kestra {

/// Unit codes as written into the input data file and the plot data file.
/// Any code other than 1 or 2 means generic force and length units (F, L).
inline constexpr int kUnitsEnglish = 1;  // pounds, inches and feet
inline constexpr int kUnitsSI = 2;       // kilonewtons, metres and millimetres
inline constexpr int kUnitsOther = 3;    // F, L

/// Clamps a unit code into 1..3 (below 1 becomes 1, above 3 becomes 3), as the
/// unit switch and the entry fields do with whatever code they are given.
int clamp_unit_code(int code);

/// Caption of the Units menu command for a code ("&" marks the access key):
/// "&English Units (lbs, in)", "&SI Units (kN, m)", "&Other Units (F, L)".
/// The code is clamped into 1..3 first.
std::string unit_menu_caption(int code);

/// Label of a unit string for table column headers and graph axes: every
/// occurrence of every token is replaced by its label for `unit_code`, tokens
/// tried in the order F2, F1, F4, F5, F6, F, L3, L2, L1, L. Text that is not a
/// token ("/", "^3", "RAD.", "deg.", "SEE NOTES") stays as written. A code
/// other than 1 or 2 gives the generic labels. Never fails.
/// Examples: ("F/L2^3", 1) -> "lbs/ft^3"; ("F/L2^3", 3) -> "F/L^3".
std::string unit_label(std::string_view unit_string, int unit_code);

/// Label of a unit string for entry fields. In generic units (code other than
/// 1 or 2) the unit string is returned unchanged. Otherwise only the first
/// force token found in the order F6, F5, F4, F2, F1, F has its occurrences
/// replaced, then only the first length token found in the order L2, L1, L3, L.
/// Example: ("F/L2^3", 3) -> "F/L2^3" (a table header would read "F/L^3").
std::string unit_entry_label(std::string_view unit_string, int unit_code);

/// The factor by which a value with this unit string is multiplied when the
/// unit system changes from `old_code` to `new_code`. It is the SI-to-English
/// factor of the string (force factor ^ a x length factor ^ c of the numerator,
/// divided by that of the denominator) when converting SI (2) to English (1),
/// its reciprocal from English to SI, and exactly 1 in every other case (same
/// system, or to or from generic units). Strings without tokens ("deg.",
/// "SEE NOTES", "") give 1. Never fails; a malformed exponent counts as 1.
/// Examples: (2, 1, "L2") -> 3.280839895; (2, 1, "F/L2^3") -> 6.365880...
double unit_factor(int old_code, int new_code, std::string_view unit_string);

/// The SI-to-English factor of a unit string, i.e. unit_factor(2, 1, s).
double unit_factor_si_to_english(std::string_view unit_string);

/// Constants for the scalars of the project, which are held in the units of
/// the input data file (inches and pounds, or metres and kilonewtons). They are
/// rounded differently from the table factors on purpose, so that a project
/// converts exactly as it always has: English -> SI -> English turns 100 in
/// into 100.000054 in (0.0254 x 39.3701 = 1.00000054).
inline constexpr double kScalarLengthEnglishToSI = 0.0254;
inline constexpr double kScalarForceEnglishToSI = 0.004448222468060651;
inline constexpr double kScalarLengthSIToEnglish = 39.3701;
inline constexpr double kScalarForceSIToEnglish = 224.8089;

/// Multipliers for the project scalars on a unit switch.
struct ScalarFactors {
  double length = 1.0;  // lengths (IncrementLength, FreeHeight, ...)
  double force = 1.0;   // forces (PointLoad)
  /// Force over length (LineLoad).
  double force_per_length() const { return force / length; }
  /// Force over length squared (SurfacePressure, StripLoad).
  double force_per_area() const { return force / (length * length); }
};

/// The scalar multipliers for a switch from `old_code` to `new_code`: the
/// constants above for English <-> SI, and 1 for every other change (same
/// system, or to or from generic units, where the numbers are kept and read
/// in the new system). Codes are clamped into 1..3 first. Never fails.
ScalarFactors scalar_factors(int old_code, int new_code);

}  // namespace kestra
