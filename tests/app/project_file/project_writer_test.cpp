// The project file writer: the exact bytes of a new project, the records and
// codes that depend on the options, the unit conversions at the file
// boundary, and the round trip writer -> reader -> writer on typical projects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "data/project_file.h"
#include "project_samples.h"

namespace kestra {
namespace {

using test::crlf_lines;

std::string text_of(TMainModel& m) { return ProjectFileText(m.Project(), m.Tables()); }

TEST(ProjectWriter, NewProjectSavedAtOnceGivesTheDefaultRecords) {
  TMainModel m;
  // Records 10 to 13 are there because p-y curves are generated; the
  // earth-pressure code is 0 since no distribution has been chosen yet.
  EXPECT_EQ(text_of(m),
            "New Wall\r\n"
            "1 0\t1\t0\t0\t2 0 1 0\r\n"
            "0 0\t100\t1E-5\t0\r\n"
            "0\t1\t1\t0\r\n"
            "0\r\n"
            "0\r\n"
            "0\t0\t0\t0\t0\t1\t1\t0\r\n"
            "0\t0\t0\t0\t0\t0\r\n"
            "0\r\n"
            "1\r\n"
            "1 0 \r\n"
            "0 0 0.0  0 0 0.0  \r\n"
            "0 0 0.0  0 0 0.0  \r\n"
            "0\r\n");
}

class ProjectRoundTrip : public ::testing::TestWithParam<test::SampleProject> {};

// A file the writer wrote reads back into a project that writes the same
// bytes: every value, option and conversion survives the file.
TEST_P(ProjectRoundTrip, WritingWhatWasReadGivesTheSameBytes) {
  TMainModel first;
  GetParam().build(first);
  const std::string written = text_of(first);

  TMainModel second;
  const std::string message = second.OpenProject(
      "project.kt4d", 1,
      [&](TProgramData& p, TProgramTables& t, const std::string&, int d) { return ReadProjectText(p, t, written, d); });
  ASSERT_EQ(message, "");
  EXPECT_EQ(second.Project().UnitSystem(), first.Project().UnitSystem());
  EXPECT_EQ(second.Project().Title(), first.Project().Title());
  EXPECT_EQ(text_of(second), written);
}

INSTANTIATE_TEST_SUITE_P(Samples, ProjectRoundTrip, ::testing::ValuesIn(test::sample_projects()),
                         [](const auto& info) { return info.param.name; });

TEST(ProjectWriter, EnglishTableColumnsAreWrittenInInchesAndPounds) {
  TMainModel m;
  test::build_cantilever_user(m);
  TGridTable& soil = m.Tables().NewSoil();
  m.Project().GeneratePY = true;
  soil.SetRowCount(1);
  soil.Column(1).SetFloat(0, 10.25L);  // ft
  TGridTable& clay = *soil.Column(2).GetTable(0);
  test::set_reals(clay, 0, {{0, 120}, {1, 288}, {2, 0.02L}, {3, 500}});  // pcf, psf, -, pci
  const auto lines = crlf_lines(text_of(m));
  // Depths x 12, line loads per foot / 12.
  EXPECT_EQ(lines[6], "3");
  EXPECT_EQ(lines[8], "120\t33.333333");
  // The soil layer: depth in inches, unit weight per cubic inch, cohesion
  // per square inch, E50 and k(py) as held.
  const auto it = std::find(lines.begin(), lines.end(), "1 123 ");
  ASSERT_NE(it, lines.end());
  EXPECT_EQ(*(it + 1), "0.069444444 2 0.0  0.02 500 0.0  ");
}

TEST(ProjectWriter, EarthPressureCodesFollowTheOptionsAndTheProblem) {
  TMainModel m;
  TProgramData& p = m.Project();
  p.SetEarthPressureOption(3);
  p.SetLongTermAnalysis(true);
  auto lines = crlf_lines(text_of(m));
  EXPECT_EQ(lines[1], "1 0\t1\t0\t3\t2 0 1 0");
  // The long-term problem: title again, then code 2 in place of 3.
  const auto second = std::find(lines.begin() + 2, lines.end(), "New Wall");
  ASSERT_NE(second, lines.end());
  EXPECT_EQ(*(second - 1), "9");
  EXPECT_EQ(*(second + 1), "1 0\t1\t0\t2\t2 0 1 0");
  EXPECT_EQ(lines.back(), "0");
  EXPECT_EQ(p.LongTermCode, 9);

  // No user pressure, no generated p-y curves and nothing generated last:
  // code 0, and no wall, surcharge or soil records at all.
  p.SetLongTermAnalysis(false);
  p.GeneratePY = false;
  p.EarthPressureGenerated = false;
  lines = crlf_lines(text_of(m));
  EXPECT_EQ(lines[1], "1 0\t1\t0\t0\t0 0 1 0");
  EXPECT_EQ(lines.size(), 7u);  // title, control, increment, stiffness, two counts, code
}

TEST(ProjectWriter, SwitchedOffOptionsEmptyTheirTablesAndWriteNoRows) {
  TMainModel m;
  TProgramTables& t = m.Tables();
  const std::vector<TGridTable*> switched_off = {&t.BoundCond(), &t.SoilLayer(),    &t.PYCurves2(),
                                                 &t.PYMod(),     &t.SoilStrength(), &t.SurchargeTable()};
  for (TGridTable* table : switched_off) table->SetRowCount(2);
  t.MEICurves2().SetRowCount(2);
  const auto lines = crlf_lines(text_of(m));
  EXPECT_EQ(lines[1], "1 0\t1\t0\t0\t2 0 1 0");
  for (const TGridTable* table : switched_off) EXPECT_EQ(table->RowCount(), 0) << table->Caption;
  // The moment-EI curves are kept; only their count is written as 0.
  EXPECT_EQ(t.MEICurves2().RowCount(), 2);
}

// Distance and strip width are held in millimetres in SI, and the engine
// takes every SI length in metres: the file carries metres.
TEST(ProjectWriter, SISurchargeLengthsAreMetresInTheFileAndMillimetresInTheTable) {
  TMainModel m;
  test::build_si_everything(m);
  const std::string text = text_of(m);
  EXPECT_NE(text.find("\r\n2\r\n1\t50\t1.5\t0\r\n3\t20\t2.3456789\t1.2\r\n"), std::string::npos) << text;

  TMainModel back;
  back.OpenProject("si.kt4d", 1, [&](TProgramData& p, TProgramTables& t, const std::string&, int d) {
    return ReadProjectText(p, t, text, d);
  });
  const TGridTable& s = back.Tables().SurchargeTable();
  ASSERT_EQ(s.RowCount(), 2);
  EXPECT_EQ(s.Column(2).GetFloat(0), 1500);
  EXPECT_NEAR(static_cast<double>(s.Column(2).GetFloat(1)), 2345.6789, 1e-9);
  EXPECT_EQ(s.Column(3).GetFloat(1), 1200);
}

TEST(ProjectWriter, StageFileCarriesTheStageTitleCountAndNumber) {
  TMainModel m;
  TProgramData& p = m.Project();
  p.SetEarthPressureOption(3);
  ASSERT_TRUE(p.SetStageCount(3));
  ASSERT_TRUE(p.SetCurrentStage(2));
  const auto lines = crlf_lines(StageFileText(p, m.Tables()));
  EXPECT_EQ(lines.front(), " Stage No : 2");
  EXPECT_EQ(lines[1], "1 0\t1\t0\t2\t2 0 3 0");  // 2 in place of the trapezoidal 3
  EXPECT_EQ(lines.back(), "2");
  ASSERT_TRUE(p.SetCurrentStage(1));
  EXPECT_EQ(crlf_lines(StageFileText(p, m.Tables())).front(), "New Wall");
}

// The fixture the engine test runs is the writer's own output for the
// cantilever sample; KESTRA_REGENERATE_FIXTURES=1 rewrites it.
TEST(ProjectWriter, CantileverFixtureIsTheWritersOutput) {
  TMainModel m;
  test::build_cantilever_user(m);
  const std::string path = std::string(KESTRA_TEST_DATA_DIR) + "/project_file/cantilever_user.kt4d";
  if (std::getenv("KESTRA_REGENERATE_FIXTURES") != nullptr) test::write_file(path, text_of(m));
  EXPECT_EQ(test::read_file(path), text_of(m));
}

}  // namespace
}  // namespace kestra
