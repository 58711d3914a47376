// Entry-field rules: validation messages and the text each leaves, limits
// under integers-only mode, hex display, labels.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tables/data_edit_rules.h"
#include "tables/evaluator.h"

namespace kestra {
namespace {

struct ValidateRow {
  bool integer_only;
  const char* typed;
  const char* message;  // "" for success
  const char* text_after;
  bool valid;
};

class FieldValidation : public ::testing::TestWithParam<ValidateRow> {};

// A field with the limits 1..300, as a typical count field.
TEST_P(FieldValidation, MessageTextAndFlag) {
  const ValidateRow& row = GetParam();
  TDataEditRules field;
  field.SetIntegerOnly(row.integer_only);
  field.SetMinVal(1);
  field.SetMaxVal(300);
  field.SetText(row.typed);
  EXPECT_EQ(field.Validate(), row.message) << row.typed;
  EXPECT_EQ(field.Text(), row.text_after) << row.typed;
  EXPECT_EQ(field.Valid(), row.valid) << row.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldValidation,
    ::testing::Values(ValidateRow{false, "400", "Entry must be less than or equal to 300", "300", false},
                      ValidateRow{false, "-5", "Entry must be greater than or equal to 1", "1", false},
                      ValidateRow{false, "15*2", "", "30", true}, ValidateRow{false, " 2.50 ", "", "2.5", true},
                      ValidateRow{false, "4/3", "", "1.33333333333333333", true},
                      ValidateRow{false, "abc", "Entry could not be evaluated:\rinvalid character(s) in expression",
                                  "abc", false},
                      ValidateRow{false, "", "Entry could not be evaluated:\rentry cannot be blank", "", false},
                      ValidateRow{false, "1/0", "Floating point division by zero", "1/0", false},
                      ValidateRow{true, "2.5", "Entry must be an integer.", "2.5", false},
                      ValidateRow{true, "abc", "Entry must be a valid integer.", "abc", false},
                      ValidateRow{true, "", "Entry must be a valid integer.", "", false},
                      // The integer check comes before the limits.
                      ValidateRow{true, "400.5", "Entry must be an integer.", "400.5", false},
                      ValidateRow{true, "1E3", "Entry must be less than or equal to 300", "300", false},
                      ValidateRow{true, "7", "", "7", true}));

TEST(FieldValidation, FlagIsClearedByAFailureAndSetBySuccess) {
  TDataEditRules field;
  field.SetText("2+");
  EXPECT_FALSE(field.Validate().empty());
  EXPECT_FALSE(field.Valid());
  field.SetText("2+2");
  EXPECT_EQ(field.Validate(), "");
  EXPECT_TRUE(field.Valid());
  EXPECT_EQ(field.Number(), 4);
}

TEST(FieldValidation, OperatorTypedOverWholeSelectionExtendsTheValue) {
  TDataEditRules field;
  field.SetNumber(15);
  // The widget moves the caret to the end, so "*" and "2" are appended.
  ASSERT_TRUE(TDataEditRules::ExtendsValue('*', true));
  field.SetText(field.Text() + "*2");
  EXPECT_EQ(field.Text(), "15*2");
  EXPECT_EQ(field.Validate(), "");
  EXPECT_EQ(field.Text(), "30");
  for (char c : std::string("+-/*^=%!")) EXPECT_TRUE(TDataEditRules::ExtendsValue(c, true)) << c;
  EXPECT_FALSE(TDataEditRules::ExtendsValue('*', false));
  EXPECT_FALSE(TDataEditRules::ExtendsValue('5', true));
  EXPECT_FALSE(TDataEditRules::ExtendsValue('(', true));
}

TEST(FieldLimits, DefaultsAndIntegerOnlyClamping) {
  TDataEditRules field;
  EXPECT_EQ(field.Text(), "0");
  EXPECT_EQ(field.MinVal(), std::numeric_limits<long double>::lowest());
  EXPECT_EQ(field.MaxVal(), std::numeric_limits<long double>::max());
  field.SetIntegerOnly(true);
  EXPECT_EQ(field.MinVal(), -2147483648.0L);
  EXPECT_EQ(field.MaxVal(), 2147483647.0L);
  field.SetMaxVal(1e12L);
  EXPECT_EQ(field.MaxVal(), 2147483647.0L);
}

TEST(FieldLimits, NewLimitMovesTheValueAndNeverCrossesTheOther) {
  TDataEditRules field;
  field.SetNumber(50);
  field.SetMaxVal(10);
  EXPECT_EQ(field.Text(), "10");
  field.SetMinVal(20);  // above MaxVal: lowered to it
  EXPECT_EQ(field.MinVal(), 10);
  field.SetMaxVal(5);  // below MinVal: raised to it
  EXPECT_EQ(field.MaxVal(), 10);
  field.SetMaxVal(100);
  field.SetNumber(500);  // writing clamps too
  EXPECT_EQ(field.Text(), "100");
  field.SetMinVal(-100);
  field.SetNumber(-1000);
  EXPECT_EQ(field.Text(), "-100");
  // A text that cannot be evaluated is left for validation to report.
  field.SetText("oops");
  field.SetMaxVal(50);
  EXPECT_EQ(field.Text(), "oops");
  EXPECT_THROW(field.Number(), TEvaluateError);
}

TEST(FieldLimits, LoadingStoresPropertiesAsGiven) {
  TDataEditRules field;
  field.BeginLoading();
  field.SetMaxVal(1);
  field.SetMinVal(5);
  field.SetNumber(100);
  EXPECT_EQ(field.MaxVal(), 1);
  EXPECT_EQ(field.MinVal(), 5);
  EXPECT_EQ(field.Text(), "100");
  field.EndLoading();
  EXPECT_TRUE(!field.Loading());
}

TEST(FieldFormat, HexFieldsShowAndReadTheirOwnText) {
  TDataEditRules field;
  field.SetHex(true);
  field.SetMaxVal(16);
  field.SetText("255");
  EXPECT_EQ(field.Validate(), "Entry must be less than or equal to $0010");
  EXPECT_EQ(field.Text(), "$0010");
  EXPECT_EQ(field.Validate(), "");  // the shown text reads back
  EXPECT_EQ(field.Text(), "$0010");
  field.SetNumber(-16);
  EXPECT_EQ(field.Text(), "-$0010");
  EXPECT_EQ(field.Validate(), "");
  EXPECT_EQ(field.Number(), -16);
}

TEST(FieldLabel, CaptionWithTheEntryLabelOfItsUnits) {
  TDataEditRules field;
  field.SetCaption("Unit Weight");
  EXPECT_EQ(field.LabelText(), "Unit Weight");
  field.SetUnitsString("F/L2^3");
  EXPECT_EQ(field.LabelText(), "Unit Weight (lbs/ft^3)");
  field.SetUnits(2);
  EXPECT_EQ(field.LabelText(), "Unit Weight (kN/m^3)");
  field.SetUnits(9);  // clamped to generic units, where fields show the string itself
  EXPECT_EQ(field.Units(), 3);
  EXPECT_EQ(field.LabelText(), "Unit Weight (F/L2^3)");
  field.SetUnits(-1);
  EXPECT_EQ(field.Units(), 1);
}

}  // namespace
}  // namespace kestra
