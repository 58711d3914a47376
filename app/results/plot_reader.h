// The plot data reader: reads the plot data file (.kt4p) that the engine
// leaves after a run into the main window's graph definitions.
//
// The file is a stream of words: per problem an earth-pressure section, a
// p-y curve section and a table of results at every station. The first
// block's result count fixes how many blocks belong to the file; words after
// them are ignored. English plot data (unit code 1) are converted on reading
// to feet, kip-inches and kips, the units the graph captions name.
//
// The reader needs a few values of the project (unit system, long-term
// option, wall geometry, soil layers); they come in a small plain struct so
// that the reader does not depend on the editing classes of the project.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/graph_set.h"
#include "results/word_reader.h"

namespace kestra {

class TProgramData;
class TGridTable;

// ---------------------------------------------------------------------------
// What the reader takes from the project

/// One row of the project's soil-layer table.
struct TPlotSoilLayer {
  /// Choice number of the soil type as the table holds it: 1 soft clay,
  /// 2 stiff clay with free water, 3 stiff clay without free water, 4 sand,
  /// 5 silt, 6 strong rock, 7 weak rock. Other numbers draw no pattern.
  std::int32_t SoilType = 1;
  /// Depth of the bottom of the layer, in the table's display units (feet
  /// in English units, metres in SI), which are the graphs' depth units.
  long double BottomDepth = 0;
};

/// The project values the reader uses.
struct TPlotProject {
  /// 1 English, 2 SI, 3 other.
  std::int32_t UnitSystem = 1;
  /// Short-term and long-term analyses: the two result lines are named
  /// "Short-Term" and "Long-Term" instead of by stage.
  bool LongTermAnalysis = false;
  /// Wall geometry in the units of the input data file (inches in English
  /// units, metres otherwise): length = IncrementCount * IncrementLength;
  /// FreeHeight = depth of the excavation.
  std::int32_t IncrementCount = 0;
  long double IncrementLength = 0;
  long double FreeHeight = 0;
  /// Rows of the soil-layer table, top layer first.
  std::vector<TPlotSoilLayer> SoilLayers;
};

/// The reader's view of a project: unit system, long-term option and wall
/// geometry from `project`, layers from `soil_layers` (the short-term
/// soil-layer table NewSoil: column 0 the soil type choice, column 1 the
/// depth at the bottom of the layer). Throws what the table throws for a
/// table without those columns.
TPlotProject PlotProjectOf(const TProgramData& project, const TGridTable& soil_layers);

// ---------------------------------------------------------------------------
// Capacities

/// The largest file the reader takes. They hold every file the engine
/// writes: at most 406 increments give 408 station rows; 1200 pressure
/// points; 63 p-y curves of 34 points (generated curves have 33). The
/// program runs at most 5 stages; 11 problems leave room for hand-made
/// input. A file beyond these is refused with a message naming the count.
inline constexpr std::size_t kPlotMaxProblems = 11;
inline constexpr std::size_t kPlotMaxStations = 408;
inline constexpr std::size_t kPlotMaxPressurePoints = 1200;
inline constexpr std::size_t kPlotMaxCurves = 63;
inline constexpr std::size_t kPlotMaxCurvePoints = 34;

// ---------------------------------------------------------------------------
// Reading

/// The message the user sees when the file cannot be read.
inline constexpr std::string_view kPlotReadFailed = "An error occured in running the main program.";

/// Where the reader's messages go (the shell shows them in an information
/// box with an OK button; tools print them).
using TPlotMessageSink = std::function<void(const std::string& message)>;

/// What a read found, for callers that use the numbers themselves (the
/// summary and the CSV export of kestra-run). Counts are as read, before the
/// graphs were extended to common point counts.
struct TPlotReadInfo {
  /// True when every block was read (the result of ReadPlotFile).
  bool Loaded = false;
  /// Unit code of the earth-pressure section of the last block read; 0
  /// before one was read.
  std::int32_t Unit = 0;
  /// Earth-pressure points of each block read, in file order (block k is
  /// line k of pltLD).
  std::vector<std::size_t> PressurePoints;
  /// Station rows of each block whose rows were reached (block k is line k
  /// of pltDef, pltMom, pltShear and pltSoil).
  std::vector<std::size_t> Stations;
  /// Points of each p-y curve of the last block read (the curves of pltPY).
  std::vector<std::size_t> CurvePoints;
  /// Why the read failed, in detail (the word reader's text, or the count
  /// beyond the reader's capacity); empty after a successful read. Not
  /// shown to the user by the reader.
  std::string Detail;
};

/// Reads the plot data file `file_name` into `graphs` and returns true when
/// all its blocks were read. First the points of every graph's Lines are
/// cleared (line counts, names, layer lines and the panels of pltDMS stay
/// until overwritten). On failure (the file cannot be opened, a word is not
/// the number expected, the words run out, or a count is negative or beyond
/// the capacities above) reading stops there, whatever was filled stays, and
/// false is returned; with `report_errors` the message is passed to
/// `show_message` (kPlotReadFailed, or a text naming the count beyond the
/// capacity). `info`, when given, receives the counts read and the detail of
/// a failure. Never reads or writes past the capacities.
bool ReadPlotFile(const std::filesystem::path& file_name, bool report_errors, const TPlotProject& project,
                  TGraphSet& graphs, const TPlotMessageSink& show_message = {}, TPlotReadInfo* info = nullptr);

/// The same read over words already loaded (a file read earlier, or text in
/// memory); `words` is read from where it stands.
bool ReadPlotWords(TWordReader& words, bool report_errors, const TPlotProject& project, TGraphSet& graphs,
                   const TPlotMessageSink& show_message = {}, TPlotReadInfo* info = nullptr);

}  // namespace kestra
