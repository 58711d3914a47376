// Results as comma-separated tables: the numbers of the graph definitions
// after a plot data read, for spreadsheets and for comparing runs.
//
// Every table has one header row naming each column with its unit, then one
// row per point as the file held it (the graphs' extension of shorter
// problems to a common point count is left out). Numbers are written with a
// period and the shortest digits that read back to the same double, whatever
// the locale.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "results/graph_set.h"
#include "results/plot_reader.h"

namespace kestra {

/// Units of the columns, by the plot data's unit code as the reader leaves
/// the numbers: 1 English (depth ft, deflection in, moment in-kips, shear
/// kips, line loads lbs/in), 2 SI (m, m, m-kN, kN, kN/m), any other value the
/// generic F and L.
struct TCsvUnits {
  const char* Depth;
  const char* Deflection;
  const char* Moment;
  const char* Shear;
  const char* LineLoad;  // soil reaction, earth pressure and p
};
TCsvUnits CsvUnitsOf(std::int32_t unit) noexcept;

/// "problem,depth (ft),deflection (in),moment (in-kips),shear (kips),soil
/// reaction (lbs/in)", then for each block k of `info.Stations` its rows from
/// line k of pltDef, pltMom, pltShear and pltSoil. Rows the graphs lack are
/// left out.
void WriteResultsCsv(std::ostream& out, const TGraphSet& graphs, const TPlotReadInfo& info);

/// "problem,depth (ft),earth pressure (lbs/in)", then for each block k of
/// `info.PressurePoints` its points from line k of pltLD.
void WritePressureCsv(std::ostream& out, const TGraphSet& graphs, const TPlotReadInfo& info);

/// "curve,label,y (in),p (lbs/in)", then the points of each p-y curve of the
/// last block (pltPY; label = the curve's station or depth label).
void WritePYCsv(std::ostream& out, const TGraphSet& graphs, const TPlotReadInfo& info);

/// Writes `dir`/`name`-results.csv, -pressure.csv and -py.csv. Each file is
/// written beside its target under a temporary name and then renamed over
/// it, so a failed write leaves an earlier file whole. Returns an empty
/// string on success, otherwise a message naming the file and the reason
/// (files written before the failure stay).
std::string WritePlotCsvFiles(const std::filesystem::path& dir, const std::string& name, const TGraphSet& graphs,
                              const TPlotReadInfo& info);

}  // namespace kestra
