// Stage files and the operations that move data between the editors and
// them: changing the stage count, switching, copying, joining and splitting,
// converting older stage files; and saves that fail, which must leave the
// previous files whole.
#include "data/stages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "project_samples.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::crlf_lines;
using test::read_file;

class Stages : public ::testing::Test {
 protected:
  Stages() { m.Project().FileName = dir.file("Wall.kt4d"); }

  std::string stage_file(int n) const { return StageFilePath(m.Project().FileName, n); }
  bool exists(const std::string& path) const { return fs::exists(path); }

  // Gives every stage of a staged project its own increment count (10 x n).
  void number_stages() {
    for (int n = 1; n <= m.Project().StageCount(); ++n) {
      ASSERT_TRUE(SwitchToStage(m, n)) << n;
      m.Project().IncrementCount = 10 * n;
    }
    ASSERT_TRUE(SwitchToStage(m, 1));
  }

  test::TempDir dir;
  TMainModel m;
};

TEST_F(Stages, StageFileNamesReplaceTheExtension) {
  EXPECT_EQ(StageFilePath("/p/Wall.kt4d", 1), "/p/Wall.st1");
  EXPECT_EQ(StageFilePath("old.ktd", 5), "old.st5");
  EXPECT_EQ(StageStatusText(m.Project()), "");
}

TEST_F(Stages, RaisingTheCountOfANewProjectWritesCopiesOfIt) {
  ASSERT_TRUE(ChangeStageCount(m, 3));
  EXPECT_EQ(m.Project().CurrentStage(), 1);
  EXPECT_TRUE(m.ModifiedMark());
  EXPECT_EQ(StageStatusText(m.Project()), "Construction Stage Number: 1");
  std::vector<std::vector<std::string>> stages;
  for (int n = 1; n <= 3; ++n) stages.push_back(crlf_lines(read_file(stage_file(n))));
  EXPECT_EQ(stages[0].front(), "New Wall");
  EXPECT_EQ(stages[1].front(), " Stage No : 2");
  EXPECT_EQ(stages[2].front(), " Stage No : 3");
  for (int n = 1; n <= 3; ++n) {
    const auto& lines = stages[static_cast<std::size_t>(n - 1)];
    EXPECT_EQ(lines[1], "1 0\t1\t0\t0\t2 0 3 0");
    EXPECT_EQ(lines.back(), std::to_string(n));
    // Same data between title and continuation code.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 1),
              std::vector<std::string>(stages[0].begin() + 1, stages[0].end() - 1));
  }
}

TEST_F(Stages, NewlyStagedProjectIgnoresStaleStageFiles) {
  test::write_file(stage_file(2), "Someone else's wall\r\n");
  m.Project().IncrementCount = 7;
  ASSERT_TRUE(ChangeStageCount(m, 2));
  ASSERT_TRUE(SwitchToStage(m, 2));
  EXPECT_EQ(m.Project().IncrementCount, 7);
}

TEST_F(Stages, LoweringTheCountMakesStageOneCurrentAndDeletesTheRest) {
  ASSERT_TRUE(ChangeStageCount(m, 4));
  number_stages();
  ASSERT_TRUE(SwitchToStage(m, 3));
  m.Project().IncrementCount = 33;  // edited, then the stage goes away
  ASSERT_TRUE(ChangeStageCount(m, 2));
  EXPECT_EQ(m.Project().CurrentStage(), 1);
  EXPECT_EQ(m.Project().IncrementCount, 10);
  EXPECT_TRUE(exists(stage_file(2)));
  EXPECT_FALSE(exists(stage_file(3)));
  EXPECT_FALSE(exists(stage_file(4)));
}

TEST_F(Stages, RaisingAStagedCountKeepsTheEditsOfTheCurrentStage) {
  ASSERT_TRUE(ChangeStageCount(m, 2));
  number_stages();
  ASSERT_TRUE(SwitchToStage(m, 2));
  m.Project().IncrementCount = 25;  // not yet written to its stage file
  ASSERT_TRUE(ChangeStageCount(m, 3));
  EXPECT_EQ(m.Project().CurrentStage(), 2);
  EXPECT_EQ(m.Project().IncrementCount, 25);
  ASSERT_TRUE(SwitchToStage(m, 3));
  EXPECT_EQ(m.Project().IncrementCount, 25);  // the new stage copies the one before it
}

TEST_F(Stages, BackToOneStageDeletesEveryStageFile) {
  ASSERT_TRUE(ChangeStageCount(m, 3));
  ASSERT_TRUE(ChangeStageCount(m, 1));
  for (int n = 1; n <= 5; ++n) EXPECT_FALSE(exists(stage_file(n))) << n;
  EXPECT_EQ(StageStatusText(m.Project()), "");
  m.Project().SetLongTermAnalysis(true);
  EXPECT_FALSE(ChangeStageCount(m, 2));
  EXPECT_FALSE(ChangeStageCount(m, 6));
}

