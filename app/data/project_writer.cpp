#include "data/project_writer.h"

#include <cstdint>
#include <string_view>

#include "data/program_data.h"
#include "data/project_units.h"
#include "tables/number_format.h"
#include "tables/program_tables.h"

namespace kestra {
namespace {

// Placeholder of an unused position in a soil property line. It carries its
// own two blanks, so no separator follows it.
constexpr std::string_view kPlaceholder = "0.0  ";

// Composes the file line by line; every record ends in CR LF.
class TFileText {
 public:
  TFileText& Int(std::int32_t v) {
    text_ += std::to_string(v);
    return *this;
  }
  TFileText& Real(long double v) {
    text_ += format_general8(v);
    return *this;
  }
  TFileText& Text(std::string_view s) {
    text_ += s;
    return *this;
  }
  TFileText& Tab() {
    text_ += '\t';
    return *this;
  }
  TFileText& Space() {
    text_ += ' ';
    return *this;
  }
  void End() { text_ += "\r\n"; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

long double FloatAt(const TGridTable& t, int column, int row) { return t.Column(column).GetFloat(row); }
std::int32_t IntAt(const TGridTable& t, int column, int row) { return t.Column(column).GetInteger(row); }

// Writes one problem of the file (records 2 to 16; the title is the caller's).
class TProblemWriter {
 public:
  TProblemWriter(TProgramData& project, TProgramTables& tables, TFileText& out)
      : p_(project), t_(tables), out_(out), units_(TFileUnits::For(project.UnitSystem())) {}

  void Write(TProblemKind kind, const TGridTable& dist, const TGridTable& soil, std::int32_t continuation) {
    EmptySwitchedOffTables();
    p_.DeriveFileCodes(kind, t_.MEICurves2().RowCount());
    // Later problems write 2 for either generated distribution. A project
    // without one (no option chosen yet, or user pressure without rows)
    // writes what its first problem writes, not a triangular distribution
    // nobody chose.
    const std::int32_t option = p_.EarthPressureOption;
    if (kind != TProblemKind::kFirst && p_.EarthPressureCode == 2 && option != 2 && option != 3) {
      p_.EarthPressureCode = option;
    }
    ControlRecord();
    IncrementRecord();
    if (p_.ApplyRestraints) RestraintRecords();
    StiffnessRecords();
    ConcentratedLoadBlock();
    SpringBlock();
    if (p_.ApplyPYMod) ModificationRecords();
    if (p_.EarthPressureCode == 1) DistributedLoadBlock(dist);
    if (TProgramData::WritesSoilRecords(p_.EarthPressureCode, p_.PYCode)) {
      WallRecord();
      SurchargeRecord();
      SurchargeBlock();
      SoilLayerBlock(soil);
    }
    if (p_.ApplyExternalPY) PYCurveBlock();
    if (p_.ApplyEICurves) EICurveBlock();
    out_.Int(continuation).End();
  }

 private:
  // A switched-off option keeps no rows in the saved project.
  void EmptySwitchedOffTables() {
    if (!p_.ApplyConcentratedLoads) t_.BoundCond().SetRowCount(0);
    if (!p_.ApplyRestraints) t_.SoilLayer().SetRowCount(0);
    if (!p_.ApplyExternalPY) t_.PYCurves2().SetRowCount(0);
    if (!p_.ApplyPYMod) t_.PYMod().SetRowCount(0);
  }

  void ControlRecord() {
    out_.Int(p_.UnitSystem()).Space();
    out_.Int(t_.SoilLayer().RowCount()).Tab();
    out_.Int(t_.PileSect().RowCount()).Tab();
    out_.Int(t_.PYMod().RowCount()).Tab();
    out_.Int(p_.EarthPressureCode).Tab();
    out_.Int(p_.PYCode).Space();
    out_.Int(t_.PYCurves2().RowCount()).Space();
    out_.Int(p_.StageCount()).Space();
    out_.Int(p_.EICurveCount).End();
  }

  void IncrementRecord() {
    out_.Int(p_.IncrementCount).Space();
    out_.Real(p_.IncrementLength).Tab();
    out_.Real(p_.MaxDeflection).Tab();
    out_.Real(p_.ClosureTolerance).Tab();
    out_.Real(p_.FreeHeight).End();
  }

  // Case, node, deflection, slope.
  void RestraintRecords() {
    const TGridTable& t = t_.SoilLayer();
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Int(IntAt(t, 0, r)).Tab().Int(IntAt(t, 1, r)).Tab();
      out_.Real(FloatAt(t, 2, r)).Tab().Real(FloatAt(t, 3, r)).End();
    }
  }

  // From, to, interpolation code, EI. The last range cannot interpolate to a
  // next line that does not exist, so it is written as constant.
  void StiffnessRecords() {
    TGridTable& t = t_.PileSect();
    if (t.RowCount() > 0) t.Column(2).SetInteger(t.RowCount() - 1, 1);
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Int(IntAt(t, 0, r)).Tab().Int(IntAt(t, 1, r)).Tab().Int(IntAt(t, 2, r)).Tab();
      out_.Real(FloatAt(t, 3, r)).End();
    }
  }

