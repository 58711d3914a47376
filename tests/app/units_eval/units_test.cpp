// Unit labels and conversion factors, checked against factors worked out by
// hand from the token table, not from the code.
#include <gtest/gtest.h>

#include <string>

#include "data/units.h"
#include "tables/number_format.h"

namespace kestra {
namespace {

constexpr double kF = 224.8089237;
constexpr double kL = 39.37007874;
constexpr double kL1 = 0.03937007874;
constexpr double kL2 = 3.280839895;

struct LabelRow {
  const char* unit_string;
  int code;
  const char* header;  // unit_label
  const char* entry;   // unit_entry_label
};

class UnitLabels : public ::testing::TestWithParam<LabelRow> {};

TEST_P(UnitLabels, HeaderAndEntryRules) {
  const LabelRow& row = GetParam();
  EXPECT_EQ(unit_label(row.unit_string, row.code), row.header);
  EXPECT_EQ(unit_entry_label(row.unit_string, row.code), row.entry);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnitLabels,
    ::testing::Values(LabelRow{"F/L2^3", 1, "lbs/ft^3", "lbs/ft^3"}, LabelRow{"F/L2^3", 2, "kN/m^3", "kN/m^3"},
                      // The two rules part in generic units: headers relabel, fields do not.
                      LabelRow{"F/L2^3", 3, "F/L^3", "F/L2^3"}, LabelRow{"L1", 1, "in", "in"},
                      LabelRow{"L1", 2, "mm", "mm"}, LabelRow{"L1", 3, "L", "L1"}, LabelRow{"L2", 2, "m", "m"},
                      LabelRow{"F-L/RAD.", 1, "lbs-in/RAD.", "lbs-in/RAD."},
                      LabelRow{"F-L/RAD.", 2, "kN-m/RAD.", "kN-m/RAD."}, LabelRow{"F/L^2", 1, "lbs/in^2", "lbs/in^2"},
                      LabelRow{"F-L^2", 2, "kN-m^2", "kN-m^2"}, LabelRow{"F4", 1, "lb-sec2/in", "lb-sec2/in"},
                      LabelRow{"F4", 3, "M", "F4"}, LabelRow{"F6", 1, "slug", "slug"}, LabelRow{"F5", 3, "T", "F5"},
                      LabelRow{"L3", 1, "rad", "rad"},
                      // Entry fields replace only the first token of each kind found.
                      LabelRow{"F1-F", 1, "kips-lbs", "kips-F"}, LabelRow{"L2-L", 1, "ft-in", "ft-L"},
                      // Any code but 1 and 2 is generic.
                      LabelRow{"F/L2^3", 0, "F/L^3", "F/L2^3"}, LabelRow{"F/L2^3", 7, "F/L^3", "F/L2^3"},
                      LabelRow{"deg.", 1, "deg.", "deg."}, LabelRow{"SEE NOTES", 2, "SEE NOTES", "SEE NOTES"},
                      LabelRow{"", 1, "", ""}));

struct FactorRow {
  const char* unit_string;
  double si_to_english;
};

class UnitFactors : public ::testing::TestWithParam<FactorRow> {};

TEST_P(UnitFactors, BothDirectionsAndNoneOtherwise) {
  const FactorRow& row = GetParam();
  EXPECT_NEAR(unit_factor(2, 1, row.unit_string), row.si_to_english, 1e-12 * row.si_to_english);
  EXPECT_NEAR(unit_factor(1, 2, row.unit_string), 1.0 / row.si_to_english, 1e-12 / row.si_to_english);
  // Same system, and every change to or from generic units, converts nothing.
  for (auto [from, to] : {std::pair{1, 1}, {2, 2}, {1, 3}, {3, 1}, {2, 3}, {3, 2}, {0, 1}, {2, 4}})
    EXPECT_EQ(unit_factor(from, to, row.unit_string), 1.0) << from << "->" << to;
}

INSTANTIATE_TEST_SUITE_P(Table, UnitFactors,
                         ::testing::Values(FactorRow{"L", kL}, FactorRow{"L1", kL1}, FactorRow{"L2", kL2},
                                           FactorRow{"F", kF}, FactorRow{"F-L", kF* kL}, FactorRow{"F-L^2", kF* kL* kL},
                                           FactorRow{"F/L", kF / kL}, FactorRow{"F/L2", kF / kL2},
                                           FactorRow{"F/L^2", kF / (kL * kL)}, FactorRow{"F/L^3", kF / (kL * kL * kL)},
                                           FactorRow{"F/L2^2", kF / (kL2 * kL2)},
                                           FactorRow{"F/L2^3", kF / (kL2 * kL2 * kL2)}, FactorRow{"F-L/RAD.", kF* kL},
                                           FactorRow{"F1", 0.2248089237}, FactorRow{"F2/L2", 0.1124044745 / kL2},
                                           FactorRow{"F^2-L", kF* kF* kL}, FactorRow{"deg.", 1.0},
                                           FactorRow{"SEE NOTES", 1.0}, FactorRow{"", 1.0}));

TEST(UnitFactors, WorkedExamples) {
  EXPECT_NEAR(unit_factor(2, 1, "F/L2^3"), 6.365880, 5e-7);
  // A wall stiffness of 1 lbs-in^2 and a layer depth of 10 ft in SI.
  EXPECT_DOUBLE_EQ(unit_factor(1, 2, "F-L^2"), 1.0 / (kF * kL * kL));
  EXPECT_EQ(format_general8(10 * unit_factor(1, 2, "L2")), "3.048");
  // English -> other -> SI keeps the numbers.
  EXPECT_EQ(unit_factor(1, 3, "L2") * unit_factor(3, 2, "L2"), 1.0);
}

TEST(UnitCodes, ClampAndCaptions) {
  EXPECT_EQ(clamp_unit_code(-5), 1);
  EXPECT_EQ(clamp_unit_code(2), 2);
  EXPECT_EQ(clamp_unit_code(99), 3);
  EXPECT_EQ(unit_menu_caption(1), "&English Units (lbs, in)");
  EXPECT_EQ(unit_menu_caption(2), "&SI Units (kN, m)");
  EXPECT_EQ(unit_menu_caption(3), "&Other Units (F, L)");
  EXPECT_EQ(unit_menu_caption(0), "&English Units (lbs, in)");
}

TEST(ScalarFactors, ProjectConstantsOnlyBetweenEnglishAndSI) {
  const ScalarFactors to_si = scalar_factors(1, 2);
  EXPECT_EQ(to_si.length, 0.0254);
  EXPECT_EQ(to_si.force, 0.004448222468060651);
  EXPECT_DOUBLE_EQ(to_si.force_per_length(), 0.004448222468060651 / 0.0254);
  EXPECT_DOUBLE_EQ(to_si.force_per_area(), 0.004448222468060651 / (0.0254 * 0.0254));
  const ScalarFactors to_english = scalar_factors(2, 1);
  EXPECT_EQ(to_english.length, 39.3701);
  EXPECT_EQ(to_english.force, 224.8089);
  // The directions do not cancel: 100 in comes back as 100.000054 in.
  EXPECT_NEAR(100 * to_si.length * to_english.length, 100.000054, 1e-9);
  for (auto [from, to] : {std::pair{1, 1}, {2, 2}, {1, 3}, {3, 2}, {2, 3}})
    EXPECT_EQ(scalar_factors(from, to).length, 1.0) << from << "->" << to;
  // Codes are clamped: 0 is English, 9 is generic.
  EXPECT_EQ(scalar_factors(0, 2).length, 0.0254);
  EXPECT_EQ(scalar_factors(2, 9).force, 1.0);
}

}  // namespace
}  // namespace kestra
