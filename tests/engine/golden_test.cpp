// Golden projects: every project under tests/golden is analysed and its report,
// plot data file and notes are compared line by line with the files stored
// beside it (regenerate with tests/golden/regenerate.sh, and read the diff).
#include <gtest/gtest.h>

#include <filesystem>

#include "engine_test_util.h"
#include "run_driver.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;
using test::lines_of;
using test::read_file;

std::vector<std::string> golden_projects() {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(KESTRA_GOLDEN_DIR))
    if (e.path().extension() == ".kt4d") out.push_back(e.path().stem().string());
  std::sort(out.begin(), out.end());
  return out;
}

void expect_same_lines(const std::string& actual, const std::string& expected_path) {
  ASSERT_TRUE(fs::exists(expected_path)) << expected_path << " is missing: run tests/golden/regenerate.sh";
  const auto want = lines_of(read_file(expected_path));
  const auto got = lines_of(actual);
  const std::size_t n = std::min(want.size(), got.size());
  for (std::size_t k = 0; k < n; ++k) {
    // Stored files may carry CR LF line ends on a checkout that converts them.
    std::string w = want[k];
    if (!w.empty() && w.back() == '\r') w.pop_back();
    ASSERT_EQ(got[k], w) << expected_path << ", line " << k + 1;
  }
  EXPECT_EQ(got.size(), want.size()) << expected_path;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, SameReportPlotDataAndNotes) {
  const std::string base = std::string(KESTRA_GOLDEN_DIR) + "/" + GetParam();
  const RunTexts out = run_input(read_file(base + ".kt4d"));
  expect_same_lines(out.report, base + ".kt4o");
  expect_same_lines(out.plot, base + ".kt4p");
  expect_same_lines(out.notes, base + ".kt4r");
}

INSTANTIATE_TEST_SUITE_P(Projects, Golden, ::testing::ValuesIn(golden_projects()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kestra
