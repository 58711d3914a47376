// p- and y-multipliers: the modification table by depth, with its steps and its
// ends, and the group reduction for closely spaced wall elements without one.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "py_modifiers.h"

namespace kestra::py {
namespace {

struct TableRow {
  const char* name;
  std::vector<Modification> table;
  double zt;
  double p, y;
};
class ModificationTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(ModificationTable, MultipliersByDepth) {
  const TableRow& r = GetParam();
  // A table replaces the group reduction: Wa = Wp would otherwise give 0.53.
  EXPECT_DOUBLE_EQ(p_multiplier_at(r.table, 1.0, 1.0, 0.0, r.zt), r.p);
  EXPECT_DOUBLE_EQ(y_multiplier_at(r.table, r.zt), r.y);
}

const std::vector<Modification> kTwoRows = {{0, 1.0, 1.0}, {10, 0.5, 2.0}};
const std::vector<Modification> kStep = {{0, 1.0, 1.0}, {10, 0.5, 1.0}, {10, 0.8, 1.5}, {20, 0.4, 1.0}};
const std::vector<Modification> kStepAtEnd = {{0, 1.0, 1.0}, {10, 0.5, 1.0}, {10, 0.8, 1.5}};

INSTANTIATE_TEST_SUITE_P(Rows, ModificationTable,
                         ::testing::Values(TableRow{"Between", kTwoRows, 5.0, 0.75, 1.5},
                                           TableRow{"AtLast", kTwoRows, 10.0, 0.5, 2.0},
                                           TableRow{"BelowLast", kTwoRows, 10.01, 1.0, 1.0},
                                           TableRow{"AboveFirst", {{2, 0.5, 0.5}, {10, 0.5, 0.5}}, 1.0, 1.0, 1.0},
                                           TableRow{"AtFirst", kTwoRows, 0.0, 1.0, 1.0},
                                           // At a step the lower row wins ...
                                           TableRow{"AtStep", kStep, 10.0, 0.8, 1.5},
                                           TableRow{"BelowStep", kStep, 15.0, 0.6, 1.25},
                                           // ... except at the last depth, where the row found first is used.
                                           TableRow{"StepAtEnd", kStepAtEnd, 10.0, 0.5, 1.0},
                                           TableRow{"OneRow", {{5, 0.3, 0.3}}, 5.0, 1.0, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct GroupRow {
  double wa, wp, free_height, zt;
  double p;
};
class GroupReduction : public ::testing::TestWithParam<GroupRow> {};

TEST_P(GroupReduction, WithoutTableByWidthRatio) {
  const GroupRow& r = GetParam();
  EXPECT_DOUBLE_EQ(p_multiplier_at({}, r.wa, r.wp, r.free_height, r.zt), r.p);
  EXPECT_EQ(y_multiplier_at({}, r.zt), 1.0);
}

// 0.5292 (Wa/Wp)^0.5659 while Wa/Wp < 3.1, at and below the excavation level.
INSTANTIATE_TEST_SUITE_P(
    Ratios, GroupReduction,
    ::testing::Values(GroupRow{1.0, 1.0, 10.0, 12.0, double(0.5292f)},
                      GroupRow{2.0, 1.0, 10.0, 10.0, double(0.5292f) * std::pow(2.0, double(0.5659f))},
                      GroupRow{3.0, 1.0, 10.0, 12.0, double(0.5292f) * std::pow(3.0, double(0.5659f))},
                      GroupRow{3.1, 1.0, 10.0, 12.0, 1.0},  // 3.1 in double is above 3.1 in single
                      GroupRow{5.0, 1.0, 10.0, 12.0, 1.0},
                      GroupRow{1.0, 1.0, 10.0, 9.0, 1.0},     // above the excavation level
                      GroupRow{1.0, 0.0, 10.0, 12.0, 1.0}));  // no resistance width: unbounded ratio

}  // namespace
}  // namespace kestra::py
