// The program's own tables (definitions, sub-table templates, limits, unit
// switches) and the main model that owns them with the project: New, Open,
// the unit switch and the modified mark.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/main_model.h"
#include "tables/program_tables.h"

namespace kestra {
namespace {

std::string Kinds(const TGridTable& t) {
  std::string k;
  for (int i = 0; i < t.ColumnCount(); ++i) k += "EIFTS"[static_cast<int>(t.Column(i).Kind())];
  return k;
}

struct DefinitionRow {
  const char* name;
  bool chart;
  int id;
  const char* caption;
  int min_rows, max_rows;
  const char* top_left;
  const char* kinds;
};

class TableDefinitions : public ::testing::TestWithParam<DefinitionRow> {
 protected:
  static TProgramTables& Tables() {
    static TProgramTables tables;
    return tables;
  }
};

TEST_P(TableDefinitions, MatchTheProgram) {
  const DefinitionRow& r = GetParam();
  TProgramTables& tables = Tables();
  const TGridTable* t = tables.ByName(r.name);
  ASSERT_NE(t, nullptr) << r.name;
  EXPECT_EQ(t->IsChart(), r.chart) << r.name;
  EXPECT_EQ(t->Identifier(), r.id) << r.name;
  EXPECT_EQ(t->Caption, r.caption) << r.name;
  EXPECT_EQ(t->MinRows(), r.min_rows) << r.name;
  EXPECT_EQ(t->MaxRows(), r.max_rows) << r.name;
  EXPECT_EQ(t->TopLeft, r.top_left) << r.name;
  EXPECT_EQ(t->RowGroup(), 1) << r.name;
  EXPECT_EQ(Kinds(*t), r.kinds) << r.name;
  // Templates are found by identifier in their own family's registry.
  TGridTableRegistry& reg = r.chart ? tables.ChartRegistry() : tables.Registry();
  EXPECT_EQ(reg.Find(r.id), t) << r.name;
}

INSTANTIATE_TEST_SUITE_P(
    Program, TableDefinitions,
    ::testing::Values(DefinitionRow{"PileSect", false, 15, "Wall Stiffness", 1, 10, "Section", "IIEF"},
                      DefinitionRow{"SoilLayer", false, 0, "Specify Deflection and Slope on Wall", 1, 10, "No", "EIFF"},
                      DefinitionRow{"BoundCond", false, 123, "Concentrated Loads on Wall", 1, 20, "", "EIIFFF"},
                      DefinitionRow{"SoilStrength", false, 4, "Lateral Spring and Rotation Spring", 1, 20, "Point",
                                    "EIIFF"},
                      DefinitionRow{"PYMod", false, 16, "p-y Modification Factors", 2, 30, "", "FFF"},
                      DefinitionRow{"DistLoad", false, 22, "Distributed Loads", 2, 100, "", "FF"},
                      DefinitionRow{"LongDist", false, 104, "Distributed Load (Long-Term)", 1, 0, "", "FF"},
                      DefinitionRow{"NewSoil", false, 19, "Soil Layers", 1, 10, "", "EFT"},
                      DefinitionRow{"LongSoil", false, 44, "Soil Layers (Long-Term)", 1, 10, "", "EFT"},
                      DefinitionRow{"TblClay1", false, 18, "Clay", 2, 2, "", "FFFF"},
                      DefinitionRow{"TblSand1", false, 17, "Sand", 2, 2, "", "FFF"},
                      DefinitionRow{"TblSilt1", false, 29, "Silt", 2, 2, "", "FFFFF"},
                      DefinitionRow{"TblRock1", false, 30, "Strong Rock", 2, 2, "", "FF"},
                      DefinitionRow{"TblRock2", false, 31, "Weak Rock", 2, 2, "", "FFFFF"},
                      DefinitionRow{"SurchargeTable", false, 23, "Surcharge Loads", 1, 20, "", "EFFF"},
                      DefinitionRow{"PYCurves2", true, 37, "Sets of Ext. p-y Curves", 2, 30, "", "ITFF"},
                      DefinitionRow{"PYCurve2", true, 38, "External p-y Curve", 2, 17, "Point", "FF"},
                      DefinitionRow{"MEICurves2", true, 36, "Nonlinear Moment vs EI Curves", 1, 20, "Section", "IIT"},
                      DefinitionRow{"Rows2", true, 0, "Moment and EI data", 1, 100, "Point", "FF"}));

class ProgramTablesTest : public ::testing::Test {
 protected:
  TProgramTables tables;
};

TEST_F(ProgramTablesTest, EveryTableStartsWithItsMinimumDefaultRows) {
  for (const TGridTable* t : tables.ProjectTables()) EXPECT_EQ(t->RowCount(), t->MinRows()) << t->Caption;
  EXPECT_EQ(tables.ByName("NoSuchTable"), nullptr);

  // The default stiffness row and soil layer are what a new project saves.
  const TGridTable& pile = tables.PileSect();
  EXPECT_EQ(pile.Cell(0, 0).AsInteger(), 0);
  EXPECT_EQ(pile.Cell(1, 0).AsInteger(), 1);
  EXPECT_EQ(pile.Cell(2, 0).AsInteger(), 1);
  EXPECT_EQ(pile.Cell(3, 0).AsFloat(), 0);
  const TGridTable* clay = tables.NewSoil().Cell(2, 0).AsTable();
  ASSERT_NE(clay, nullptr);
  EXPECT_EQ(clay->Caption, "Clay");
  EXPECT_EQ(clay->RowCount(), 2);
  EXPECT_EQ(clay->Title(), "Clay 1");
  EXPECT_EQ(tables.PYMod().Cell(1, 1).AsFloat(), 1.0L);

  // Chart sub-tables keep the chart settings of their templates.
  for (int row = 0; row < 2; ++row) {
    const TGridTable* curve = tables.PYCurves2().Cell(1, row).AsTable();
    ASSERT_NE(curve, nullptr);
    ASSERT_TRUE(curve->IsChart());
    const auto& chart = static_cast<const TGridTableChart&>(*curve);
    EXPECT_TRUE(chart.PreviewShown);
    EXPECT_TRUE(chart.GetDataFromFile);
    EXPECT_EQ(chart.MaxRows(), 17);
    EXPECT_EQ(chart.RowCount(), 2);
    EXPECT_EQ(chart.Comments.substr(0, 20), "* Use negative (-) v");
  }
  EXPECT_FALSE(tables.PYCurves2().PreviewShown);
  EXPECT_FALSE(tables.PYCurves2().GetDataFromFile);
  const TGridTable* moments = tables.MEICurves2().Cell(2, 0).AsTable();
  ASSERT_NE(moments, nullptr);
  EXPECT_EQ(moments->Caption, "Moment and EI data");
  EXPECT_EQ(tables.MEICurves2().Column(2).CaptionLineCount(), 0);
}

TEST_F(ProgramTablesTest, SoilTypeChoosesTheParameterTable) {
  TGridTable& soil = tables.NewSoil();
  const struct {
    int type;
    const char* caption;
    int columns;
  } rows[] = {{2, "Clay", 4},        {3, "Clay", 4},      {4, "Sand", 3}, {5, "Silt", 5},
              {6, "Strong Rock", 2}, {7, "Weak Rock", 5}, {1, "Clay", 4}};
  for (const auto& r : rows) {
    soil.Cell(0, 0).SetInteger(r.type);
    const TGridTable* p = soil.Cell(2, 0).AsTable();
    ASSERT_NE(p, nullptr) << r.type;
    EXPECT_EQ(p->Caption, r.caption) << r.type;
    EXPECT_EQ(p->ColumnCount(), r.columns) << r.type;
  }

  // Sand to silt: an empty silt table with two default rows replaces the sand.
  soil.Cell(0, 0).SetInteger(4);
  soil.Cell(2, 0).AsTable()->Cell(0, 0).SetFloat(110);
  soil.Cell(0, 0).SetInteger(5);
  const TGridTable* silt = soil.Cell(2, 0).AsTable();
  EXPECT_EQ(silt->Caption, "Silt");
  EXPECT_EQ(silt->RowCount(), 2);
  for (int c = 0; c < silt->ColumnCount(); ++c) EXPECT_EQ(silt->Cell(c, 0).AsFloat(), 0) << c;

  // The weak-rock note travels with its template.
  soil.Cell(0, 0).SetInteger(7);
  EXPECT_EQ(soil.Cell(2, 0).AsTable()->Comments,
            "* krm is a strain constant that seve to establish the overall stiffness of the curves");
}

TEST_F(ProgramTablesTest, NodeLimitsApplyWhileTheEditorIsOpen) {
  TGridTable& mei = tables.MEICurves2();
  mei.SetEditorOpen(true);
  EXPECT_TRUE(mei.CommitText(0, 0, "5"));
  const TEntryResult over = mei.CommitText(0, 0, "1001");
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.message, "Entry must be between 0 and 1000.");
  EXPECT_EQ(mei.Cell(0, 0).AsInteger(), 5);

