// The input data file writer: the project and its grid tables as the records
// of one or two problems, exactly as the engine reads them.
//
// Lines end in CR LF; values are separated by the single TAB or blank each
// record has always had; reals are written in the 8-digit general format
// (format_general8), integers in plain decimal, never with a locale's decimal
// comma. Grid tables hold display units and the file holds file units, so a
// few columns are converted on the way out:
//   English: depths (feet) x 12, line loads per foot / 12, unit weights per
//            cubic foot / 1728, cohesions per square foot / 144;
//   SI:      surcharge distance and strip width (millimetres) / 1000, since
//            the engine takes every length of an SI file in metres.
// Everything else is written as held.
//
// Writing changes the project, as it always has: tables of switched-off
// options are emptied (a saved project keeps no rows it does not use), the
// last stiffness row is made a constant row, and the derived codes
// (EarthPressureCode, PYCode, EICurveCount, LongTermCode) are stored.
#pragma once

#include <string>

namespace kestra {

class TProgramData;
class TProgramTables;

/// The text of the input data file of an unstaged project: problem 1 with
/// DistLoad and NewSoil, its continuation code (LongTermCode, 0 or 9) and,
/// with the long-term variant on, problem 2 with LongDist and LongSoil
/// followed by 0. Never fails; changes the project as described above.
std::string ProjectFileText(TProgramData& project, TProgramTables& tables);

/// The text of the stage file of the project's CurrentStage: the title
/// (Title for stage 1, " Stage No : n" for stage n >= 2), the records with
/// earth-pressure code 2 in place of a generated option and the stage count
/// StageCount, and the continuation code CurrentStage. Never fails; changes
/// the project as ProjectFileText does.
std::string StageFileText(TProgramData& project, TProgramTables& tables);

/// The title record of stage `stage` >= 2: " Stage No : " followed by the
/// number. The split of a joined file finds stages by this text.
std::string StageTitle(int stage);

}  // namespace kestra
