// The grid table model on small tables of its own: registry identifiers, row
// operations and limits, sub-tables built from templates, validation of typed
// text, unit conversion, modified flags and the editor notifications.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "data/units.h"
#include "tables/grid_table.h"

namespace kestra {
namespace {

using Lines = std::vector<std::string>;

// A layered table like the soil layers: a first-column enum choosing the
// template of the row's parameter table, a depth, and the table column.
class LayerTables : public ::testing::Test {
 protected:
  void SetUp() override {
    a = std::make_unique<TGridTable>(reg);
    a->SetIdentifier(50);
    a->Caption = "Alpha";
    a->Comments = "alpha note";
    a->TopLeft = "Pt";
    a->SetMinRows(2);
    a->SetMaxRows(2);
    a->AddColumn<TFloatColumn>(Lines{"Unit", "Weight,"}, "F/L2^3", 0.0L);
    a->AddColumn<TFloatColumn>(Lines{"Ratio"}, "", 1.0L);
    a->EndDefinition();

    b = std::make_unique<TGridTable>(reg);
    b->SetIdentifier(51);
    b->Caption = "Beta";
    b->SetMinRows(1);
    b->SetMaxRows(3);
    b->AddColumn<TFloatColumn>(Lines{"Strength"}, "F/L^2", 5.0L);
    b->EndDefinition();

    layers = std::make_unique<TGridTable>(reg);
    layers->Caption = "Layers";
    layers->SetMinRows(1);
    layers->SetMaxRows(4);
    layers->AddColumn<TEnumColumn>(Lines{"Type"}, Lines{"A", "B", "None"});
    layers->AddColumn<TFloatColumn>(Lines{"Depth"}, "L2", 0.0L);
    // Third choice deliberately has no template; the list is one short and
    // gets padded when the definition ends.
    layers->AddColumn<TTableColumn>(Lines{"Params"}, std::vector<int>{50, 51});
    layers->EndDefinition();
    layers->FillToMinRows();
  }

  TTableColumn& Params() { return static_cast<TTableColumn&>(layers->Column(2)); }

