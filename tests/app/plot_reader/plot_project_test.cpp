// The reader's view of the project: the values it takes from the project
// object and the soil-layer table, and the layer column they give.
#include <gtest/gtest.h>

#include "data/program_data.h"
#include "results/graph_set.h"
#include "results/plot_reader.h"
#include "results/word_reader.h"
#include "tables/program_tables.h"

namespace kestra {
namespace {

TEST(PlotProjectOf, TakesUnitsOptionsGeometryAndEveryLayerRow) {
  TProgramTables tables;
  TProgramData project(&tables);
  project.SetUnits(2);
  ASSERT_TRUE(project.SetLongTermAnalysis(true));
  project.IncrementCount = 50;
  project.IncrementLength = 0.2L;
  project.FreeHeight = 4.5L;
  TGridTable& soil = tables.NewSoil();
  soil.SetRowCount(3);
  const std::int32_t types[] = {2, 4, 7};
  const long double depths[] = {3, 6.5L, 12};
  for (int row = 0; row < 3; ++row) {
    soil.Cell(0, row).SetInteger(types[row]);
    soil.Cell(1, row).SetFloat(depths[row]);
  }

  const TPlotProject p = PlotProjectOf(project, soil);
  EXPECT_EQ(p.UnitSystem, 2);
  EXPECT_TRUE(p.LongTermAnalysis);
  EXPECT_EQ(p.IncrementCount, 50);
  EXPECT_EQ(p.IncrementLength, 0.2L);
  EXPECT_EQ(p.FreeHeight, 4.5L);
  ASSERT_EQ(p.SoilLayers.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(p.SoilLayers[i].SoilType, types[i]) << i;
    EXPECT_EQ(p.SoilLayers[i].BottomDepth, depths[i]) << i;
  }

  // Through the reader: the layers and the wall in metres.
  TGraphSet graphs;
  TWordReader words = TWordReader::FromText("0 2 0 1 2 2 0 0 0 0 0 1 0 0 0 0");
  ASSERT_TRUE(ReadPlotWords(words, false, p, graphs));
  const TLineList& layers = graphs.pltDMS.LayerLines;
  ASSERT_EQ(layers.LineCount(), 5u);
  EXPECT_EQ(layers.Line(0).Name, " CLAY ");
  EXPECT_EQ(layers.Line(1).Name, " SAND ");
  EXPECT_EQ(layers.Line(2).Name, "WEAK ROCK");
  EXPECT_EQ(layers.Line(2).Point(0).Y, 12);
  EXPECT_EQ(layers.Line(3).Point(0).Y, 50 * 0.2L);
  EXPECT_EQ(layers.Line(4).Point(0).Y, 4.5L);
}

}  // namespace
}  // namespace kestra
