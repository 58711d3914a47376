// kestra-run: analyses project files with the engine library, the way the
// desktop program does, and prints a short summary of each analysis.
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
#include "shell/dynamic_library.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: kestra-run [-j N] PROJECT.kt4d [MORE.kt4d ...]\n"
    "\n"
    "Analyses each project with the engine library Kestra2013_DLL found beside this\n"
    "program and writes the output report (.kt4o), plot data file (.kt4p) and\n"
    "processor-run notes (.kt4r) beside the project.\n"
    "\n"
    "  -j N     analyse up to N projects at the same time\n"
    "  --help   show this text\n"
    "\n"
    "Exit status: 0 every analysis ran and no report holds an error message;\n"
    "1 a report holds one (printed on standard error); 2 usage errors and\n"
    "projects that cannot be read.\n";

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

// Largest absolute deflection and moment of one result block of the plot data file.
struct Extremes {
  int unit = 0;
  int rows = 0;
  double deflection = 0, deflection_depth = 0, moment = 0, moment_depth = 0;
};

// Walks the blocks of a plot data file and returns the extremes of each block
// that holds result rows.
std::vector<Extremes> plot_extremes(const std::string& text) {
  std::istringstream in(text);
  std::vector<Extremes> out;
  auto next = [&in](double& v) { return static_cast<bool>(in >> v); };
  int n_blocks = -1;
  for (int block = 0; n_blocks < 0 || block < n_blocks; ++block) {
    double v = 0;
    if (!next(v)) break;
    const long nep = std::lround(v);
    for (long k = 0; k < 4 * std::max(0L, nep); ++k) next(v);
    double unit = 0, npy = 0;
    next(unit);
    if (!next(npy)) break;
    for (long c = 0; c < std::lround(npy); ++c) {
      double label = 0, np = 0;
      next(label);
      next(np);
      for (long k = 0; k < 2 * std::lround(np); ++k) next(v);
    }
    double nprob = 0, nnode = 0, unit2 = 0;
    next(nprob);
    next(nnode);
    if (!next(unit2)) break;
    if (n_blocks < 0) n_blocks = std::max(1L, std::lround(nprob));
    Extremes e;
    e.unit = static_cast<int>(std::lround(unit2));
    e.rows = static_cast<int>(std::lround(nnode));
    for (long k = 0; k < std::lround(nnode); ++k) {
      double x = 0, d = 0, m = 0, s = 0, r = 0;
      if (!(next(x) && next(d) && next(m) && next(s) && next(r))) break;
      if (std::fabs(d) > std::fabs(e.deflection)) e.deflection = d, e.deflection_depth = x;
      if (std::fabs(m) > std::fabs(e.moment)) e.moment = m, e.moment_depth = x;
    }
    out.push_back(e);
  }
  return out;
}

struct Units {
  const char* length;
  const char* moment;
};
Units units_of(int code) {
  if (code == 1) return {"in", "lbs-in"};
  if (code == 2) return {"m", "kN-m"};
  return {"L", "F-L"};
}

struct Outcome {
  int status = 0;
  std::string out, err;
};

Outcome analyse(const fs::path& library_path, const std::string& project) {
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
  const std::vector<Extremes> extremes = plot_extremes(read_text(plot));
  std::ostringstream s;
  s << project << ": " << summary.problems.size() << (summary.problems.size() == 1 ? " problem" : " problems")
    << " analysed\n";
  for (std::size_t k = 0; k < summary.problems.size(); ++k) {
    const ProblemSummary& p = summary.problems[k];
    s << "  problem " << k + 1 << ": " << p.iterations << (p.iterations == 1 ? " iteration" : " iterations");
    if (k < extremes.size() && extremes[k].rows > 0) {
      const Extremes& e = extremes[k];
      const Units u = units_of(e.unit);
      char buf[256];
      std::snprintf(buf, sizeof buf, "; max |deflection| %.4g %s at depth %.4g %s; max |moment| %.4g %s at depth %.4g %s",
                    std::fabs(e.deflection), u.length, e.deflection_depth, u.length, std::fabs(e.moment), u.moment,
                    e.moment_depth, u.length);
      s << buf;
    }
    s << "\n";
    for (const std::string& w : p.warnings) s << "    warning: " << w << "\n";
  }
  s << "  written: " << report << ", " << plot << ", " << notes << "\n";
  o.out = s.str();
  if (!summary.error.empty()) {
    o.status = 1;
    o.err = "kestra-run: " + project + ": " + summary.error + "\n";
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  int jobs = 1;
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

  const fs::path library_path = program_folder(argv[0]) / kLibraryFile;
  std::vector<Outcome> outcomes(projects.size());
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t k = next++; k < projects.size(); k = next++) outcomes[k] = analyse(library_path, projects[k]);
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
