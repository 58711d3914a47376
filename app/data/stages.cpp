#include "data/stages.h"

#include <filesystem>
#include <system_error>

#include "data/main_model.h"
#include "data/program_data.h"
#include "results/word_reader.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

void DeleteStageFiles(const std::string& file_name, int from, int to) {
  for (int n = from; n <= to; ++n) {
    std::error_code ec;
    fs::remove(StageFilePath(file_name, n), ec);  // a file that is not there is fine
  }
}

// The whole text of a file, or the reason it cannot be read.
TFileResult ReadText(const std::string& path, std::string& text) {
  try {
    text = JoinLines(ReadFileLines(path));
    return TFileResult::Ok();
  } catch (const TInOutError& e) {
    return TFileResult::Error(e.what());
  }
}

// Keeps the first failure of a sequence of steps that all run.
void KeepFirst(TFileResult& first, const TFileResult& r) {
  if (first && !r) first = r;
}

}  // namespace

std::string StageFilePath(const std::string& file_name, int stage) {
  return fs::path(file_name).replace_extension(".st" + std::to_string(stage)).string();
}

std::string StageStatusText(const TProgramData& project) {
  if (project.StageCount() <= 1) return {};
  return "Construction Stage Number: " + std::to_string(project.CurrentStage());
}

std::string CopyPreviousStageQuestion(int stage) {
  return "Do you want to copy all information from Stage " + std::to_string(stage - 1) + " to Stage " +
         std::to_string(stage);
}

TFileResult WriteCurrentStage(TMainModel& model) {
  TProgramData& p = model.Project();
  p.StageFileName = StageFilePath(p.FileName, p.CurrentStage());
  return ReplaceFile(p.StageFileName, StageFileText(p, model.Tables()));
}

TFileResult LoadStage(TMainModel& model) {
  TProgramData& p = model.Project();
  p.StageFileName = StageFilePath(p.FileName, p.CurrentStage());
  TFileResult r;
  if (Exists(p.StageFileName)) {
    std::string text;
    r = ReadText(p.StageFileName, text);
    if (r) {
      const std::string message = ReadStageText(p, model.Tables(), text);
      if (!message.empty()) r = TFileResult::Error(message);
    }
  }
  model.Tables().FillToMinRows();
  model.ClearModified();
  return r;
}

TFileResult SwitchToStage(TMainModel& model, int stage) {
  TProgramData& p = model.Project();
  if (stage < 1 || stage > p.StageCount()) {
    return TFileResult::Error("There is no construction stage " + std::to_string(stage) + ".");
  }
  if (stage == p.CurrentStage()) return TFileResult::Ok();
  // The tables' own flags count too: the load clears them, and edits that
  // reached only the stage file must still ask to be saved.
  const bool modified = model.IsModified();
  if (TFileResult r = WriteCurrentStage(model); !r) return r;
  p.SetCurrentStage(stage);
  const TFileResult r = LoadStage(model);
  model.SetModifiedMark(modified);
  return r;
}

TFileResult UpdateCurrentStage(TMainModel& model) {
  const bool modified = model.IsModified();
  const TFileResult r = WriteCurrentStage(model);
  model.SetModifiedMark(modified);
  return r;
}

TFileResult CopyPreviousStage(TMainModel& model, const std::function<bool(const std::string&)>& confirm) {
  TProgramData& p = model.Project();
  const int stage = p.CurrentStage();
  if (p.StageCount() <= 1 || stage < 2) {
    return TFileResult::Error("The first stage has no previous stage to copy.");
  }
  if (!confirm || !confirm(CopyPreviousStageQuestion(stage))) return TFileResult::Ok();
  p.SetCurrentStage(stage - 1);
  const TFileResult loaded = LoadStage(model);
  p.SetCurrentStage(stage);
  if (!loaded) {
    // Half a copy must not overwrite the stage: show it as it was.
    LoadStage(model);
    return loaded;
  }
  const TFileResult r = WriteCurrentStage(model);
  // The project file does not hold the copy until the next save.
  model.MarkModified();
  return r;
}

