// The project's side of the input data file: the file-level helpers shared by
// the writer, the reader and the stage operations, and the Open, Save and
// Save As steps that the file commands of the main window call.
//
// Every file the program writes goes through ReplaceFile: the text is written
// to a scratch file beside the target and renamed over the target only when
// all of it reached the disk, so a failed save never leaves a half-written
// project behind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/project_reader.h"
#include "data/project_writer.h"

namespace kestra {

class TMainModel;

/// Outcome of an operation that writes (or reads and writes) files: ok, or
/// the message to show in an information box.
struct TFileResult {
  bool ok = true;
  std::string message;

  static TFileResult Ok() { return {}; }
  static TFileResult Error(std::string text) { return {false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

/// Replaces the file `path` by `text` (written byte for byte). The text goes
/// to the scratch file ScratchFileName(path) first and is renamed over `path`
/// only after it was written, flushed and closed without error. On failure
/// the previous file at `path` is untouched, the scratch file is removed and
/// the result carries "Cannot write file "<path>". <the system's reason>".
TFileResult ReplaceFile(const std::string& path, std::string_view text);

/// The scratch file ReplaceFile writes before renaming: `path` followed by
/// ".saving~", in the same folder so that the rename cannot cross devices.
std::string ScratchFileName(const std::string& path);

/// Every line of a text file, without line ends (CR LF, LF or a lone CR end a
/// line; a last line without a line end counts; an empty file is one empty
/// line). Throws TInOutError with the system's reason when the file cannot be
/// opened or read.
std::vector<std::string> ReadFileLines(const std::string& path);

/// The lines joined, each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

/// The dialect for a file opened without the open dialog (a recent file, a
/// dropped file, kestra-convert): 2 (version 3.0) when the extension is
/// ".ktd" in any case, 1 (the current format) otherwise.
int DialectForFileName(const std::string& path);

/// File > Open of `path` read as `dialect` (the open dialog's filter index:
/// 1 current, 2 version 3.0, anything else version 2.0): the model's
/// OpenProject with ReadProjectFile. Returns the reader's message (empty when
/// read whole); the project then holds what was read. Stage files are not
/// touched here: for a staged project the caller splits the file next
/// (SplitFileIntoStageFiles, stages.h).
std::string OpenProjectFile(TMainModel& model, const std::string& path, int dialect);

/// File > Save under the project's FileName. Unstaged: writes the input data
/// file (ProjectFileText). Staged: writes the current stage's file, then
/// joins the stage files of FileName into FileName. Clears the modified mark
/// only when everything was written; on failure the previous files stay
/// whole and the result carries the message.
TFileResult SaveProject(TMainModel& model);

/// Save As under `new_name`. Unstaged: writes the input data file there.
/// Staged: writes the current stage's file under the old name, joins the old
/// name's stage files into `new_name` and copies them to the new name's
/// stage files (SaveSourceName and SaveTargetName hold the two names while
/// this runs). FileName becomes `new_name` only when everything was written,
/// so a failed Save As leaves the project bound to the files that hold its
/// data. Clears the modified mark on success.
TFileResult SaveProjectAs(TMainModel& model, const std::string& new_name);

}  // namespace kestra
