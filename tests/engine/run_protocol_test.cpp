// The engine's entries and run sequence: interface version, file list, problem
// loop, continuation codes, result blocks, errors and independent contexts.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "engine_test_util.h"
#include "kestra/engine.h"
#include "run_driver.h"

namespace kestra {
namespace {

using test::count_lines_starting;
using test::lines_of;
using test::read_file;
using test::simple_problem;
using test::TempDir;
using test::words_of;
using test::write_file;

// The shared library, bound the way programs bind it.
class EngineLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(KESTRA_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    entry_ = reinterpret_cast<KestraEntryFn>(dlsym(handle_, "_IKESTRA"));
    plain_entry_ = reinterpret_cast<KestraEntryFn>(dlsym(handle_, "IKESTRA"));
    run_files_ = reinterpret_cast<KestraRunFilesFn>(dlsym(handle_, "KestraRunFiles"));
    ASSERT_TRUE(entry_ && plain_entry_ && run_files_);
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir_);
    if (handle_) dlclose(handle_);
  }

  void write_list(const std::string& name, const std::string& text) { write_file(dir_.file(name), text); }

  TempDir dir_;
  void* handle_ = nullptr;
  KestraEntryFn entry_ = nullptr;
  KestraEntryFn plain_entry_ = nullptr;
  KestraRunFilesFn run_files_ = nullptr;
  std::filesystem::path old_dir_;
};

TEST_F(EngineLibrary, RefusesOtherInterfaceVersionsWithoutTouchingFiles) {
  write_file("w.kt4d", simple_problem("T") + "0\n");
  write_list("names.dat", "w.kt4d\nw.kt4o\nw.kt4p\nw.kt4r\n");
  for (int version : {9, 11, 0, -10}) {
    EXPECT_EQ(entry_(version), 1);
    EXPECT_EQ(plain_entry_(version), 1);
  }
  EXPECT_FALSE(std::filesystem::exists("w.kt4o"));
  EXPECT_FALSE(std::filesystem::exists("w.kt4p"));
  EXPECT_FALSE(std::filesystem::exists("w.kt4r"));
}

TEST_F(EngineLibrary, ShortOrMissingFileListSaysSoOnStandardError) {
  write_file("w.kt4d", simple_problem("T") + "0\n");
  for (const bool present : {false, true}) {
    if (present) write_list("names.dat", "w.kt4d\nw.kt4o\nw.kt4p\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(entry_(10), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("w.kt4o"));
  }
}

TEST_F(EngineLibrary, FileListInAnyCaseWithTrailingBlanksAndCrLf) {
  write_file("w.kt4d", simple_problem("Wall") + "0\n");
  for (const char* name : {"NAMES.dat", "names.dat", "Names.DAT"}) {
    write_list(name, "w.kt4d   \r\nw.kt4o \r\nw.kt4p\t\r\nw.kt4r\r\n");
    EXPECT_EQ(entry_(10), 0);
    EXPECT_NE(read_file("w.kt4o").find("END OF ANALYSIS"), std::string::npos) << name;
    EXPECT_FALSE(read_file("w.kt4r").empty());
    std::filesystem::remove(name);
    std::filesystem::remove("w.kt4o");
  }
}

TEST_F(EngineLibrary, RunFilesEntryReplacesOldOutputs) {
  write_file("w.kt4d", simple_problem("Wall") + "0\n");
  write_file("w.kt4o", std::string(100000, 'x'));
  EXPECT_EQ(run_files_("w.kt4d", "w.kt4o", "w.kt4p", "w.kt4r"), 0);
  const std::string report = read_file("w.kt4o");
  EXPECT_EQ(report.find('x'), std::string::npos);
  EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
  // A missing input data file is named in the report.
  EXPECT_EQ(run_files_("missing.kt4d", "m.kt4o", "m.kt4p", "m.kt4r"), 0);
  EXPECT_NE(read_file("m.kt4o").find("INPUT DATA FILE CANNOT BE READ"), std::string::npos);
}

// Result block headers of a plot data file: (count, rows, unit) per block.
struct BlockHeader {
  int count, rows, unit;
};
std::vector<BlockHeader> block_headers(const std::string& plot) {
  // Headers are the lines of exactly three integers.
  std::vector<BlockHeader> out;
  for (const std::string& line : lines_of(plot)) {
    const auto w = words_of(line);
    if (w.size() == 3 && w[0].find_first_of(".E") == std::string::npos &&
        w[1].find_first_of(".E") == std::string::npos) {
      out.push_back({std::stoi(w[0]), std::stoi(w[1]), std::stoi(w[2])});
    }
  }
  return out;
}

TEST(RunSequence, SingleProblem) {
  const RunTexts out = run_input(simple_problem("Single wall") + "0\n");
  const auto lines = lines_of(out.report);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], " KESTRA - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES");
  EXPECT_EQ(lines[1], " VERSION 2013");
  EXPECT_EQ(lines[5], "      Single wall" + std::string(70 - 11, ' '));
  EXPECT_EQ(lines.back(), "     END OF ANALYSIS" + std::string(29, ' '));
  EXPECT_EQ(count_lines_starting(out.report, " KESTRA - A PROGRAM"), 1);
  EXPECT_EQ(count_lines_starting(out.report, "     RESULTS -- ITERATION"), 1);
  // 11 result rows, stations 0 to 10.
  EXPECT_EQ(count_lines_starting(out.report, "    10   0.100E+02"), 1);
  const auto headers = block_headers(out.plot);
  ASSERT_EQ(headers.size(), 1u);
  EXPECT_EQ(headers[0].count, 1);
  EXPECT_EQ(headers[0].rows, 12);
  EXPECT_EQ(headers[0].unit, 1);
  EXPECT_EQ(count_lines_starting(out.notes, "     ITERATION MONITOR DATA"), 1);
  // A continuation code equal to the stage count ends the run too.
  const RunTexts same = run_input(simple_problem("Single wall", "1 0 1 0 0 0 0 1 0") + "1\n");
  EXPECT_EQ(block_headers(same.plot).size(), 1u);
}

