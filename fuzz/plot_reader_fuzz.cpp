// Feeds arbitrary bytes to the plot data reader as the content of a plot data
// file, twice into the same graph definitions (a read keeps line names,
// layer lines and panels of the one before), and writes the CSV tables of a
// successful read. The reader must return true or false; any exception or
// out-of-bounds access is a fault.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "results/graph_set.h"
#include "results/plot_reader.h"
#include "results/results_csv.h"
#include "results/word_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kestra::TGraphSet graphs;
  kestra::TPlotProject project;
  // The first byte picks the project's options so that both naming rules,
  // both unit paths and the layer column are reached.
  const uint8_t options = size > 0 ? data[0] : 0;
  project.UnitSystem = 1 + options % 3;
  project.LongTermAnalysis = (options & 8) != 0;
  project.IncrementCount = 40;
  project.IncrementLength = 6;
  project.FreeHeight = 120;
  for (int i = 0; i < (options >> 4) % 9; ++i) project.SoilLayers.push_back({i, 2.5L * (i + 1)});

  for (int pass = 0; pass < 2; ++pass) {
    kestra::TWordReader words = kestra::TWordReader::FromText(text);
    kestra::TPlotReadInfo info;
    int messages = 0;
    const bool loaded = kestra::ReadPlotWords(
        words, true, project, graphs, [&](const std::string&) { ++messages; }, &info);
    if (loaded != info.Loaded || messages != (loaded ? 0 : 1)) __builtin_trap();
    if (loaded) {
      std::ostringstream out;
      kestra::WriteResultsCsv(out, graphs, info);
      kestra::WritePressureCsv(out, graphs, info);
      kestra::WritePYCsv(out, graphs, info);
    }
    project.LongTermAnalysis = !project.LongTermAnalysis;
  }
  return 0;
}
