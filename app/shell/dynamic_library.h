// TDynamicLibrary: binds a shared library by path at run time (dlopen/dlsym;
// LoadLibrary/GetProcAddress on Windows).
#pragma once

#include <stdexcept>
#include <string>

namespace kestra {

/// Base of the binding's exceptions; callers catch this one.
class EDLLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
/// The library's initialisation failed: "Library failed to properly initialize".
class EInitError : public EDLLError {
 public:
  EInitError() : EDLLError("Library failed to properly initialize") {}
};
/// The library file does not exist: "Library could not be located".
class EFileNotFoundError : public EDLLError {
 public:
  EFileNotFoundError() : EDLLError("Library could not be located") {}
};
/// A routine was looked up while the library is not open: "Library is not open".
class EDLLNotOpenError : public EDLLError {
 public:
  EDLLNotOpenError() : EDLLError("Library is not open") {}
};

class TDynamicLibrary {
 public:
  TDynamicLibrary() = default;
  ~TDynamicLibrary() { Close(); }
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

  /// Closes the library if open, then takes the new path.
  void SetLibraryName(const std::string& path);
  const std::string& LibraryName() const { return name_; }

  /// Loads the library unless already open. Raises EFileNotFoundError when the
  /// file does not exist and EInitError when its initialisation fails; any other
  /// failure leaves the object not open (LastError() tells why).
  void Open();
  bool IsOpen() const { return handle_ != nullptr; }

  /// Address of an exported routine, or null when the library does not export
  /// it. Raises EDLLNotOpenError when the library is not open.
  void* GetProc(const std::string& name) const;

  /// Unloads the library when open.
  void Close();

  /// The loader's message of the last failed Open, empty after a success.
  const std::string& LastError() const { return last_error_; }

 private:
  std::string name_;
  void* handle_ = nullptr;
  std::string last_error_;
};

}  // namespace kestra
