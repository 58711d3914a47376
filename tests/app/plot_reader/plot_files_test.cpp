// Plot data files written by the engine for the example projects (copied
// into the fixtures folder by running kestra-run on examples/*.kt4d;
// cantilever_long_term.kt4p is the cantilever followed by a long-term
// problem of 30 increments), and the CSV tables made from them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "results/graph_set.h"
#include "results/plot_reader.h"
#include "results/results_csv.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

fs::path Fixture(const char* name) { return fs::path(KESTRA_TEST_DATA_DIR) / name; }

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, sep)) out.push_back(field);
  return out;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Rows of the file as the engine lays them out: a line of one number opens a
// problem's earth pressure, lines of four are pressure records, a line of
// three the result header, lines of five the station rows. Each row gets
// its 1-based problem number in front.
struct FileRows {
  std::vector<std::vector<long double>> pressure;
  std::vector<std::vector<long double>> stations;
};

FileRows RowsOfFile(const fs::path& file) {
  std::ifstream in(file);
  FileRows rows;
  int problem = 0;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> w = Words(line);
    if (w.size() == 1) ++problem;
    if (w.size() != 4 && w.size() != 5) continue;
    std::vector<long double> row{static_cast<long double>(problem)};
    for (const std::string& s : w) row.push_back(std::strtold(s.c_str(), nullptr));
    (w.size() == 4 ? rows.pressure : rows.stations).push_back(row);
  }
  return rows;
}

struct FixtureRow {
  const char* file;
  int unit;
  std::vector<std::size_t> stations;
  std::size_t curves;
};

class ExampleFile : public ::testing::TestWithParam<FixtureRow> {};

TEST_P(ExampleFile, ReadsWhole) {
  const FixtureRow& row = GetParam();
  TGraphSet graphs;
  TPlotReadInfo info;
  std::vector<std::string> messages;
  ASSERT_TRUE(ReadPlotFile(
      Fixture(row.file), true, TPlotProject{}, graphs, [&](const std::string& m) { messages.push_back(m); }, &info))
      << info.Detail;
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(info.Unit, row.unit);
  EXPECT_EQ(info.Stations, row.stations);
  EXPECT_EQ(graphs.pltPY.Lines.LineCount(), row.curves);
  EXPECT_EQ(graphs.pltDef.Lines.LineCount(), row.stations.size());
  EXPECT_TRUE(graphs.pltDef.HasData());
  EXPECT_EQ(graphs.pltDef.Units(), row.unit);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleFile,
                         ::testing::Values(FixtureRow{"cantilever_user.kt4p", 1, {42}, 2},
                                           FixtureRow{"anchored_user.kt4p", 2, {47}, 3},
                                           FixtureRow{"cantilever_long_term.kt4p", 1, {42, 32}, 2}));

// The CSV tables hold the file's numbers with the reader's conversions, one
// row per station (or point) as the file has them.
class ExampleCsv : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReadPlotFile(Fixture(GetParam()), false, TPlotProject{}, graphs, {}, &info)) << info.Detail;
    file = RowsOfFile(Fixture(GetParam()));
  }
  TGraphSet graphs;
  TPlotReadInfo info;
  FileRows file;
};

TEST_P(ExampleCsv, ResultsAreTheFilesStationRowsInGraphUnits) {
  std::ostringstream out;
  WriteResultsCsv(out, graphs, info);
  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_EQ(lines.size(), file.stations.size() + 1);
  EXPECT_EQ(lines[0], "problem,depth (ft),deflection (in),moment (in-kips),shear (kips),soil reaction (lbs/in)");
  const long double divisors[] = {1, 12, 1, 1000, 1000, 1};
  for (std::size_t r = 0; r < file.stations.size(); ++r) {
    const std::vector<std::string> fields = Split(lines[r + 1], ',');
    ASSERT_EQ(fields.size(), 6u) << lines[r + 1];
    for (std::size_t c = 0; c < 6; ++c) {
      const double expected = static_cast<double>(file.stations[r][c] / divisors[c]);
      EXPECT_DOUBLE_EQ(std::strtod(fields[c].c_str(), nullptr), expected) << "row " << r << " column " << c;
    }
  }
}

TEST_P(ExampleCsv, PressureIsTheFilesTotalWithDepthsInFeet) {
  std::ostringstream out;
  WritePressureCsv(out, graphs, info);
  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_EQ(lines.size(), file.pressure.size() + 1);
  EXPECT_EQ(lines[0], "problem,depth (ft),earth pressure (lbs/in)");
  for (std::size_t r = 0; r < file.pressure.size(); ++r) {
    const std::vector<std::string> fields = Split(lines[r + 1], ',');
    ASSERT_EQ(fields.size(), 3u) << lines[r + 1];
    EXPECT_DOUBLE_EQ(std::strtod(fields[0].c_str(), nullptr), static_cast<double>(file.pressure[r][0]));
    EXPECT_DOUBLE_EQ(std::strtod(fields[1].c_str(), nullptr), static_cast<double>(file.pressure[r][1] / 12));
    EXPECT_DOUBLE_EQ(std::strtod(fields[2].c_str(), nullptr), static_cast<double>(file.pressure[r][2]));
  }
}

TEST_P(ExampleCsv, PYHoldsEveryPointOfTheLastBlocksCurves) {
  std::ostringstream out;
  WritePYCsv(out, graphs, info);
  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_EQ(lines.size(), 11u);  // two curves of five points
  EXPECT_EQ(lines[0], "curve,label,y (in),p (lbs/in)");
  EXPECT_EQ(lines[1], "1,20,-2,100");
  EXPECT_EQ(lines[10],
            std::string("2,") + (GetParam() == std::string("cantilever_user.kt4p") ? "40" : "30") + ",2,-1500");
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleCsv, ::testing::Values("cantilever_user.kt4p", "cantilever_long_term.kt4p"));

TEST(ResultsCsvFiles, WritesTheThreeTablesAndNamesAFolderItCannotWriteTo) {
  TGraphSet graphs;
  TPlotReadInfo info;
  ASSERT_TRUE(ReadPlotFile(Fixture("anchored_user.kt4p"), false, TPlotProject{}, graphs, {}, &info));
  const fs::path dir = fs::temp_directory_path() / ("kestra-csv-test-" + std::to_string(std::random_device{}()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  ASSERT_EQ(WritePlotCsvFiles(dir, "anchored", graphs, info), "");

  using Writer = void (*)(std::ostream&, const TGraphSet&, const TPlotReadInfo&);
  const std::pair<const char*, Writer> tables[] = {{"anchored-results.csv", &WriteResultsCsv},
                                                   {"anchored-pressure.csv", &WritePressureCsv},
                                                   {"anchored-py.csv", &WritePYCsv}};
  for (const auto& [name, write] : tables) {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream got, expected;
    got << in.rdbuf();
    write(expected, graphs, info);
    EXPECT_EQ(got.str(), expected.str()) << name;
  }
  std::ifstream results(dir / "anchored-results.csv");
  std::string header;
  std::getline(results, header);
  EXPECT_EQ(header, "problem,depth (m),deflection (m),moment (m-kN),shear (kN),soil reaction (kN/m)");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // no temporaries left

  const std::string message = WritePlotCsvFiles(dir / "missing", "anchored", graphs, info);
  EXPECT_NE(message.find("anchored-results.csv"), std::string::npos) << message;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kestra
