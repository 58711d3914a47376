#include "tables/program_tables.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace kestra {

namespace {

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
// Node numbers of the "from" columns stop a little short of the 32-bit
// maximum, as they always have.
constexpr std::int32_t kNodeMax = 2147483600;

using Lines = std::vector<std::string>;

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& l : lines) {
    if (!text.empty()) text += '\n';
    text += l;
  }
  return text;
}

// An enum's header widened with trailing blanks to about the width of its
// longest choice, so that the editor's drop-down lists show whole texts.
std::string PaddedHeader(std::string header, const Lines& choices) {
  std::size_t widest = 0;
  for (const std::string& c : choices) widest = std::max(widest, c.size());
  if (header.size() < widest) header.append(widest - header.size(), ' ');
  return header;
}

template <typename Table>
std::unique_ptr<Table> MakeTable(TGridTableRegistry& registry, int identifier, std::string caption, int min_rows,
                                 int max_rows, std::string top_left = {}) {
  auto t = std::make_unique<Table>(registry);
  t->SetIdentifier(identifier);
  t->Caption = std::move(caption);
  t->SetMinRows(min_rows);
  t->SetMaxRows(max_rows);
  t->TopLeft = std::move(top_left);
  return t;
}

const Lines kConstantValueChoices = {"Use Constant Value for all Nodes on this Line",
                                     "Linear Interpolate to End Node of Next Line"};
const Lines kConstantValuesChoices = {"Use Constant Values for all Nodes on this Line",
                                      "Linear Interpolate to End Node of Next Line"};

const Lines kInterpolationHelp = {
    "Linear interpolation (when selected) is performed from START node of previous line to END "
    "node of the following line."};

const Lines kPYCurveHelp = {"* Use negative (-) values for deflections to the left (to backfill)",
                            "     and positive (+) to the right (to excavation).",
                            "Lateral movement (y) should start from negative deflection",
                            "     (towards backfill) and gradually increase to positive",
                            "     deflection (towards excavation) for the range of the response.",
                            "Positive soil resistance (p) should correspond to the negative",
                            "     soil movement (-y) and negative soil resistance (-p) should",
                            "     correspond to the positive soil movement (y)."};

void AddDistLoadColumns(TGridTable& t, std::string load_header) {
  t.AddColumn<TFloatColumn>(Lines{"Depth measured from the top of the wall,"}, "L2", 0.0L);
  t.AddColumn<TFloatColumn>(Lines{std::move(load_header)}, "F/L2", 0.0L);
  t.HelpPicture = std::string(kEarthPressureSketch);
  t.EndDefinition();
}

void AddSoilColumns(TGridTable& t, Lines type_header, Lines choices) {
  t.AddColumn<TEnumColumn>(std::move(type_header), std::move(choices));
  t.AddColumn<TFloatColumn>(Lines{"Depth at Bottom", "of the Layer,"}, "L2", 0.0L);
  // Templates by soil type: three clays, sand, silt, strong rock, weak rock.
  t.AddColumn<TTableColumn>(Lines{"Edit Soil", "Parameters"}, std::vector<int>{18, 18, 18, 17, 29, 30, 31});
  t.EndDefinition();
}

}  // namespace

TProgramTables::TProgramTables() {
  // Templates first: filling the tables builds sub-tables from them.
  DefineTemplates();
  DefineTables();
  FillToMinRows();
}

TProgramTables::~TProgramTables() = default;

