#include "data/project_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "data/program_data.h"
#include "data/project_units.h"
#include "results/word_reader.h"
#include "tables/program_tables.h"

namespace kestra {
namespace {

// What a problem of the file holds, by dialect. Older stage files (without
// the EI count) are version 3.0 problems.
struct TReadRules {
  int dialect = kDialectCurrent;  // 1, 2 or 3 (version 2.0)
  bool stage = false;             // a stage file read into the project being edited

  static TReadRules ForFile(int dialect) {
    TReadRules r;
    r.dialect = dialect == kDialectCurrent || dialect == kDialectV30 ? dialect : 3;
    return r;
  }
  static TReadRules ForStage(bool has_ei_count) {
    TReadRules r;
    r.dialect = has_ei_count ? kDialectCurrent : kDialectV30;
    r.stage = true;
    return r;
  }
  bool HasStageCount() const { return dialect != 3; }
  bool HasEICount() const { return dialect == kDialectCurrent; }
  // Version 3.0 and 2.0 files had one surcharge in the surcharge record and
  // no block of further ones, and no multipliers on user p-y curves.
  bool HasSurchargeBlock() const { return dialect == kDialectCurrent; }
  bool HasCurveMultipliers() const { return dialect == kDialectCurrent; }
  bool HasContinuationCode() const { return dialect != 3; }
  // Version 2.0 gave layer thicknesses and one five-value property line.
  bool VersionTwo() const { return dialect == 3; }
};

// The control record's counts and codes.
struct TControl {
  std::int32_t unit_code = 1;
  int restraints = 0;
  int stiffness = 0;
  int modifications = 0;
  std::int32_t earth_pressure = 0;
  std::int32_t py = 0;
  int curves = 0;
  std::int32_t stages = 1;
  int ei_curves = 0;
};

// Where a soil property value goes: a column of the layer's parameter table
// (-1: a placeholder, skipped) and how it is converted.
enum class TPropertyKind { kPlain, kUnitWeight, kCohesion };
struct TPropertySlot {
  int column;
  TPropertyKind kind;
};
constexpr TPropertySlot kSkip{-1, TPropertyKind::kPlain};
constexpr TPropertySlot Weight() { return {0, TPropertyKind::kUnitWeight}; }
constexpr TPropertySlot Cohesion(int column) { return {column, TPropertyKind::kCohesion}; }
constexpr TPropertySlot Plain(int column) { return {column, TPropertyKind::kPlain}; }

// The six positions of a property line by soil type 1..7 (unit weight,
// strength, friction angle or rock parameter, E50 or krm, k(py) or modulus,
// RQD), mapped onto the columns of the type's parameter table.
constexpr std::array<std::array<TPropertySlot, 6>, 7> kPropertyLine = {{
    {Weight(), Cohesion(1), kSkip, Plain(2), Plain(3), kSkip},     // soft clay
    {Weight(), Cohesion(1), kSkip, Plain(2), Plain(3), kSkip},     // stiff clay, free water
    {Weight(), Cohesion(1), kSkip, Plain(2), Plain(3), kSkip},     // stiff clay, no free water
    {Weight(), kSkip, Plain(1), kSkip, Plain(2), kSkip},           // sand
    {Weight(), Cohesion(2), Plain(1), Plain(3), Plain(4), kSkip},  // silt
    {Weight(), Plain(1), kSkip, kSkip, kSkip, kSkip},              // strong rock
    {Weight(), Plain(1), kSkip, Plain(2), Plain(3), Plain(4)},     // weak rock
}};

// Version 2.0: one line of five values for types 1..6, nothing converted.
constexpr std::array<std::array<TPropertySlot, 5>, 6> kVersionTwoLine = {{
    {Plain(0), Plain(1), kSkip, Plain(2), Plain(3)},
    {Plain(0), Plain(1), kSkip, Plain(2), Plain(3)},
    {Plain(0), Plain(1), kSkip, Plain(2), Plain(3)},
    {Plain(0), kSkip, Plain(1), kSkip, Plain(2)},
    {Plain(0), Plain(2), Plain(1), Plain(3), Plain(4)},
    {Plain(0), Plain(1), kSkip, kSkip, kSkip},
}};

// Appends one default row and returns its index. Rows are added as their
// values are read, so a table never grows beyond what the file carries.
int AddRow(TGridTable& t) {
  const int row = t.RowCount();
  t.SetRowCount(row + 1);
  return row;
}

// Reads the records of one problem after its title.
class TProblemReader {
 public:
  // `options` false reads a problem whose codes must not change the
  // project's options (the long-term problem of a file: its shared records
  // go to a scratch project, only its own tables to the real ones).
  TProblemReader(TWordReader& words, TProgramData& project, TProgramTables& tables, TReadRules rules, bool options)
      : r_(words), p_(project), t_(tables), rules_(rules), options_(options) {}

