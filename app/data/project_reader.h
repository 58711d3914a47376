// The input data file reader: builds the project and fills its grid tables
// from a file in the current format or one of the two older dialects, and
// reads stage files into the project being edited.
//
// Reading goes through TWordReader, so every value is a word of the file,
// read with the period as decimal separator whatever the locale. A damaged
// file stops the reading with the word reader's message and leaves what was
// read so far: the caller fills the tables to their minimum rows and shows
// the message, and the user gets a partial project instead of nothing.
//
// Counts in the file are trusted only as far as the file carries rows: a
// table grows one row at a time as its values are read, so an absurd count
// ends in "This file either invalid or incomplete." when the words run out,
// and a count beyond kMaxRowsInFile is refused with that message at once.
#pragma once

#include <string>
#include <string_view>

namespace kestra {

class TProgramData;
class TProgramTables;

/// Dialects of the input data file (the open dialog's filter indices).
inline constexpr int kDialectCurrent = 1;  // .kt4d: the format the writer writes
inline constexpr int kDialectV30 = 2;      // .ktd version 3.0: no EI count, no surcharge block
                                           // (any other number: .ktd version 2.0)

/// The largest row count of any table the reader accepts from a file.
inline constexpr int kMaxRowsInFile = 100000;

/// Reads the file `path` as `dialect` into `project` and `tables`, which the
/// caller has just reset (a fresh default project, empty tables: see
/// TMainModel::OpenProject, whose reader seam this function fits). Sets the
/// unit system from the file (switching project and tables), the title, every
/// value, the options that follow from the codes and counts, and the stage
/// count of a staged file (whose first problem alone is read; the caller
/// splits the file into stage files). Returns "" when the file was read
/// whole, otherwise the message to show: the system's reason when the file
/// cannot be opened, or the word reader's "This file either invalid or
/// incomplete." / "Error on Line n Item m..." texts. Does not fill the tables
/// to their minimum rows. Throws only for internal faults.
std::string ReadProjectFile(TProgramData& project, TProgramTables& tables, const std::string& path, int dialect);

/// As ReadProjectFile, from the text of a file already in memory.
std::string ReadProjectText(TProgramData& project, TProgramTables& tables, std::string_view text, int dialect);

/// Reads the text of one stage file into the project being edited (the
/// tables keep whatever the file does not replace). Current-format records,
/// except that with project.StageFilesHaveEICount off (older stage files) the
/// control record has no EI count, there is no surcharge block and the p-y
/// curves carry no multipliers. The project's Title and StageCount are kept:
/// the title belongs to the project (stage files from the second on carry
/// only " Stage No : n"), and the stage count is the project's bookkeeping,
/// not the file's. The continuation code sets the long-term flag only for 9
/// (which a staged project refuses). Returns "" or the message as
/// ReadProjectText; does not fill the tables to their minimum rows.
std::string ReadStageText(TProgramData& project, TProgramTables& tables, std::string_view text);

}  // namespace kestra
