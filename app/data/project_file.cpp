#include "data/project_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

#include "data/main_model.h"
#include "data/stages.h"
#include "results/word_reader.h"

namespace kestra {
namespace {

std::string SystemReason(int error) {
  return std::generic_category().message(error != 0 ? error : static_cast<int>(std::errc::io_error));
}

TFileResult WriteError(const std::string& path, const std::string& reason) {
  return TFileResult::Error("Cannot write file \"" + path + "\". " + reason);
}

// Writes `text` to `path` (created or truncated) and forces it to the disk.
// Returns 0 or the errno of the first failure.
int WriteWhole(const std::string& path, std::string_view text) {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return errno != 0 ? errno : EIO;
  int error = 0;
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f) != text.size()) error = errno != 0 ? errno : EIO;
  if (error == 0 && std::fflush(f) != 0) error = errno != 0 ? errno : EIO;
#if defined(__unix__) || defined(__APPLE__)
  // The rename that follows must not reach the disk before the data does,
  // or a crash could leave an empty file in place of the old one.
  if (error == 0 && ::fsync(::fileno(f)) != 0) error = errno != 0 ? errno : EIO;
#endif
  if (std::fclose(f) != 0 && error == 0) error = errno != 0 ? errno : EIO;
  return error;
}

}  // namespace

std::string ScratchFileName(const std::string& path) { return path + ".saving~"; }

TFileResult ReplaceFile(const std::string& path, std::string_view text) {
  const std::string scratch = ScratchFileName(path);
  std::error_code ec;
  if (const int error = WriteWhole(scratch, text); error != 0) {
    std::filesystem::remove(scratch, ec);
    return WriteError(path, SystemReason(error));
  }
  std::filesystem::rename(scratch, path, ec);
  if (ec) {
    const std::string reason = ec.message();
    std::filesystem::remove(scratch, ec);
    return WriteError(path, reason);
  }
  return TFileResult::Ok();
}

std::vector<std::string> ReadFileLines(const std::string& path) {
  // The word reader reads files with the program's line rules and messages.
  TWordReader reader(path);
  std::vector<std::string> lines;
  lines.reserve(reader.LineCount());
  for (std::size_t i = 0; i < reader.LineCount(); ++i) lines.push_back(reader.ReadLine());
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

int DialectForFileName(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == ".ktd" ? kDialectV30 : kDialectCurrent;
}

std::string OpenProjectFile(TMainModel& model, const std::string& path, int dialect) {
  return model.OpenProject(path, dialect, ReadProjectFile);
}

TFileResult SaveProject(TMainModel& model) {
  TProgramData& p = model.Project();
  TFileResult r;
  if (p.StageCount() > 1) {
    r = WriteCurrentStage(model);
    if (r) r = JoinStageFiles(p, p.FileName, p.FileName);
  } else {
    r = ReplaceFile(p.FileName, ProjectFileText(p, model.Tables()));
  }
  if (r) model.ClearModified();
  return r;
}

TFileResult SaveProjectAs(TMainModel& model, const std::string& new_name) {
  TProgramData& p = model.Project();
  TFileResult r;
  if (p.StageCount() > 1) {
    r = WriteCurrentStage(model);
    if (r) {
      p.SaveSourceName = p.FileName;
      p.SaveTargetName = new_name;
      r = JoinStageFiles(p, p.SaveTargetName, p.SaveSourceName);
      p.SaveSourceName.clear();
      p.SaveTargetName.clear();
    }
  } else {
    r = ReplaceFile(new_name, ProjectFileText(p, model.Tables()));
  }
  if (r) {
    p.FileName = new_name;
    model.ClearModified();
  }
  return r;
}

}  // namespace kestra
