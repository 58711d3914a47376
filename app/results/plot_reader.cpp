#include "results/plot_reader.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "data/program_data.h"
#include "tables/grid_table.h"

namespace kestra {

TPlotProject PlotProjectOf(const TProgramData& project, const TGridTable& soil_layers) {
  TPlotProject p;
  p.UnitSystem = project.UnitSystem();
  p.LongTermAnalysis = project.LongTermAnalysis();
  p.IncrementCount = project.IncrementCount;
  p.IncrementLength = project.IncrementLength;
  p.FreeHeight = project.FreeHeight;
  p.SoilLayers.reserve(static_cast<std::size_t>(std::max(0, soil_layers.RowCount())));
  for (int row = 0; row < soil_layers.RowCount(); ++row) {
    TPlotSoilLayer layer;
    layer.SoilType = soil_layers.Cell(0, row).AsInteger();
    layer.BottomDepth = soil_layers.Cell(1, row).AsFloat();
    p.SoilLayers.push_back(layer);
  }
  return p;
}

namespace {

// English plot data hold inches, pound-inches and pounds; the graphs show
// feet, kip-inches and kips.
constexpr long double kInchesPerFoot = 12.0L;
constexpr long double kPoundsPerKip = 1000.0L;
// A point of a shorter line left at (0, 0) by the extension to a common
// point count; both coordinates below this take the previous point.
constexpr long double kEmptyPoint = 0.0000001L;

// A count beyond the reader's stores (shown to the user as it is).
class TPlotCapacityError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A count that no writer produces (negative): a damaged file, reported like
// the word reader's errors.
class TPlotDamagedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TLayerStyle {
  const char* label;
  int pattern;
};

// Labels and fill patterns of the soil-layer column, by soil type choice.
std::optional<TLayerStyle> LayerStyleOf(std::int32_t soil_type) {
  switch (soil_type) {
    case 1:
    case 2:
    case 3:
      return TLayerStyle{" CLAY ", 1};
    case 4:
      return TLayerStyle{" SAND ", 7};
    case 5:
      return TLayerStyle{" SILT ", 8};
    case 6:
      return TLayerStyle{"STRONG ROCK", 9};
    case 7:
      return TLayerStyle{"WEAK ROCK", 10};
    default:
      return std::nullopt;
  }
}

// Both coordinates below the threshold (signed: negative values count).
bool IsEmptyPoint(const TFloatPoint& p) { return p.X < kEmptyPoint && p.Y < kEmptyPoint; }

class PlotFileReader {
 public:
  PlotFileReader(TWordReader& words, const TPlotProject& project, TGraphSet& g, TPlotReadInfo& info)
      : words_(words), project_(project), g_(g), info_(info) {}

  void Read() {
    g_.pltInter.Lines.SetLineCount(1);
    ReadFirstBlock();
    for (std::size_t k = 2; k <= block_count_; ++k) ReadFurtherBlock(k);
    CompletePressure();
    CompleteResults();
    g_.SetResultCaptions(unit_);
    g_.SetUnits(unit_);
  }

 private:
  // A count of items that follow: an integer from 0 to `max`.
  std::size_t ReadCount(std::size_t max, const char* what) {
    const std::int32_t n = words_.ReadInt();
    if (n < 0)
      throw TPlotDamagedError("The plot data file gives " + std::to_string(n) + " as the number of " + what + ".");
    if (static_cast<std::size_t>(n) > max)
      throw TPlotCapacityError("The plot data file holds " + std::to_string(n) + " " + what +
                               " where the program reads at most " + std::to_string(max) + ".");
    return static_cast<std::size_t>(n);
  }

  // A result block count. Values below 1 come from hand-made input (the
  // engine writes the stage count of the control record) and mean one block.
  std::int32_t ReadProblemCount() {
    const std::int32_t n = words_.ReadInt();
    if (n > static_cast<std::int32_t>(kPlotMaxProblems))
      throw TPlotCapacityError("The plot data file holds " + std::to_string(n) +
                               " problems where the program reads at most " + std::to_string(kPlotMaxProblems) + ".");
    return n;
  }