  // Code, from, to, lateral load, moment, axial load.
  void ConcentratedLoadBlock() {
    const TGridTable& t = t_.BoundCond();
    out_.Int(t.RowCount()).End();
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Int(IntAt(t, 0, r)).Tab().Int(IntAt(t, 1, r)).Tab().Int(IntAt(t, 2, r)).Tab();
      out_.Real(FloatAt(t, 3, r)).Tab().Real(FloatAt(t, 4, r)).Tab().Real(FloatAt(t, 5, r)).End();
    }
  }

  // From, to, code, lateral spring, rotational spring: the code is the
  // table's first column but the file's third value.
  void SpringBlock() {
    TGridTable& t = t_.SoilStrength();
    if (!p_.ApplySprings) t.SetRowCount(0);
    out_.Int(t.RowCount()).End();
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Int(IntAt(t, 1, r)).Tab().Int(IntAt(t, 2, r)).Tab().Int(IntAt(t, 0, r)).Tab();
      out_.Real(FloatAt(t, 3, r)).Tab().Real(FloatAt(t, 4, r)).End();
    }
  }

  // Depth, p-multiplier, y-multiplier.
  void ModificationRecords() {
    const TGridTable& t = t_.PYMod();
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Real(FloatAt(t, 0, r) * units_.depth).Tab();
      out_.Real(FloatAt(t, 1, r)).Tab().Real(FloatAt(t, 2, r)).End();
    }
  }

  // Depth, line load.
  void DistributedLoadBlock(const TGridTable& t) {
    out_.Int(t.RowCount()).End();
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Real(FloatAt(t, 0, r) * units_.depth).Tab();
      out_.Real(FloatAt(t, 1, r) / units_.depth).End();
    }
  }

  void WallRecord() {
    out_.Real(p_.FreeHeight).Tab().Real(p_.ActiveWidth).Tab().Real(p_.ResistanceWidth).Tab();
    out_.Real(p_.WaterDepthBackfill).Tab().Real(p_.WaterDepthExcavation).Tab();
    out_.Real(p_.ActiveFactor).Tab().Int(p_.AnchorCode).Tab().Real(p_.BackfillSlope).End();
  }

  void SurchargeRecord() {
    out_.Real(p_.SurfacePressure).Tab().Real(p_.SurchargeDistance).Tab().Real(p_.PointLoad).Tab();
    out_.Real(p_.LineLoad).Tab().Real(p_.StripLoad).Tab().Real(p_.StripWidth).End();
  }

  // Type, magnitude, distance, strip width.
  void SurchargeBlock() {
    TGridTable& t = t_.SurchargeTable();
    if (!p_.ApplySurcharges) t.SetRowCount(0);
    out_.Int(t.RowCount()).End();
    for (int r = 0; r < t.RowCount(); ++r) {
      out_.Int(IntAt(t, 0, r)).Tab().Real(FloatAt(t, 1, r)).Tab();
      out_.Real(FloatAt(t, 2, r) / units_.surcharge_length).Tab();
      out_.Real(FloatAt(t, 3, r) / units_.surcharge_length).End();
    }
  }

  void SoilLayerBlock(const TGridTable& t) {
    out_.Int(t.RowCount()).End();
    for (int r = 0; r < t.RowCount(); ++r) {
      const std::int32_t type = IntAt(t, 0, r);
      out_.Int(type).Space().Real(FloatAt(t, 1, r) * units_.depth).Space().End();
      if (type < 1 || type > 7) continue;  // no property lines for an unknown type
      const TGridTable* params = t.Column(2).GetTable(r);
      PropertyLine(type, params, 0);
      PropertyLine(type, params, 1);
    }
  }

  // The six positions: unit weight, strength, friction angle or rock
  // parameter, E50 or krm, k(py) or rock modulus, RQD.
  void PropertyLine(std::int32_t type, const TGridTable* params, int row) {
    // A parameter table is always there with its two rows; zeros keep the
    // line whole should one ever be missing.
    auto v = [&](int column) -> long double {
      if (params == nullptr || row >= params->RowCount() || column >= params->ColumnCount()) return 0;
      return FloatAt(*params, column, row);
    };
    auto value = [&](long double x) { out_.Real(x).Space(); };
    auto none = [&] { out_.Text(kPlaceholder); };
    const long double unit_weight = v(0) / units_.unit_weight;
    switch (type) {
      case 1:
      case 2:
      case 3:  // clay: weight, cohesion, E50, k(py)
        value(unit_weight);
        value(v(1) / units_.cohesion);
        none();
        value(v(2));
        value(v(3));
        none();
        break;
      case 4:  // sand: weight, friction angle, k(py)
        value(unit_weight);
        none();
        value(v(1));
        none();
        value(v(2));
        none();
        break;
      case 5:  // silt: weight, friction angle, cohesion, E50, k(py)
        value(unit_weight);
        value(v(2) / units_.cohesion);
        value(v(1));
        value(v(3));
        value(v(4));
        none();
        break;
      case 6:  // strong rock: weight, compressive strength
        value(unit_weight);
        value(v(1));
        for (int k = 0; k < 4; ++k) none();
        break;
      default:  // weak rock: weight, strength, krm, modulus, RQD
        value(unit_weight);
        value(v(1));
        none();
        value(v(2));
        value(v(3));
        value(v(4));
        break;
    }
    out_.End();
  }

  // Per curve: node, points, p- and y-multipliers; then y and p per point.
  void PYCurveBlock() {
    const TGridTable& t = t_.PYCurves2();
    for (int r = 0; r < t.RowCount(); ++r) {
      const TGridTable* points = t.Column(1).GetTable(r);
      const int n = points != nullptr ? points->RowCount() : 0;
      out_.Int(IntAt(t, 0, r)).Tab().Int(n).Tab();
      out_.Real(FloatAt(t, 2, r)).Tab().Real(FloatAt(t, 3, r)).End();
      for (int k = 0; k < n; ++k) out_.Real(FloatAt(*points, 0, k)).Tab().Real(FloatAt(*points, 1, k)).End();
    }
  }

  // Per curve: from node, to node, points; then moment and EI per point.
  void EICurveBlock() {
    const TGridTable& t = t_.MEICurves2();
    for (int r = 0; r < t.RowCount(); ++r) {
      const TGridTable* points = t.Column(2).GetTable(r);
      const int n = points != nullptr ? points->RowCount() : 0;
      out_.Int(IntAt(t, 0, r)).Tab().Int(IntAt(t, 1, r)).Tab().Int(n).End();
      for (int k = 0; k < n; ++k) out_.Real(FloatAt(*points, 0, k)).Tab().Real(FloatAt(*points, 1, k)).End();
    }
  }

  TProgramData& p_;
  TProgramTables& t_;
  TFileText& out_;
  TFileUnits units_;
};

}  // namespace

std::string StageTitle(int stage) { return " Stage No : " + std::to_string(stage); }

std::string ProjectFileText(TProgramData& project, TProgramTables& tables) {
  TFileText out;
  out.Text(project.Title()).End();
  TProblemWriter writer(project, tables, out);
  const std::int32_t continuation = project.DeriveLongTermCode();
  writer.Write(TProblemKind::kFirst, tables.DistLoad(), tables.NewSoil(), continuation);
  if (continuation == 9) {
    out.Text(project.Title()).End();
    writer.Write(TProblemKind::kLongTerm, tables.LongDist(), tables.LongSoil(), 0);
  }
  return out.Take();
}

std::string StageFileText(TProgramData& project, TProgramTables& tables) {
  TFileText out;
  const std::int32_t stage = project.CurrentStage();
  out.Text(stage == 1 ? project.Title() : StageTitle(stage)).End();
  TProblemWriter writer(project, tables, out);
  writer.Write(TProblemKind::kStage, tables.DistLoad(), tables.NewSoil(), stage);
  return out.Take();
}

}  // namespace kestra