  void Read(TGridTable& dist, TGridTable& soil) {
    const TControl c = ControlRecord();
    IncrementRecord();
    if (c.restraints > 0) RestraintRecords(c.restraints);
    StiffnessRecords(c.stiffness);
    ConcentratedLoadBlock();
    SpringBlock();
    if (c.modifications > 0) ModificationRecords(c.modifications);
    if (c.earth_pressure == 1) DistributedLoadBlock(dist);
    if (c.earth_pressure > 1 || c.py > 1) {
      WallRecord();
      SurchargeRecord();
      if (rules_.HasSurchargeBlock()) {
        SurchargeBlock();
      } else {
        LegacySurcharges();
      }
      SoilLayerBlock(soil);
    }
    if (c.curves > 0) PYCurveBlock(c.curves);
    if (c.ei_curves > 0) EICurveBlock(c.ei_curves);
  }

 private:
  // A row count: negative counts as none; more rows than any table can hold
  // is a damaged file, refused before anything is allocated for it.
  int Count() {
    const std::int32_t n = r_.ReadInt();
    if (n > kMaxRowsInFile) throw TInOutError(std::string(TWordReader::kIncomplete));
    return std::max<std::int32_t>(n, 0);
  }

  TControl ControlRecord() {
    TControl c;
    c.unit_code = r_.ReadInt();
    if (options_) {
      // The tables switch with the project (empty ones convert nothing), so
      // that every value read below lands in the units the file gives.
      p_.SetUnits(c.unit_code);
      t_.SetUnits(p_.UnitSystem());
    }
    units_ = TFileUnits::For(p_.UnitSystem());
    c.restraints = Count();
    c.stiffness = Count();
    c.modifications = Count();
    c.earth_pressure = r_.ReadInt();
    c.py = r_.ReadInt();
    c.curves = Count();
    if (rules_.HasStageCount()) c.stages = r_.ReadInt();
    if (rules_.HasEICount()) c.ei_curves = Count();
    if (options_) SetOptions(c);
    t_.SoilLayer().SetRowCount(0);
    return c;
  }

  void SetOptions(const TControl& c) {
    if (!rules_.stage) {
      p_.SetLongTermAnalysis(false);
      // A count the program cannot edit (0, or above 5) is an unstaged file.
      p_.SetStageCount(c.stages >= 2 && c.stages <= TProgramData::kMaxStageCount ? c.stages : 1);
    }
    p_.EarthPressureOption = c.earth_pressure;
    if (rules_.stage) {
      // A stage file writes 2 for any generated distribution.
      if (c.earth_pressure == 2) p_.EarthPressureGenerated = true;
      if (c.earth_pressure == 0 || c.earth_pressure == 1) p_.EarthPressureGenerated = false;
    } else {
      p_.EarthPressureGenerated = c.earth_pressure > 1;
    }
    p_.GeneratePY = c.py == 2;
    // Set from the code in stage files as well: a flag left over from the
    // previous stage would turn this stage's generated pressure into user
    // pressure on the next write.
    p_.UserEarthPressure = c.earth_pressure == 1;
    p_.ApplyExternalPY = c.curves > 0;
    p_.ApplyPYMod = c.modifications > 0;
    p_.ApplyEICurves = c.ei_curves > 0;
    p_.ApplyRestraints = c.restraints > 0;
  }