  void RaiseProblemCount(std::int32_t n_problems) {
    if (n_problems > 0) r_ = std::max(r_, static_cast<std::size_t>(n_problems));
  }

  // --- First block -----------------------------------------------------------

  void ReadFirstBlock() {
    // Earth pressure: line 0 of pltLD, and the three parts for PltCombine.
    g_.pltLD.Lines.SetLineCount(r_);
    g_.PltCombine.Lines.SetLineCount(3);
    const std::size_t nep = ReadCount(kPlotMaxPressurePoints, "earth-pressure points");
    info_.PressurePoints.push_back(nep);
    g_.pltLD.Lines.SetPointCount(nep);
    g_.PltCombine.Lines.SetPointCount(nep);
    max_pressure_points_ = nep;
    // PltCombine follows the project's unit system (the block's own unit code
    // comes after the records).
    const long double combine_scale = project_.UnitSystem == 1 ? kInchesPerFoot : 1.0L;
    std::vector<std::array<long double, 4>> records(nep);
    for (std::size_t j = 0; j < nep; ++j) {
      auto& rec = records[j];
      for (long double& v : rec) v = words_.ReadFloat();
      g_.pltLD.Lines.Line(0).SetPoint(j, rec[1], rec[0]);
      rec[0] /= combine_scale;
    }
    TLineList& combine = g_.PltCombine.Lines;
    combine.Line(0).Name = "Total Earth Pressure";
    combine.Line(1).Name = "from Soils ";
    combine.Line(2).Name = "from Surcharge Loads";
    for (std::size_t j = 0; j < nep; ++j) {
      for (std::size_t part = 0; part < 3; ++part) combine.Line(part).SetPoint(j, records[j][part + 1], records[j][0]);
    }

    unit_ = words_.ReadInt();
    info_.Unit = unit_;
    if (unit_ == 1) DepthsToFeet(g_.pltLD.Lines.Line(0));

    ReadCurves();

    // Results.
    const std::int32_t n_problems = ReadProblemCount();
    block_count_ = static_cast<std::size_t>(std::max(1, n_problems));
    // Line 0 receives the rows, so at least one line whatever the count says.
    g_.pltDef.Lines.SetLineCount(block_count_);
    RaiseProblemCount(n_problems);
    const std::size_t n_lines = g_.pltDef.Lines.LineCount();
    for (TGraphPlot* p : {&g_.pltMom, &g_.pltShear, &g_.pltSoil}) p->Lines.SetLineCount(n_lines);
    const std::size_t nnode = ReadCount(kPlotMaxStations, "stations in a problem");
    for (TGraphPlot* p : ResultGraphs()) p->Lines.SetPointCount(nnode);
    max_stations_ = nnode;
    words_.ReadInt();  // the unit code of the control record, again
    for (TLineList* list : DmsLists()) {
      list->SetLineCount(n_lines);
      list->SetPointCount(nnode);
    }
    g_.pltDMS.ShowThree = true;

    ReadStations(0, nnode);

    for (TGraphPlot* p : ResultGraphs()) p->Lines.SetLineCount(r_);
    for (TLineList* list : DmsLists()) list->SetLineCount(g_.pltDef.Lines.LineCount());

    FillLayerColumn();
  }

  // --- Further blocks ----------------------------------------------------------

