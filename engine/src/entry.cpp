// The exported entries of the engine library.
#include <cctype>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "kestra/engine.h"
#include "run_driver.h"

namespace {

// Finds the file list in the working directory: NAMES.dat in any letter case.
std::filesystem::path find_file_list() {
  for (const char* name : {"NAMES.dat", "names.dat"}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(name, ec)) return name;
  }
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
    std::string name = entry.path().filename().string();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == "names.dat") return entry.path();
  }
  return {};
}

// Reads the four paths of the file list: each line a fixed field of 255
// characters, its line end and trailing blanks not part of the path.
bool read_file_list(std::vector<std::string>& paths) {
  const std::filesystem::path list = find_file_list();
  if (list.empty()) return false;
  std::ifstream in(list, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (paths.size() < 4 && std::getline(in, line)) {
    line = line.substr(0, 255);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) line.pop_back();
    paths.push_back(line);
  }
  return paths.size() == 4;
}

int32_t run_from_file_list() {
  std::vector<std::string> paths;
  if (!read_file_list(paths)) {
    std::cerr << " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n";
    return 0;
  }
  return KestraRunFiles(paths[0].c_str(), paths[1].c_str(), paths[2].c_str(), paths[3].c_str());
}

}  // namespace

extern "C" {

KESTRA_API int32_t KestraRunFiles(const char* input, const char* report, const char* plot, const char* notes) {
  if (!input || !report || !plot || !notes) return 0;
  try {
    return kestra::run_files(input, report, plot, notes);
  } catch (const std::exception& e) {
    std::cerr << " KESTRA ENGINE: INTERNAL ERROR: " << e.what() << "\n";
  } catch (...) {
    std::cerr << " KESTRA ENGINE: INTERNAL ERROR\n";
  }
  return 0;
}

KESTRA_API int32_t KESTRA_CALL IKESTRA(int32_t version) {
  if (version != KESTRA_INTERFACE_VERSION) return 1;
  try {
    return run_from_file_list();
  } catch (...) {
    std::cerr << " KESTRA ENGINE: INTERNAL ERROR\n";
  }
  return 0;
}

KESTRA_API int32_t KESTRA_CALL _IKESTRA(int32_t version) { return IKESTRA(version); }

}  // extern "C"
