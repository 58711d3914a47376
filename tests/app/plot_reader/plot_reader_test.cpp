// The plot data reader on hand-made plot data: block counting, unit
// conversions, curve and line completion, naming, the soil-layer column,
// capacities and failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "plot_text.h"
#include "results/graph_set.h"
#include "results/plot_reader.h"
#include "results/word_reader.h"

namespace kestra {
namespace {

using plot_test::Block;
using plot_test::Curve;
using plot_test::Join;
using plot_test::Stations;

class PlotReader : public ::testing::Test {
 protected:
  bool Read(const std::string& text, bool report_errors = true) {
    messages.clear();
    TWordReader words = TWordReader::FromText(text);
    return ReadPlotWords(
        words, report_errors, project, graphs, [this](const std::string& m) { messages.push_back(m); }, &info);
  }

  // X or Y of point j of line i of a list.
  static long double X(const TLineList& l, std::size_t i, std::size_t j) { return l.Line(i).Point(j).X; }
  static long double Y(const TLineList& l, std::size_t i, std::size_t j) { return l.Line(i).Point(j).Y; }

  std::vector<TLineList*> ResultLists() {
    return {&graphs.pltDef.Lines, &graphs.pltMom.Lines, &graphs.pltShear.Lines, &graphs.pltSoil.Lines};
  }