  void ReadFurtherBlock(std::size_t k) {
    const std::size_t line = k - 1;

    TLineList& ld = g_.pltLD.Lines;
    ld.SetLineCount(r_);
    const std::size_t nep = ReadCount(kPlotMaxPressurePoints, "earth-pressure points");
    info_.PressurePoints.push_back(nep);
    if (nep > ld.PointCount()) ld.SetPointCount(nep);
    max_pressure_points_ = std::max(max_pressure_points_, nep);
    for (std::size_t j = 0; j < nep; ++j) {
      const long double depth = words_.ReadFloat();
      const long double total = words_.ReadFloat();
      words_.ReadFloat();  // from soils
      words_.ReadFloat();  // from surcharge loads
      ld.Line(line).SetPoint(j, total, depth);
    }
    unit_ = words_.ReadInt();
    info_.Unit = unit_;
    if (unit_ == 1) DepthsToFeet(ld.Line(line));

    ReadCurves();

    const std::int32_t n_problems = ReadProblemCount();
    RaiseProblemCount(n_problems);
    g_.pltDef.Lines.SetLineCount(r_);

    NameResultLines(k);

    const std::size_t n_lines = g_.pltDef.Lines.LineCount();
    for (TGraphPlot* p : {&g_.pltMom, &g_.pltShear, &g_.pltSoil}) p->Lines.SetLineCount(n_lines);
    const std::size_t nnode = ReadCount(kPlotMaxStations, "stations in a problem");
    if (nnode > g_.pltDef.Lines.PointCount()) g_.pltDef.Lines.SetPointCount(nnode);
    max_stations_ = std::max(max_stations_, nnode);
    const std::size_t n_points = g_.pltDef.Lines.PointCount();
    for (TGraphPlot* p : {&g_.pltMom, &g_.pltShear, &g_.pltSoil}) p->Lines.SetPointCount(n_points);
    for (TLineList* list : DmsLists()) list->SetPointCount(n_points);
    words_.ReadInt();  // the unit code of the control record, again

    ReadStations(line, nnode);

    for (TGraphPlot* p : ResultGraphs()) p->Lines.SetLineCount(r_);
    ld.SetLineCount(r_);
  }

  void NameResultLines(std::size_t k) {
    std::string first = "Stage: 1";
    std::string current = "Stage: " + std::to_string(k);
    std::size_t current_line = k - 1;
    if (project_.LongTermAnalysis) {
      first = "Short-Term";
      current = "Long-Term";
      current_line = 1;
    }
    for (TLineList* list : NamedLists()) {
      if (list->LineCount() > 0) list->Line(0).Name = first;
      if (current_line < list->LineCount()) list->Line(current_line).Name = current;
    }
  }

  // --- Sections ------------------------------------------------------------------

  // NPY curves into pltPY; the point count of pltPY only grows. Curves
  // shorter than the common count end with copies of their last point, in
  // every block, so that no curve keeps points of a previous block's curve.
  void ReadCurves() {
    TLineList& py = g_.pltPY.Lines;
    const std::size_t npy = ReadCount(kPlotMaxCurves, "p-y curves in a problem");
    py.SetLineCount(npy);
    info_.CurvePoints.assign(npy, 0);
    for (std::size_t i = 0; i < npy; ++i) {
      py.Line(i).Value = ToDouble(words_.ReadFloat());
      const std::size_t np = ReadCount(kPlotMaxCurvePoints, "points on a p-y curve");
      if (np > py.PointCount()) py.SetPointCount(np);
      for (std::size_t j = 0; j < np; ++j) {
        const long double y = words_.ReadFloat();
        const long double p = words_.ReadFloat();
        py.Line(i).SetPoint(j, y, p);
      }
      info_.CurvePoints[i] = np;
    }
    const std::size_t n_points = py.PointCount();
    for (std::size_t i = 0; i < npy; ++i) {
      const std::size_t np = info_.CurvePoints[i];
      if (np == 0) continue;  // no point to repeat; the curve stays at (0, 0)
      TLine& curve = py.Line(i);
      const TFloatPoint last = curve.Point(np - 1);
      for (std::size_t j = np; j < n_points; ++j) curve.SetPoint(j, last.X, last.Y);
    }
  }