TEST(RunSequence, ShortAndLongTermVariants) {
  const RunTexts out = run_input(simple_problem("Variant wall") + "9\n" + simple_problem("ignored title") + "0\n");
  EXPECT_EQ(count_lines_starting(out.report, " KESTRA - A PROGRAM"), 2);
  // The second problem begins with two empty lines and carries the main title.
  EXPECT_NE(out.report.find("\n\n\n KESTRA - A PROGRAM"), std::string::npos);
  EXPECT_EQ(count_lines_starting(out.report, "      Long Term :  Variant wall"), 2);
  EXPECT_EQ(out.report.find("ignored title"), std::string::npos);
  const auto headers = block_headers(out.plot);
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].count, 2);
  EXPECT_EQ(headers[1].count, 2);
  EXPECT_EQ(count_lines_starting(out.notes, "     ITERATION MONITOR DATA"), 2);
}

TEST(RunSequence, ConstructionStages) {
  const std::string control = "1 0 1 0 0 0 0 3 0";
  const RunTexts out = run_input(simple_problem("Staged", control) + "1\n" + simple_problem(" Stage No : 2", control) +
                                 "2\n" + simple_problem(" Stage No : 3", control) + "3\n");
  for (int stage = 1; stage <= 3; ++stage) {
    EXPECT_EQ(count_lines_starting(out.report, "      Stage No : " + std::to_string(stage) + "  Staged"), 2) << stage;
  }
  const auto headers = block_headers(out.plot);
  ASSERT_EQ(headers.size(), 3u);
  for (const auto& h : headers) EXPECT_EQ(h.count, 3);
}

TEST(RunSequence, ErrorInSecondProblemRepeatsTheFirstResults) {
  const std::string bad = "Second\n1 0 1 0 0 0 0 0 0\n10 1 100 0.00001 0\n5 3 1 1000\n0\n0\n";
  const RunTexts out = run_input(simple_problem("First") + "9\n" + bad + "0\n");
  EXPECT_NE(out.report.find("\n\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n\n\n\n     END OF ANALYSIS"),
            std::string::npos);
  const auto headers = block_headers(out.plot);
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].rows, 12);
  EXPECT_EQ(headers[1].rows, 12);
  // The last block repeats the first problem's rows word for word.
  const auto words = words_of(out.plot);
  const std::vector<std::string> first(words.end() - 60 - 3 - 60, words.end() - 60 - 3);
  const std::vector<std::string> last(words.end() - 60, words.end());
  EXPECT_EQ(first, last);
  // An error in the first problem leaves a last block of no rows.
  const RunTexts none = run_input(bad + "0\n");
  const auto h = block_headers(none.plot);
  ASSERT_EQ(h.size(), 1u);
  EXPECT_EQ(h[0].rows, 0);
}

TEST(RunSequence, UnreadableDataEndsTheRunWithTheLineNumber) {
  const struct {
    std::string input;
    std::string message;
  } cases[] = {
      {"Title only\n", "     ERROR -- INPUT DATA FILE ENDS EARLY AT LINE 2"},
      {"T\n1 0 1 0 0 0 0 0 0\n10 1 100\n", "     ERROR -- INPUT DATA FILE ENDS EARLY AT LINE 4"},
      {"T\n1 0 1 0 0 0 0 0 0\n10 1 1OO 0.00001 0\n", "     ERROR -- VALUE ON LINE 3 IS NOT A NUMBER"},
      {"T\n1 0 1 0 0 0 0 0 0\n10.5 1 100 0.00001 0\n", "     ERROR -- VALUE ON LINE 3 IS NOT AN INTEGER"},
      {simple_problem("T"), "     ERROR -- INPUT DATA FILE ENDS EARLY AT LINE 9"},  // no continuation code
      {"", "     ERROR -- INPUT DATA FILE ENDS EARLY AT LINE 1"},
  };
  for (const auto& c : cases) {
    const RunTexts out = run_input(c.input);
    const auto lines = lines_of(out.report);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.message);
    EXPECT_EQ(out.report.find("END OF ANALYSIS"), std::string::npos);
  }
}

TEST(RunSequence, IndependentRunsSideBySide) {
  const std::string a = simple_problem("A") + "0\n";
  const std::string b = simple_problem("B", "2 0 1 0 0 0 0 0 0", "1\n1\t0\t0\t-7\t0\t0\n") + "0\n";
  const RunTexts expect_a = run_input(a);
  const RunTexts expect_b = run_input(b);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(8, 0);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < 20; ++k) {
        const RunTexts out = run_input(t % 2 ? a : b);
        const RunTexts& expect = t % 2 ? expect_a : expect_b;
        if (out.report != expect.report || out.plot != expect.plot || out.notes != expect.notes) ++mismatches[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}

}  // namespace
}  // namespace kestra