void TProgramTables::DefineTemplates() {
  const Lines unit_weight = {"Total Unit", "Weight,"};
  const Lines cohesion = {"Cohesive", "Strength,"};
  const Lines friction = {"Friction", "Angle, deg."};
  const Lines rock_strength = {"Uniaxial Compressive", "Strength,"};

  tbl_clay1_ = MakeTable<TGridTable>(registry_, 18, "Clay", 2, 2);
  tbl_clay1_->AddColumn<TFloatColumn>(unit_weight, "F/L2^3", 0.0L);
  tbl_clay1_->AddColumn<TFloatColumn>(cohesion, "F/L2^2", 0.0L);
  tbl_clay1_->AddColumn<TFloatColumn>(Lines{"E50"}, "", 0.0L);
  tbl_clay1_->AddColumn<TFloatColumn>(Lines{"k(py)"}, "F/L^3", 0.0L);
  tbl_clay1_->EndDefinition();

  tbl_sand1_ = MakeTable<TGridTable>(registry_, 17, "Sand", 2, 2);
  tbl_sand1_->AddColumn<TFloatColumn>(unit_weight, "F/L2^3", 0.0L);
  tbl_sand1_->AddColumn<TFloatColumn>(friction, "", 0.0L);
  tbl_sand1_->AddColumn<TFloatColumn>(Lines{"k(py)"}, "F/L^3", 0.0L);
  tbl_sand1_->EndDefinition();

  tbl_silt1_ = MakeTable<TGridTable>(registry_, 29, "Silt", 2, 2);
  tbl_silt1_->AddColumn<TFloatColumn>(Lines{"Total Unit ", "Weight,"}, "F/L2^3", 0.0L);
  tbl_silt1_->AddColumn<TFloatColumn>(friction, "", 0.0L);
  tbl_silt1_->AddColumn<TFloatColumn>(cohesion, "F/L2^2", 0.0L);
  tbl_silt1_->AddColumn<TFloatColumn>(Lines{"E50"}, "", 0.0L);
  tbl_silt1_->AddColumn<TFloatColumn>(Lines{"K(py)"}, "F/L^3", 0.0L);
  tbl_silt1_->EndDefinition();

  tbl_rock1_ = MakeTable<TGridTable>(registry_, 30, "Strong Rock", 2, 2);
  tbl_rock1_->AddColumn<TFloatColumn>(unit_weight, "F/L2^3", 0.0L);
  tbl_rock1_->AddColumn<TFloatColumn>(rock_strength, "F/L^2", 0.0L);
  tbl_rock1_->EndDefinition();

  tbl_rock2_ = MakeTable<TGridTable>(registry_, 31, "Weak Rock", 2, 2);
  tbl_rock2_->AddColumn<TFloatColumn>(unit_weight, "F/L2^3", 0.0L);
  tbl_rock2_->AddColumn<TFloatColumn>(rock_strength, "F/L^2", 0.0L);
  tbl_rock2_->AddColumn<TFloatColumn>(Lines{"krm *"}, "", 0.0L);
  tbl_rock2_->AddColumn<TFloatColumn>(Lines{"Elastic", "Modulus,"}, "F/L^2", 0.0L);
  tbl_rock2_->AddColumn<TFloatColumn>(Lines{"RQD", "%"}, "", 0.0L);
  tbl_rock2_->Comments = "* krm is a strain constant that seve to establish the overall stiffness of the curves";
  tbl_rock2_->EndDefinition();

  py_curve2_ = MakeTable<TGridTableChart>(chart_registry_, 38, "External p-y Curve", 2, 17, "Point");
  py_curve2_->AddColumn<TFloatColumn>(Lines{"Lateral Deflection, y (*)"}, "L", 0.0L);
  py_curve2_->AddColumn<TFloatColumn>(Lines{"Soil Resistance, p"}, "F/L", 0.0L);
  py_curve2_->PreviewShown = true;
  py_curve2_->XColumn = 0;
  py_curve2_->YColumn = 1;
  py_curve2_->GetDataFromFile = true;
  py_curve2_->Comments = Joined(kPYCurveHelp);
  py_curve2_->EndDefinition();

  rows2_ = MakeTable<TGridTableChart>(chart_registry_, 0, "Moment and EI data", 1, 100, "Point");
  rows2_->AddColumn<TFloatColumn>(Lines{"Bending moment"}, "F-L", 0.0L);
  rows2_->AddColumn<TFloatColumn>(Lines{"Flexural rigidity"}, "F-L^2", 0.0L);
  rows2_->PreviewShown = true;
  rows2_->XColumn = 0;
  rows2_->YColumn = 1;
  rows2_->GetDataFromFile = true;
  rows2_->EndDefinition();
}

