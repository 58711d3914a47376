#include "results/results_csv.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

namespace kestra {

namespace {

// The shortest text that reads back to the same double; "inf", "-inf" and
// "nan" for values that are not finite.
void PutNumber(std::ostream& out, long double value) {
  double v;
  if (value > static_cast<long double>(DBL_MAX))
    v = std::numeric_limits<double>::infinity();
  else if (value < -static_cast<long double>(DBL_MAX))
    v = -std::numeric_limits<double>::infinity();
  else
    v = static_cast<double>(value);
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec == std::errc{}) out.write(buf, end - buf);
}

// Point j of line i of `list`, or nullptr when the graphs lack it.
const TFloatPoint* PointAt(const TLineList& list, std::size_t i, std::size_t j) {
  if (i >= list.LineCount()) return nullptr;
  const TLine& line = list.Line(i);
  return j < line.PointCount() ? &line.Point(j) : nullptr;
}

}  // namespace

TCsvUnits CsvUnitsOf(std::int32_t unit) noexcept {
  if (unit == 1) return {"ft", "in", "in-kips", "kips", "lbs/in"};
  if (unit == 2) return {"m", "m", "m-kN", "kN", "kN/m"};
  return {"L", "L", "F-L", "F", "F/L"};
}

void WriteResultsCsv(std::ostream& out, const TGraphSet& graphs, const TPlotReadInfo& info) {
  const TCsvUnits u = CsvUnitsOf(info.Unit);
  out << "problem,depth (" << u.Depth << "),deflection (" << u.Deflection << "),moment (" << u.Moment << "),shear ("
      << u.Shear << "),soil reaction (" << u.LineLoad << ")\n";
  for (std::size_t k = 0; k < info.Stations.size(); ++k) {
    for (std::size_t j = 0; j < info.Stations[k]; ++j) {
      const TFloatPoint* def = PointAt(graphs.pltDef.Lines, k, j);
      const TFloatPoint* mom = PointAt(graphs.pltMom.Lines, k, j);
      const TFloatPoint* shear = PointAt(graphs.pltShear.Lines, k, j);
      const TFloatPoint* soil = PointAt(graphs.pltSoil.Lines, k, j);
      if (!def || !mom || !shear || !soil) break;
      out << k + 1 << ',';
      PutNumber(out, def->Y);
      out << ',';
      PutNumber(out, def->X);
      out << ',';
      PutNumber(out, mom->X);
      out << ',';
      PutNumber(out, shear->X);
      out << ',';
      PutNumber(out, soil->X);
      out << '\n';
    }
  }
}

void WritePressureCsv(std::ostream& out, const TGraphSet& graphs, const TPlotReadInfo& info) {
  const TCsvUnits u = CsvUnitsOf(info.Unit);
  out << "problem,depth (" << u.Depth << "),earth pressure (" << u.LineLoad << ")\n";
  for (std::size_t k = 0; k < info.PressurePoints.size(); ++k) {
    for (std::size_t j = 0; j < info.PressurePoints[k]; ++j) {
      const TFloatPoint* p = PointAt(graphs.pltLD.Lines, k, j);
      if (!p) break;
      out << k + 1 << ',';
      PutNumber(out, p->Y);
      out << ',';
      PutNumber(out, p->X);
      out << '\n';
    }
  }
}

void WritePYCsv(std::ostream& out, const TGraphSet& graphs, const TPlotReadInfo& info) {
  const TCsvUnits u = CsvUnitsOf(info.Unit);
  out << "curve,label,y (" << u.Deflection << "),p (" << u.LineLoad << ")\n";
  const TLineList& py = graphs.pltPY.Lines;
  for (std::size_t i = 0; i < info.CurvePoints.size() && i < py.LineCount(); ++i) {
    for (std::size_t j = 0; j < info.CurvePoints[i]; ++j) {
      const TFloatPoint* p = PointAt(py, i, j);
      if (!p) break;
      out << i + 1 << ',';
      PutNumber(out, py.Line(i).Value);
      out << ',';
      PutNumber(out, p->X);
      out << ',';
      PutNumber(out, p->Y);
      out << '\n';
    }
  }
}

std::string WritePlotCsvFiles(const std::filesystem::path& dir, const std::string& name, const TGraphSet& graphs,
                              const TPlotReadInfo& info) {
  namespace fs = std::filesystem;
  using Writer = void (*)(std::ostream&, const TGraphSet&, const TPlotReadInfo&);
  const std::pair<const char*, Writer> tables[] = {
      {"-results.csv", &WriteResultsCsv},
      {"-pressure.csv", &WritePressureCsv},
      {"-py.csv", &WritePYCsv},
  };
  for (const auto& [suffix, write] : tables) {
    const fs::path target = dir / (name + suffix);
    fs::path temporary = target;
    temporary += ".tmp";
    std::error_code ec;
    {
      errno = 0;
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      if (!out) {
        const int reason = errno != 0 ? errno : static_cast<int>(std::errc::io_error);
        return "Cannot write " + target.string() + ": " + std::generic_category().message(reason);
      }
      write(out, graphs, info);
      out.close();
      if (out.fail()) {
        fs::remove(temporary, ec);
        return "Cannot write " + target.string() + ": " + std::make_error_code(std::errc::io_error).message();
      }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return "Cannot write " + target.string() + ": " + ec.message();
    }
  }
  return {};
}

}  // namespace kestra
