// The project object: its defaults, the invariants its setters keep, the
// codes derived for the input data file, and the project-wide unit switch of
// the scalars.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/program_data.h"

namespace kestra {
namespace {

TEST(ProgramDataDefaults, NewProjectHoldsTheDocumentedDefaults) {
  const TProgramData p;
  EXPECT_EQ(p.FileName, "NewWall.kt4d");
  EXPECT_EQ(p.Title(), "New Wall");
  EXPECT_EQ(p.UnitSystem(), kUnitsEnglish);
  // No increments until the Wall Properties dialog is closed with values.
  EXPECT_EQ(p.IncrementCount, 0);
  EXPECT_EQ(p.IncrementLength, 0);
  EXPECT_EQ(p.MaxDeflection, 100);
  EXPECT_EQ(p.ClosureTolerance, 0.00001L);
  EXPECT_EQ(p.ActiveFactor, 1.0L);
  EXPECT_EQ(p.AnchorCode, 1);
  EXPECT_EQ(p.EarthPressureOption, 0);
  EXPECT_FALSE(p.UserEarthPressure);
  EXPECT_FALSE(p.EarthPressureGenerated);
  EXPECT_TRUE(p.GeneratePY);
  for (bool flag : {p.ApplyConcentratedLoads, p.ApplyRestraints, p.ApplyExternalPY, p.ApplySprings, p.ApplyPYMod,
                    p.ApplySurcharges, p.ApplyEICurves, p.LongTermAnalysis()}) {
    EXPECT_FALSE(flag);
  }
  EXPECT_EQ(p.StageCount(), 1);
  EXPECT_EQ(p.CurrentStage(), 1);
  EXPECT_EQ(p.StageLineCount(), 0);
  EXPECT_TRUE(p.StageFilesHaveEICount);
  EXPECT_EQ(p.EarthPressureCode, 0);
  EXPECT_EQ(p.PYCode, 0);
  EXPECT_EQ(p.EICurveCount, 0);
  EXPECT_EQ(p.LongTermCode, 0);
  EXPECT_EQ(p.Results, nullptr);
  EXPECT_TRUE(p.SoilDataUsed());
}

TEST(ProgramDataTitle, LineBreaksBecomeBlanksAndLengthIsCut) {
  TProgramData p;
  // A line break would split the title record and shift every record after it.
  EXPECT_FALSE(p.SetTitle("Wall\r\nNorth"));
  EXPECT_EQ(p.Title(), "Wall  North");
  EXPECT_TRUE(p.SetTitle("tab\tstays"));
  EXPECT_EQ(p.Title(), "tab\tstays");
  EXPECT_FALSE(p.SetTitle(std::string(100, 'x')));
  EXPECT_EQ(p.Title(), std::string(80, 'x'));
}

TEST(ProgramDataStages, StagesAndLongTermExcludeEachOther) {
  TProgramData p;
  ASSERT_TRUE(p.SetLongTermAnalysis(true));
  EXPECT_FALSE(p.SetStageCount(3));
  EXPECT_EQ(p.StageCount(), 1);
  EXPECT_TRUE(p.SetStageCount(1));  // staying unstaged is always possible

  ASSERT_TRUE(p.SetLongTermAnalysis(false));
  ASSERT_TRUE(p.SetStageCount(4));
  EXPECT_FALSE(p.SetLongTermAnalysis(true));
  EXPECT_FALSE(p.LongTermAnalysis());
  EXPECT_TRUE(p.SetLongTermAnalysis(false));

  for (int bad : {0, 6, -1}) EXPECT_FALSE(p.SetStageCount(bad)) << bad;
  EXPECT_EQ(p.StageCount(), 4);

  ASSERT_TRUE(p.SetCurrentStage(4));
  EXPECT_FALSE(p.SetCurrentStage(5));
  EXPECT_FALSE(p.SetCurrentStage(0));
  // Lowering the count never leaves the current stage beyond it.
  ASSERT_TRUE(p.SetStageCount(2));
  EXPECT_EQ(p.CurrentStage(), 2);
}

TEST(ProgramDataOptions, EarthPressureChoiceKeepsTheUserFlagInStep) {
  TProgramData p;
  EXPECT_EQ(p.ChooseDefaultEarthPressureOption(), 1);  // opening the submenu picks 1
  EXPECT_TRUE(p.UserEarthPressure);

  // Choosing a generated distribution clears the flag at once, so a save
  // before the next menu opening writes the generated code.
  ASSERT_TRUE(p.SetEarthPressureOption(3));
  EXPECT_FALSE(p.UserEarthPressure);
  p.GeneratePY = true;
  p.DeriveFileCodes(TProblemKind::kFirst, 0);
  EXPECT_EQ(p.EarthPressureCode, 3);

  EXPECT_FALSE(p.SetEarthPressureOption(0));
  EXPECT_FALSE(p.SetEarthPressureOption(4));
  EXPECT_EQ(p.EarthPressureOption, 3);

  // A reader may leave the flag off under option 1; the menu resynchronises.
  p.EarthPressureOption = 1;
  p.UserEarthPressure = false;
  p.SyncUserEarthPressure();
  EXPECT_TRUE(p.UserEarthPressure);
}

struct CodeRow {
  const char* what;
  TProblemKind kind;
  int option;
  bool user, generated, generate_py, external_py, ei_curves;
  int ei_rows;
  int want_ep, want_py, want_ei;
  bool want_generated_after;
};

class DerivedCodes : public ::testing::TestWithParam<CodeRow> {};

TEST_P(DerivedCodes, FromOptions) {
  const CodeRow& r = GetParam();
  TProgramData p;
  p.EarthPressureOption = r.option;
  p.UserEarthPressure = r.user;
  p.EarthPressureGenerated = r.generated;
  p.GeneratePY = r.generate_py;
  p.ApplyExternalPY = r.external_py;
  p.ApplyEICurves = r.ei_curves;
  p.DeriveFileCodes(r.kind, r.ei_rows);
  EXPECT_EQ(p.EarthPressureCode, r.want_ep) << r.what;
  EXPECT_EQ(p.PYCode, r.want_py) << r.what;
  EXPECT_EQ(p.EICurveCount, r.want_ei) << r.what;
  EXPECT_EQ(p.EarthPressureGenerated, r.want_generated_after) << r.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DerivedCodes,
    ::testing::Values(
        CodeRow{"new project", TProblemKind::kFirst, 0, false, false, true, false, false, 0, 0, 2, 0, false},
        CodeRow{"user pressure clears generated", TProblemKind::kFirst, 1, true, true, true, false, false, 0, 1, 2, 0,
                false},
        CodeRow{"trapezoidal, first problem", TProblemKind::kFirst, 3, false, false, true, false, false, 0, 3, 2, 0,
                false},
        CodeRow{"trapezoidal, long-term problem", TProblemKind::kLongTerm, 3, false, false, true, false, false, 0, 2, 2,
                0, false},
        CodeRow{"trapezoidal, stage file", TProblemKind::kStage, 3, false, true, false, false, false, 0, 2, 0, 0, true},
        CodeRow{"chosen but nothing generated", TProblemKind::kFirst, 2, false, false, false, false, false, 0, 0, 0, 0,
                false},
        CodeRow{"user curves only", TProblemKind::kFirst, 0, false, false, false, true, false, 0, 0, 1, 0, false},
        CodeRow{"EI curves on", TProblemKind::kFirst, 0, false, false, true, false, true, 4, 0, 2, 4, false},
        CodeRow{"EI rows but option off", TProblemKind::kFirst, 0, false, false, true, false, false, 4, 0, 2, 0,
                false}));

TEST(ProgramDataOptions, LongTermCode) {
  TProgramData p;
  EXPECT_EQ(p.DeriveLongTermCode(), 0);
  ASSERT_TRUE(p.SetLongTermAnalysis(true));
  EXPECT_EQ(p.DeriveLongTermCode(), 9);
  EXPECT_EQ(p.LongTermCode, 9);
}

// --- Unit switch of the scalars -------------------------------------------

long double RelErr(long double got, long double want) {
  return std::fabs(got - want) / std::fmax(std::fabs(want), 1e-30L);
}

TEST(ProgramDataUnits, EnglishToSIConvertsEveryKindOfScalar) {
  TProgramData p;
  p.IncrementLength = 12;
  p.FreeHeight = 240;
  p.SurchargeDistance = 10;
  p.StripWidth = 5;
  p.PointLoad = 1000;
  p.LineLoad = 100;
  p.SurfacePressure = 2;
  p.StripLoad = 3;
  p.IncrementCount = 40;
  p.ActiveFactor = 1.5;
  p.BackfillSlope = 20;
  p.AnchorCode = 2;
  int notified = 0;
  p.OnUnitsChanged = [&] { ++notified; };

  p.SetUnits(kUnitsSI);
  EXPECT_EQ(p.UnitSystem(), kUnitsSI);
  const long double m = 0.0254L, kn = 0.004448222468060651L;
  EXPECT_LT(RelErr(p.IncrementLength, 12 * m), 1e-15L);
  EXPECT_LT(RelErr(p.FreeHeight, 240 * m), 1e-15L);
  EXPECT_LT(RelErr(p.SurchargeDistance, 10 * m), 1e-15L);
  EXPECT_LT(RelErr(p.StripWidth, 5 * m), 1e-15L);
  EXPECT_LT(RelErr(p.PointLoad, 1000 * kn), 1e-15L);
  EXPECT_LT(RelErr(p.LineLoad, 100 * kn / m), 1e-15L);
  EXPECT_LT(RelErr(p.SurfacePressure, 2 * kn / (m * m)), 1e-15L);
  EXPECT_LT(RelErr(p.StripLoad, 3 * kn / (m * m)), 1e-15L);
  // Counts, factors, codes and angles stay.
  EXPECT_EQ(p.IncrementCount, 40);
  EXPECT_EQ(p.ActiveFactor, 1.5L);
  EXPECT_EQ(p.BackfillSlope, 20);
  EXPECT_EQ(p.AnchorCode, 2);
  EXPECT_EQ(notified, 1);
}

TEST(ProgramDataUnits, RoundTripUsesTheRoundedConstants) {
  TProgramData p;
  p.MaxDeflection = 100;
  p.SetUnits(kUnitsSI);
  p.SetUnits(kUnitsEnglish);
  // 0.0254 x 39.3701 = 1.00000054: the round trip is not exact, as users know it.
  EXPECT_NEAR(static_cast<double>(p.MaxDeflection), 100.000054, 1e-9);
}

TEST(ProgramDataUnits, ChangesThroughOtherUnitsAndToTheSameSystemConvertNothing) {
  TProgramData p;
  p.FreeHeight = 240;
  p.PointLoad = 7;
  p.SetUnits(kUnitsEnglish);
  p.SetUnits(kUnitsOther);
  p.SetUnits(kUnitsSI);
  EXPECT_EQ(p.UnitSystem(), kUnitsSI);
  EXPECT_EQ(p.FreeHeight, 240);
  EXPECT_EQ(p.PointLoad, 7);
  // Codes outside 1..3 are clamped.
  p.SetUnits(9);
  EXPECT_EQ(p.UnitSystem(), kUnitsOther);
  p.SetUnits(-4);
  EXPECT_EQ(p.UnitSystem(), kUnitsEnglish);
  EXPECT_EQ(p.FreeHeight, 240);
}

}  // namespace
}  // namespace kestra