void TProgramTables::DefineTables() {
  pile_sect_ = MakeTable<TGridTable>(registry_, 15, "Wall Stiffness", 1, 10, "Section");
  pile_sect_->AddColumn<TIntColumn>(Lines{"From Node No. (Start)"}, 0, 0, kNodeMax);
  pile_sect_->AddColumn<TIntColumn>(Lines{"To Node No. (End)"}, 1, 0, kIntMax);
  pile_sect_->AddColumn<TEnumColumn>(Lines{PaddedHeader("Constant or Interpolate?", kConstantValueChoices)},
                                     kConstantValueChoices);
  pile_sect_->AddColumn<TFloatColumn>(Lines{"Flexural Stiffness (EI)"}, "F-L^2", 0.0L);
  pile_sect_->Comments =
      Joined({"The nodal number at the top of the wall is set to be 0.",
              "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.", kInterpolationHelp[0]});
  pile_sect_->EndDefinition();

  const Lines case_choices = {"Specify Deflection", "Specify Slope"};
  soil_layer_ = MakeTable<TGridTable>(registry_, 0, "Specify Deflection and Slope on Wall", 1, 10, "No");
  soil_layer_->AddColumn<TEnumColumn>(Lines{PaddedHeader("Case", case_choices)}, case_choices);
  soil_layer_->AddColumn<TIntColumn>(Lines{"Nodal No."}, 0, 0, kNodeMax);
  soil_layer_->AddColumn<TFloatColumn>(Lines{"Deflection"}, "L", 0.0L);
  soil_layer_->AddColumn<TFloatColumn>(Lines{"Slope"}, "", 0.0L);
  soil_layer_->EndDefinition();

  bound_cond_ = MakeTable<TGridTable>(registry_, 123, "Concentrated Loads on Wall", 1, 20);
  bound_cond_->AddColumn<TEnumColumn>(Lines{PaddedHeader("Constant or Interpolate?", kConstantValuesChoices)},
                                      kConstantValuesChoices);
  bound_cond_->AddColumn<TIntColumn>(Lines{"From Node No.", "(Start)"}, 0, 0, kNodeMax);
  bound_cond_->AddColumn<TIntColumn>(Lines{"To Node No.", "(End)"}, 1, 0, kIntMax);
  bound_cond_->AddColumn<TFloatColumn>(Lines{"Lateral Load"}, "F", 0.0L);
  bound_cond_->AddColumn<TFloatColumn>(Lines{"Moment"}, "F-L", 0.0L);
  bound_cond_->AddColumn<TFloatColumn>(Lines{"Axial Load"}, "F", 0.0L);
  bound_cond_->Comments =
      Joined({"The concentrated loads are applied at nodal points only (including the specified START "
              "and END nodes).",
              kInterpolationHelp[0]});
  bound_cond_->EndDefinition();

  const Lines spring_choices = {"Use Constant Values for all Nodes on this Line  ",
                                "Linear Interpolate to End Node of Next Line"};
  soil_strength_ = MakeTable<TGridTable>(registry_, 4, "Lateral Spring and Rotation Spring", 1, 20, "Point");
  soil_strength_->AddColumn<TEnumColumn>(Lines{PaddedHeader("Constant or Interpolate?", spring_choices)},
                                         spring_choices);
  soil_strength_->AddColumn<TIntColumn>(Lines{"From Node No.", "     (Start)"}, 0, 0, kIntMax);
  soil_strength_->AddColumn<TIntColumn>(Lines{"To Node No.", "   (End)"}, 0, kIntMin, kIntMax);
  soil_strength_->AddColumn<TFloatColumn>(Lines{"Lateral Spring", "Stiffness"}, "F/L", 0.0L);
  soil_strength_->AddColumn<TFloatColumn>(Lines{"Rotational Spr.", "Stiff."}, "F-L/RAD.", 0.0L);
  soil_strength_->Comments =
      Joined({"The spring stiffnesses are applied at nodal points only (including the specified START "
              "and END nodes).",
              kInterpolationHelp[0]});
  soil_strength_->HelpPicture = std::string(kTieBackSketch);
  soil_strength_->EndDefinition();

  py_mod_ = MakeTable<TGridTable>(registry_, 16, "p-y Modification Factors", 2, 30);
  py_mod_->AddColumn<TFloatColumn>(Lines{"Depth"}, "L2", 0.0L);
  py_mod_->AddColumn<TFloatColumn>(Lines{"p-Multiplier"}, "", 1.0L);
  py_mod_->AddColumn<TFloatColumn>(Lines{"y-Multiplier"}, "", 1.0L);
  py_mod_->EndDefinition();

  dist_load_ = MakeTable<TGridTable>(registry_, 22, "Distributed Loads", 2, 100);
  AddDistLoadColumns(*dist_load_, "Lateral distributed line load, ");
  long_dist_ = MakeTable<TGridTable>(registry_, 104, "Distributed Load (Long-Term)", 1, 0);
  AddDistLoadColumns(*long_dist_, "Lateral distributed line load,");

  new_soil_ = MakeTable<TGridTable>(registry_, 19, "Soil Layers", 1, 10);
  AddSoilColumns(*new_soil_, Lines{"Soil ", "Type"},
                 Lines{"Soft Clay", "Stiff Clay with Free Water", "Stiff Clay w/o Free Water", "Sand",
                       "Silt (c-phi soil)", "Strong Rock", "Weak Rock"});
  long_soil_ = MakeTable<TGridTable>(registry_, 44, "Soil Layers (Long-Term)", 1, 10);
  AddSoilColumns(*long_soil_, Lines{"Soil", "Type"},
                 Lines{"Soft Clay", "Stiff Clay with Free water", "Stiff Clay w/o Free Water", "Sand",
                       "Silt (c-phi soil)", "Strong Rock", "Weak Rock"});

  surcharge_table_ = MakeTable<TGridTable>(registry_, 23, "Surcharge Loads", 1, 20);
  surcharge_table_->AddColumn<TEnumColumn>(Lines{"Load Types"}, Lines{"Point Load", "Line Load", "Strip Load"});
  surcharge_table_->AddColumn<TFloatColumn>(Lines{"Load Magnitude"}, "SEE NOTES", 0.0L);
  surcharge_table_->AddColumn<TFloatColumn>(Lines{"Distance, X"}, "L1", 0.0L);
  surcharge_table_->AddColumn<TFloatColumn>(Lines{"Width of Strip Load, W"}, "L1", 0.0L);
  surcharge_table_->Comments =
      Joined({"The unit for point load is lbs or kN ", "The unit for line load is lbs/in. or kN/m ",
              "The unit for strip load is lbs/in^2 or kN/m^2 "});
  surcharge_table_->EndDefinition();

  py_curves2_ = MakeTable<TGridTableChart>(chart_registry_, 37, "Sets of Ext. p-y Curves", 2, 30);
  py_curves2_->AddColumn<TIntColumn>(Lines{"Node # "}, 0, kIntMin, kIntMax);
  py_curves2_->AddColumn<TTableColumn>(Lines{"Curve Sets"}, std::vector<int>{38});
  py_curves2_->AddColumn<TFloatColumn>(Lines{"Multiplier for p-value"}, "", 1.0L);
  py_curves2_->AddColumn<TFloatColumn>(Lines{"Multiplier for y-value"}, "", 1.0L);
  py_curves2_->EndDefinition();

  mei_curves2_ = MakeTable<TGridTableChart>(chart_registry_, 36, "Nonlinear Moment vs EI Curves", 1, 20, "Section");
  mei_curves2_->AddColumn<TIntColumn>(Lines{"From Node No. (Start)"}, 0, 0, 1000);
  mei_curves2_->AddColumn<TIntColumn>(Lines{"To Node No. (End)"}, 0, 0, 1000);
  mei_curves2_->AddColumn<TTableColumn>(Lines{}, std::vector<int>{0});
  mei_curves2_->EndDefinition();
}

