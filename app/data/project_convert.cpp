#include "data/project_convert.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "data/main_model.h"
#include "data/stages.h"
#include "results/word_reader.h"

namespace kestra {

TFileResult ConvertProjectFile(const std::string& input, const std::string& output, int dialect) {
  TMainModel model;
  if (std::string message = OpenProjectFile(model, input, dialect); !message.empty())
    return TFileResult::Error(message);
  TProgramData& p = model.Project();
  TProgramTables& tables = model.Tables();
  p.FileName = output;
  if (p.StageCount() <= 1) return ReplaceFile(output, ProjectFileText(p, tables));

  std::vector<std::string> lines;
  try {
    lines = ReadFileLines(input);
  } catch (const TInOutError& e) {
    return TFileResult::Error(e.what());
  }
  const auto stages = SplitStageLines(lines, p.StageCount());
  std::vector<std::string> texts;
  for (int n = 1; n <= p.StageCount(); ++n) {
    p.SetCurrentStage(n);
    // A stage missing from the file starts as a copy of the one before it,
    // as a stage file that does not exist does when it is loaded.
    if (static_cast<std::size_t>(n) <= stages.size()) {
      p.StageFilesHaveEICount = dialect == kDialectCurrent;
      const std::string message = ReadStageText(p, tables, JoinLines(stages[static_cast<std::size_t>(n - 1)]));
      p.StageFilesHaveEICount = true;
      if (!message.empty()) return TFileResult::Error(message);
      tables.FillToMinRows();
    }
    texts.push_back(StageFileText(p, tables));
  }

  std::string joined;
  for (int n = 1; n <= p.StageCount(); ++n) {
    const std::string& text = texts[static_cast<std::size_t>(n - 1)];
    if (TFileResult r = ReplaceFile(StageFilePath(output, n), text); !r) return r;
    joined += text;
  }
  for (int n = p.StageCount() + 1; n <= TProgramData::kMaxStageCount; ++n) {
    std::error_code ec;
    std::filesystem::remove(StageFilePath(output, n), ec);
  }
  return ReplaceFile(output, joined);
}

}  // namespace kestra
