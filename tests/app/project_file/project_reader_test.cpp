// The project file reader: the older dialects and their legacy surcharge,
// the options that follow from codes and counts, the long-term and staged
// files, and damaged files, which stop with the word reader's message and
// open as a partial project.
#include <gtest/gtest.h>

#include "data/project_file.h"
#include "project_samples.h"

namespace kestra {
namespace {

// Opens `text` as a file of `dialect` through the model, as File > Open does.
std::string open_text(TMainModel& m, const std::string& text, int dialect) {
  return m.OpenProject("wall.kt4d", dialect, [&](TProgramData& p, TProgramTables& t, const std::string&, int d) {
    return ReadProjectText(p, t, text, d);
  });
}

long double cell(const TGridTable& t, int column, int row) { return t.Column(column).GetFloat(row); }

// Version 3.0: eight integers in the control record, one surcharge in the
// surcharge record and no surcharge block; the old water weight in place of
// the active factor.
const char* const kVersion30 =
    "Old wall 3.0\r\n"
    "1 0\t1\t0\t2\t2 0 1\r\n"
    "40 6\t100\t1E-5\t120\r\n"
    "0\t40\t1\t2400000000\r\n"
    "0\r\n"
    "0\r\n"
    "120\t0\t0\t0\t0\t0.036\t1\t0\r\n"
    "0\t60\t1000\t50\t10\t24\r\n"
    "1\r\n"
    "4 240 \r\n"
    "0.0625 0.0  30 0.0  100 0.0  \r\n"
    "0.0625 0.0  32 0.0  110 0.0  \r\n"
    "0\r\n";

// Version 2.0: seven integers, layer thicknesses, one five-value property
// line per layer, no continuation code.
const char* const kVersion20 =
    "Old wall 2.0\n"
    "1 0 1 0 2 2 0\n"
    "40 6 100 1E-5 120\n"
    "0 40 1 2400000000\n"
    "0\n"
    "0\n"
    "120 0 0 0 0 1 1 0\n"
    "0 60 1000 50 10 24\n"
    "2\n"
    "4 120\n"
    "0.07 0 30 0 100\n"
    "1 60\n"
    "0.06 5 0 0.02 500\n";

TEST(ProjectReaderDialects, Version30LegacySurchargeBecomesThreeRows) {
  TMainModel m;
  ASSERT_EQ(open_text(m, kVersion30, kDialectV30), "");
  const TProgramData& p = m.Project();
  const TGridTable& s = m.Tables().SurchargeTable();
  EXPECT_TRUE(p.ApplySurcharges);
  ASSERT_EQ(s.RowCount(), 3);
  const long double magnitude[] = {1000, 50, 10};
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(s.Column(0).GetInteger(r), r + 1);
    EXPECT_EQ(cell(s, 1, r), magnitude[r]);
    EXPECT_EQ(cell(s, 2, r), 60);  // same distance and strip width on every row
    EXPECT_EQ(cell(s, 3, r), 24);
  }
  EXPECT_EQ(p.ActiveFactor, 1.0L);
  EXPECT_EQ(p.EarthPressureOption, 2);
  EXPECT_TRUE(p.EarthPressureGenerated);
  EXPECT_TRUE(p.GeneratePY);
  EXPECT_EQ(p.StageCount(), 1);
  // The layer: depth in feet, unit weight per cubic foot, values as given.
  const TGridTable& soil = m.Tables().NewSoil();
  ASSERT_EQ(soil.RowCount(), 1);
  EXPECT_EQ(soil.Column(0).GetInteger(0), 4);
  EXPECT_EQ(cell(soil, 1, 0), 20);
  const TGridTable& sand = *soil.Column(2).GetTable(0);
  EXPECT_EQ(cell(sand, 0, 0), 108);
  EXPECT_EQ(cell(sand, 1, 1), 32);
  EXPECT_EQ(cell(sand, 2, 1), 110);
}

// In SI the single surcharge's distance and strip width are metres in the
// file and millimetres in the table.
TEST(ProjectReaderDialects, Version30SISurchargeLengthsBecomeMillimetres) {
  std::string text = kVersion30;
  text.replace(text.find("\r\n1 0\t"), 5, "\r\n2 0");
  text.replace(text.find("0\t60\t1000"), 4, "0\t1.5");
  text.replace(text.find("\t10\t24"), 6, "\t10\t0.625");
  TMainModel m;
  ASSERT_EQ(open_text(m, text, kDialectV30), "");
  ASSERT_EQ(m.Project().UnitSystem(), kUnitsSI);
  const TGridTable& s = m.Tables().SurchargeTable();
  ASSERT_EQ(s.RowCount(), 3);
  EXPECT_EQ(cell(s, 2, 2), 1500);
  EXPECT_EQ(cell(s, 3, 2), 625);
  EXPECT_EQ(m.Project().SurchargeDistance, 1.5L);
}

TEST(ProjectReaderDialects, Version20ReadsThicknessesAndOnePropertyLine) {
  TMainModel m;
  ASSERT_EQ(open_text(m, kVersion20, 3), "");
  EXPECT_EQ(m.Tables().SurchargeTable().RowCount(), 3);
  const TGridTable& soil = m.Tables().NewSoil();
  ASSERT_EQ(soil.RowCount(), 2);
  EXPECT_EQ(cell(soil, 1, 0), 120);  // bottoms are sums of thicknesses
  EXPECT_EQ(cell(soil, 1, 1), 180);
  const TGridTable& clay = *soil.Column(2).GetTable(1);
  for (int row = 0; row < 2; ++row) {  // one line fills both rows, unconverted
    EXPECT_EQ(cell(clay, 0, row), 0.06L);
    EXPECT_EQ(cell(clay, 1, row), 5);
    EXPECT_EQ(cell(clay, 2, row), 0.02L);
    EXPECT_EQ(cell(clay, 3, row), 500);
  }
  EXPECT_EQ(cell(*soil.Column(2).GetTable(0), 1, 0), 30);  // sand friction angle
}

TEST(ProjectReaderDialects, OlderFileSavesWithTheSurchargeRowsInItsBlock) {
  TMainModel m;
  ASSERT_EQ(open_text(m, kVersion30, kDialectV30), "");
  const auto lines = test::crlf_lines(ProjectFileText(m.Project(), m.Tables()));
  EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 1 0");
  EXPECT_EQ(lines[6], "120\t0\t0\t0\t0\t1\t1\t0");
  EXPECT_EQ(lines[8], "3");
  EXPECT_EQ(lines[9], "1\t1000\t60\t24");
}

// Problem 1 of a trapezoidal long-term project says 3, problem 2 says 2; the
// second must not turn the project's option into 2, nor its empty user
// pressure clear the first problem's.
TEST(ProjectReaderLongTerm, SecondProblemKeepsTheOptionsOfTheFirst) {
  TMainModel m;
  test::build_long_term(m);
  const std::string text = ProjectFileText(m.Project(), m.Tables());
  TMainModel back;
  ASSERT_EQ(open_text(back, text, 1), "");
  EXPECT_TRUE(back.Project().LongTermAnalysis());
  EXPECT_EQ(back.Project().EarthPressureOption, 3);
  EXPECT_EQ(cell(*back.Tables().NewSoil().Column(2).GetTable(1), 1, 0), 1440);
  EXPECT_EQ(cell(*back.Tables().LongSoil().Column(2).GetTable(1), 1, 0), 288);
}

TEST(ProjectReaderStaged, ReadsTheFirstStageAndTheStageCount) {
  TMainModel m;
  ASSERT_TRUE(m.Project().SetStageCount(3));
  std::string text;
  for (int n = 1; n <= 3; ++n) {
    m.Project().SetCurrentStage(n);
    m.Project().IncrementCount = 10 * n;
    text += StageFileText(m.Project(), m.Tables());
  }
  TMainModel back;
  ASSERT_EQ(open_text(back, text, 1), "");
  EXPECT_EQ(back.Project().StageCount(), 3);
  EXPECT_EQ(back.Project().CurrentStage(), 1);
  EXPECT_EQ(back.Project().IncrementCount, 10);
  EXPECT_EQ(back.Project().LongTermCode, 1);
  EXPECT_FALSE(back.Project().LongTermAnalysis());
}

struct DamagedRow {
  const char* name;
  std::string text;
  std::string message;
};

const std::string kHead = "Damaged\r\n";

class ProjectReaderDamaged : public ::testing::TestWithParam<DamagedRow> {};

// Reading stops with the word reader's message; the project keeps what was
// read, and every table is filled to its minimum rows.
TEST_P(ProjectReaderDamaged, StopsWithTheMessageAndOpensPartially) {
  TMainModel m;
  EXPECT_EQ(open_text(m, GetParam().text, 1), GetParam().message);
  EXPECT_EQ(m.Project().Title(), GetParam().text.empty() ? "" : "Damaged");
  for (const TGridTable* t : m.Tables().ProjectTables()) EXPECT_GE(t->RowCount(), t->MinRows()) << t->Caption;
  EXPECT_FALSE(m.IsModified());
}

const std::string kIncomplete = "This file either invalid or incomplete.";

INSTANTIATE_TEST_SUITE_P(
    Cases, ProjectReaderDamaged,
    ::testing::Values(DamagedRow{"FractionWhereAnIntegerBelongs", kHead + "3.5 0 1 0 0 2 0 1 0\r\n",
                                 "Error on Line 2 Item 1\rAn integer was expected but not found."},
                      DamagedRow{"TextWhereARealBelongs", kHead + "2 0 1 0 0 2 0 1 0\r\n0 abc 100 1E-5 0\r\n",
                                 "Error on Line 3 Item 2\rA floating point number was expected but not found."},
                      DamagedRow{"TruncatedAfterTheControlRecord", kHead + "1 0 1 0 0 2 0 1 0\r\n", kIncomplete},
                      DamagedRow{"EmptyFile", "", kIncomplete},
                      DamagedRow{"CountBeyondAnyTable",
                                 kHead + "1 0 1 0 0 0 0 1 0\r\n0 0 100 1E-5 0\r\n0 1 1 0\r\n2000000000\r\n",
                                 kIncomplete},
                      DamagedRow{"CountBeyondTheRowsPresent",
                                 kHead + "1 99999 1 0 0 0 0 1 0\r\n0 0 100 1E-5 0\r\n1 0 0 0\r\n", kIncomplete}),
    [](const auto& info) { return info.param.name; });

TEST(ProjectReaderDamaged, PartialProjectKeepsWhatWasRead) {
  TMainModel m;
  const std::string text = kHead + "2 0 1 0 0 2 0 1 0\r\n25 0.5 1 1E-5 3\r\n0 25 1 7000\r\n1\r\n1 0 x";
  EXPECT_EQ(open_text(m, text, 1), "Error on Line 6 Item 3\rAn integer was expected but not found.");
  EXPECT_EQ(m.Project().UnitSystem(), kUnitsSI);
  EXPECT_EQ(m.Project().IncrementCount, 25);
  EXPECT_EQ(cell(m.Tables().PileSect(), 3, 0), 7000);
  EXPECT_TRUE(m.Project().ApplyConcentratedLoads);
  EXPECT_EQ(m.Tables().BoundCond().RowCount(), 1);
  EXPECT_EQ(m.Tables().BoundCond().Column(1).GetInteger(0), 0);
}

TEST(ProjectReaderFiles, MissingFileGivesTheSystemsReasonAndANewProject) {
  test::TempDir dir;
  TMainModel m;
  const std::string path = dir.file("none.kt4d");
  const std::string message = OpenProjectFile(m, path, 1);
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_EQ(m.Project().FileName, path);
  EXPECT_EQ(m.Project().Title(), "New Wall");
}

TEST(ProjectReaderFiles, DialectForFileNameFollowsTheExtension) {
  EXPECT_EQ(DialectForFileName("wall.ktd"), kDialectV30);
  EXPECT_EQ(DialectForFileName("dir.v2/WALL.KTD"), kDialectV30);
  EXPECT_EQ(DialectForFileName("wall.kt4d"), kDialectCurrent);
  EXPECT_EQ(DialectForFileName("wall"), kDialectCurrent);
}

}  // namespace
}  // namespace kestra
