// Axis arithmetic of the graph windows, checked against ranges, ticks and
// pixel positions worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "results/graph_plot.h"

namespace kestra {
namespace {

// ---------------------------------------------------------------------------
// Range step and whole-step ranges

TEST(GraphRangeStep, TenthOfThePowerBelowThreeDecadeUnits) {
  struct Row {
    double width, step;
  } const rows[] = {
      {10.0, 1.0},  // 1 x 10^1 is under 3 x 10^1: a tenth of 10
      {29.9, 1.0},
      {30.0, 10.0},  // exactly 3 x 10^1 is not under it
      {3.0, 1.0},
      {2.9, 0.1},
      {250.0, 10.0},
      {0.02, 0.001},  // an all-zero axis widened by 0.01 on both sides
      {0.0042, 0.001},
      // Decimal widths a hair off 3 x 10^e in binary count as 3 x 10^e.
      {0.1 + 0.2, 0.1},
      {0.7 - 0.4, 0.1},
  };
  for (const Row& r : rows) EXPECT_DOUBLE_EQ(RangeStep(r.width), r.step) << "width " << r.width;
}

TEST(GraphRangeStep, ZeroForWidthsWithoutAStep) {
  EXPECT_EQ(RangeStep(0.0), 0.0);
  EXPECT_EQ(RangeStep(-1.0), 0.0);
  EXPECT_EQ(RangeStep(std::numeric_limits<double>::infinity()), 0.0);
  EXPECT_EQ(RangeStep(std::nan("")), 0.0);
  // 10^-324 underflows: the case in which a graph window closes itself.
  EXPECT_EQ(RangeStep(5e-324), 0.0);
}

struct RangeRow {
  double lo, hi;
  double min, max, step;
};

class GraphNiceRange : public ::testing::TestWithParam<RangeRow> {};

TEST_P(GraphNiceRange, EndsMoveOutwardsToWholeSteps) {
  const RangeRow& r = GetParam();
  const auto range = NiceAxisRange(r.lo, r.hi);
  ASSERT_TRUE(range.has_value());
  EXPECT_DOUBLE_EQ(range->Step, r.step);
  EXPECT_DOUBLE_EQ(range->Min, r.min);
  EXPECT_DOUBLE_EQ(range->Max, r.max);
}

INSTANTIATE_TEST_SUITE_P(HandWorked, GraphNiceRange,
                         ::testing::Values(RangeRow{0.0, 0.0, -0.01, 0.01, 0.001},  // all points at 0
                                           RangeRow{0.0, 10.0, 0.0, 10.0, 1.0}, RangeRow{0.0, 37.2, 0.0, 40.0, 10.0},
                                           RangeRow{-12.3, 45.6, -20.0, 50.0,
                                                    10.0},  // the minimum goes down, away from 0
                                           RangeRow{-250.0, 0.0, -250.0, 0.0, 10.0},  // ends already on steps stay
                                           RangeRow{0.0, 0.0042, 0.0, 0.005, 0.001},
                                           // 1.1 / 0.1 is 11.000000000000002 in binary; 1.1 is still a whole
                                           // number of steps and must not gain one.
                                           RangeRow{0.0, 1.1, 0.0, 1.1, 0.1}, RangeRow{-0.7, 0.0, -0.7, 0.0, 0.1}));

TEST(GraphNiceRange, RefusesRangesWithoutAStep) {
  EXPECT_FALSE(NiceAxisRange(0.0, 5e-324).has_value());
  EXPECT_FALSE(NiceAxisRange(0.0, std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(NiceAxisRange(-1.7e308, 1.7e308).has_value());  // width overflows
}

TEST(GraphFullRanges, StartFromZeroAndSpanEveryPointOfEveryLine) {
  TLineList list;
  list.SetLineCount(2);
  list.SetPointCount(2);
  list.Line(0).SetPoint(0, 5.0L, 12.0L);
  list.Line(0).SetPoint(1, 8.0L, 30.0L);
  list.Line(1).SetPoint(0, 21.0L, 31.0L);
  list.Line(1).SetPoint(1, 12.0L, 45.0L);
  const auto r = FullRanges(list);
  ASSERT_TRUE(r.has_value());
  // X: 0..21 (width 21, step 1); Y: 0..45 (width 45, step 10 -> 0..50).
  EXPECT_DOUBLE_EQ(r->X.Min, 0.0);
  EXPECT_DOUBLE_EQ(r->X.Max, 21.0);
  EXPECT_DOUBLE_EQ(r->Y.Min, 0.0);
  EXPECT_DOUBLE_EQ(r->Y.Max, 50.0);
}

TEST(GraphFullRanges, AllZeroYGivesASmallSymmetricRange) {
  TLineList list;
  list.SetLineCount(1);
  list.SetPointCount(3);
  list.Line(0).SetPoint(1, 1.0L, 0.0L);
  list.Line(0).SetPoint(2, 2.0L, 0.0L);
  const auto r = FullRanges(list);
  ASSERT_TRUE(r.has_value());
  EXPECT_DOUBLE_EQ(r->Y.Min, -0.01);
  EXPECT_DOUBLE_EQ(r->Y.Max, 0.01);
}

TEST(GraphFullRanges, PassesOverPointsThatAreNotNumbers) {
  TLineList list;
  list.SetLineCount(1);
  list.SetPointCount(3);
  list.Line(0).SetPoint(0, 4.0L, 4.0L);
  list.Line(0).SetPoint(1, std::numeric_limits<long double>::infinity(), 1.0L);
  list.Line(0).SetPoint(2, 1.0L, std::numeric_limits<long double>::quiet_NaN());
  const auto r = FullRanges(list);
  ASSERT_TRUE(r.has_value());
  EXPECT_DOUBLE_EQ(r->X.Max, 4.0);
  EXPECT_DOUBLE_EQ(r->Y.Max, 4.0);
}

TEST(GraphFullRanges, FailWhenAnAxisHasNoStep) {
  TLineList list;
  list.SetLineCount(1);
  list.SetPointCount(1);
  list.Line(0).SetPoint(0, 1.0L, 5e-324L);
  EXPECT_FALSE(FullRanges(list).has_value());
}

// ---------------------------------------------------------------------------
// Ticks

TEST(GraphTicks, MajorDivisionsPerSixOrFourTextHeights) {
  EXPECT_EQ(MajorDivisions(600, 14, false), 7);  // 600 / 84
  EXPECT_EQ(MajorDivisions(600, 14, true), 10);  // 600 / 56
  EXPECT_EQ(MajorDivisions(600, 28, false), 3);  // doubled font
  EXPECT_EQ(MajorDivisions(80, 14, false), 0);   // too small: no ticks
  EXPECT_EQ(MajorDivisions(600, 0, false), 0);
}

struct TickRow {
  double min, max;
  int n;
  double major, tick;
  std::int64_t first, last;
};

class GraphTickSteps : public ::testing::TestWithParam<TickRow> {};

TEST_P(GraphTickSteps, MajorStepIsOneTwoFiveOrTenTimesAPower) {
  const TickRow& r = GetParam();
  const TTicks t = ComputeTicks(r.min, r.max, r.n);
  ASSERT_FALSE(t.Empty());
  EXPECT_DOUBLE_EQ(t.MajorStep, r.major);
  EXPECT_DOUBLE_EQ(t.TickStep, r.tick);
  EXPECT_EQ(t.First, r.first);
  EXPECT_EQ(t.Last, r.last);
}

INSTANTIATE_TEST_SUITE_P(HandWorked, GraphTickSteps,
                         ::testing::Values(TickRow{0, 1000, 7, 100, 20, 0, 50},   // raw 142.9: k = 1
                                           TickRow{-20, 50, 7, 10, 2, -10, 25},   // raw 10 exactly
                                           TickRow{0, 0.7, 3, 0.2, 0.04, 0, 17},  // raw 0.233: k = 2
                                           TickRow{0, 1, 2, 0.5, 0.1, 0, 10},     // raw 0.5: k = 5
                                           TickRow{0, 90, 1, 100, 20, 0, 4},      // raw 90: k = 9 rounds up
                                           TickRow{-0.01, 0.01, 3, 0.005, 0.001, -10, 10}));

TEST(GraphTicks, LabelsAtEveryFifthIndexCountedFromZero) {
  const TTicks t = ComputeTicks(-20, 50, 7);  // ticks -10..25 of 2
  int labelled = 0;
  for (std::int64_t i = t.First; i <= t.Last; ++i) {
    if (TTicks::IsLabelled(i)) {
      ++labelled;
      // Labels fall on multiples of the major step, 0 included.
      EXPECT_NEAR(std::remainder(t.Value(i), t.MajorStep), 0.0, 1e-12) << i;
    }
  }
  EXPECT_EQ(labelled, 8);  // -20, -10, 0, ..., 50
}

TEST(GraphTicks, NoneWithoutDivisionsOrRange) {
  EXPECT_TRUE(ComputeTicks(0, 100, 0).Empty());
  EXPECT_TRUE(ComputeTicks(5, 5, 4).Empty());
  EXPECT_TRUE(ComputeTicks(0, std::numeric_limits<double>::infinity(), 4).Empty());
}

// ---------------------------------------------------------------------------
// Value to pixel and back

TEST(GraphPixelMapping, LinearWithRoundingAndYDirectionByXOnTop) {
  const TPixelRect area{100, 50, 700, 450};
  EXPECT_EQ(ValueToPixelX(0, 0, 1000, area), 100);
  EXPECT_EQ(ValueToPixelX(250, 0, 1000, area), 250);
  EXPECT_EQ(ValueToPixelX(1000, 0, 1000, area), 700);
  EXPECT_EQ(ValueToPixelX(1000.0 / 7.0, 0, 1000, area), 186);  // 85.71 rounds up
  EXPECT_EQ(ValueToPixelX(-100, -200, 200, area), 250);

  // Depth plots: depth 0 on the top edge, larger depths lower.
  EXPECT_EQ(ValueToPixelY(0, 0, 40, area, true), 50);
  EXPECT_EQ(ValueToPixelY(10, 0, 40, area, true), 150);
  EXPECT_EQ(ValueToPixelY(40, 0, 40, area, true), 450);
  // Otherwise Y grows upwards from the bottom edge.
  EXPECT_EQ(ValueToPixelY(0, 0, 40, area, false), 450);
  EXPECT_EQ(ValueToPixelY(10, 0, 40, area, false), 350);
}

TEST(GraphPixelMapping, SurvivesEmptyRangesAndFarValues) {
  const TPixelRect area{100, 50, 700, 450};
  EXPECT_EQ(ValueToPixelX(3, 5, 5, area), 100);
  EXPECT_EQ(ValueToPixelY(3, 5, 5, area, false), 450);
  EXPECT_EQ(ValueToPixelX(std::nan(""), 0, 10, area), 100);
  // A zoomed window still maps far points to an int, held a million pixels
  // beyond the extent.
  EXPECT_EQ(ValueToPixelX(1e300, 0, 10, area), 100 + 1000000 + 600);
  EXPECT_EQ(ValueToPixelY(-1e300, 0, 10, area, true), 50 - 1000400);
}

TEST(GraphPixelMapping, InverseReturnsTheValue) {
  const TPixelRect area{100, 50, 700, 450};
  EXPECT_DOUBLE_EQ(PixelToValueX(250, 0, 1000, area), 250.0);
  EXPECT_DOUBLE_EQ(PixelToValueY(150, 0, 40, area, true), 10.0);
  EXPECT_DOUBLE_EQ(PixelToValueY(350, 0, 40, area, false), 10.0);
  EXPECT_DOUBLE_EQ(PixelToValueX(5, 2, 9, TPixelRect{5, 5, 5, 5}), 2.0);
}

// ---------------------------------------------------------------------------
// Zoom

TEST(GraphZoom, RubberBand) {
  const TInterval full{0, 100};
  struct Row {
    double a, b, min, max;
  } const rows[] = {
      {20, 60, 20, 60},  // wide enough: taken as drawn
      {60, 20, 20, 60},  // dragged backwards
      {40, 41, 38, 43},  // 1/100 of the width -> 1/20, centred on 40.5
      {0, 1, 0, 5},      // near the edge: shifted inside
      {99.5, 100, 95, 100},
  };
  for (const Row& r : rows) {
    const TInterval z = ZoomToBand(r.a, r.b, full);
    EXPECT_DOUBLE_EQ(z.Min, r.min) << r.a << ".." << r.b;
    EXPECT_DOUBLE_EQ(z.Max, r.max) << r.a << ".." << r.b;
  }
}

TEST(GraphZoom, RightClickDoublesAroundTheValueWithinTheFullRange) {
  const TInterval full{0, 100};
  TInterval z = ZoomOutAround(45, TInterval{40, 50}, full);
  EXPECT_DOUBLE_EQ(z.Min, 35);
  EXPECT_DOUBLE_EQ(z.Max, 55);
  z = ZoomOutAround(10, TInterval{0, 80}, full);  // half-width capped at 50
  EXPECT_DOUBLE_EQ(z.Min, 0);
  EXPECT_DOUBLE_EQ(z.Max, 100);
  z = ZoomOutAround(95, TInterval{90, 100}, full);
  EXPECT_DOUBLE_EQ(z.Min, 80);
  EXPECT_DOUBLE_EQ(z.Max, 100);
}

// ---------------------------------------------------------------------------
// Layout (800 x 600 client at 96 pixels per inch, text 14 pixels)

TLayoutInput Screen800x600() {
  TLayoutInput in;
  in.area = TPixelRect{0, 0, 800, 600};
  return in;
}

TEST(GraphLayout, ScreenPlotArea) {
  struct Row {
    const char* what;
    int h;
    bool x_on_top, title;
    TTitlePosition pos;
    TPixelRect plot;
  } const rows[] = {
      // left 28 + 12 + 1, right 800 - 24 - 7, top 28 + 12 + 1, bottom 600 - 24 - 7
      {"depth plot", 14, true, false, TTitlePosition::Bottom, {41, 41, 769, 569}},
      // top 7 + 24, bottom 600 - 28 - 12 - 1
      {"x at bottom", 14, false, false, TTitlePosition::Bottom, {41, 31, 769, 559}},
      {"title on top", 14, true, true, TTitlePosition::Top, {41, 56, 769, 569}},
      {"title at bottom", 14, true, true, TTitlePosition::Bottom, {41, 41, 769, 555}},
      // "2 * Default": every text band doubles, the plot shrinks
      {"double font", 28, true, false, TTitlePosition::Bottom, {71, 71, 762, 562}},
  };
  for (const Row& r : rows) {
    TLayoutInput in = Screen800x600();
    in.h = r.h;
    in.x_on_top = r.x_on_top;
    in.has_title = r.title;
    in.title_position = r.pos;
    const TPlotLayout l = ComputePlotLayout(in);
    EXPECT_TRUE(l.drawable);
    EXPECT_EQ(l.plot, r.plot) << r.what;
    EXPECT_FALSE(l.has_layer_column);
  }
}

TEST(GraphLayout, SoilLayerColumnAndThreePanels) {
  TLayoutInput in = Screen800x600();
  in.show_layers = true;
  TPlotLayout l = ComputePlotLayout(in);
  EXPECT_EQ(l.plot.Right, 673);  // one inch given up
  ASSERT_TRUE(l.has_layer_column);
  EXPECT_EQ(l.layer_column, (TPixelRect{692, 41, 769, 569}));

  in.show_layers = false;
  in.show_three = true;
  l = ComputePlotLayout(in);
  // W = 769 - 41 - 56 - 48 = 624, a third 208, gaps 28 + 24.
  EXPECT_EQ(l.panels[0], (TPixelRect{41, 41, 249, 569}));
  EXPECT_EQ(l.panels[1], (TPixelRect{301, 41, 509, 569}));
  EXPECT_EQ(l.panels[2], (TPixelRect{561, 41, 769, 569}));
}

TEST(GraphLayout, PictureAndPrinterDifferences) {
  TLayoutInput in = Screen800x600();
  in.surface = TDrawSurface::Picture;
  in.has_title = true;
  in.title_position = TTitlePosition::Top;
  in.show_layers = true;
  TPlotLayout l = ComputePlotLayout(in);
  EXPECT_EQ(l.plot, (TPixelRect{41, 41, 721, 569}));  // title ignored, half an inch

  TLayoutInput p;
  p.surface = TDrawSurface::Printer;
  p.area = TPixelRect{100, 100, 4900, 6400};
  p.h = 100;
  p.dx = p.dy = 600;
  p.has_title = true;
  p.title_position = TTitlePosition::Top;
  l = ComputePlotLayout(p);
  // label band 200 + 75 + 12; the plot reaches the right and bottom edges;
  // a title on top adds dy/4.
  EXPECT_EQ(l.plot, (TPixelRect{387, 537, 4900, 6400}));
  p.x_on_top = false;
  p.title_position = TTitlePosition::Bottom;
  l = ComputePlotLayout(p);
  EXPECT_EQ(l.plot, (TPixelRect{387, 100, 4900, 6400 - 287 - 300}));
}

TEST(GraphLayout, UnderAnInchIsNotDrawn) {
  TLayoutInput in = Screen800x600();
  in.area = TPixelRect{0, 0, 95, 600};
  EXPECT_FALSE(ComputePlotLayout(in).drawable);
  in.area = TPixelRect{0, 0, 800, 95};
  EXPECT_FALSE(ComputePlotLayout(in).drawable);
  in.area = TPixelRect{0, 0, 96, 96};
  EXPECT_TRUE(ComputePlotLayout(in).drawable);
}

TEST(GraphLayout, CurvePenWidth) {
  EXPECT_EQ(CurvePenWidth(96, 1), 1);
  EXPECT_EQ(CurvePenWidth(96, 4), 4);
  EXPECT_EQ(CurvePenWidth(600, 2), 6);  // (2 + 1) * 2
  EXPECT_EQ(CurvePenWidth(96, 0), 1);
}

}  // namespace
}  // namespace kestra