std::vector<TGridTable*> TProgramTables::ProjectTables() const {
  return {pile_sect_.get(), soil_layer_.get(),      bound_cond_.get(), soil_strength_.get(),
          py_mod_.get(),    dist_load_.get(),       long_dist_.get(),  new_soil_.get(),
          long_soil_.get(), surcharge_table_.get(), py_curves2_.get(), mei_curves2_.get()};
}

std::vector<TGridTable*> TProgramTables::Templates() const {
  return {tbl_clay1_.get(), tbl_sand1_.get(), tbl_silt1_.get(), tbl_rock1_.get(),
          tbl_rock2_.get(), py_curve2_.get(), rows2_.get()};
}

TGridTable* TProgramTables::ByName(std::string_view name) const {
  const std::pair<std::string_view, TGridTable*> names[] = {
      {"PileSect", pile_sect_.get()},   {"SoilLayer", soil_layer_.get()},
      {"BoundCond", bound_cond_.get()}, {"SoilStrength", soil_strength_.get()},
      {"PYMod", py_mod_.get()},         {"DistLoad", dist_load_.get()},
      {"LongDist", long_dist_.get()},   {"NewSoil", new_soil_.get()},
      {"LongSoil", long_soil_.get()},   {"SurchargeTable", surcharge_table_.get()},
      {"PYCurves2", py_curves2_.get()}, {"MEICurves2", mei_curves2_.get()},
      {"TblClay1", tbl_clay1_.get()},   {"TblSand1", tbl_sand1_.get()},
      {"TblSilt1", tbl_silt1_.get()},   {"TblRock1", tbl_rock1_.get()},
      {"TblRock2", tbl_rock2_.get()},   {"PYCurve2", py_curve2_.get()},
      {"Rows2", rows2_.get()}};
  for (const auto& [n, t] : names) {
    if (n == name) return t;
  }
  return nullptr;
}

void TProgramTables::SetUnits(int code) {
  for (TGridTable* t : ProjectTables()) t->SetUnits(code);
}

void TProgramTables::EmptyAll() {
  for (TGridTable* t : ProjectTables()) t->SetRowCount(0);
}

void TProgramTables::FillToMinRows() {
  for (TGridTable* t : ProjectTables()) t->FillToMinRows();
}

bool TProgramTables::AnyModified() const {
  for (const TGridTable* t : ProjectTables()) {
    if (!t->IsChart() && t->Modified()) return true;
  }
  return false;
}

void TProgramTables::ResetModified() {
  for (TGridTable* t : ProjectTables()) t->ResetModified();
}

void TProgramTables::CloseEditors() {
  for (TGridTable* t : ProjectTables()) t->CloseEditor();
  for (TGridTable* t : Templates()) t->CloseEditor();
}

}  // namespace kestra
