// Feeds arbitrary bytes to the project file reader, through the word reader,
// as the content of an input data file in each of the three dialects and of
// a stage file in both forms. Whatever was read is then written back, so that
// odd values a damaged file leaves in the tables also pass the writer. A
// damaged file must end in a message: any exception, crash, hang or runaway
// allocation is a fault. The seeds are plain project files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/main_model.h"
#include "data/project_reader.h"
#include "data/project_writer.h"

namespace {

void WriteBack(kestra::TMainModel& model) {
  kestra::TProgramData& p = model.Project();
  if (p.StageCount() > 1) {
    kestra::StageFileText(p, model.Tables());
  } else {
    kestra::ProjectFileText(p, model.Tables());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One model for the process, as the program has: Open resets it in full.
  static kestra::TMainModel model;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (int dialect = 1; dialect <= 3; ++dialect) {
    model.OpenProject("fuzz.kt4d", dialect,
                      [text](kestra::TProgramData& p, kestra::TProgramTables& t, const std::string&, int d) {
                        return kestra::ReadProjectText(p, t, text, d);
                      });
    WriteBack(model);
  }
  for (const bool has_ei_count : {true, false}) {
    model.NewProject();
    kestra::TProgramData& p = model.Project();
    p.SetStageCount(2);
    p.SetCurrentStage(2);
    p.StageFilesHaveEICount = has_ei_count;
    kestra::ReadStageText(p, model.Tables(), text);
    p.StageFilesHaveEICount = true;
    model.Tables().FillToMinRows();
    WriteBack(model);
  }
  return 0;
}
