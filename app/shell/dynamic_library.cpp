#include "shell/dynamic_library.h"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kestra {

void TDynamicLibrary::SetLibraryName(const std::string& path) {
  Close();
  name_ = path;
}

void TDynamicLibrary::Open() {
  if (IsOpen()) return;
  last_error_.clear();
#if defined(_WIN32)
  handle_ = reinterpret_cast<void*>(LoadLibraryA(name_.c_str()));
  if (!handle_) {
    const DWORD code = GetLastError();
    last_error_ = "error " + std::to_string(code);
    if (code == ERROR_DLL_INIT_FAILED) throw EInitError();
    if (code == ERROR_DLL_NOT_FOUND || code == ERROR_MOD_NOT_FOUND) throw EFileNotFoundError();
  }
#else
  std::error_code ec;
  if (!std::filesystem::exists(name_, ec)) {
    last_error_ = "no such file: " + name_;
    throw EFileNotFoundError();
  }
  handle_ = dlopen(name_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    last_error_ = why ? why : "the library could not be loaded";
  }
#endif
}

void* TDynamicLibrary::GetProc(const std::string& name) const {
  if (!IsOpen()) throw EDLLNotOpenError();
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
#else
  return dlsym(handle_, name.c_str());
#endif
}

void TDynamicLibrary::Close() {
  if (!IsOpen()) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

}  // namespace kestra
