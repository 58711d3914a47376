// The non-visual side of the main window: it owns the grid tables for the life
// of the program and the one current project, replaces the project on New and
// Open, and keeps the modified mark. Windows observe it through TSignal
// callbacks.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "data/program_data.h"
#include "tables/grid_table_signal.h"
#include "tables/program_tables.h"

namespace kestra {

/// Reads an input data file into a freshly created project and the emptied
/// tables: the seam for the project file reader. `dialect` is 1 for the
/// current format, 2 for version 3.0 and any other number for version 2.0.
/// Returns the message to show when the file was damaged (the project keeps
/// what was read), empty when it was read whole. May throw only for faults.
using TProjectFileReader =
    std::function<std::string(TProgramData& project, TProgramTables& tables, const std::string& path, int dialect)>;

class TMainModel {
 public:
  /// Builds every table and a new default project.
  TMainModel();
  ~TMainModel();
  TMainModel(const TMainModel&) = delete;
  TMainModel& operator=(const TMainModel&) = delete;

  /// The current project; the reference stays valid until the next New or
  /// Open replaces the object.
  TProgramData& Project() { return *project_; }
  const TProgramData& Project() const { return *project_; }
  TProgramTables& Tables() { return tables_; }
  const TProgramTables& Tables() const { return tables_; }

  /// File > New: asks the windows to close (ProjectClosing), closes every
  /// table editor, installs a new default project in English units, empties
  /// every table and fills it to its minimum rows, clears the modified mark,
  /// then announces the new project (ProjectReplaced).
  void NewProject();

  /// File > Open: as NewProject, then sets FileName to `path` and lets
  /// `reader` fill the project and the tables; afterwards every table is
  /// filled to its minimum rows and the modified mark cleared, whatever the
  /// reader left. Returns the reader's message (empty when read whole). A
  /// fault thrown by the reader is passed on after the same completion.
  std::string OpenProject(const std::string& path, int dialect, const TProjectFileReader& reader);

  /// Options > Units: the project's unit switch (scalars, tables, then
  /// UnitsChanged). Does not mark the project modified.
  void SetUnits(int code) { project_->SetUnits(code); }

  /// The project counts as modified when the mark is set or any table
  /// (other than the two chart tables) reports a change.
  bool IsModified() const { return modified_ || tables_.AnyModified(); }
  /// Set by the data dialogs when the user changes a value.
  void MarkModified() { modified_ = true; }
  /// The mark alone, without the tables' flags.
  bool ModifiedMark() const { return modified_; }
  /// Restores the mark alone (stage switching keeps it as it was).
  void SetModifiedMark(bool on) { modified_ = on; }
  /// Clears the mark and every table's modified flag (after create, load,
  /// save and the stage operations).
  void ClearModified();

  /// Before the project is replaced: windows showing it close.
  TSignal<> ProjectClosing;
  /// A new project is installed (windows refresh from it).
  TSignal<> ProjectReplaced;
  /// The project's unit system was switched, by the menu or by a reader
  /// (open dialogs reload their fields); the reset of New and Open, which
  /// closes every window first, does not announce its switch to English.
  TSignal<int> UnitsChanged;

 private:
  /// Replaces the project by a default one and resets the tables.
  void CreateProject();
  void InstallHooks();

  TProgramTables tables_;
  std::unique_ptr<TProgramData> project_;
  bool modified_ = false;
};

}  // namespace kestra
