// The project: every scalar value, option and piece of stage bookkeeping of
// the wall being edited, plus the codes the input data file writer derives
// from the options. Lists of rows (stiffness, loads, layers, curves) live in
// the grid tables of TProgramTables, which outlive any one project.
//
// Units: scalars are held in the units of the input data file, that is inches
// and pounds in English units, metres and kilonewtons in SI, and as entered
// in other units. Dialogs convert to their display units themselves.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/units.h"

namespace kestra {

class TProgramTables;

/// Base of whatever the plot data reader stores as the results of the last
/// run. The project owns it so that a new project drops the old results; the
/// reader defines the concrete type.
class TResultArrays {
 public:
  virtual ~TResultArrays();
};

/// Which problem of an input data file the derived codes are computed for:
/// the earth-pressure code differs between them.
enum class TProblemKind {
  kFirst,     // problem 1 of a single or short-term/long-term project
  kLongTerm,  // the long-term problem that follows continuation code 9
  kStage,     // the problem of a stage file
};

/// The project object. Real numbers are held as long double (the extended
/// precision the project's values have always had); 32-bit integers as
/// std::int32_t. Plain data are public fields; values with invariants are
/// reached through setters that keep them.
class TProgramData {
 public:
  static constexpr int kMaxTitleLength = 80;
  static constexpr std::int32_t kMaxStageCount = 5;

  /// A project with every default (English units, stage count 1, p-y curves
  /// generated). `tables`, when given, are the main window's grid tables;
  /// they are switched together with the project on SetUnits. The tables
  /// must outlive the project.
  explicit TProgramData(TProgramTables* tables = nullptr);
  ~TProgramData();
  TProgramData(const TProgramData&) = delete;
  TProgramData& operator=(const TProgramData&) = delete;

  // --- File and naming ---------------------------------------------------
  /// Path of the project's input data file; the run files share its name.
  std::string FileName = "NewWall.kt4d";
  /// Path of the stage file being read or written.
  std::string StageFileName;
  /// During a staged Save As: the file written and the file whose stage
  /// files are copied.
  std::string SaveTargetName;
  std::string SaveSourceName;

  /// Project title (at most 80 characters, one line).
  const std::string& Title() const { return title_; }
  /// Stores `title` with every CR and LF replaced by a blank (a line break
  /// would split the title record of the input data file and shift every
  /// record after it) and cut to 80 characters. Returns true when the text
  /// was stored unchanged.
  bool SetTitle(const std::string& title);

  // --- Units -------------------------------------------------------------
  /// 1 English, 2 SI, 3 other; always one of these.
  std::int32_t UnitSystem() const { return unit_system_; }
  /// The project-wide unit switch. Clamps `code` into 1..3; between English
  /// and SI multiplies the scalar lengths, forces, line loads and pressures
  /// by the rounded constants of scalar_factors (units.h; a round trip is
  /// not exact: 100 in comes back as 100.000054 in); stores the code; switches the attached grid tables
  /// (each converts only when its own code differs) and then calls
  /// OnUnitsChanged so that open dialogs reload. Any other change, and a
  /// change to the current system, converts nothing. Does not mark the
  /// project modified.
  void SetUnits(std::int32_t code);
  /// Called at the end of every SetUnits (also when nothing changed), after
  /// the tables were switched. Installed by the holder of the project.
  std::function<void()> OnUnitsChanged;

  // --- Increment and iteration data (Wall Properties) ---------------------
  std::int32_t IncrementCount = 0;
  long double IncrementLength = 0;          // length
  long double MaxDeflection = 100;          // length
  long double ClosureTolerance = 0.00001L;  // length
  long double FreeHeight = 0;               // length

  // --- Wall configuration -------------------------------------------------
  long double ActiveWidth = 0;           // length
  long double ResistanceWidth = 0;       // length
  long double WaterDepthBackfill = 0;    // length
  long double WaterDepthExcavation = 0;  // length
  long double ActiveFactor = 1.0L;       // no unit
  std::int32_t AnchorCode = 1;           // only a loaded file changes it
  long double BackfillSlope = 0;         // degrees
  long double SurfacePressure = 0;       // pressure

  // --- Legacy single surcharge (only older files fill these) --------------
  long double SurchargeDistance = 0;  // length
  long double PointLoad = 0;          // force
  long double LineLoad = 0;           // force per length
  long double StripLoad = 0;          // pressure
  long double StripWidth = 0;         // length

