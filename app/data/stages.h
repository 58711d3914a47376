// Staged construction: every stage of a staged project keeps its complete
// data set in a stage file beside the project file (Wall.kt4d has Wall.st1 to
// Wall.st5); the editors hold the current stage only, and the project file of
// a staged project is the stage files joined, one problem per stage, which
// the engine analyses in turn.
//
// These are the operations that move data between the editors and the stage
// files. The windows around them (status bar, Stage menu, stage buttons, the
// stage count dialog) are the caller's: StageStatusText gives the status bar
// text, and the one question ("Copy Previous Stage") is asked through a
// callback.
//
// Every stage file and joined file is written through ReplaceFile, so a failed
// write leaves the previous file whole; an operation whose write fails stops
// before it changes the stage in the editors, so no edit is lost.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/project_file.h"

namespace kestra {

class TMainModel;
class TProgramData;

/// The stage file of stage `stage` for the project file `file_name`: the
/// extension replaced by ".st" and the number ("Wall.kt4d", 2 -> "Wall.st2";
/// a name without extension gets one).
std::string StageFilePath(const std::string& file_name, int stage);

/// The status bar text: "Construction Stage Number: " followed by the current
/// stage while the project is staged, empty otherwise.
std::string StageStatusText(const TProgramData& project);

/// The question of Copy Previous Stage on stage `stage`: "Do you want to copy
/// all information from Stage " n-1 " to Stage " n.
std::string CopyPreviousStageQuestion(int stage);

/// Write current stage: StageFileName := the current stage's file, which is
/// replaced by StageFileText. Does not change the modified mark.
TFileResult WriteCurrentStage(TMainModel& model);

/// Load stage: StageFileName := the current stage's file; when it exists, it
/// is read into the project (ReadStageText); when it does not, the editors
/// keep what they hold and that is not an error. Afterwards every table is
/// filled to its minimum rows and the modified mark is cleared. A damaged
/// file gives its reading message (the stage keeps what was read); a file
/// that exists but cannot be read gives the system's reason.
TFileResult LoadStage(TMainModel& model);

/// Switch to stage `stage` (1..StageCount; anything else is refused with a
/// message). Nothing happens for the current stage. Otherwise the current
/// stage is written, the new one becomes current and is loaded, and the
/// project's modified state (the mark or any table's change) is restored as
/// the mark, so that edits made before the switch still ask to be saved.
/// When the write fails the switch does not take place.
TFileResult SwitchToStage(TMainModel& model, int stage);

/// Update Current Stage: writes the current stage, keeping the modified state.
TFileResult UpdateCurrentStage(TMainModel& model);

/// Copy Previous Stage (only on stage 2 and later; refused on stage 1): asks
/// CopyPreviousStageQuestion through `confirm`; on false nothing happens. On
/// true the previous stage is loaded into the editors and written as the
/// current stage. When the previous stage cannot be read, the current stage
/// is loaded back and nothing is written.
TFileResult CopyPreviousStage(TMainModel& model, const std::function<bool(const std::string&)>& confirm);

/// OK of the "Staged Construction Options" dialog with `count` stages
/// (1..5; refused, with nothing changed, outside that range or while the
/// long-term variant is on). The current stage is written first when the
/// project is staged already, so its edits survive. Count 1 ends staging:
/// the stage files 1..5 are deleted. A changed count above 1 writes a stage
/// file for every stage: newly staged, every stage starts as a copy of the
/// project; otherwise existing stages are loaded and rewritten and each new
/// stage starts as a copy of the one before it. The first stage becomes
/// current when staging starts or ends or the count falls. Stage files
/// above the count are deleted, and a changed count marks the project
/// modified.
TFileResult ChangeStageCount(TMainModel& model, int count);

/// Join stage files: replaces `target` by every line of the stage files
/// 1..StageCount of `source`, in order; when `target` differs from `source`,
/// copies each of those stage files to the same-numbered stage file of
/// `target`. A missing or unreadable stage file fails the join before
/// anything is written (a joined file without one of its stages would not
/// run); each file written is replaced whole or not at all.
TFileResult JoinStageFiles(const TProgramData& project, const std::string& target, const std::string& source);

/// The stages of a joined file's lines: stage 1 starts at the first line and
/// every later line holding " Stage No :" starts the next one. Returns at
/// most `stage_count` stages (further lines are dropped); fewer when the
/// lines hold fewer stages.
std::vector<std::vector<std::string>> SplitStageLines(const std::vector<std::string>& lines, int stage_count);

/// Split file into stage files (after a staged project was opened from
/// `file`): deletes the stage files 1..5 of the project's FileName and writes
/// one stage file per stage found, for stages 1..StageCount. A stage the file
/// does not hold gets no file (loading it then keeps the editors as they
/// are). Fails with the system's reason when `file` cannot be read, before
/// anything is deleted.
TFileResult SplitFileIntoStageFiles(const TProgramData& project, const std::string& file);

/// Convert older stage files (after a staged version 3.0 file was split):
/// reads every stage file as an older one (no EI count, no surcharge block,
/// no curve multipliers) and writes it back in the current format; then the
/// first stage becomes current and is loaded. `status`, when given, hears
/// the status bar text after each stage. Returns the first reading or
/// writing message, after converting every stage it could.
TFileResult ConvertOlderStageFiles(TMainModel& model, const std::function<void(const std::string&)>& status = {});

}  // namespace kestra