TFileResult ChangeStageCount(TMainModel& model, int count) {
  TProgramData& p = model.Project();
  if (count < 1 || count > TProgramData::kMaxStageCount) {
    return TFileResult::Error("The number of stages must be between 1 and 5.");
  }
  if (count > 1 && p.LongTermAnalysis()) {
    return TFileResult::Error("Staged construction cannot be combined with short-term and long-term analyses.");
  }
  const int old = p.StageCount();
  const int old_current = p.CurrentStage();
  // The editors hold the current stage; it reaches its file before other
  // stages are loaded over it.
  if (old > 1) {
    if (TFileResult r = WriteCurrentStage(model); !r) return r;
  }
  p.SetStageCount(count);
  if (count == 1 || old == 1 || count < old) p.SetCurrentStage(1);

  if (count == 1) {
    DeleteStageFiles(p.FileName, 1, TProgramData::kMaxStageCount);
  } else if (count != old) {
    const int current = p.CurrentStage();
    for (int n = 1; n <= count; ++n) {
      p.SetCurrentStage(n);
      // Newly staged, every stage starts as a copy of the project: stage
      // files lying about beside an unstaged project are not its own. A
      // stage beyond the old count starts as a copy of the one before it.
      TFileResult r;
      if (old > 1 && n <= old && Exists(StageFilePath(p.FileName, n))) r = LoadStage(model);
      if (r) r = WriteCurrentStage(model);
      if (!r) {
        // Back to the count and stage the files still describe.
        p.SetStageCount(old);
        p.SetCurrentStage(old_current);
        if (old > 1) LoadStage(model);
        return r;
      }
    }
    p.SetCurrentStage(current);
    if (TFileResult r = LoadStage(model); !r) return r;
  }
  if (count > 1) DeleteStageFiles(p.FileName, count + 1, TProgramData::kMaxStageCount);
  if (count != old) model.MarkModified();
  return TFileResult::Ok();
}

TFileResult JoinStageFiles(const TProgramData& project, const std::string& target, const std::string& source) {
  const int count = project.StageCount();
  // Every stage is read before anything is written.
  std::vector<std::string> stage_texts;
  std::string joined;
  for (int n = 1; n <= count; ++n) {
    std::string text;
    if (TFileResult r = ReadText(StageFilePath(source, n), text); !r) return r;
    joined += text;
    stage_texts.push_back(std::move(text));
  }
  if (TFileResult r = ReplaceFile(target, joined); !r) return r;
  if (fs::path(target).lexically_normal() != fs::path(source).lexically_normal()) {
    for (int n = 1; n <= count; ++n) {
      if (TFileResult r = ReplaceFile(StageFilePath(target, n), stage_texts[static_cast<std::size_t>(n - 1)]); !r)
        return r;
    }
    DeleteStageFiles(target, count + 1, TProgramData::kMaxStageCount);
  }
  return TFileResult::Ok();
}

std::vector<std::vector<std::string>> SplitStageLines(const std::vector<std::string>& lines, int stage_count) {
  std::vector<std::vector<std::string>> stages;
  if (stage_count < 1) return stages;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 0 || lines[i].find(" Stage No :") != std::string::npos) {
      if (static_cast<int>(stages.size()) == stage_count) break;
      stages.emplace_back();
    }
    stages.back().push_back(lines[i]);
  }
  return stages;
}

TFileResult SplitFileIntoStageFiles(const TProgramData& project, const std::string& file) {
  std::vector<std::string> lines;
  try {
    lines = ReadFileLines(file);
  } catch (const TInOutError& e) {
    return TFileResult::Error(e.what());
  }
  const auto stages = SplitStageLines(lines, project.StageCount());
  DeleteStageFiles(project.FileName, 1, TProgramData::kMaxStageCount);
  for (std::size_t n = 0; n < stages.size(); ++n) {
    const TFileResult r = ReplaceFile(StageFilePath(project.FileName, static_cast<int>(n) + 1), JoinLines(stages[n]));
    if (!r) return r;
  }
  return TFileResult::Ok();
}

TFileResult ConvertOlderStageFiles(TMainModel& model, const std::function<void(const std::string&)>& status) {
  TProgramData& p = model.Project();
  TFileResult first;
  for (int n = 1; n <= p.StageCount(); ++n) {
    p.SetCurrentStage(n);
    p.StageFilesHaveEICount = false;
    KeepFirst(first, LoadStage(model));
    p.StageFilesHaveEICount = true;
    KeepFirst(first, WriteCurrentStage(model));
    if (status) status(StageStatusText(p));
  }
  p.StageFilesHaveEICount = true;
  p.SetCurrentStage(1);
  KeepFirst(first, LoadStage(model));
  return first;
}

}  // namespace kestra
