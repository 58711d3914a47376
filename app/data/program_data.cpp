#include "data/program_data.h"

#include <algorithm>

#include "tables/program_tables.h"

namespace kestra {

TResultArrays::~TResultArrays() = default;

TProgramData::TProgramData(TProgramTables* tables) : tables_(tables) {}

TProgramData::~TProgramData() = default;

bool TProgramData::SetTitle(const std::string& title) {
  std::string clean = title;
  std::replace(clean.begin(), clean.end(), '\r', ' ');
  std::replace(clean.begin(), clean.end(), '\n', ' ');
  if (clean.size() > static_cast<std::size_t>(kMaxTitleLength)) clean.resize(kMaxTitleLength);
  const bool unchanged = clean == title;
  title_ = std::move(clean);
  return unchanged;
}

void TProgramData::SetUnits(std::int32_t code) {
  code = clamp_unit_code(code);

  const ScalarFactors f = scalar_factors(unit_system_, code);
  if (f.length != 1.0 || f.force != 1.0) {
    const long double length = f.length;
    for (long double* v :
         {&IncrementLength, &MaxDeflection, &ClosureTolerance, &FreeHeight, &ActiveWidth, &ResistanceWidth,
          &WaterDepthBackfill, &WaterDepthExcavation, &SurchargeDistance, &StripWidth}) {
      *v *= length;
    }
    PointLoad *= f.force;
    LineLoad *= f.force_per_length();
    SurfacePressure *= f.force_per_area();
    StripLoad *= f.force_per_area();
  }
  unit_system_ = code;

  if (tables_ != nullptr) tables_->SetUnits(code);
  if (OnUnitsChanged) OnUnitsChanged();
}

bool TProgramData::SetEarthPressureOption(std::int32_t option) {
  if (option < 1 || option > 3) return false;
  EarthPressureOption = option;
  SyncUserEarthPressure();
  return true;
}

void TProgramData::SyncUserEarthPressure() { UserEarthPressure = EarthPressureOption == 1; }

std::int32_t TProgramData::ChooseDefaultEarthPressureOption() {
  if (EarthPressureOption == 0) EarthPressureOption = 1;
  SyncUserEarthPressure();
  return EarthPressureOption;
}

bool TProgramData::SetLongTermAnalysis(bool on) {
  if (on && stage_count_ > 1) return false;
  long_term_analysis_ = on;
  return true;
}

bool TProgramData::SetStageCount(std::int32_t count) {
  if (count < 1 || count > kMaxStageCount) return false;
  if (count > 1 && long_term_analysis_) return false;
  stage_count_ = count;
  current_stage_ = std::min(current_stage_, stage_count_);
  return true;
}

bool TProgramData::SetCurrentStage(std::int32_t stage) {
  if (stage < 1 || stage > stage_count_) return false;
  current_stage_ = stage;
  return true;
}

void TProgramData::DeriveFileCodes(TProblemKind kind, std::int32_t ei_curve_rows) {
  if (UserEarthPressure) {
    EarthPressureCode = 1;
    EarthPressureGenerated = false;
  } else if (GeneratePY || EarthPressureGenerated) {
    EarthPressureCode = kind == TProblemKind::kFirst ? EarthPressureOption : 2;
  } else {
    EarthPressureCode = 0;
  }
  PYCode = GeneratePY ? 2 : (ApplyExternalPY ? 1 : 0);
  EICurveCount = ApplyEICurves ? std::max<std::int32_t>(ei_curve_rows, 0) : 0;
}

std::int32_t TProgramData::DeriveLongTermCode() {
  LongTermCode = long_term_analysis_ ? 9 : 0;
  return LongTermCode;
}

}  // namespace kestra
