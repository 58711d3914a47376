// Curves, names, units, colours and markers of graph definitions, and the
// main window's set of them.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

#include "results/graph_plot.h"
#include "results/graph_set.h"

namespace kestra {
namespace {

// ---------------------------------------------------------------------------
// Point-count and line-count rules

class GraphLineList : public ::testing::Test {
 protected:
  // Three lines of four points, point j of line i at (10 i + j, -j).
  void SetUp() override {
    list.SetLineCount(3);
    list.SetPointCount(4);
    for (std::size_t i = 0; i < 3; ++i)
      for (std::size_t j = 0; j < 4; ++j) list.Line(i).SetPoint(j, 10.0L * i + j, -static_cast<long double>(j));
  }
  TLineList list;
};

TEST_F(GraphLineList, NewLinesAreNumberedListedActiveAndShapedLikeTheList) {
  list.SetLineCount(5);
  ASSERT_EQ(list.LineCount(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_DOUBLE_EQ(list.Line(i).Value, static_cast<double>(i + 1));
    EXPECT_TRUE(list.Line(i).Listed);
    EXPECT_TRUE(list.Line(i).Active);
    EXPECT_EQ(list.Line(i).PointCount(), 4u) << "line " << i;
  }
  EXPECT_EQ(list.Line(4).Point(3).X, 0.0L);
  EXPECT_EQ(list.Line(4).Point(3).Y, 0.0L);
}

TEST_F(GraphLineList, PointCountKeepsPointsAndPadsOrDropsAtTheEnd) {
  list.SetPointCount(2);
  list.SetPointCount(5);
  EXPECT_EQ(list.PointCount(), 5u);
  for (std::size_t i = 0; i < 3; ++i) {
    ASSERT_EQ(list.Line(i).PointCount(), 5u);
    EXPECT_EQ(list.Line(i).Point(1).X, 10.0L * i + 1);  // kept
    EXPECT_EQ(list.Line(i).Point(1).Y, -1.0L);
    for (std::size_t j = 2; j < 5; ++j) {  // dropped, then refilled with (0, 0)
      EXPECT_EQ(list.Line(i).Point(j).X, 0.0L);
      EXPECT_EQ(list.Line(i).Point(j).Y, 0.0L);
    }
  }
}

TEST_F(GraphLineList, DroppedLinesComeBackNew) {
  list.Line(2).Name = "Stage: 3";
  list.Line(2).Listed = false;
  list.SetLineCount(1);
  list.SetLineCount(3);
  EXPECT_EQ(list.Line(2).Name, "");
  EXPECT_TRUE(list.Line(2).Listed);
  EXPECT_EQ(list.Line(2).Point(0).X, 0.0L);
  EXPECT_EQ(list.Line(0).Point(3).X, 3.0L);  // the surviving line is untouched
}

TEST_F(GraphLineList, EmptyListHasNoPointsAndKeepsNone) {
  list.SetLineCount(0);
  EXPECT_EQ(list.PointCount(), 0u);
  list.SetPointCount(7);  // no line to hold the count
  EXPECT_EQ(list.PointCount(), 0u);
  list.SetLineCount(1);
  EXPECT_EQ(list.Line(0).PointCount(), 0u);
}

TEST_F(GraphLineList, BadIndicesAndAbsurdCountsAreRefusedUnchanged) {
  EXPECT_THROW(list.Line(3), std::out_of_range);
  EXPECT_THROW(list.Line(0).Point(4), std::out_of_range);
  EXPECT_THROW(list.Line(0).SetPoint(4, 1, 1), std::out_of_range);

  EXPECT_THROW(list.SetLineCount(TLineList::kMaxLines + 1), std::length_error);
  EXPECT_THROW(list.SetPointCount(TLineList::kMaxPoints + 1), std::length_error);
  EXPECT_EQ(list.LineCount(), 3u);

  // Within each limit but too many points in all, reached either way.
  TLineList wide;
  wide.SetLineCount(20);
  EXPECT_THROW(wide.SetPointCount(TLineList::kMaxTotalPoints / 20 + 1), std::length_error);
  EXPECT_EQ(wide.PointCount(), 0u);
  TLineList deep;
  deep.SetLineCount(1);
  deep.SetPointCount(TLineList::kMaxPoints);
  const std::size_t too_many = TLineList::kMaxTotalPoints / TLineList::kMaxPoints + 1;
  EXPECT_THROW(deep.SetLineCount(too_many), std::length_error);
  EXPECT_EQ(deep.LineCount(), 1u);

  EXPECT_EQ(list.PointCount(), 4u);
  EXPECT_EQ(list.Line(2).Point(3).X, 23.0L);
}

TEST_F(GraphLineList, DrawnOnlyWithTwoPoints) {
  EXPECT_TRUE(list.IsDrawable());
  list.SetPointCount(1);
  EXPECT_FALSE(list.IsDrawable());
  list.SetLineCount(0);
  EXPECT_FALSE(list.IsDrawable());
}

// ---------------------------------------------------------------------------
// The graph definition

TEST(GraphPlot, DefaultsOfANewDefinition) {
  TGraphPlot g;
  EXPECT_EQ(g.Caption, "");
  EXPECT_EQ(g.CurveName, "Curve #");
  EXPECT_TRUE(g.XOnTop);
  EXPECT_TRUE(g.ShowLegend);
  EXPECT_FALSE(g.ShowLayers);
  EXPECT_FALSE(g.ShowWall);
  EXPECT_EQ(g.WallLineCount, 0);
  EXPECT_FALSE(g.ShowThree);
  EXPECT_TRUE(g.ShowFontWidth);
  EXPECT_EQ(g.SizeFont, 10);
  EXPECT_EQ(g.LegendFont, 11);
  EXPECT_EQ(g.WidthLine, 1);
  EXPECT_EQ(g.Markers, 1);
  EXPECT_EQ(g.Units(), 1);
  EXPECT_EQ(g.Title, "");
  EXPECT_EQ(g.TitlePosition, TTitlePosition::Bottom);
  EXPECT_FALSE(g.onGetCaption);
  EXPECT_FALSE(g.WindowExists());
}

TEST(GraphPlot, UnitsAreClampedIntoOneToThree) {
  TGraphPlot g;
  const int rows[][2] = {{-4, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {99, 3}};
  for (const auto& r : rows) {
    g.SetUnits(r[0]);
    EXPECT_EQ(g.Units(), r[1]) << r[0];
  }
}

TEST(GraphPlot, DisplayNameFallsBackToCurveNameAndValue) {
  TGraphPlot g;
  g.CurveName = "Load #";
  g.Lines.SetLineCount(3);
  EXPECT_EQ(g.DisplayName(g.Lines.Line(2)), "Load #3");
  g.Lines.Line(1).Name = "Long-Term";
  EXPECT_EQ(g.DisplayName(g.Lines.Line(1)), "Long-Term");
  g.Lines.Line(0).Value = 120.5;  // a p-y curve's depth label
  EXPECT_EQ(g.DisplayName(g.Lines.Line(0)), "Load #120.5");

  // The caption hook rewrites legend captions but not the names.
  g.onGetCaption = [](int index, std::string& caption) { caption = std::to_string(index) + ": " + caption; };
  EXPECT_EQ(g.LegendCaption(1), "1: Long-Term");
  EXPECT_EQ(g.DisplayName(g.Lines.Line(1)), "Long-Term");
  EXPECT_THROW(g.LegendCaption(3), std::out_of_range);
}

TEST(GraphPlot, RelistingShowsTheFirstTwentyOfManyLines) {
  TGraphPlot g;
  g.Lines.SetLineCount(25);
  g.Lines.Line(3).Listed = false;  // unlisted by the user earlier
  g.Lines.Line(22).Listed = true;
  g.RelistLines();
  for (std::size_t i = 0; i < 25; ++i) EXPECT_EQ(g.Lines.Line(i).Listed, i < 20) << i;
}

TEST(GraphPlot, ColourPositionCountsOnlyListedLines) {
  TGraphPlot g;
  g.Lines.SetLineCount(5);
  g.Lines.Line(1).Listed = false;
  EXPECT_EQ(g.ListedPosition(0), 0u);
  EXPECT_FALSE(g.ListedPosition(1).has_value());
  EXPECT_EQ(g.ListedPosition(3), 2u);
  EXPECT_FALSE(g.ListedPosition(5).has_value());
}

TEST(GraphPlot, HasDataNeedsALineWithMoreThanOnePoint) {
  TGraphPlot g;
  EXPECT_FALSE(g.HasData());
  g.Lines.SetLineCount(1);
  g.Lines.SetPointCount(1);  // a single station
  EXPECT_FALSE(g.HasData());
  g.Lines.SetPointCount(2);
  EXPECT_TRUE(g.HasData());
}

TEST(GraphPlot, SoilLayersAreTheLinesBeforeTheWallLines) {
  TGraphPlot g;
  g.LayerLines.SetLineCount(5);
  EXPECT_EQ(g.SoilLayerCount(), 5u);  // no wall lines
  g.WallLineCount = 3;
  EXPECT_EQ(g.SoilLayerCount(), 3u);
  g.WallLineCount = 9;  // more than there are: never beyond the list
  EXPECT_EQ(g.SoilLayerCount(), 5u);
}

TEST(GraphPlot, ThreePanelPanelsOfSeveralLinesDropTheirLastPoint) {
  TGraphPlot g;
  g.Lines2.SetLineCount(2);
  g.Lines2.SetPointCount(10);
  g.Lines3.SetLineCount(1);
  g.Lines3.SetPointCount(10);
  EXPECT_EQ(g.DrawnPointCount(g.Lines2), 10u);
  g.ShowThree = true;
  EXPECT_EQ(g.DrawnPointCount(g.Lines2), 9u);
  EXPECT_EQ(g.DrawnPointCount(g.Lines3), 10u);
  EXPECT_EQ(g.DrawnPointCount(g.Lines), 0u);
}

TEST(GraphPlot, AxisCaptionsOfEachPanelUseTheirPatterns) {
  TGraphPlot g;
  g.XCaption = "Deflection";
  g.XUnits = "L";
  g.XCaption2 = "Bending Moment (m-kN)";
  g.YCaption3 = "Depth";
  g.YUnits3 = "L2";
  g.SetUnits(2);
  EXPECT_EQ(g.XAxisCaption(), "Deflection (m)");
  EXPECT_EQ(g.XAxisCaption(2), "Bending Moment (m-kN)");
  EXPECT_EQ(g.YAxisCaption(3), "Depth (m)");
  EXPECT_EQ(g.YAxisCaption(7), "");  // panel 1's empty caption
}

// A window that records how it is used.
struct FakeWindow : TGraphWindow {
  explicit FakeWindow(int& shows, TGraphPlot* close_on_show = nullptr) : shows_(shows), close_on_show_(close_on_show) {}
  void ShowRestored() override {
    ++shows_;
    if (close_on_show_) close_on_show_->WindowClosed();  // a graph it cannot draw
  }
  int& shows_;
  TGraphPlot* close_on_show_;
};

TEST(GraphPlot, ShowCreatesTheWindowOnceAndRelistsFirst) {
  TGraphPlot g;
  EXPECT_FALSE(g.Show());  // no way to build a window yet

  g.Lines.SetLineCount(22);
  g.Lines.Line(0).Listed = false;
  int built = 0, shows = 0;
  bool first_listed_when_built = false;
  g.SetWindowFactory([&](TGraphPlot& plot) {
    ++built;
    first_listed_when_built = plot.Lines.Line(0).Listed && !plot.Lines.Line(21).Listed;
    return std::make_unique<FakeWindow>(shows);
  });
  EXPECT_TRUE(g.Show());
  EXPECT_TRUE(g.Show());
  EXPECT_EQ(built, 1);
  EXPECT_EQ(shows, 2);
  EXPECT_TRUE(first_listed_when_built);
  EXPECT_TRUE(g.WindowExists());

  g.WindowClosed();
  EXPECT_FALSE(g.WindowExists());
  EXPECT_TRUE(g.Show());
  EXPECT_EQ(built, 2);
}

TEST(GraphPlot, AWindowMayCloseItselfWhileBeingShown) {
  TGraphPlot g;
  int shows = 0;
  g.SetWindowFactory([&](TGraphPlot& plot) { return std::make_unique<FakeWindow>(shows, &plot); });
  EXPECT_FALSE(g.Show());  // shown, then closed from within its own handler
  EXPECT_FALSE(g.WindowExists());
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(g.Show());  // a new one, freeing the retired one
  EXPECT_EQ(shows, 2);
}

TEST(GraphPlot, AWindowReportingItsClosingFromItsDestructorIsSafe) {
  struct ClosingWindow : TGraphWindow {
    explicit ClosingWindow(TGraphPlot& p) : plot(p) {}
    ~ClosingWindow() override { plot.WindowClosed(); }
    void ShowRestored() override {}
    TGraphPlot& plot;
  };
  auto g = std::make_unique<TGraphPlot>();
  g->SetWindowFactory([](TGraphPlot& plot) { return std::make_unique<ClosingWindow>(plot); });
  EXPECT_TRUE(g->Show());
  g.reset();  // frees the window, which calls back; nothing is freed twice
}

// ---------------------------------------------------------------------------
// Units, text, colours, markers, patterns

TEST(GraphUnits, PatternExpansion) {
  struct Row {
    const char* pattern;
    int units;
    const char* text;
  } const rows[] = {
      {"F", 1, "lbs"},
      {"F/L", 1, "lbs/in"},
      {"F/L", 2, "kN/m"},
      {"L2", 1, "ft"},
      {"L1", 2, "mm"},
      {"F/L2^2", 1, "lbs/ft^2"},
      {"F2/L2^2", 1, "tons/ft^2"},
      {"F1-L1", 1, "kips-in"},
      {"F1-L1", 2, "kN-mm"},
      {"1/L", 2, "1/m"},
      // Only the first force token found is expanded, and only the first
      // length token: the others stay as written.
      {"F2-F", 1, "tons-F"},
      {"L1/L", 1, "in/L"},
      {"F/L", 3, "F/L"},  // other units: unchanged
      {"F/L", 7, "F/L"},  // clamped to 3
      {"F/L", 0, "lbs/in"},
      {"", 1, ""},
  };
  for (const Row& r : rows) EXPECT_EQ(ExpandUnitPattern(r.pattern, r.units), r.text) << r.pattern << " " << r.units;

  EXPECT_EQ(AxisCaption("Soil Reaction", "F/L", 1), "Soil Reaction (lbs/in)");
  EXPECT_EQ(AxisCaption("Depth (ft)", "", 1), "Depth (ft)");
}

TEST(GraphText, GeneralNumbers) {
  struct Row {
    double value;
    int digits;
    const char* text;
  } const rows[] = {
      {3, 8, "3"},
      {120.5, 8, "120.5"},
      {1.0 / 3.0, 8, "0.33333333"},
      {-2.5, 8, "-2.5"},
      {0.0001, 8, "0.0001"},
      {0.00001, 8, "1E-5"},
      {0.0000015, 8, "1.5E-6"},
      {123456789, 8, "1.2345679E8"},
      {-0.0, 5, "0"},
      {12345.678, 5, "12346"},
      {123456, 5, "1.2346E5"},
      {99999.5, 5, "1E5"},              // rounding carries into a new digit
      {0.30000000000000004, 4, "0.3"},  // a tick computed as 3 * 0.1
      {std::numeric_limits<double>::quiet_NaN(), 4, "NAN"},
      {-std::numeric_limits<double>::infinity(), 4, "-INF"},
  };
  for (const Row& r : rows) EXPECT_EQ(GraphNumberText(r.value, r.digits), r.text) << r.value;

  EXPECT_EQ(ReadoutCaption("Moment vs Depth", 12.3456789, -0.5), "Moment vs Depth X: 12.346 Y: -0.5");
}

TEST(GraphColours, SequenceOfSeventeenByListedPosition) {
  EXPECT_EQ(CurveColor(0), (TColor{0x00, 0x00, 0x00}));
  EXPECT_EQ(CurveColor(1), (TColor{0x00, 0x00, 0xFF}));
  EXPECT_EQ(CurveColor(2), (TColor{0xFF, 0x00, 0x00}));
  EXPECT_EQ(CurveColor(3), (TColor{0x00, 0x80, 0x00}));
  EXPECT_EQ(CurveColor(12), (TColor{0x80, 0x80, 0x80}));
  EXPECT_EQ(CurveColor(15), (TColor{0xFF, 0xFF, 0x00}));
  EXPECT_EQ(CurveColor(16), (TColor{0x00, 0xFF, 0xFF}));
  EXPECT_EQ(CurveColor(17), CurveColor(0));
  EXPECT_EQ(CurveColor(35), CurveColor(1));
}

TEST(GraphMarkers, EveryNthPointFromPointZero) {
  std::vector<std::size_t> marked;
  for (std::size_t j = 0; j < 12; ++j)
    if (HasMarker(j, 5)) marked.push_back(j);
  EXPECT_EQ(marked, (std::vector<std::size_t>{0, 5, 10}));
  EXPECT_FALSE(HasMarker(0, 0));
  EXPECT_FALSE(HasMarker(0, -3));
  EXPECT_TRUE(HasMarker(7, 1));
}

TEST(GraphMarkers, ShapesByLineIndex) {
  // 320 pixels per inch: radius 10. Screen y grows downwards.
  using V = std::vector<TPixelPoint>;
  EXPECT_EQ(MarkerVertices(0, 100, 100, 320, 320), (V{{100, 110}, {91, 95}, {109, 95}}));             // pointing down
  EXPECT_EQ(MarkerVertices(1, 100, 100, 320, 320), (V{{107, 93}, {107, 107}, {93, 107}, {93, 93}}));  // square
  EXPECT_EQ(MarkerVertices(2, 100, 100, 320, 320), (V{{100, 90}, {109, 105}, {91, 105}}));            // pointing up
  const V pentagon = MarkerVertices(4, 100, 100, 320, 320);
  ASSERT_EQ(pentagon.size(), 5u);
  EXPECT_EQ(pentagon[0], (TPixelPoint{100, 90}));
  // Radii follow each direction's resolution.
  EXPECT_EQ(MarkerVertices(1, 0, 0, 320, 640)[0], (TPixelPoint{7, -14}));
}

TEST(GraphSoilPatterns, CodesFromLayerPoints) {
  EXPECT_EQ(SoilPatternOf(1.0L), TSoilPattern::Clay);
  EXPECT_EQ(SoilPatternOf(7.0L), TSoilPattern::Sand);
  EXPECT_EQ(SoilPatternOf(10.0L), TSoilPattern::WeakRock);
  EXPECT_EQ(SoilPatternOf(12.0L), TSoilPattern::Extra2);
  EXPECT_EQ(SoilPatternOf(0.0L), TSoilPattern::None);
  EXPECT_EQ(SoilPatternOf(13.0L), TSoilPattern::None);
  EXPECT_EQ(SoilPatternOf(-1e30L), TSoilPattern::None);
  EXPECT_EQ(SoilPatternOf(std::numeric_limits<long double>::quiet_NaN()), TSoilPattern::None);
}

// ---------------------------------------------------------------------------
// The main window's graph definitions

TEST(GraphSet, TwelveDistinctDefinitionsWithTheirOptions) {
  TGraphSet set;
  const auto all = set.All();
  EXPECT_EQ(std::set<const TGraphPlot*>(all.begin(), all.end()).size(), TGraphSet::kGraphCount);

  for (const TGraphPlot* depth_plot :
       {&set.pltLD, &set.PltCombine, &set.pltDef, &set.pltMom, &set.pltShear, &set.pltSoil, &set.pltDMS})
    EXPECT_TRUE(depth_plot->XOnTop) << depth_plot->Caption;
  for (const TGraphPlot* xy_plot : {&set.pltPY, &set.pltInter, &set.pltMomEi, &set.pltMomCurv, &set.pltLM})
    EXPECT_FALSE(xy_plot->XOnTop) << xy_plot->Caption;
  EXPECT_TRUE(set.pltDMS.ShowThree);
  EXPECT_EQ(set.pltDef.Caption, "Deflection vs Depth");

  set.pltDef.Lines.SetLineCount(3);
  EXPECT_EQ(set.pltDef.DisplayName(set.pltDef.Lines.Line(2)), "Load #3");
}

TEST(GraphSet, ResultCaptionsFollowTheUnitOfThePlotData) {
  TGraphSet set;
  for (const int unit : {1, 2, 3}) {
    set.SetResultCaptions(unit);
    set.SetUnits(unit);
    const bool english = unit == 1;
    EXPECT_EQ(set.pltMom.XAxisCaption(), english ? "Bending Moment (in-kips)" : "Bending Moment (m-kN)");
    EXPECT_EQ(set.pltShear.XAxisCaption(), english ? "Shear (kips)" : "Shear (kN)");
    EXPECT_EQ(set.pltMomEi.YAxisCaption(), english ? "EI (kips-in^2)" : "EI (kN-m^2)");
    EXPECT_EQ(set.pltLM.YAxisCaption(), english ? "Lateral Load (kips)" : "Lateral Load (kN)");
    for (const TGraphPlot* g : {&set.pltDef, &set.pltMom, &set.pltShear, &set.pltSoil, &set.pltLD})
      EXPECT_EQ(g->YAxisCaption(), english ? "Depth (ft)" : "Depth (m)") << g->Caption;

    // Captions with a unit pattern follow Units, including "other".
    const char* length = unit == 1 ? "in" : unit == 2 ? "m" : "L";
    EXPECT_EQ(set.pltDef.XAxisCaption(), std::string("Deflection (") + length + ")");

    // The three panels repeat their source graphs.
    EXPECT_EQ(set.pltDMS.XAxisCaption(1), set.pltDef.XAxisCaption());
    EXPECT_EQ(set.pltDMS.YAxisCaption(1), set.pltDef.YAxisCaption());
    EXPECT_EQ(set.pltDMS.XAxisCaption(2), set.pltMom.XAxisCaption());
    EXPECT_EQ(set.pltDMS.YAxisCaption(2), set.pltMom.YAxisCaption());
    EXPECT_EQ(set.pltDMS.XAxisCaption(3), set.pltShear.XAxisCaption());
    EXPECT_EQ(set.pltDMS.YAxisCaption(3), set.pltShear.YAxisCaption());
  }
  set.SetUnits(8);
  for (const TGraphPlot* g : set.All()) EXPECT_EQ(g->Units(), 3);
}

TEST(GraphSet, ClearingPointsKeepsLinesNamesLayersAndPanels) {
  TGraphSet set;
  set.pltDef.Lines.SetLineCount(2);
  set.pltDef.Lines.SetPointCount(5);
  set.pltDef.Lines.Line(1).Name = "Long-Term";
  set.pltDMS.Lines2.SetLineCount(2);
  set.pltDMS.Lines2.SetPointCount(5);
  set.pltDMS.LayerLines.SetLineCount(3);
  set.pltDMS.LayerLines.SetPointCount(1);

  set.ClearLinePoints();
  EXPECT_EQ(set.pltDef.Lines.LineCount(), 2u);
  EXPECT_EQ(set.pltDef.Lines.PointCount(), 0u);
  EXPECT_EQ(set.pltDef.Lines.Line(1).Name, "Long-Term");
  EXPECT_EQ(set.pltDMS.Lines2.PointCount(), 5u);
  EXPECT_EQ(set.pltDMS.LayerLines.LineCount(), 3u);
  EXPECT_EQ(set.pltDMS.LayerLines.PointCount(), 1u);
  for (const TGraphPlot* g : set.All()) EXPECT_FALSE(g->HasData()) << g->Caption;
}

}  // namespace
}  // namespace kestra
