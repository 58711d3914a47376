#include "data/main_model.h"

namespace kestra {

TMainModel::TMainModel() { CreateProject(); }

TMainModel::~TMainModel() {
  // The project refers to the tables; let it go first.
  project_.reset();
}

void TMainModel::CreateProject() {
  ProjectClosing.Emit();
  tables_.CloseEditors();
  // The old project (and its results) goes before the new one is installed,
  // so nothing can reach a half-replaced project.
  project_.reset();
  project_ = std::make_unique<TProgramData>(&tables_);
  tables_.EmptyAll();
  // The defaults are English already, so the scalars stay; the tables take
  // code 1 while empty, so nothing is converted and new rows start in English.
  // No window hears of it: they are closed and hear of the new project.
  project_->SetUnits(kUnitsEnglish);
  InstallHooks();
  tables_.FillToMinRows();
}

void TMainModel::InstallHooks() {
  TProgramData* project = project_.get();
  project_->OnUnitsChanged = [this, project] { UnitsChanged.Emit(project->UnitSystem()); };
}

void TMainModel::NewProject() {
  CreateProject();
  ClearModified();
  ProjectReplaced.Emit();
}

std::string TMainModel::OpenProject(const std::string& path, int dialect, const TProjectFileReader& reader) {
  CreateProject();
  project_->FileName = path;
  tables_.EmptyAll();
  std::string message;
  try {
    if (reader) message = reader(*project_, tables_, path, dialect);
  } catch (...) {
    // A fault of the reader still leaves a complete project behind.
    tables_.FillToMinRows();
    ClearModified();
    ProjectReplaced.Emit();
    throw;
  }
  tables_.FillToMinRows();
  ClearModified();
  ProjectReplaced.Emit();
  return message;
}

void TMainModel::ClearModified() {
  modified_ = false;
  tables_.ResetModified();
}

}  // namespace kestra