TEST_F(Stages, SwitchingKeepsEachStageAndTheModifiedState) {
  ASSERT_TRUE(ChangeStageCount(m, 2));
  m.ClearModified();
  // An edit in a table editor: only the table's own flag says so.
  ASSERT_TRUE(m.Tables().PileSect().CommitText(3, 0, "5000"));
  ASSERT_TRUE(SwitchToStage(m, 2));
  EXPECT_TRUE(m.IsModified());
  EXPECT_EQ(m.Tables().PileSect().Column(3).GetFloat(0), 0);
  EXPECT_EQ(StageStatusText(m.Project()), "Construction Stage Number: 2");
  ASSERT_TRUE(SwitchToStage(m, 1));
  EXPECT_EQ(m.Tables().PileSect().Column(3).GetFloat(0), 5000);
  EXPECT_FALSE(SwitchToStage(m, 3));
}

TEST_F(Stages, CopyPreviousStageAsksAndCopies) {
  ASSERT_TRUE(ChangeStageCount(m, 3));
  number_stages();
  std::string asked;
  auto answer = [&](bool yes) {
    return [&asked, yes](const std::string& q) {
      asked = q;
      return yes;
    };
  };
  EXPECT_FALSE(CopyPreviousStage(m, answer(true)));  // not on stage 1
  ASSERT_TRUE(SwitchToStage(m, 3));
  ASSERT_TRUE(CopyPreviousStage(m, answer(false)));
  EXPECT_EQ(asked, "Do you want to copy all information from Stage 2 to Stage 3");
  EXPECT_EQ(m.Project().IncrementCount, 30);
  ASSERT_TRUE(CopyPreviousStage(m, answer(true)));
  EXPECT_EQ(m.Project().CurrentStage(), 3);
  EXPECT_EQ(m.Project().IncrementCount, 20);
  const auto lines = crlf_lines(read_file(stage_file(3)));
  EXPECT_EQ(lines.front(), " Stage No : 3");
  EXPECT_EQ(lines[2].substr(0, 3), "20 ");
  EXPECT_EQ(lines.back(), "3");
}

TEST_F(Stages, SaveJoinsTheStagesAndOpeningSplitsThemAgain) {
  ASSERT_TRUE(ChangeStageCount(m, 3));
  number_stages();
  ASSERT_TRUE(SaveProject(m));
  EXPECT_FALSE(m.IsModified());
  std::vector<std::string> before;
  for (int n = 1; n <= 3; ++n) before.push_back(read_file(stage_file(n)));

  const std::string joined = read_file(m.Project().FileName);
  EXPECT_EQ(joined, before[0] + before[1] + before[2]);
  int controls = 0;
  for (const std::string& line : crlf_lines(joined)) controls += line.rfind("1 0\t1\t0\t0\t2 0 3 0", 0) == 0;
  EXPECT_EQ(controls, 3);

  for (int n = 1; n <= 3; ++n) fs::remove(stage_file(n));
  TMainModel opened;
  ASSERT_EQ(OpenProjectFile(opened, m.Project().FileName, 1), "");
  ASSERT_EQ(opened.Project().StageCount(), 3);
  ASSERT_TRUE(SplitFileIntoStageFiles(opened.Project(), opened.Project().FileName));
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(read_file(stage_file(n)), before[static_cast<std::size_t>(n - 1)]);
  ASSERT_TRUE(SwitchToStage(opened, 2));
  EXPECT_EQ(opened.Project().IncrementCount, 20);
}

TEST_F(Stages, SaveAsCopiesTheStageFilesToTheNewName) {
  ASSERT_TRUE(ChangeStageCount(m, 2));
  number_stages();
  const std::string old_name = m.Project().FileName;
  const std::string new_name = dir.file("Copy.kt4d");
  test::write_file(StageFilePath(new_name, 4), "stale");
  ASSERT_TRUE(SaveProjectAs(m, new_name));
  EXPECT_EQ(m.Project().FileName, new_name);
  for (int n = 1; n <= 2; ++n) EXPECT_EQ(read_file(StageFilePath(new_name, n)), read_file(StageFilePath(old_name, n)));
  EXPECT_FALSE(exists(StageFilePath(new_name, 4)));
  EXPECT_EQ(read_file(new_name), read_file(StageFilePath(new_name, 1)) + read_file(StageFilePath(new_name, 2)));
}