  void IncrementRecord() {
    p_.IncrementCount = r_.ReadInt();
    p_.IncrementLength = r_.ReadFloat();
    p_.MaxDeflection = r_.ReadFloat();
    p_.ClosureTolerance = r_.ReadFloat();
    p_.FreeHeight = r_.ReadFloat();
  }

  void RestraintRecords(int n) {
    TGridTable& t = t_.SoilLayer();
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(0).SetInteger(row, r_.ReadInt());
      t.Column(1).SetInteger(row, r_.ReadInt());
      t.Column(2).SetFloat(row, r_.ReadFloat());
      t.Column(3).SetFloat(row, r_.ReadFloat());
    }
  }

  void StiffnessRecords(int n) {
    TGridTable& t = t_.PileSect();
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      for (int col = 0; col < 3; ++col) t.Column(col).SetInteger(row, r_.ReadInt());
      t.Column(3).SetFloat(row, r_.ReadFloat());
    }
  }

  void ConcentratedLoadBlock() {
    TGridTable& t = t_.BoundCond();
    const int n = Count();
    if (options_) p_.ApplyConcentratedLoads = n > 0;
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      for (int col = 0; col < 3; ++col) t.Column(col).SetInteger(row, r_.ReadInt());
      for (int col = 3; col < 6; ++col) t.Column(col).SetFloat(row, r_.ReadFloat());
    }
  }

  // From, to, code in the file; the code is the table's first column.
  void SpringBlock() {
    TGridTable& t = t_.SoilStrength();
    const int n = Count();
    if (options_) p_.ApplySprings = n > 0;
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(1).SetInteger(row, r_.ReadInt());
      t.Column(2).SetInteger(row, r_.ReadInt());
      t.Column(0).SetInteger(row, r_.ReadInt());
      t.Column(3).SetFloat(row, r_.ReadFloat());
      t.Column(4).SetFloat(row, r_.ReadFloat());
    }
  }

  void ModificationRecords(int n) {
    TGridTable& t = t_.PYMod();
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(0).SetFloat(row, r_.ReadFloat() / units_.depth);
      t.Column(1).SetFloat(row, r_.ReadFloat());
      t.Column(2).SetFloat(row, r_.ReadFloat());
    }
  }

  void DistributedLoadBlock(TGridTable& t) {
    const int n = Count();
    if (options_) {
      p_.EarthPressureOption = 1;
      p_.UserEarthPressure = n > 0;
    }
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(0).SetFloat(row, r_.ReadFloat() / units_.depth);
      t.Column(1).SetFloat(row, r_.ReadFloat() * units_.depth);
    }
  }

  void WallRecord() {
    p_.FreeHeight = r_.ReadFloat();
    p_.ActiveWidth = r_.ReadFloat();
    p_.ResistanceWidth = r_.ReadFloat();
    p_.WaterDepthBackfill = r_.ReadFloat();
    p_.WaterDepthExcavation = r_.ReadFloat();
    p_.ActiveFactor = r_.ReadFloat();
    // Older files stored the unit weight of water in this place.
    if (p_.ActiveFactor == 0.036L) p_.ActiveFactor = 1.0L;
    p_.AnchorCode = r_.ReadInt();
    p_.BackfillSlope = r_.ReadFloat();
  }

  void SurchargeRecord() {
    p_.SurfacePressure = r_.ReadFloat();
    p_.SurchargeDistance = r_.ReadFloat();
    p_.PointLoad = r_.ReadFloat();
    p_.LineLoad = r_.ReadFloat();
    p_.StripLoad = r_.ReadFloat();
    p_.StripWidth = r_.ReadFloat();
  }

  void SurchargeBlock() {
    TGridTable& t = t_.SurchargeTable();
    const int n = Count();
    if (options_) p_.ApplySurcharges = n > 0;
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(0).SetInteger(row, r_.ReadInt());
      t.Column(1).SetFloat(row, r_.ReadFloat());
      t.Column(2).SetFloat(row, r_.ReadFloat() * units_.surcharge_length);
      t.Column(3).SetFloat(row, r_.ReadFloat() * units_.surcharge_length);
    }
  }

  // An older file's single surcharge becomes a point, a line and a strip
  // load at the same distance, with the same strip width.
  void LegacySurcharges() {
    TGridTable& t = t_.SurchargeTable();
    const bool any = p_.SurchargeDistance > 0;
    if (options_) p_.ApplySurcharges = any;
    if (!any) return;
    t.SetRowCount(0);
    const long double magnitudes[] = {p_.PointLoad, p_.LineLoad, p_.StripLoad};
    for (int type = 1; type <= 3; ++type) {
      const int row = AddRow(t);
      t.Column(0).SetInteger(row, type);
      t.Column(1).SetFloat(row, magnitudes[type - 1]);
      t.Column(2).SetFloat(row, p_.SurchargeDistance * units_.surcharge_length);
      t.Column(3).SetFloat(row, p_.StripWidth * units_.surcharge_length);
    }
  }

  void SoilLayerBlock(TGridTable& t) {
    const int n = Count();
    t.SetRowCount(0);
    long double bottom = 0;  // version 2.0 gives thicknesses
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      const std::int32_t type = r_.ReadInt();
      t.Column(0).SetInteger(row, type);  // builds the type's parameter table
      if (rules_.VersionTwo()) {
        bottom += r_.ReadFloat();
        t.Column(1).SetFloat(row, bottom);
      } else {
        t.Column(1).SetFloat(row, r_.ReadFloat() / units_.depth);
      }
      TGridTable* params = t.Column(2).GetTable(row);
      if (params != nullptr) params->SetRowCount(2);
      if (rules_.VersionTwo()) {
        if (type >= 1 && type <= 6) VersionTwoProperties(type, params);
      } else if (type >= 1 && type <= 7) {
        PropertyLine(type, params, 0);
        PropertyLine(type, params, 1);
      }
    }
  }

  void Store(TGridTable* params, int row, TPropertySlot slot, long double value) {
    if (params == nullptr || slot.column >= params->ColumnCount() || row >= params->RowCount()) return;
    if (slot.kind == TPropertyKind::kUnitWeight) value *= units_.unit_weight;
    if (slot.kind == TPropertyKind::kCohesion) value *= units_.cohesion;
    params->Column(slot.column).SetFloat(row, value);
  }

  void PropertyLine(std::int32_t type, TGridTable* params, int row) {
    for (const TPropertySlot& slot : kPropertyLine[static_cast<std::size_t>(type - 1)]) {
      if (slot.column < 0) {
        r_.NextWord();
      } else {
        Store(params, row, slot, r_.ReadFloat());
      }
    }
  }

  void VersionTwoProperties(std::int32_t type, TGridTable* params) {
    for (const TPropertySlot& slot : kVersionTwoLine[static_cast<std::size_t>(type - 1)]) {
      if (slot.column < 0) {
        r_.NextWord();
        continue;
      }
      const long double value = r_.ReadFloat();
      Store(params, 0, slot, value);
      Store(params, 1, slot, value);
    }
  }

  // Per curve: node, point count, (multipliers), then y and p per point.
  void PYCurveBlock(int n) {
    TGridTable& t = t_.PYCurves2();
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(0).SetInteger(row, r_.ReadInt());
      const int points = Count();
      if (rules_.HasCurveMultipliers()) {
        t.Column(2).SetFloat(row, r_.ReadFloat());
        t.Column(3).SetFloat(row, r_.ReadFloat());
      }
      ReadPoints(t.Column(1).GetTable(row), points);
    }
  }

  // Per curve: from node, to node, point count, then moment and EI per point.
  void EICurveBlock(int n) {
    TGridTable& t = t_.MEICurves2();
    t.SetRowCount(0);
    for (int i = 0; i < n; ++i) {
      const int row = AddRow(t);
      t.Column(0).SetInteger(row, r_.ReadInt());
      t.Column(1).SetInteger(row, r_.ReadInt());
      const int points = Count();
      ReadPoints(t.Column(2).GetTable(row), points);
    }
  }

  // Two reals per point into the first two columns of `points`.
  void ReadPoints(TGridTable* points, int n) {
    if (points != nullptr) points->SetRowCount(0);
    for (int k = 0; k < n; ++k) {
      const int row = points != nullptr ? AddRow(*points) : -1;
      const long double x = r_.ReadFloat();
      const long double y = r_.ReadFloat();
      if (points != nullptr) {
        points->Column(0).SetFloat(row, x);
        points->Column(1).SetFloat(row, y);
      }
    }
  }

  TWordReader& r_;
  TProgramData& p_;
  TProgramTables& t_;
  TReadRules rules_;
  bool options_;
  TFileUnits units_;
};