  TGridTable& pile = tables.PileSect();
  pile.SetEditorOpen(true);
  EXPECT_EQ(pile.CommitText(0, 0, "2.5").message, "Entry must be an integer.");
}

TEST_F(ProgramTablesTest, LongDistHasNoUpperRowLimit) {
  TGridTable& t = tables.LongDist();
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(t.AppendRowGroup()) << i;
  EXPECT_TRUE(t.CanAddRows());
  EXPECT_EQ(t.RowCount(), 151);
}

TEST_F(ProgramTablesTest, UnitSwitchConvertsByEachColumnsUnitString) {
  tables.PileSect().Cell(3, 0).SetFloat(1);                         // EI, lbs-in^2
  tables.NewSoil().Cell(1, 0).SetFloat(10);                         // depth, ft
  tables.NewSoil().Cell(2, 0).AsTable()->Cell(0, 1).SetFloat(120);  // unit weight, lbs/ft^3
  tables.SurchargeTable().Cell(1, 0).SetFloat(50);                  // SEE NOTES: not converted
  tables.SurchargeTable().Cell(2, 0).SetFloat(12);                  // distance, in
  tables.PYCurves2().Cell(1, 0).AsTable()->Cell(1, 0).SetFloat(1);  // p, lbs/in

  tables.SetUnits(kUnitsSI);
  const double lbs = 224.8089237, in = 39.37007874, ft = 3.280839895;
  EXPECT_NEAR(static_cast<double>(tables.PileSect().Cell(3, 0).AsFloat()) * lbs * in * in, 1, 1e-9);
  EXPECT_NEAR(static_cast<double>(tables.NewSoil().Cell(1, 0).AsFloat()), 3.048, 1e-9);
  EXPECT_NEAR(static_cast<double>(tables.NewSoil().Cell(2, 0).AsTable()->Cell(0, 1).AsFloat()),
              120 * ft * ft * ft / lbs, 1e-9);
  EXPECT_EQ(tables.SurchargeTable().Cell(1, 0).AsFloat(), 50);
  EXPECT_NEAR(static_cast<double>(tables.SurchargeTable().Cell(2, 0).AsFloat()), 12 / 0.03937007874, 1e-6);
  EXPECT_NEAR(static_cast<double>(tables.PYCurves2().Cell(1, 0).AsTable()->Cell(1, 0).AsFloat()), in / lbs, 1e-12);
  EXPECT_EQ(tables.PileSect().Column(3).CaptionLine(0), "Flexural Stiffness (EI) (kN-m^2)  ");
  EXPECT_EQ(tables.SurchargeTable().Column(2).CaptionLine(0), "Distance, X (mm)  ");

  // Through other units nothing is converted; back to English it is.
  tables.SetUnits(kUnitsOther);
  EXPECT_NEAR(static_cast<double>(tables.NewSoil().Cell(1, 0).AsFloat()), 3.048, 1e-9);
  tables.SetUnits(kUnitsSI);
  tables.SetUnits(kUnitsEnglish);
  EXPECT_NEAR(static_cast<double>(tables.NewSoil().Cell(1, 0).AsFloat()), 10, 1e-9);
  EXPECT_NEAR(static_cast<double>(tables.SurchargeTable().Cell(2, 0).AsFloat()), 12, 1e-9);
}

TEST_F(ProgramTablesTest, ChartEditsDoNotCountAsChanges) {
  tables.PYCurves2().CommitText(2, 0, "2");
  tables.MEICurves2().Cell(2, 0).AsTable()->CommitText(0, 0, "4");
  EXPECT_FALSE(tables.AnyModified());
  tables.NewSoil().Cell(2, 0).AsTable()->CommitText(0, 0, "100");
  EXPECT_TRUE(tables.AnyModified());
  tables.ResetModified();
  EXPECT_FALSE(tables.AnyModified());
  EXPECT_FALSE(tables.PYCurves2().Modified());
}

// --- Main model ---------------------------------------------------------------

TEST(MainModel, NewProjectResetsProjectAndTablesInPlace) {
  TMainModel model;
  TGridTable* pile = &model.Tables().PileSect();
  model.Project().SetTitle("Old");
  model.Project().FreeHeight = 99;
  model.SetUnits(kUnitsSI);
  pile->SetRowCount(5);
  pile->AppendRowGroup();
  model.MarkModified();
  std::vector<std::string> events;
  model.ProjectClosing.Connect([&] { events.push_back("closing"); });
  model.ProjectReplaced.Connect([&] { events.push_back("replaced:" + model.Project().Title()); });

  model.NewProject();
  EXPECT_EQ((std::vector<std::string>{"closing", "replaced:New Wall"}), events);
  EXPECT_EQ(&model.Tables().PileSect(), pile);  // the same table, reset
  EXPECT_EQ(model.Project().FreeHeight, 0);
  EXPECT_EQ(model.Project().UnitSystem(), kUnitsEnglish);
  for (const TGridTable* t : model.Tables().ProjectTables()) {
    EXPECT_EQ(t->RowCount(), t->MinRows()) << t->Caption;
    EXPECT_EQ(t->Units(), kUnitsEnglish) << t->Caption;
  }
  EXPECT_EQ(model.Tables().NewSoil().Cell(2, 0).AsTable()->Units(), kUnitsEnglish);
  EXPECT_FALSE(model.IsModified());
}

TEST(MainModel, UnitSwitchConvertsProjectAndTablesWithoutMarkingChanges) {
  TMainModel model;
  model.Project().FreeHeight = 120;
  model.Tables().DistLoad().Cell(0, 1).SetFloat(10);
  std::vector<int> codes;
  model.UnitsChanged.Connect([&](int code) { codes.push_back(code); });

  model.SetUnits(kUnitsSI);
  EXPECT_EQ(codes, std::vector<int>{kUnitsSI});
  EXPECT_NEAR(static_cast<double>(model.Project().FreeHeight), 120 * 0.0254, 1e-12);
  EXPECT_NEAR(static_cast<double>(model.Tables().DistLoad().Cell(0, 1).AsFloat()), 3.048, 1e-9);
  EXPECT_FALSE(model.IsModified());

  // The project's own hook follows a replaced project.
  model.NewProject();
  model.SetUnits(kUnitsOther);
  EXPECT_EQ(codes, (std::vector<int>{kUnitsSI, kUnitsOther}));
}

TEST(MainModel, ModifiedMarkCombinesDialogsAndTables) {
  TMainModel model;
  EXPECT_FALSE(model.IsModified());
  model.MarkModified();
  EXPECT_TRUE(model.IsModified());
  model.ClearModified();
  model.Tables().BoundCond().CommitText(3, 0, "10");
  EXPECT_TRUE(model.IsModified());
  EXPECT_FALSE(model.ModifiedMark());
  model.ClearModified();
  EXPECT_FALSE(model.IsModified());
  model.Tables().PYCurves2().AppendRowGroup();  // chart edits do not count
  EXPECT_FALSE(model.IsModified());
}

TEST(MainModel, OpenLeavesACompleteUnmodifiedProjectWhateverTheReaderDid) {
  TMainModel model;
  model.Project().FreeHeight = 55;
  const TProjectFileReader partial = [](TProgramData& p, TProgramTables& t, const std::string& path, int dialect) {
    EXPECT_EQ(p.FileName, path);
    EXPECT_EQ(dialect, 2);
    EXPECT_EQ(p.FreeHeight, 0);  // a fresh project
    for (const TGridTable* table : t.ProjectTables()) EXPECT_EQ(table->RowCount(), 0);
    p.SetUnits(kUnitsSI);
    t.NewSoil().SetRowCount(3);
    t.NewSoil().Cell(0, 2).SetInteger(4);
    t.NewSoil().SetModified();
    return std::string("This file either invalid or incomplete.");
  };
  EXPECT_EQ(model.OpenProject("C:/walls/a.ktd", 2, partial), "This file either invalid or incomplete.");
  EXPECT_EQ(model.Project().FileName, "C:/walls/a.ktd");
  EXPECT_EQ(model.Project().UnitSystem(), kUnitsSI);
  EXPECT_EQ(model.Tables().NewSoil().RowCount(), 3);
  EXPECT_EQ(model.Tables().NewSoil().Cell(2, 2).AsTable()->Caption, "Sand");
  EXPECT_EQ(model.Tables().NewSoil().Cell(2, 2).AsTable()->Units(), kUnitsSI);
  EXPECT_EQ(model.Tables().PileSect().RowCount(), 1);  // filled to its minimum
  EXPECT_FALSE(model.IsModified());

  const TProjectFileReader faulty = [](TProgramData&, TProgramTables&, const std::string&, int) -> std::string {
    throw std::runtime_error("fault");
  };
  EXPECT_THROW(model.OpenProject("b.kt4d", 1, faulty), std::runtime_error);
  for (const TGridTable* t : model.Tables().ProjectTables()) EXPECT_GE(t->RowCount(), t->MinRows());
}

}  // namespace
}  // namespace kestra
