// TWordReader: splitting into lines and words, typed reads with their exact
// messages, reading past the end, and files on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "results/word_reader.h"

namespace kestra {
namespace {

std::vector<std::string> all_words(TWordReader reader) {
  std::vector<std::string> words;
  try {
    for (;;) words.push_back(reader.NextWord());
  } catch (const TInOutError& e) {
    EXPECT_EQ(e.what(), TWordReader::kIncomplete);
  }
  return words;
}

std::string error_of(auto&& read) {
  try {
    read();
  } catch (const TInOutError& e) {
    return e.what();
  }
  return "(no error)";
}

struct SplitRow {
  const char* text;
  std::vector<std::string> words;
  std::size_t lines;
};

class WordSplit : public ::testing::TestWithParam<SplitRow> {};

TEST_P(WordSplit, WordsAndLines) {
  const SplitRow& row = GetParam();
  EXPECT_EQ(all_words(TWordReader::FromText(row.text)), row.words);
  EXPECT_EQ(TWordReader::FromText(row.text).LineCount(), row.lines);
}

INSTANTIATE_TEST_SUITE_P(Table, WordSplit,
                         ::testing::Values(SplitRow{"  1\t 2.5   3e2 ", {"1", "2.5", "3e2"}, 1},
                                           SplitRow{
                                               "1 2\n\n   \n\t\n3", {"1", "2", "3"}, 5},  // blank lines passed over
                                           SplitRow{"1\t2\t3", {"1", "2", "3"}, 1},       // TABs as blanks
                                           SplitRow{"", {}, 1},                           // one empty line
                                           SplitRow{"a\n", {"a"}, 1}, SplitRow{"a\n\n", {"a"}, 2},
                                           SplitRow{"a\r\nb\rc\nd", {"a", "b", "c", "d"}, 4},
                                           // Control characters inside a word stay; after a separator they go.
                                           SplitRow{"a\x01"
                                                    "b c\x02",
                                                    {"a\x01"
                                                     "b",
                                                     "c"},
                                                    1},
                                           SplitRow{"a \x01\x02"
                                                    "b",
                                                    {"a", "b"},
                                                    1}));

TEST(WordReader, TypedReads) {
  TWordReader r = TWordReader::FromText("12 12.0 1.2E1 -2147483648 2147483647\n2.5 -1e-3 +4 .5 1e-99999");
  EXPECT_EQ(r.ReadInt(), 12);
  EXPECT_EQ(r.ReadInt(), 12);
  EXPECT_EQ(r.ReadInt(), 12);
  EXPECT_EQ(r.ReadInt(), INT32_MIN);
  EXPECT_EQ(r.ReadInt(), INT32_MAX);
  EXPECT_EQ(r.ReadFloat(), 2.5L);
  EXPECT_EQ(r.ReadFloat(), -1e-3L);
  EXPECT_EQ(r.ReadFloat(), 4);
  EXPECT_EQ(r.ReadFloat(), 0.5);
  EXPECT_EQ(r.ReadFloat(), 0);
}

struct BadReadRow {
  const char* text;
  bool as_int;
  const char* message;
};

class WordReaderErrors : public ::testing::TestWithParam<BadReadRow> {};

// The offending word is the last of the text, so its position is in the message.
TEST_P(WordReaderErrors, MessageNamesLineAndItem) {
  const BadReadRow& row = GetParam();
  TWordReader r = TWordReader::FromText(row.text);
  std::string message;
  for (;;) {
    try {
      if (row.as_int)
        r.ReadInt();
      else
        r.ReadFloat();
    } catch (const TInOutError& e) {
      message = e.what();
      break;
    }
  }
  EXPECT_EQ(message, row.message) << row.text;
}

constexpr const char* kInt = "\rAn integer was expected but not found.";

INSTANTIATE_TEST_SUITE_P(
    Table, WordReaderErrors,
    ::testing::Values(
        BadReadRow{"3.5", true, "Error on Line 1 Item 1\rAn integer was expected but not found."},
        BadReadRow{"1\n2\n\n4 5 abc", false,
                   "Error on Line 4 Item 3\rA floating point number was expected but not found."},
        BadReadRow{"2147483648", true, "Error on Line 1 Item 1\rAn integer was expected but not found."},
        BadReadRow{"1 -2147483649", true, "Error on Line 1 Item 2\rAn integer was expected but not found."},
        BadReadRow{"1e99999", false, "Error on Line 1 Item 1\rA floating point number was expected but not found."},
        BadReadRow{"1,5", false, "Error on Line 1 Item 1\rA floating point number was expected but not found."},
        BadReadRow{"nan", false, "Error on Line 1 Item 1\rA floating point number was expected but not found."},
        BadReadRow{"1 2", true, "This file either invalid or incomplete."},
        BadReadRow{"", false, "This file either invalid or incomplete."}));

TEST(WordReader, FailedReadConsumesTheWordAndKeepsState) {
  TWordReader r = TWordReader::FromText("x 7");
  EXPECT_EQ(error_of([&] { r.ReadInt(); }), std::string("Error on Line 1 Item 1") + kInt);
  EXPECT_EQ(r.ReadInt(), 7);
  EXPECT_EQ(error_of([&] { r.ReadFloat(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, ReadLineReturnsTheLineOfTheLastWord) {
  TWordReader r = TWordReader::FromText("1 2\n\tTitle  with  blanks \n3\n");
  EXPECT_EQ(r.ReadInt(), 1);
  EXPECT_EQ(r.ReadInt(), 2);
  EXPECT_EQ(r.ReadLine(), "1 2");  // all its words taken, still that line
  EXPECT_EQ(r.ReadLine(), "\tTitle  with  blanks ");
  EXPECT_EQ(r.ReadInt(), 3);
  EXPECT_FALSE(r.AtEnd());
  EXPECT_EQ(r.ReadLine(), "3");
  EXPECT_TRUE(r.AtEnd());
  // Reading past the last line is reported, not an out-of-range access.
  EXPECT_EQ(error_of([&] { r.ReadLine(); }), "This file either invalid or incomplete.");
  EXPECT_EQ(error_of([&] { r.NextWord(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, EmptyText) {
  TWordReader words = TWordReader::FromText("");
  EXPECT_EQ(error_of([&] { words.NextWord(); }), "This file either invalid or incomplete.");
  TWordReader lines = TWordReader::FromText("");
  EXPECT_FALSE(lines.AtEnd());
  EXPECT_EQ(lines.ReadLine(), "");
  EXPECT_TRUE(lines.AtEnd());
}

class WordReaderFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kestra_word_reader_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path Write(const std::string& name, const std::string& content) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::filesystem::path dir_;
};

TEST_F(WordReaderFile, ReadsAFileWrittenWithWindowsLineEnds) {
  TWordReader r(Write("wall.kt4d", "Title\r\n1 2\t3\r\n4.5\r\n"));
  EXPECT_EQ(r.LineCount(), 3u);
  EXPECT_EQ(r.ReadLine(), "Title");
  EXPECT_EQ(r.ReadInt(), 1);
  EXPECT_EQ(r.ReadInt(), 2);
  EXPECT_EQ(r.ReadInt(), 3);
  EXPECT_EQ(r.ReadFloat(), 4.5L);
}

TEST_F(WordReaderFile, FilesThatCannotBeReadNameThemselves) {
  const auto missing = dir_ / "missing.kt4p";
  const std::string message = error_of([&] { TWordReader r(missing); });
  EXPECT_NE(message.find(missing.string()), std::string::npos) << message;
  EXPECT_NE(error_of([&] { TWordReader r(dir_); }), "(no error)");
}

}  // namespace
}  // namespace kestra