  TGridTableRegistry reg;
  std::unique_ptr<TGridTable> a, b, layers;
};

TEST(GridTableRegistry, IdentifiersStayUniqueAndSwap) {
  TGridTableRegistry reg;
  TGridTable t1(reg), t2(reg), t3(reg);
  EXPECT_EQ(t1.Identifier(), 0);
  EXPECT_EQ(t2.Identifier(), 1);
  t3.SetIdentifier(0);  // taken by t1: the two swap
  EXPECT_EQ(t3.Identifier(), 0);
  EXPECT_EQ(t1.Identifier(), 2);
  t3.SetIdentifier(-5);  // ignored
  EXPECT_EQ(t3.Identifier(), 0);
  EXPECT_EQ(reg.Find(2), &t1);
  EXPECT_EQ(reg.At(2), &t3);
  EXPECT_EQ(reg.At(3), nullptr);
  {
    // The counter skips values a definition has taken.
    t2.SetIdentifier(3);
    TGridTable t4(reg);
    EXPECT_EQ(t4.Identifier(), 4);
    EXPECT_EQ(reg.Count(), 4);
  }
  EXPECT_EQ(reg.Count(), 3);  // destroyed tables leave the list
  EXPECT_EQ(reg.Find(4), nullptr);

  TGridTableList list(reg);
  list.AddIdentifier(3);
  list.AddPosition(0);
  list.AddIdentifier(99);
  EXPECT_EQ(list.Resolve(0), &t2);
  EXPECT_EQ(list.Resolve(1), &t1);
  EXPECT_EQ(list.Resolve(2), nullptr);
}

TEST(GridTableRegistry, FamiliesHaveTheirOwnIdentifiers) {
  TGridTableRegistry tables, charts;
  TGridTable t(tables);
  TGridTableChart c(charts);
  t.SetIdentifier(0);
  c.SetIdentifier(0);
  EXPECT_EQ(tables.Find(0), &t);
  EXPECT_EQ(charts.Find(0), &c);
  EXPECT_TRUE(c.IsChart());
  EXPECT_FALSE(t.IsChart());
}

TEST(GridTableDefinition, MinRowsBelowOne) {
  TGridTableRegistry reg;
  TGridTable t(reg);
  t.SetMinRows(0);  // while defining: raised to 1
  EXPECT_EQ(t.MinRows(), 1);
  t.SetRowGroup(-3);
  EXPECT_EQ(t.RowGroup(), 1);
  t.EndDefinition();
  EXPECT_THROW(t.SetMinRows(0), TGridTableError);
  EXPECT_THROW(t.AddColumn<TFloatColumn>(Lines{"x"}, "", 0.0L), TGridTableError);
}

TEST_F(LayerTables, RowsRespectLimitsAndKeepColumnsEqual) {
  EXPECT_EQ(layers->RowCount(), 1);
  EXPECT_FALSE(layers->CanDeleteRows());
  EXPECT_FALSE(layers->DeleteRowGroup(0));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(layers->AppendRowGroup());
  EXPECT_FALSE(layers->AppendRowGroup());  // at the maximum of 4
  EXPECT_FALSE(layers->InsertRowGroup(0));
  for (int c = 0; c < layers->ColumnCount(); ++c) EXPECT_EQ(layers->Column(c).RowCount(), 4);

  // SetRowCount ignores the limits: files and the project size tables with it.
  layers->SetRowCount(6);
  EXPECT_EQ(layers->RowCount(), 6);
  EXPECT_FALSE(layers->CanAddRows());
  layers->SetRowCount(-2);
  EXPECT_EQ(layers->RowCount(), 0);
  EXPECT_THROW(layers->SetRowCount(2000000000), TGridTableError);
  EXPECT_EQ(layers->RowCount(), 0);

  EXPECT_FALSE(layers->InsertRowGroup(1));  // beyond the rows
  EXPECT_TRUE(layers->InsertRowGroup(0));   // into an empty table
  EXPECT_THROW((void)layers->Cell(1, 5).AsFloat(), TGridTableError);
  EXPECT_THROW((void)layers->Cell(7, 0).AsFloat(), TGridTableError);
}

TEST(GridTableRows, RowGroupsMoveTogether) {
  TGridTableRegistry reg;
  TGridTable t(reg);
  t.SetRowGroup(2);
  t.SetMinRows(2);
  auto& linked = t.AddColumn<TFloatColumn>(Lines{"v"}, "", 0.0L);
  linked.GroupLinked = true;
  t.EndDefinition();
  t.FillToMinRows();
  ASSERT_TRUE(t.AppendRowGroup());
  EXPECT_EQ(t.RowCount(), 4);
  t.Cell(0, 3).SetFloat(7);  // group-linked: rows 2 and 3
  EXPECT_EQ(t.Cell(0, 2).AsFloat(), 7);
  EXPECT_EQ(t.Cell(0, 1).AsFloat(), 0);
  ASSERT_TRUE(t.InsertRowGroup(3));  // before the group holding row 3
  EXPECT_EQ(t.Cell(0, 2).AsFloat(), 0);
  EXPECT_EQ(t.Cell(0, 4).AsFloat(), 7);
  ASSERT_TRUE(t.DeleteRowGroup(5));
  EXPECT_EQ(t.RowCount(), 4);
  EXPECT_EQ(t.Cell(0, 3).AsFloat(), 0);
}

TEST_F(LayerTables, NewRowsGetSubTablesOfTheFirstChoice) {
  TGridTable* sub = Params().GetTable(0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->Caption, "Alpha");
  EXPECT_EQ(sub->Comments, "alpha note");
  EXPECT_EQ(sub->TopLeft, "Pt");
  EXPECT_EQ(sub->RowCount(), 2);
  EXPECT_EQ(sub->Cell(1, 1).AsFloat(), 1.0L);
  EXPECT_EQ(sub->Owner(), layers.get());
  EXPECT_NE(sub->Identifier(), 50);  // the template keeps its identifier
  EXPECT_EQ(reg.Find(50), a.get());
  // A template with equal minimum and maximum never changes its row count.
  EXPECT_FALSE(sub->AppendRowGroup());
  EXPECT_FALSE(sub->DeleteRowGroup(0));
}

TEST_F(LayerTables, ANewChoiceRebuildsTheSubTableAndTheSameChoiceKeepsIt) {
  TGridTable* first = Params().GetTable(0);
  first->Cell(0, 0).SetFloat(120);
  layers->Cell(0, 0).SetInteger(1);  // same value: nothing changes
  EXPECT_EQ(Params().GetTable(0), first);

  ASSERT_TRUE(layers->Cell(0, 0).SetText("2"));
  TGridTable* rebuilt = Params().GetTable(0);
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_EQ(rebuilt->Caption, "Beta");
  EXPECT_EQ(rebuilt->RowCount(), 1);
  EXPECT_EQ(rebuilt->Cell(0, 0).AsFloat(), 5.0L);

  // A choice without a template (or outside the list) leaves the cell empty.
  layers->Cell(0, 0).SetInteger(3);
  EXPECT_EQ(Params().GetTable(0), nullptr);
  EXPECT_EQ(Params().ButtonCaption(0), "");
  ASSERT_TRUE(layers->Cell(0, 0).SetText("9"));  // no range check for enums
  EXPECT_EQ(layers->Cell(0, 0).AsInteger(), 9);
  EXPECT_EQ(Params().GetTable(0), nullptr);
  EXPECT_EQ(Params().TemplateIds().size(), 3u);
}

TEST_F(LayerTables, SubTablesAreNumberedByTheirRowThroughInsertAndDelete) {
  layers->AppendRowGroup();
  layers->AppendRowGroup();
  EXPECT_EQ(Params().GetTable(2)->Title(), "Alpha 3");
  EXPECT_EQ(Params().ButtonCaption(2), "3: Alpha 3");
  EXPECT_EQ(layers->Title(), "Layers");

  TGridTable* third = Params().GetTable(2);
  std::vector<std::string> titles;
  third->SetEditorOpen(true);
  third->TitleChanged.Connect([&](const std::string& t) { titles.push_back(t); });
  layers->InsertRowGroup(0);
  EXPECT_EQ(Params().GetTable(3), third);
  EXPECT_EQ(third->TableNumber(), 4);
  EXPECT_EQ(titles, Lines{"Alpha 4"});
  layers->DeleteRowGroup(1);
  EXPECT_EQ(third->TableNumber(), 3);
}

TEST_F(LayerTables, DestroyedSubTablesCloseTheirEditors) {
  TGridTable* sub = Params().GetTable(0);
  sub->SetEditorOpen(true);
  int closed = 0;
  sub->EditorCloseRequested.Connect([&] { ++closed; });
  layers->CloseEditor();  // closes the editors of every sub-table
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(sub->EditorOpen());

  sub->SetEditorOpen(true);
  layers->Cell(0, 0).SetInteger(2);  // the old sub-table goes
  EXPECT_EQ(closed, 2);
  const int before = reg.Count();
  layers->SetRowCount(0);
  EXPECT_EQ(reg.Count(), before - 1);  // sub-tables leave the registry
}

TEST(GridTableEditor, OpenNeedsAVisibleColumnAndFillsMinimumRows) {
  TGridTableRegistry reg;
  TGridTable t(reg);
  t.SetMinRows(3);
  auto& c = t.AddColumn<TIntColumn>(Lines{"n"}, 0, 0, 10);
  t.EndDefinition();
  int opened = 0;
  reg.OpenEditorHook = [&](TGridTable& table, bool modal) {
    EXPECT_EQ(&table, &t);
    EXPECT_FALSE(modal);
    ++opened;
  };
  c.Visible = false;
  EXPECT_FALSE(t.OpenEditor());
  EXPECT_EQ(opened, 0);
  c.Visible = true;
  EXPECT_TRUE(t.OpenEditor());
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(t.RowCount(), 3);
}

// --- Typed text --------------------------------------------------------------

struct TextRow {
  const char* what;
  int column;  // 0 int [0, 1000], 1 enum, 2 float
  bool editor_open;
  const char* text;
  bool ok;
  const char* message_start;  // checked as a prefix when not ok
  long double stored;         // the cell afterwards
};

class TypedText : public ::testing::TestWithParam<TextRow> {};

TEST_P(TypedText, ValidatesAndStores) {
  const TextRow& r = GetParam();
  TGridTableRegistry reg;
  TGridTable t(reg);
  t.AddColumn<TIntColumn>(Lines{"Node"}, 7, 0, 1000);
  t.AddColumn<TEnumColumn>(Lines{"Kind"}, Lines{"x", "y"});
  t.AddColumn<TFloatColumn>(Lines{"Load"}, "F", 0.5L);
  t.EndDefinition();
  t.FillToMinRows();
  t.SetEditorOpen(r.editor_open);

  const TEntryResult result = t.CommitText(r.column, 0, r.text);
  EXPECT_EQ(result.ok, r.ok) << r.what << ": " << result.message;
  if (!r.ok) {
    EXPECT_EQ(result.message.rfind(r.message_start, 0), 0u) << r.what << ": " << result.message;
  }
  const TData cell = t.Cell(r.column, 0);
  const long double stored = r.column == 2 ? cell.AsFloat() : static_cast<long double>(cell.AsInteger());
  EXPECT_EQ(stored, r.stored) << r.what;
  EXPECT_TRUE(t.Modified()) << r.what;  // committing marks the table
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedText,
    ::testing::Values(TextRow{"int accepted", 0, true, "5", true, "", 5},
                      TextRow{"int expression", 0, true, "2*3+1", true, "", 7},
                      TextRow{"int fraction", 0, true, "2.5", false, "Entry must be an integer.", 7},
                      TextRow{"int above maximum", 0, true, "1001", false, "Entry must be between 0 and 1000.", 7},
                      TextRow{"int below minimum", 0, true, "-1", false, "Entry must be between 0 and 1000.", 7},
                      TextRow{"int nearly integral", 0, true, "3.00000000001", true, "", 3},
                      TextRow{"int unchecked without editor", 0, false, "2000.6", true, "", 2001},
                      TextRow{"int beyond 32 bits without editor", 0, false, "1E12", true, "", 2147483647},
                      TextRow{"int blank", 0, true, "", false, "Entry could not be evaluated:", 7},
                      TextRow{"enum fraction", 1, true, "1.5", false, "Value must be an integer.", 1},
                      TextRow{"enum number", 1, false, "2", true, "", 2},
                      TextRow{"float expression", 2, true, "2*3", true, "", 6},
                      TextRow{"float letters", 2, true, "abc", false, "Entry could not be evaluated:", 0.5L},
                      TextRow{"float blank", 2, false, "", false, "Entry could not be evaluated:", 0.5L}));

TEST(GridTableText, FloatTextUsesTheEightDigitFormat) {
  TGridTableRegistry reg;
  TGridTable t(reg);
  t.AddColumn<TFloatColumn>(Lines{"v"}, "", 0.0L);
  t.AddColumn<TStringColumn>(Lines{"s"}, "dflt", 1.0);
  t.EndDefinition();
  t.FillToMinRows();
  t.Cell(0, 0).SetFloat(1.0L / 3);
  EXPECT_EQ(t.Cell(0, 0).AsText(), "0.33333333");
  t.Cell(0, 0).SetFloat(0.00001L);
  EXPECT_EQ(t.Cell(0, 0).AsText(), "1E-5");
  EXPECT_EQ(t.Cell(1, 0).AsText(), "dflt");
  EXPECT_THROW((void)t.Cell(0, 0).AsInteger(), TGridTableError);
  EXPECT_THROW((void)t.Cell(1, 0).AsFloat(), TGridTableError);
  EXPECT_THROW((void)t.Cell(0, 0).AsTable(), TGridTableError);
}

// --- Units -----------------------------------------------------------------------

TEST_F(LayerTables, UnitSwitchConvertsFloatsAndPassesToSubTables) {
  layers->Cell(1, 0).SetFloat(10);  // 10 ft
  TGridTable* sub = Params().GetTable(0);
  sub->Cell(0, 0).SetFloat(120);  // 120 lbs/ft^3
  sub->Cell(1, 0).SetFloat(2);    // no unit
  std::vector<std::pair<int, int>> changed;
  layers->CellChanged.Connect([&](int c, int r) { changed.emplace_back(c, r); });
  int rebuilt = 0;
  layers->RowsChanged.Connect([&] { ++rebuilt; });

  layers->SetUnits(kUnitsSI);
  EXPECT_EQ(layers->Units(), kUnitsSI);
  EXPECT_EQ(sub->Units(), kUnitsSI);
  EXPECT_NEAR(static_cast<double>(layers->Cell(1, 0).AsFloat()), 3.048, 1e-9);
  EXPECT_NEAR(static_cast<double>(sub->Cell(0, 0).AsFloat()), 120 / 6.365880, 1e-4);
  EXPECT_EQ(sub->Cell(1, 0).AsFloat(), 2);
  EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(rebuilt, 1);
  // New rows start in the table's units.
  layers->AppendRowGroup();
  EXPECT_EQ(Params().GetTable(1)->Units(), kUnitsSI);

  layers->SetUnits(kUnitsSI);  // the same system again: nothing
  EXPECT_EQ(rebuilt, 2);       // only the append above
  layers->SetUnits(kUnitsEnglish);
  EXPECT_NEAR(static_cast<double>(layers->Cell(1, 0).AsFloat()), 10, 1e-9);
  EXPECT_NEAR(static_cast<double>(sub->Cell(0, 0).AsFloat()), 120, 1e-9);
}

TEST_F(LayerTables, HeaderOfAFloatColumnCarriesTheUnitLabel) {
  TGridTable* sub = Params().GetTable(0);
  EXPECT_EQ(sub->Column(0).CaptionLine(0), "Unit");
  EXPECT_EQ(sub->Column(0).CaptionLine(1), "Weight, (lbs/ft^3)  ");
  EXPECT_EQ(sub->Column(1).CaptionLine(0), "Ratio");  // no unit string, no label
  layers->SetUnits(kUnitsSI);
  EXPECT_EQ(sub->Column(0).CaptionLine(1), "Weight, (kN/m^3)  ");
  EXPECT_EQ(layers->Column(0).CaptionLine(0), "Type");
}

TEST_F(LayerTables, ModifiedFlagsReachUpFromSubTablesAndResetDown) {
  EXPECT_FALSE(layers->Modified());
  Params().GetTable(0)->CommitText(0, 0, "3");
  EXPECT_TRUE(layers->Modified());
  layers->ResetModified();
  EXPECT_FALSE(layers->Modified());
  EXPECT_FALSE(Params().GetTable(0)->Modified());
  layers->SetRowCount(3);  // sizing from a file is not an edit
  EXPECT_FALSE(layers->Modified());
  layers->DeleteRowGroup(2);  // the editor's row buttons are
  EXPECT_TRUE(layers->Modified());
}

TEST(GridTableNesting, ATemplateHoldingItselfIsRefused) {
  TGridTableRegistry reg;
  TGridTable t(reg);
  t.SetIdentifier(7);
  t.AddColumn<TTableColumn>(Lines{"self"}, std::vector<int>{7});
  t.EndDefinition();
  EXPECT_THROW(t.FillToMinRows(), TGridTableError);
  EXPECT_EQ(t.RowCount(), 0);
  EXPECT_EQ(t.Column(0).RowCount(), 0);
  EXPECT_EQ(reg.Count(), 1);
}

}  // namespace
}  // namespace kestra