  // --- Options -------------------------------------------------------------
  /// 0 none chosen yet, 1 specified by user, 2 generated triangular,
  /// 3 generated trapezoidal. Menus set it through SetEarthPressureOption;
  /// the file reader may store the code it read directly.
  std::int32_t EarthPressureOption = 0;
  /// Mirrors EarthPressureOption == 1; the reader may clear it when a file
  /// has no distributed-load rows, until the Options menu resynchronises it.
  bool UserEarthPressure = false;
  /// The data last read generated earth pressure (code above 1).
  bool EarthPressureGenerated = false;
  /// "Generate &p-y Curves" (the file's p-y code 2).
  bool GeneratePY = true;
  bool ApplyConcentratedLoads = false;
  bool ApplyRestraints = false;
  bool ApplyExternalPY = false;
  bool ApplySprings = false;
  bool ApplyPYMod = false;
  bool ApplySurcharges = false;
  bool ApplyEICurves = false;

  /// The earth-pressure menu command: stores `option` (1, 2 or 3; other
  /// values are refused and false is returned) and sets UserEarthPressure to
  /// match at once, so that a save made before the Options menu is opened
  /// again writes the chosen distribution and not the previous one.
  bool SetEarthPressureOption(std::int32_t option);
  /// What opening the Options menu does: UserEarthPressure := option == 1.
  void SyncUserEarthPressure();
  /// What opening the "Earth-Pressure Options" submenu does: an option of 0
  /// becomes 1 (and UserEarthPressure follows). Returns the option.
  std::int32_t ChooseDefaultEarthPressureOption();

  /// Soil layer data and the wall configuration are used (the Data menu
  /// enables them) when earth pressure is generated or p-y curves are.
  bool SoilDataUsed() const { return EarthPressureGenerated || GeneratePY; }

  // --- Short-term/long-term and stages -------------------------------------
  /// "Conduct Short-Term and Long-Term &Analyses".
  bool LongTermAnalysis() const { return long_term_analysis_; }
  /// Switches the long-term variant. Switching it on is refused (false,
  /// nothing changes) while the project has stages.
  bool SetLongTermAnalysis(bool on);

  /// Number of construction stages, 1 (not staged) to 5.
  std::int32_t StageCount() const { return stage_count_; }
  /// Stores `count` when it lies in 1..5 and the long-term variant is off
  /// (or `count` is 1); returns false and changes nothing otherwise.
  /// CurrentStage is lowered to the new count when it lay above it.
  bool SetStageCount(std::int32_t count);

  /// The stage whose data the editors hold, 1..StageCount.
  std::int32_t CurrentStage() const { return current_stage_; }
  /// Stores `stage` when it lies in 1..StageCount; returns false otherwise.
  bool SetCurrentStage(std::int32_t stage);

  /// Text lines of one stage file held while stage files are copied. Not
  /// capped: a stage file of many curves may exceed the 512 lines an older
  /// fixed store held, and a cap would silently drop lines.
  std::vector<std::string> StageLines;
  std::int32_t StageLineCount() const { return static_cast<std::int32_t>(StageLines.size()); }
  /// The stage files being read carry the EI curve count (off only while
  /// older stage files are converted).
  bool StageFilesHaveEICount = true;

  // --- Codes derived for the input data file --------------------------------
  std::int32_t EarthPressureCode = 0;
  std::int32_t PYCode = 0;
  std::int32_t EICurveCount = 0;
  std::int32_t LongTermCode = 0;  // 0 or 9

  /// Derives the control record's codes just before a problem is written
  /// and stores them in EarthPressureCode, PYCode and EICurveCount:
  /// earth-pressure code 1 when UserEarthPressure is on (which also clears
  /// EarthPressureGenerated); otherwise, when GeneratePY or
  /// EarthPressureGenerated is on, EarthPressureOption in the first problem
  /// and 2 in the long-term problem and stage files; otherwise 0. p-y code 2
  /// with GeneratePY, else 1 with ApplyExternalPY, else 0. EI curve count
  /// `ei_curve_rows` (the rows of the moment-EI table) with ApplyEICurves,
  /// else 0.
  void DeriveFileCodes(TProblemKind kind, std::int32_t ei_curve_rows);
  /// Sets and returns LongTermCode: 9 with the long-term variant, else 0.
  std::int32_t DeriveLongTermCode();

  /// Records 10 to 13 (wall, surcharge, soil layers) belong to a problem
  /// with these codes: generated earth pressure or generated p-y curves.
  static bool WritesSoilRecords(std::int32_t earth_pressure_code, std::int32_t py_code) {
    return earth_pressure_code == 2 || earth_pressure_code == 3 || py_code == 2;
  }

  // --- Results ---------------------------------------------------------------
  /// Results of the last run, filled by the plot data reader; none for a new
  /// project.
  std::unique_ptr<TResultArrays> Results;

  /// The grid tables switched by SetUnits (may be null).
  TProgramTables* Tables() const { return tables_; }

 private:
  TProgramTables* tables_ = nullptr;
  std::string title_ = "New Wall";
  std::int32_t unit_system_ = kUnitsEnglish;
  bool long_term_analysis_ = false;
  std::int32_t stage_count_ = 1;
  std::int32_t current_stage_ = 1;
};

}  // namespace kestra