// Title, problem 1, and for a long-term file problem 2.
std::string ReadFile(TWordReader& words, TProgramData& project, TProgramTables& tables, int dialect) {
  try {
    const TReadRules rules = TReadRules::ForFile(dialect);
    project.SetTitle(words.ReadLine());
    TProblemReader(words, project, tables, rules, true).Read(tables.DistLoad(), tables.NewSoil());
    if (!rules.HasContinuationCode()) return {};
    // In a staged file this is the first stage's number, kept and ignored.
    project.LongTermCode = words.ReadInt();
    if (project.LongTermCode != 9 || !project.SetLongTermAnalysis(true)) return {};

    words.ReadLine();  // the rest of the line of the code
    words.ReadLine();  // the long-term problem's title: the project's again
    // The long-term problem repeats every shared record. Those go to a
    // scratch project, so that the short-term data and the options stay as
    // problem 1 gave them (its earth-pressure code is 2 where problem 1 may
    // say 3); only its own distributed loads and soil layers are kept. Its
    // values are read in the project's units.
    TProgramTables scratch_tables;
    TProgramData scratch(&scratch_tables);
    scratch.SetUnits(project.UnitSystem());
    TProblemReader(words, scratch, scratch_tables, rules, false).Read(tables.LongDist(), tables.LongSoil());
    words.ReadInt();  // its continuation code, 0
    return {};
  } catch (const TInOutError& e) {
    return e.what();
  }
}

}  // namespace

std::string ReadProjectFile(TProgramData& project, TProgramTables& tables, const std::string& path, int dialect) {
  try {
    TWordReader words(path);
    return ReadFile(words, project, tables, dialect);
  } catch (const TInOutError& e) {
    return e.what();  // the file cannot be opened or read
  }
}

std::string ReadProjectText(TProgramData& project, TProgramTables& tables, std::string_view text, int dialect) {
  TWordReader words = TWordReader::FromText(text);
  return ReadFile(words, project, tables, dialect);
}

std::string ReadStageText(TProgramData& project, TProgramTables& tables, std::string_view text) {
  TWordReader words = TWordReader::FromText(text);
  try {
    words.ReadLine();  // the title: the project's own is kept
    TProblemReader(words, project, tables, TReadRules::ForStage(project.StageFilesHaveEICount), true)
        .Read(tables.DistLoad(), tables.NewSoil());
    // A staged project refuses the long-term variant; 9 can only be a stage
    // file of an unstaged project.
    project.SetLongTermAnalysis(words.ReadInt() == 9);
    return {};
  } catch (const TInOutError& e) {
    return e.what();
  }
}

}  // namespace kestra
