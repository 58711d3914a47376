// Every grid table of the program, defined in code with its captions,
// columns, limits, defaults, sub-table templates and help texts, and owned by
// one object that the main window holds for the life of the program. The
// project uses the tables by name; New, Open and stage switches reset them in
// place.
#pragma once

#include <string_view>
#include <vector>

#include "tables/grid_table.h"

namespace kestra {

/// Names of the pictures the editors show under some tables; the window
/// layer maps them to its resources.
inline constexpr std::string_view kEarthPressureSketch = "EarthPressureSketch";
inline constexpr std::string_view kTieBackSketch = "TieBackSketch";

class TProgramTables {
 public:
  /// Builds every template and table and fills each table to its minimum
  /// rows (in English units).
  TProgramTables();
  ~TProgramTables();
  TProgramTables(const TProgramTables&) = delete;
  TProgramTables& operator=(const TProgramTables&) = delete;

  /// The registries of the two families (templates are found there by
  /// identifier).
  TGridTableRegistry& Registry() { return registry_; }
  TGridTableRegistry& ChartRegistry() { return chart_registry_; }

  // Tables of the project.
  TGridTable& PileSect() const { return *pile_sect_; }
  TGridTable& SoilLayer() const { return *soil_layer_; }
  TGridTable& BoundCond() const { return *bound_cond_; }
  TGridTable& SoilStrength() const { return *soil_strength_; }
  TGridTable& PYMod() const { return *py_mod_; }
  TGridTable& DistLoad() const { return *dist_load_; }
  TGridTable& LongDist() const { return *long_dist_; }
  TGridTable& NewSoil() const { return *new_soil_; }
  TGridTable& LongSoil() const { return *long_soil_; }
  TGridTable& SurchargeTable() const { return *surcharge_table_; }
  TGridTableChart& PYCurves2() const { return *py_curves2_; }
  TGridTableChart& MEICurves2() const { return *mei_curves2_; }

  // Templates of sub-tables.
  TGridTable& TblClay1() const { return *tbl_clay1_; }
  TGridTable& TblSand1() const { return *tbl_sand1_; }
  TGridTable& TblSilt1() const { return *tbl_silt1_; }
  TGridTable& TblRock1() const { return *tbl_rock1_; }
  TGridTable& TblRock2() const { return *tbl_rock2_; }
  TGridTableChart& PYCurve2() const { return *py_curve2_; }
  TGridTableChart& Rows2() const { return *rows2_; }

  /// The twelve tables of the project in a fixed order (PileSect first,
  /// MEICurves2 last), charts included; templates excluded.
  std::vector<TGridTable*> ProjectTables() const;
  /// The seven templates.
  std::vector<TGridTable*> Templates() const;
  /// A table or template by its name ("PileSect", "TblClay1", ...); nullptr
  /// for an unknown name.
  TGridTable* ByName(std::string_view name) const;

  /// Switches every table of the project to unit code `code` (each converts
  /// only when its own code differs; sub-tables follow their tables).
  void SetUnits(int code);
  /// Removes every row of every table of the project.
  void EmptyAll();
  /// Fills every table of the project to its minimum rows.
  void FillToMinRows();
  /// True when a table of the project, other than the two chart tables,
  /// reports a change: edits of the chart tables do not count.
  bool AnyModified() const;
  /// Clears the modified flags of every table of the project (charts too).
  void ResetModified();
  /// Closes the editors of every table and sub-table.
  void CloseEditors();

 private:
  void DefineTemplates();
  void DefineTables();

  // Registries first: they must outlive every table.
  TGridTableRegistry registry_;
  TGridTableRegistry chart_registry_;

  std::unique_ptr<TGridTable> tbl_clay1_, tbl_sand1_, tbl_silt1_, tbl_rock1_, tbl_rock2_;
  std::unique_ptr<TGridTableChart> py_curve2_, rows2_;

  std::unique_ptr<TGridTable> pile_sect_, soil_layer_, bound_cond_, soil_strength_, py_mod_, dist_load_, long_dist_,
      new_soil_, long_soil_, surcharge_table_;
  std::unique_ptr<TGridTableChart> py_curves2_, mei_curves2_;
};

}  // namespace kestra
