// kestra-run: analyses project files with the engine library, the way the
// desktop program does, and prints a short summary of each analysis. The
// plot data file of every analysis is read by the program's own plot data
// reader, so the summary and the CSV tables show what the graphs would.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

#include "kestra/engine.h"
#include "results/graph_set.h"
#include "results/plot_reader.h"
#include "results/results_csv.h"
#include "shell/dynamic_library.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: kestra-run [-j N] [--csv DIR] PROJECT.kt4d [MORE.kt4d ...]\n"
    "\n"
    "Analyses each project with the engine library Kestra2013_DLL found beside this\n"
    "program and writes the output report (.kt4o), plot data file (.kt4p) and\n"
    "processor-run notes (.kt4r) beside the project.\n"
    "\n"
    "  -j N       analyse up to N projects at the same time\n"
    "  --csv DIR  also write the results as DIR/NAME-results.csv (one row per\n"
    "             station and problem), DIR/NAME-pressure.csv (earth pressure)\n"
    "             and DIR/NAME-py.csv (p-y curves of the last problem), in the\n"
    "             units the program's graphs show; DIR is created if missing\n"
    "  --help     show this text\n"
    "\n"
    "Exit status: 0 every analysis ran and no report holds an error message;\n"
    "1 a report holds one, or a plot data file cannot be read (printed on\n"
    "standard error); 2 usage errors, projects that cannot be read and CSV\n"
    "files that cannot be written.\n";

#if defined(_WIN32)
constexpr const char* kLibraryFile = "Kestra2013_DLL.dll";
#elif defined(__APPLE__)
constexpr const char* kLibraryFile = "Kestra2013_DLL.dylib";
#else
constexpr const char* kLibraryFile = "Kestra2013_DLL.so";
#endif