TEST_F(Stages, JoinFailsWithoutWritingWhenAStageFileIsMissing) {
  ASSERT_TRUE(ChangeStageCount(m, 3));
  test::write_file(m.Project().FileName, "previous");
  fs::remove(stage_file(3));
  EXPECT_FALSE(JoinStageFiles(m.Project(), m.Project().FileName, m.Project().FileName));
  EXPECT_EQ(read_file(m.Project().FileName), "previous");
}

// Version 3.0 stage files: no EI count, one surcharge in the surcharge
// record, no curve multipliers. After the split they are converted.
TEST_F(Stages, OlderStageFilesAreConvertedToTheCurrentFormat) {
  const std::string old_name = dir.file("Old.ktd");
  const std::string text = test::older_staged_text();
  test::write_file(old_name, text);

  TMainModel opened;
  ASSERT_EQ(OpenProjectFile(opened, old_name, DialectForFileName(old_name)), "");
  ASSERT_EQ(opened.Project().StageCount(), 2);
  ASSERT_TRUE(SplitFileIntoStageFiles(opened.Project(), old_name));
  std::vector<std::string> status;
  ASSERT_TRUE(ConvertOlderStageFiles(opened, [&](const std::string& s) { status.push_back(s); }));
  EXPECT_EQ(status, (std::vector<std::string>{"Construction Stage Number: 1", "Construction Stage Number: 2"}));
  EXPECT_EQ(opened.Project().CurrentStage(), 1);

  const auto stage2 = crlf_lines(read_file(StageFilePath(old_name, 2)));
  // With the EI count; the table of curves holds at least two.
  EXPECT_EQ(stage2[1], "1 0\t1\t0\t2\t2 2 2 0");
  EXPECT_EQ(stage2[2].substr(0, 3), "40 ");
  EXPECT_EQ(stage2[8], "3");  // the legacy surcharge as three rows
  EXPECT_EQ(stage2[9], "1\t100\t60\t0");
  EXPECT_EQ(stage2[16], "20\t3\t1\t1");  // curve multipliers now written
  ASSERT_TRUE(SwitchToStage(opened, 2));
  EXPECT_EQ(opened.Tables().SurchargeTable().RowCount(), 3);
}

// --- Failed saves ------------------------------------------------------------

// A folder where the scratch file goes makes the write fail before the
// rename, as a full disk or a denied folder would.
void block_scratch(const std::string& path) { fs::create_directories(ScratchFileName(path)); }

TEST_F(Stages, FailedSaveLeavesThePreviousFileWhole) {
  const std::string path = m.Project().FileName;
  test::write_file(path, "previous project\r\n");
  m.MarkModified();
  block_scratch(path);
  const TFileResult r = SaveProject(m);
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("Cannot write file \"" + path + "\"."), std::string::npos) << r.message;
  EXPECT_EQ(read_file(path), "previous project\r\n");
  EXPECT_TRUE(m.IsModified());

  fs::remove(ScratchFileName(path));
  ASSERT_TRUE(SaveProject(m));
  EXPECT_EQ(read_file(path), ProjectFileText(m.Project(), m.Tables()));
  EXPECT_FALSE(exists(ScratchFileName(path)));
  EXPECT_FALSE(m.IsModified());
}

TEST_F(Stages, FailedSaveAsKeepsTheProjectOnItsFiles) {
  const std::string target = dir.file("missing-folder/Other.kt4d");
  EXPECT_FALSE(SaveProjectAs(m, target));
  EXPECT_EQ(m.Project().FileName, dir.file("Wall.kt4d"));
  EXPECT_FALSE(exists(ScratchFileName(target)));
}

TEST_F(Stages, FailedStageWritesKeepTheStageAndTheJoinedFile) {
  ASSERT_TRUE(ChangeStageCount(m, 2));
  number_stages();
  ASSERT_TRUE(SaveProject(m));
  const std::string joined = read_file(m.Project().FileName);
  const std::string stage1 = read_file(stage_file(1));

  // The stage cannot be written: no switch, the editors keep stage 1.
  m.Project().IncrementCount = 11;
  block_scratch(stage_file(1));
  EXPECT_FALSE(SwitchToStage(m, 2));
  EXPECT_EQ(m.Project().CurrentStage(), 1);
  EXPECT_EQ(m.Project().IncrementCount, 11);
  EXPECT_EQ(read_file(stage_file(1)), stage1);
  fs::remove(ScratchFileName(stage_file(1)));

  // The joined file cannot be written: it stays as saved before.
  block_scratch(m.Project().FileName);
  EXPECT_FALSE(SaveProject(m));
  EXPECT_EQ(read_file(m.Project().FileName), joined);
}

}  // namespace
}  // namespace kestra
