// Conversion of a project file from any dialect the reader knows to the
// current format, as kestra-convert does it: read through the project file
// reader, written through the writer.
#pragma once

#include <string>

#include "data/project_file.h"

namespace kestra {

/// Reads `input` as `dialect` (1 current, 2 version 3.0, anything else
/// version 2.0) and writes it to `output` in the current format. A staged
/// project is split into its stages, each read with the stage reader (older
/// stage files for a dialect other than 1) and written again: its stage files
/// go beside `output` (higher-numbered ones there are deleted) and `output`
/// is the joined file. Everything is read before anything is written, so a
/// reading error writes nothing; the result then carries the reader's
/// message. A write failure leaves each file either replaced whole or as it
/// was, and carries the system's reason.
TFileResult ConvertProjectFile(const std::string& input, const std::string& output, int dialect);

}  // namespace kestra