fs::path program_folder(const char* argv0) {
#if defined(_WIN32)
  char buf[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return fs::path(buf).parent_path();
#elif defined(__APPLE__)
  char buf[4096];
  uint32_t size = sizeof buf;
  if (_NSGetExecutablePath(buf, &size) == 0) return fs::weakly_canonical(buf).parent_path();
#else
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
#endif
  return fs::absolute(argv0).parent_path();
}

// The project's name with everything from the last dot of the file name replaced.
std::string with_extension(const std::string& project, const char* extension) {
  fs::path p(project);
  p.replace_extension(extension);
  return p.string();
}

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

// What the report says of each problem that reached its results.
struct ProblemSummary {
  int iterations = 0;
  std::vector<std::string> warnings;
};

struct ReportSummary {
  std::vector<ProblemSummary> problems;
  std::string error;  // the first error message, if any
  bool complete = false;
};

ReportSummary summarize_report(const std::string& text) {
  ReportSummary out;
  std::istringstream in(text);
  std::string line;
  bool in_warnings = false;
  while (std::getline(in, line)) {
    const std::string t = trim(line);
    if (t.starts_with("RESULTS -- ITERATION")) {
      ProblemSummary p;
      p.iterations = std::atoi(t.c_str() + 20);
      out.problems.push_back(p);
      in_warnings = true;
    } else if (in_warnings && t.starts_with("*****")) {
      std::string w = t;
      w.erase(0, w.find_first_not_of("* "));
      w.erase(w.find_last_not_of("* ") + 1);
      out.problems.back().warnings.push_back(w);
    } else if (t.starts_with("STA I")) {
      in_warnings = false;
    } else if (out.error.empty() &&
               (t.starts_with("ERROR") || t.starts_with("TOO MUCH DATA") || t.starts_with("EXECUTION HAS BEEN"))) {
      out.error = t;
    } else if (t == "END OF ANALYSIS") {
      out.complete = true;
    }
  }
  if (out.error.empty() && !out.complete) out.error = "THE ANALYSIS ENDED BEFORE ITS CLOSING LINE";
  return out;
}

// Largest absolute deflection and moment of one problem, as the graphs hold
// them after the plot data reader's conversions.
struct Extremes {
  bool valid = false;
  double deflection = 0, deflection_depth = 0, moment = 0, moment_depth = 0;
};

Extremes extremes_of(const kestra::TGraphSet& graphs, const kestra::TPlotReadInfo& info, std::size_t problem) {
  Extremes e;
  if (problem >= info.Stations.size()) return e;
  const kestra::TLineList& def = graphs.pltDef.Lines;
  const kestra::TLineList& mom = graphs.pltMom.Lines;
  if (problem >= def.LineCount() || problem >= mom.LineCount()) return e;
  // The last row is the station below the tip, extrapolated for the graphs;
  // the summary speaks of the wall's own stations, as the report's table does.
  std::size_t n = std::min({info.Stations[problem], def.Line(problem).PointCount(), mom.Line(problem).PointCount()});
  if (n > 1) --n;
  for (std::size_t j = 0; j < n; ++j) {
    const kestra::TFloatPoint& d = def.Line(problem).Point(j);
    const kestra::TFloatPoint& m = mom.Line(problem).Point(j);
    if (!e.valid || std::fabs(static_cast<double>(d.X)) > std::fabs(e.deflection))
      e.deflection = static_cast<double>(d.X), e.deflection_depth = static_cast<double>(d.Y);
    if (!e.valid || std::fabs(static_cast<double>(m.X)) > std::fabs(e.moment))
      e.moment = static_cast<double>(m.X), e.moment_depth = static_cast<double>(m.Y);
    e.valid = true;
  }
  return e;
}

// One line of text for a message that may hold carriage returns (the word
// reader separates its position from its reason by one).
std::string one_line(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

struct Outcome {
  int status = 0;
  std::string out, err;
};

Outcome analyse(const fs::path& library_path, const std::string& project, const std::string& csv_dir) {
  Outcome o;
  {
    std::ifstream probe(project, std::ios::binary);
    if (!probe) {
      o.status = 2;
      o.err = "kestra-run: " + project + ": cannot be read\n";
      return o;
    }
  }
  const std::string report = with_extension(project, ".kt4o");
  const std::string plot = with_extension(project, ".kt4p");
  const std::string notes = with_extension(project, ".kt4r");

  kestra::TDynamicLibrary library;
  library.SetLibraryName(library_path.string());
  KestraRunFilesFn run = nullptr;
  try {
    library.Open();
    if (library.IsOpen()) run = reinterpret_cast<KestraRunFilesFn>(library.GetProc("KestraRunFiles"));
  } catch (const kestra::EDLLError& e) {
    o.status = 2;
    o.err = "kestra-run: " + library_path.string() + ": " + e.what() + "\n";
    return o;
  }
  if (!run) {
    o.status = 2;
    o.err = "kestra-run: " + library_path.string() + ": the engine library cannot be used: " +
            (library.LastError().empty() ? "no entry KestraRunFiles" : library.LastError()) + "\n";
    return o;
  }
  run(project.c_str(), report.c_str(), plot.c_str(), notes.c_str());
  library.Close();

  const ReportSummary summary = summarize_report(read_text(report));

  // The plot data, through the program's reader. kestra-run knows no project
  // object: layer names and the long-term line names do not reach the numbers.
  kestra::TGraphSet graphs;
  kestra::TPlotReadInfo info;
  std::string plot_error;
  try {
    kestra::ReadPlotFile(plot, false, kestra::TPlotProject{}, graphs, {}, &info);
    if (!info.Loaded) plot_error = one_line(info.Detail);
  } catch (const std::exception& e) {
    info.Loaded = false;
    plot_error = e.what();
  }

  const kestra::TCsvUnits u = kestra::CsvUnitsOf(info.Unit);
  std::ostringstream s;
  s << project << ": " << summary.problems.size() << (summary.problems.size() == 1 ? " problem" : " problems")
    << " analysed\n";
  for (std::size_t k = 0; k < summary.problems.size(); ++k) {
    const ProblemSummary& p = summary.problems[k];
    s << "  problem " << k + 1 << ": " << p.iterations << (p.iterations == 1 ? " iteration" : " iterations");
    const Extremes e = info.Loaded ? extremes_of(graphs, info, k) : Extremes{};
    if (e.valid) {
      char buf[256];
      std::snprintf(buf, sizeof buf,
                    "; max |deflection| %.4g %s at depth %.4g %s; max |moment| %.4g %s at depth %.4g %s",
                    std::fabs(e.deflection), u.Deflection, e.deflection_depth, u.Depth, std::fabs(e.moment), u.Moment,
                    e.moment_depth, u.Depth);
      s << buf;
    }
    s << "\n";
    for (const std::string& w : p.warnings) s << "    warning: " << w << "\n";
  }
  s << "  written: " << report << ", " << plot << ", " << notes << "\n";

  std::string err;
  if (!summary.error.empty()) {
    o.status = 1;
    err += "kestra-run: " + project + ": " + summary.error + "\n";
  }
  if (!info.Loaded) {
    o.status = std::max(o.status, 1);
    err += "kestra-run: " + plot + ": " + plot_error + "\n";
  } else if (!csv_dir.empty()) {
    const std::string name = fs::path(project).stem().string();
    const std::string failure = kestra::WritePlotCsvFiles(csv_dir, name, graphs, info);
    if (failure.empty()) {
      const fs::path base = fs::path(csv_dir) / name;
      s << "  written: " << base.string() << "-results.csv, " << base.string() << "-pressure.csv, " << base.string()
        << "-py.csv\n";
    } else {
      o.status = 2;
      err += "kestra-run: " + failure + "\n";
    }
  }
  o.out = s.str();
  o.err = err;
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  int jobs = 1;
  std::string csv_dir;
  std::vector<std::string> projects;
  for (int k = 1; k < argc; ++k) {
    const std::string a = argv[k];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (a == "-j" || a.starts_with("-j")) {
      std::string n = a.size() > 2 ? a.substr(2) : (k + 1 < argc ? argv[++k] : "");
      char* end = nullptr;
      const long v = std::strtol(n.c_str(), &end, 10);
      if (n.empty() || *end != '\0' || v < 1 || v > 256) {
        std::cerr << "kestra-run: -j takes a whole number from 1 to 256\n" << kUsage;
        return 2;
      }
      jobs = static_cast<int>(v);
      continue;
    }
    if (a == "--csv" || a.starts_with("--csv=")) {
      csv_dir = a.size() > 5 ? a.substr(6) : (k + 1 < argc ? argv[++k] : "");
      if (csv_dir.empty()) {
        std::cerr << "kestra-run: --csv takes a folder\n" << kUsage;
        return 2;
      }
      continue;
    }
    if (a.starts_with("-") && a != "-") {
      std::cerr << "kestra-run: unknown option " << a << "\n" << kUsage;
      return 2;
    }
    projects.push_back(a);
  }
  if (projects.empty()) {
    std::cerr << kUsage;
    return 2;
  }

  if (!csv_dir.empty()) {
    // Two projects of the same name would write, and with -j race for, the
    // same CSV files.
    std::vector<std::string> names;
    for (const std::string& p : projects) names.push_back(fs::path(p).stem().string());
    std::sort(names.begin(), names.end());
    const auto twin = std::adjacent_find(names.begin(), names.end());
    if (twin != names.end()) {
      std::cerr << "kestra-run: two projects are named " << *twin << ": their CSV files would overwrite each other\n";
      return 2;
    }
    std::error_code ec;
    fs::create_directories(csv_dir, ec);
    if (ec || !fs::is_directory(csv_dir)) {
      std::cerr << "kestra-run: " << csv_dir << ": cannot be used as the CSV folder"
                << (ec ? ": " + ec.message() : std::string()) << "\n";
      return 2;
    }
  }

  const fs::path library_path = program_folder(argv[0]) / kLibraryFile;
  std::vector<Outcome> outcomes(projects.size());
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t k = next++; k < projects.size(); k = next++)
      outcomes[k] = analyse(library_path, projects[k], csv_dir);
  };
  std::vector<std::thread> pool;
  const int n_threads = std::min<int>(jobs, static_cast<int>(projects.size()));
  for (int t = 1; t < n_threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();

  int status = 0;
  for (const Outcome& o : outcomes) {
    std::cout << o.out;
    std::cerr << o.err;
    status = std::max(status, o.status);
  }
  return status;
}
