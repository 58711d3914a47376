// Conversion to the current format (kestra-convert): a staged older file
// becomes the joined file with its stage files beside it, the same as opening
// it in the program and saving it; a damaged file writes nothing.
#include "data/project_convert.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/stages.h"
#include "project_samples.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

TEST(ProjectConvert, StagedOlderFileGivesTheSameFilesAsOpenAndSave) {
  test::TempDir dir;
  const std::string input = dir.file("Old.ktd");
  test::write_file(input, test::older_staged_text());
  const std::string output = dir.file("out/New.kt4d");
  fs::create_directories(dir.file("out"));
  test::write_file(StageFilePath(output, 3), "stale");
  ASSERT_TRUE(ConvertProjectFile(input, output, DialectForFileName(input)));

  // The program's way: open, split, convert the older stage files, save as.
  TMainModel m;
  ASSERT_EQ(OpenProjectFile(m, input, kDialectV30), "");
  ASSERT_TRUE(SplitFileIntoStageFiles(m.Project(), input));
  ASSERT_TRUE(ConvertOlderStageFiles(m));
  const std::string saved = dir.file("Saved.kt4d");
  ASSERT_TRUE(SaveProjectAs(m, saved));

  EXPECT_EQ(test::read_file(output), test::read_file(saved));
  for (int n = 1; n <= 2; ++n)
    EXPECT_EQ(test::read_file(StageFilePath(output, n)), test::read_file(StageFilePath(saved, n)));
  EXPECT_FALSE(fs::exists(StageFilePath(output, 3)));
  const auto lines = test::crlf_lines(test::read_file(output));
  EXPECT_EQ(lines.front(), "Old staged wall");
  EXPECT_EQ(lines.back(), "2");
}

TEST(ProjectConvert, DamagedStageWritesNothing) {
  test::TempDir dir;
  const std::string input = dir.file("Damaged.ktd");
  std::string text = test::older_staged_text();
  text.replace(text.rfind("-10"), 3, "x");  // the last point of the last stage
  test::write_file(input, text);
  const std::string output = dir.file("New.kt4d");
  const TFileResult r = ConvertProjectFile(input, output, kDialectV30);
  EXPECT_FALSE(r);
  EXPECT_NE(r.message.find("A floating point number was expected but not found."), std::string::npos) << r.message;
  EXPECT_FALSE(fs::exists(output));
  EXPECT_FALSE(fs::exists(StageFilePath(output, 1)));
}

}  // namespace
}  // namespace kestra