  // NNODE station rows into `line` of the four result graphs and the three
  // panels of pltDMS, converted to feet, kip-inches and kips for unit 1.
  void ReadStations(std::size_t line, std::size_t nnode) {
    info_.Stations.push_back(nnode);
    const bool english = unit_ == 1;
    for (std::size_t j = 0; j < nnode; ++j) {
      long double depth = words_.ReadFloat();
      const long double deflection = words_.ReadFloat();
      long double moment = words_.ReadFloat();
      long double shear = words_.ReadFloat();
      const long double reaction = words_.ReadFloat();
      if (english) {
        depth /= kInchesPerFoot;
        moment /= kPoundsPerKip;
        shear /= kPoundsPerKip;
      }
      g_.pltDef.Lines.Line(line).SetPoint(j, deflection, depth);
      g_.pltMom.Lines.Line(line).SetPoint(j, moment, depth);
      g_.pltShear.Lines.Line(line).SetPoint(j, shear, depth);
      g_.pltSoil.Lines.Line(line).SetPoint(j, reaction, depth);
      g_.pltDMS.Lines.Line(line).SetPoint(j, deflection, depth);
      g_.pltDMS.Lines2.Line(line).SetPoint(j, moment, depth);
      g_.pltDMS.Lines3.Line(line).SetPoint(j, shear, depth);
    }
  }

  // Soil layers, then the wall and the excavation, in the column beside the
  // three panels of pltDMS.
  void FillLayerColumn() {
    TGraphPlot& dms = g_.pltDMS;
    if (dms.Lines.LineCount() < 1 || dms.Lines.PointCount() < 1) return;
    TLineList& layers = dms.LayerLines;
    const std::size_t n_layers = project_.SoilLayers.size();
    layers.SetLineCount(n_layers + 2);
    layers.SetPointCount(1);
    for (std::size_t i = 0; i < n_layers; ++i) {
      const TPlotSoilLayer& row = project_.SoilLayers[i];
      TLine& line = layers.Line(i);
      line.Name = "LAYER " + std::to_string(i + 1);
      int pattern = 0;
      if (const auto style = LayerStyleOf(row.SoilType)) {
        line.Name = style->label;
        pattern = style->pattern;
      }
      line.SetPoint(0, pattern, row.BottomDepth);
    }
    dms.WallLineCount = static_cast<int>(n_layers);
    // The project keeps lengths in inches for English projects.
    const long double scale = project_.UnitSystem == 1 ? kInchesPerFoot : 1.0L;
    const long double wall_length = static_cast<long double>(project_.IncrementCount) * project_.IncrementLength;
    layers.Line(n_layers).Name = "PILE";
    layers.Line(n_layers).SetPoint(0, 0, wall_length / scale);
    layers.Line(n_layers + 1).Name = "PILE";
    layers.Line(n_layers + 1).SetPoint(0, 0, project_.FreeHeight / scale);
  }

  // --- Completion ------------------------------------------------------------------

  void CompletePressure() {
    TLineList& ld = g_.pltLD.Lines;
    ld.SetLineCount(r_);
    ld.SetPointCount(max_pressure_points_);
    if (ld.PointCount() > 0 && ld.LineCount() > 1)
      for (TLine& line : ld) RepeatOverEmptyPoints(line, nullptr);
  }

  void CompleteResults() {
    TLineList& def = g_.pltDef.Lines;
    def.SetLineCount(r_);
    if (def.LineCount() > 1) def.SetPointCount(max_stations_);
    for (TGraphPlot* p : {&g_.pltMom, &g_.pltShear, &g_.pltSoil}) p->Lines.SetPointCount(def.PointCount());
    if (def.PointCount() == 0 || def.LineCount() < 2) return;
    const std::array<std::pair<TLineList*, TLineList*>, 4> pairs{{
        {&g_.pltDef.Lines, &g_.pltDMS.Lines},
        {&g_.pltMom.Lines, &g_.pltDMS.Lines2},
        {&g_.pltShear.Lines, &g_.pltDMS.Lines3},
        {&g_.pltSoil.Lines, nullptr},
    }};
    for (const auto& [list, mirror] : pairs) {
      for (std::size_t i = 0; i < list->LineCount(); ++i) {
        TLine* mirror_line = mirror != nullptr && i < mirror->LineCount() ? &mirror->Line(i) : nullptr;
        RepeatOverEmptyPoints(list->Line(i), mirror_line);
      }
    }
  }