  TPlotProject project;
  TGraphSet graphs;
  TPlotReadInfo info;
  std::vector<std::string> messages;
};

// ---------------------------------------------------------------------------
// The smallest file, in any layout

class SixIntegers : public PlotReader, public ::testing::WithParamInterface<const char*> {};

TEST_P(SixIntegers, IsACompleteFileWithOneEmptyLinePerGraph) {
  ASSERT_TRUE(Read(GetParam())) << info.Detail;
  EXPECT_TRUE(messages.empty());
  for (TLineList* list : ResultLists()) {
    EXPECT_EQ(list->LineCount(), 1u);
    EXPECT_EQ(list->PointCount(), 0u);
  }
  EXPECT_EQ(graphs.pltLD.Lines.LineCount(), 1u);
  EXPECT_EQ(graphs.pltLD.Lines.PointCount(), 0u);
  EXPECT_EQ(graphs.PltCombine.Lines.LineCount(), 3u);
  EXPECT_EQ(graphs.pltPY.Lines.LineCount(), 0u);
  EXPECT_EQ(graphs.pltInter.Lines.LineCount(), 1u);
  EXPECT_EQ(graphs.pltDMS.Lines.LineCount(), 1u);
  EXPECT_TRUE(graphs.pltDMS.ShowThree);
  EXPECT_EQ(graphs.pltDMS.LayerLines.LineCount(), 0u);  // no stations: no layer column
  EXPECT_EQ(graphs.pltDef.YCaption, "Depth (ft)");
  EXPECT_EQ(info.Unit, 1);
  EXPECT_EQ(info.Stations, std::vector<std::size_t>{0});
}

INSTANTIATE_TEST_SUITE_P(Layouts, SixIntegers,
                         ::testing::Values("0 1 0 1 0 0", "0\n1 0\n1 0 0\n", "\n\n0\t1\t0\r\n\r\n1   0 0",
                                           "0 1 0 1 0 0\n9 9 9 words after the last block are ignored"));

// ---------------------------------------------------------------------------
// Unit conversions

TEST_F(PlotReader, EnglishRowsBecomeFeetKipInchesAndKips) {
  Block b;
  b.unit = 1;
  b.stations = {{0, 0.7, 0, 0, 0}, {120, 0.5, 24000, 1500, 10}};
  ASSERT_TRUE(Read(b.Text())) << info.Detail;
  const std::size_t j = 1;
  EXPECT_EQ(Y(graphs.pltDef.Lines, 0, j), 10);
  EXPECT_EQ(X(graphs.pltDef.Lines, 0, j), 0.5);
  EXPECT_EQ(X(graphs.pltMom.Lines, 0, j), 24);
  EXPECT_EQ(X(graphs.pltShear.Lines, 0, j), 1.5);
  EXPECT_EQ(X(graphs.pltSoil.Lines, 0, j), 10);
  EXPECT_EQ(Y(graphs.pltSoil.Lines, 0, j), 10);
  // The three panels carry the same converted points.
  EXPECT_EQ(X(graphs.pltDMS.Lines, 0, j), 0.5);
  EXPECT_EQ(X(graphs.pltDMS.Lines2, 0, j), 24);
  EXPECT_EQ(X(graphs.pltDMS.Lines3, 0, j), 1.5);
  EXPECT_EQ(Y(graphs.pltDMS.Lines3, 0, j), 10);
  EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (in-kips)");
  EXPECT_EQ(graphs.pltDef.Units(), 1);
}

TEST_F(PlotReader, OtherUnitsAreNotConverted) {
  for (int unit : {2, 3, 0}) {
    Block b;
    b.unit = unit;
    b.pressure = {{0, 5, 5, 0}, {3, 7, 6, 1}};
    b.stations = {{0, 0.7, 0, 0, 0}, {120, 0.5, 24000, 1500, 10}};
    ASSERT_TRUE(Read(b.Text())) << info.Detail;
    EXPECT_EQ(Y(graphs.pltDef.Lines, 0, 1), 120) << unit;
    EXPECT_EQ(X(graphs.pltMom.Lines, 0, 1), 24000) << unit;
    EXPECT_EQ(X(graphs.pltShear.Lines, 0, 1), 1500) << unit;
    EXPECT_EQ(Y(graphs.pltLD.Lines, 0, 1), 3) << unit;
    EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (m-kN)") << unit;
    EXPECT_EQ(graphs.pltShear.XCaption, "Shear (kN)") << unit;
    EXPECT_EQ(graphs.pltDMS.XCaption3, "Shear (kN)") << unit;
    EXPECT_EQ(graphs.pltDef.Units(), unit == 2 ? 2 : unit == 3 ? 3 : 1) << unit;
  }
}

// The earth-pressure graph follows the block's unit code; the combined
// graph, filled before that code is read, follows the project's units.
TEST_F(PlotReader, EarthPressureDepthsFollowBlockUnitsAndCombinedFollowsProject) {
  struct Row {
    int file_unit;
    int project_units;
    long double ld_depth;
    long double combine_depth;
  };
  for (const Row& row : {Row{1, 1, 2, 2}, Row{2, 2, 24, 24}, Row{1, 2, 2, 24}, Row{2, 1, 24, 2}}) {
    project.UnitSystem = row.project_units;
    Block b;
    b.unit = row.file_unit;
    b.pressure = {{0, 0, 1e-7, 0}, {24, 33.25, 30, 3.25}};
    ASSERT_TRUE(Read(b.Text())) << info.Detail;
    SCOPED_TRACE(row.file_unit * 10 + row.project_units);
    EXPECT_EQ(X(graphs.pltLD.Lines, 0, 1), 33.25L);
    EXPECT_EQ(Y(graphs.pltLD.Lines, 0, 1), row.ld_depth);
    const TLineList& c = graphs.PltCombine.Lines;
    ASSERT_EQ(c.LineCount(), 3u);
    EXPECT_EQ(c.Line(0).Name, "Total Earth Pressure");
    EXPECT_EQ(c.Line(1).Name, "from Soils ");
    EXPECT_EQ(c.Line(2).Name, "from Surcharge Loads");
    EXPECT_EQ(X(c, 0, 1), 33.25L);
    EXPECT_EQ(X(c, 1, 1), 30);
    EXPECT_EQ(X(c, 2, 1), 3.25L);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(Y(c, i, 1), row.combine_depth);
  }
}

// ---------------------------------------------------------------------------
// p-y curves

TEST_F(PlotReader, ShortCurvesOfTheFirstBlockEndWithCopiesOfTheirLastPoint) {
  Block b;
  b.curves = {{20, {{-1, 10}, {0, 0}, {1, -10}}},
              {40, {{-2, 20}, {-1, 10}, {0, 0}, {1, -10}, {2, -20}}},  // enlarges all curves
              {60, {{-3, 30}, {3, -30}}}};
  b.stations = Stations(2, 6);
  ASSERT_TRUE(Read(b.Text())) << info.Detail;
  const TLineList& py = graphs.pltPY.Lines;
  ASSERT_EQ(py.LineCount(), 3u);
  ASSERT_EQ(py.PointCount(), 5u);
  EXPECT_EQ(py.Line(0).Value, 20);
  EXPECT_EQ(py.Line(1).Value, 40);
  EXPECT_EQ(py.Line(2).Value, 60);
  // Curve 0 keeps its three points, then repeats (1, -10).
  EXPECT_EQ(X(py, 0, 0), -1);
  EXPECT_EQ(Y(py, 0, 1), 0);
  for (std::size_t j = 2; j < 5; ++j) {
    EXPECT_EQ(X(py, 0, j), 1) << j;
    EXPECT_EQ(Y(py, 0, j), -10) << j;
  }
  EXPECT_EQ(X(py, 1, 4), 2);
  EXPECT_EQ(Y(py, 1, 4), -20);
  for (std::size_t j = 1; j < 5; ++j) EXPECT_EQ(Y(py, 2, j), -30) << j;
  EXPECT_EQ(info.CurvePoints, (std::vector<std::size_t>{3, 5, 2}));
}

// The curves shown are the last block's; a shorter curve there must not
// keep points of the earlier block's longer curve at the same position.
TEST_F(PlotReader, CurvesOfALaterBlockReplaceTheFirstBlocksAndAreCompletedToo) {
  Block first;
  first.n_problems = 2;
  first.curves = {{1, {{-2, 9}, {-1, 8}, {0, 7}, {1, 6}}}, {2, {{0, 0}}}};
  first.stations = Stations(2, 6);
  Block second = first;
  second.curves = {{5, {{-5, 50}, {5, -50}}}};
  ASSERT_TRUE(Read(Join({first, second}))) << info.Detail;
  const TLineList& py = graphs.pltPY.Lines;
  ASSERT_EQ(py.LineCount(), 1u);
  ASSERT_EQ(py.PointCount(), 4u);  // the count never shrinks while reading
  EXPECT_EQ(py.Line(0).Value, 5);
  EXPECT_EQ(X(py, 0, 0), -5);
  for (std::size_t j = 1; j < 4; ++j) {
    EXPECT_EQ(X(py, 0, j), 5) << j;
    EXPECT_EQ(Y(py, 0, j), -50) << j;
  }
  EXPECT_EQ(info.CurvePoints, std::vector<std::size_t>{2});
}

// ---------------------------------------------------------------------------
// Several problems

TEST_F(PlotReader, ShorterProblemsAreExtendedByTheirLastStation) {
  Block first;
  first.n_problems = 2;
  first.pressure = {{0, 1, 1, 0}, {12, 2, 2, 0}, {24, 3, 3, 0}};
  first.stations = Stations(3, 12);
  Block second = first;
  second.pressure = {{0, 4, 4, 0}, {12, 5, 5, 0}, {24, 6, 6, 0}, {36, 7, 7, 0}, {48, 8, 8, 0}};
  second.stations = Stations(5, 12, 2);
  ASSERT_TRUE(Read(Join({first, second}))) << info.Detail;

  for (TLineList* list : ResultLists()) {
    ASSERT_EQ(list->LineCount(), 2u);
    ASSERT_EQ(list->PointCount(), 5u);
    for (std::size_t j = 3; j < 5; ++j) {
      EXPECT_EQ(list->Line(0).Point(j).X, list->Line(0).Point(2).X) << j;
      EXPECT_EQ(list->Line(0).Point(j).Y, 2) << j;  // 24 in = 2 ft
    }
    EXPECT_EQ(list->Line(1).Point(4).Y, 4);
  }
  EXPECT_EQ(X(graphs.pltDef.Lines, 0, 4), 3);
  EXPECT_EQ(X(graphs.pltMom.Lines, 1, 4), 2 * 100 * 5 / 1000.0L);
  // The panels of pltDMS receive the same copies.
  for (TLineList* list : {&graphs.pltDMS.Lines, &graphs.pltDMS.Lines2, &graphs.pltDMS.Lines3}) {
    ASSERT_EQ(list->PointCount(), 5u);
    EXPECT_EQ(list->Line(0).Point(4).Y, 2);
    EXPECT_EQ(list->Line(0).Point(4).X, list->Line(0).Point(2).X);
  }
  EXPECT_EQ(X(graphs.pltDMS.Lines, 0, 4), 3);

  const TLineList& ld = graphs.pltLD.Lines;
  ASSERT_EQ(ld.LineCount(), 2u);
  ASSERT_EQ(ld.PointCount(), 5u);
  EXPECT_EQ(X(ld, 0, 4), 3);
  EXPECT_EQ(Y(ld, 0, 4), 2);
  EXPECT_EQ(X(ld, 1, 4), 8);
  EXPECT_EQ(Y(ld, 1, 4), 4);
  EXPECT_EQ(info.Stations, (std::vector<std::size_t>{3, 5}));
  EXPECT_EQ(info.PressurePoints, (std::vector<std::size_t>{3, 5}));
}

struct NamingRow {
  bool long_term;
  int n_blocks;
  std::vector<std::string> names;
};

class PlotReaderNaming : public PlotReader, public ::testing::WithParamInterface<NamingRow> {};

TEST_P(PlotReaderNaming, ResultLinesAreNamedByStageOrVariant) {
  const NamingRow& row = GetParam();
  project.LongTermAnalysis = row.long_term;
  Block b;
  b.n_problems = row.n_blocks;
  b.stations = Stations(3, 6);
  ASSERT_TRUE(Read(Join(std::vector<Block>(static_cast<std::size_t>(row.n_blocks), b)))) << info.Detail;
  for (TLineList* list : {&graphs.pltDef.Lines, &graphs.pltMom.Lines, &graphs.pltShear.Lines, &graphs.pltSoil.Lines,
                          &graphs.pltDMS.Lines}) {
    ASSERT_EQ(list->LineCount(), row.names.size());
    for (std::size_t i = 0; i < row.names.size(); ++i) EXPECT_EQ(list->Line(i).Name, row.names[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, PlotReaderNaming,
                         ::testing::Values(NamingRow{false, 1, {""}}, NamingRow{true, 1, {""}},
                                           NamingRow{true, 2, {"Short-Term", "Long-Term"}},
                                           NamingRow{false, 2, {"Stage: 1", "Stage: 2"}},
                                           NamingRow{false, 3, {"Stage: 1", "Stage: 2", "Stage: 3"}}));

TEST_F(PlotReader, TheFirstBlockDecidesHowManyBlocksAreRead) {
  Block first;
  first.n_problems = 2;
  first.stations = Stations(2, 6);
  Block second = first;
  second.n_problems = 3;  // raises the line count, but no third block is read
  Block third = first;
  third.stations = {{1, 2, 3, 4, 5}, {1.5, 1, 2, 3}};  // short row: never reached
  ASSERT_TRUE(Read(Join({first, second}) + third.Text())) << info.Detail;
  EXPECT_EQ(graphs.pltDef.Lines.LineCount(), 3u);
  EXPECT_EQ(graphs.pltLD.Lines.LineCount(), 3u);
  EXPECT_EQ(info.Stations.size(), 2u);

  // A single-problem first block ends the file there.
  Block single = first;
  single.n_problems = 1;
  ASSERT_TRUE(Read(Join({single, second}))) << info.Detail;
  EXPECT_EQ(graphs.pltDef.Lines.LineCount(), 1u);

  // Counts below 1 (hand-made input) also mean one block, with one line.
  for (int n : {0, -4}) {
    single.n_problems = n;
    ASSERT_TRUE(Read(single.Text())) << n << ": " << info.Detail;
    EXPECT_EQ(graphs.pltDef.Lines.LineCount(), 1u) << n;
    EXPECT_EQ(graphs.pltDef.Lines.PointCount(), 2u) << n;
  }
}

// ---------------------------------------------------------------------------
// Soil-layer column of pltDMS

TEST_F(PlotReader, LayerColumnNamesEachLayerByItsSoilAndAddsTheWall) {
  project.UnitSystem = 1;
  project.IncrementCount = 40;
  project.IncrementLength = 6;  // inches: a 20 ft wall
  project.FreeHeight = 120;     // 10 ft
  project.SoilLayers = {{1, 5}, {2, 6}, {3, 7}, {4, 8}, {5, 9}, {6, 10}, {7, 11}, {0, 12}};
  Block b;
  b.stations = Stations(2, 6);
  ASSERT_TRUE(Read(b.Text())) << info.Detail;
  const TLineList& layers = graphs.pltDMS.LayerLines;
  const std::vector<std::pair<std::string, int>> expected = {
      {" CLAY ", 1},      {" CLAY ", 1},     {" CLAY ", 1},  {" SAND ", 7}, {" SILT ", 8},
      {"STRONG ROCK", 9}, {"WEAK ROCK", 10}, {"LAYER 8", 0}, {"PILE", 0},   {"PILE", 0}};
  ASSERT_EQ(layers.LineCount(), expected.size());
  EXPECT_EQ(graphs.pltDMS.WallLineCount, 8);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(layers.Line(i).PointCount(), 1u);
    EXPECT_EQ(layers.Line(i).Name, expected[i].first) << i;
    EXPECT_EQ(X(layers, i, 0), expected[i].second) << i;
  }
  EXPECT_EQ(Y(layers, 3, 0), 8);  // table depths are already in feet
  EXPECT_EQ(Y(layers, 8, 0), 20);
  EXPECT_EQ(Y(layers, 9, 0), 10);

  // In SI the project's lengths are metres already.
  project.UnitSystem = 2;
  project.IncrementLength = 0.25L;
  project.FreeHeight = 4;
  project.SoilLayers.clear();
  ASSERT_TRUE(Read(b.Text())) << info.Detail;
  ASSERT_EQ(layers.LineCount(), 2u);
  EXPECT_EQ(graphs.pltDMS.WallLineCount, 0);
  EXPECT_EQ(Y(layers, 0, 0), 10);
  EXPECT_EQ(Y(layers, 1, 0), 4);
}

// A read clears only points: names and the layer column of an earlier read
// stay until something overwrites them.
TEST_F(PlotReader, NamesAndLayersSurviveALaterReadThatDoesNotOverwriteThem) {
  project.LongTermAnalysis = true;
  project.SoilLayers = {{4, 10}};
  Block b;
  b.n_problems = 2;
  b.stations = Stations(2, 6);
  ASSERT_TRUE(Read(Join({b, b}))) << info.Detail;
  ASSERT_EQ(graphs.pltDMS.LayerLines.LineCount(), 3u);

  ASSERT_TRUE(Read("0 1 0 1 0 0")) << info.Detail;
  EXPECT_EQ(graphs.pltDef.Lines.LineCount(), 1u);
  EXPECT_EQ(graphs.pltDef.Lines.PointCount(), 0u);
  EXPECT_EQ(graphs.pltDef.Lines.Line(0).Name, "Short-Term");
  EXPECT_EQ(graphs.pltDMS.LayerLines.LineCount(), 3u);
  EXPECT_EQ(graphs.pltDMS.LayerLines.Line(0).Name, " SAND ");
}

// ---------------------------------------------------------------------------
// Failures

struct FailureRow {
  const char* name;
  std::string text;
  bool capacity;  // the message names the count instead of the general text
};

std::string Repeat(const std::string& s, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += s;
  return out;
}

std::vector<FailureRow> FailureRows() {
  return {
      {"RealWhereNEP", "1.5 1 0 1 0 0", false},
      {"TextWhereReal", "1\n0 abc 0 0\n1 0 1 0 0", false},
      {"WordsRunOut", "0 1 0 1 2 1\n0 0 0 0 0\n", false},
      {"SecondBlockMissing", "0 1 0 2 0 1\n", false},
      {"NegativePressureCount", "-1 1 0 1 0 0", false},
      {"NegativeCurveCount", "0 1 -2 1 0 0", false},
      {"NegativePointCount", "0 1 1 20 -5 1 0 0", false},
      {"NegativeStationCount", "0 1 0 1 -1 1", false},
      {"UnitNotInteger", "0 1.25 0 1 0 0", false},
      {"TooManyPressurePoints", "1201 " + Repeat("0 0 0 0 ", 1201) + "1 0 1 0 0", true},
      {"TooManyCurves", "0 1 64 " + Repeat("1 1 0 0 ", 64) + "1 0 0", true},
      {"TooManyCurvePoints", "0 1 1 20 35 " + Repeat("0 0 ", 35) + "1 0 0", true},
      {"TooManyStations", "0 1 0 1 409 1 " + Repeat("0 0 0 0 0 ", 409), true},
      {"TooManyProblems", "0 1 0 12 0 1", true},
      {"TooManyProblemsLater", "0 1 0 2 0 1 0 1 0 12 0 1", true},
  };
}

class PlotReaderFailure : public PlotReader, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(PlotReaderFailure, StopsWithFalseAndOneMessageOnlyWhenAskedFor) {
  const FailureRow& row = GetParam();
  EXPECT_FALSE(Read(row.text, true));
  EXPECT_FALSE(info.Loaded);
  EXPECT_FALSE(info.Detail.empty());
  ASSERT_EQ(messages.size(), 1u);
  if (row.capacity) {
    EXPECT_NE(messages[0].find("at most"), std::string::npos) << messages[0];
  } else {
    EXPECT_EQ(messages[0], kPlotReadFailed);
  }
  EXPECT_FALSE(Read(row.text, false));
  EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, PlotReaderFailure, ::testing::ValuesIn(FailureRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlotReader, WhatWasReadBeforeAFailureStaysAndCaptionsAreNotTouched) {
  Block b;
  b.unit = 2;
  b.pressure = {{0, 1, 1, 0}, {3, 2, 2, 0}};
  std::string text = b.Text();
  text.resize(text.rfind(" 1 0 2"));  // cut off after the curve count
  text += " 1 0 oops";
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(info.Detail, "Error on Line 5 Item 3\rAn integer was expected but not found.");
  ASSERT_EQ(graphs.pltLD.Lines.PointCount(), 2u);
  EXPECT_EQ(Y(graphs.pltLD.Lines, 0, 1), 3);
  EXPECT_EQ(graphs.pltDef.YCaption, "Depth (ft)");  // SI captions never set
  EXPECT_EQ(graphs.pltDef.Units(), 1);
}

TEST_F(PlotReader, FilesThatCannotBeOpenedFailWithTheGeneralMessage) {
  const auto missing = std::filesystem::temp_directory_path() / "kestra-no-such-plot-file.kt4p";
  std::filesystem::remove(missing);
  graphs.pltDef.Lines.SetLineCount(1);
  graphs.pltDef.Lines.SetPointCount(4);
  EXPECT_FALSE(ReadPlotFile(
      missing, true, project, graphs, [this](const std::string& m) { messages.push_back(m); }, &info));
  EXPECT_EQ(messages, std::vector<std::string>{std::string(kPlotReadFailed)});
  EXPECT_NE(info.Detail.find("kestra-no-such-plot-file"), std::string::npos) << info.Detail;
  EXPECT_EQ(graphs.pltDef.Lines.PointCount(), 0u);  // cleared before the file was opened
}

// Files at every capacity read; one more of anything fails (the failure
// table above).
TEST_F(PlotReader, FilesAtTheCapacitiesAreRead) {
  Block b;
  b.n_problems = static_cast<int>(kPlotMaxProblems);
  for (std::size_t j = 0; j < kPlotMaxPressurePoints; ++j) b.pressure.push_back({j * 0.5, 1, 1, 0});
  for (std::size_t i = 0; i < kPlotMaxCurves; ++i) {
    Curve c{static_cast<double>(i), {}};
    for (std::size_t j = 0; j < kPlotMaxCurvePoints; ++j) c.points.push_back({j - 17.0, 17.0 - j});
    b.curves.push_back(c);
  }
  b.stations = Stations(static_cast<int>(kPlotMaxStations), 6);
  ASSERT_TRUE(Read(Join(std::vector<Block>(kPlotMaxProblems, b)))) << info.Detail;
  EXPECT_EQ(graphs.pltDef.Lines.LineCount(), kPlotMaxProblems);
  EXPECT_EQ(graphs.pltDef.Lines.PointCount(), kPlotMaxStations);
  EXPECT_EQ(graphs.pltLD.Lines.PointCount(), kPlotMaxPressurePoints);
  EXPECT_EQ(graphs.pltPY.Lines.LineCount(), kPlotMaxCurves);
  EXPECT_EQ(graphs.pltPY.Lines.PointCount(), kPlotMaxCurvePoints);
  EXPECT_EQ(graphs.pltDef.Lines.Line(kPlotMaxProblems - 1).Name, "Stage: 11");
}

}  // namespace
}  // namespace kestra