  // Points left at (0, 0) take the previous point; `mirror`, when given,
  // receives the same copies.
  static void RepeatOverEmptyPoints(TLine& line, TLine* mirror) {
    for (std::size_t j = 1; j < line.PointCount(); ++j) {
      if (!IsEmptyPoint(line.Point(j))) continue;
      const TFloatPoint previous = line.Point(j - 1);
      line.SetPoint(j, previous.X, previous.Y);
      if (mirror != nullptr && j < mirror->PointCount()) mirror->SetPoint(j, previous.X, previous.Y);
    }
  }

  // --- Helpers -----------------------------------------------------------------------

  static void DepthsToFeet(TLine& line) {
    for (std::size_t j = 0; j < line.PointCount(); ++j) {
      const TFloatPoint p = line.Point(j);
      line.SetPoint(j, p.X, p.Y / kInchesPerFoot);
    }
  }

  // A label as a line value; labels beyond the range of double (only in
  // damaged files) become infinite rather than an undefined conversion.
  static double ToDouble(long double v) {
    if (v > static_cast<long double>(DBL_MAX)) return std::numeric_limits<double>::infinity();
    if (v < -static_cast<long double>(DBL_MAX)) return -std::numeric_limits<double>::infinity();
    return static_cast<double>(v);
  }

  std::array<TGraphPlot*, 4> ResultGraphs() { return {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil}; }
  std::array<TLineList*, 3> DmsLists() { return {&g_.pltDMS.Lines, &g_.pltDMS.Lines2, &g_.pltDMS.Lines3}; }
  std::array<TLineList*, 5> NamedLists() {
    return {&g_.pltDef.Lines, &g_.pltMom.Lines, &g_.pltShear.Lines, &g_.pltSoil.Lines, &g_.pltDMS.Lines};
  }

  TWordReader& words_;
  const TPlotProject& project_;
  TGraphSet& g_;
  TPlotReadInfo& info_;

  std::size_t r_ = 1;            // running problem count: lines of the result graphs
  std::size_t block_count_ = 1;  // blocks that belong to the file
  std::int32_t unit_ = 0;        // unit code of the block being read
  std::size_t max_pressure_points_ = 0;
  std::size_t max_stations_ = 0;
};

// Runs the reader and turns its failures into the result and the message.
bool ReadAndReport(TWordReader* words, const std::string& open_error, bool report_errors, const TPlotProject& project,
                   TGraphSet& graphs, const TPlotMessageSink& show_message, TPlotReadInfo& info) {
  std::string shown;
  if (words == nullptr) {
    info.Detail = open_error;
    shown = kPlotReadFailed;
  } else {
    try {
      PlotFileReader(*words, project, graphs, info).Read();
      info.Loaded = true;
      return true;
    } catch (const TInOutError& e) {
      info.Detail = e.what();
      shown = kPlotReadFailed;
    } catch (const TPlotDamagedError& e) {
      info.Detail = e.what();
      shown = kPlotReadFailed;
    } catch (const TPlotCapacityError& e) {
      info.Detail = e.what();
      shown = e.what();
    }
  }
  if (report_errors && show_message) show_message(shown);
  return false;
}

}  // namespace

bool ReadPlotWords(TWordReader& words, bool report_errors, const TPlotProject& project, TGraphSet& graphs,
                   const TPlotMessageSink& show_message, TPlotReadInfo* info) {
  TPlotReadInfo local;
  TPlotReadInfo& out = info != nullptr ? *info : local;
  out = TPlotReadInfo{};
  graphs.ClearLinePoints();
  return ReadAndReport(&words, {}, report_errors, project, graphs, show_message, out);
}

bool ReadPlotFile(const std::filesystem::path& file_name, bool report_errors, const TPlotProject& project,
                  TGraphSet& graphs, const TPlotMessageSink& show_message, TPlotReadInfo* info) {
  TPlotReadInfo local;
  TPlotReadInfo& out = info != nullptr ? *info : local;
  out = TPlotReadInfo{};
  graphs.ClearLinePoints();
  std::optional<TWordReader> words;
  std::string open_error;
  try {
    words.emplace(file_name);
  } catch (const TInOutError& e) {
    open_error = e.what();
  }
  return ReadAndReport(words ? &*words : nullptr, open_error, report_errors, project, graphs, show_message, out);
}

}  // namespace kestra
