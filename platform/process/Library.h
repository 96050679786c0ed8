// Loading libraries for self-registration: LoadLibrary and GetProcAddress.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qnl {

// An entry point without arguments returning an HRESULT-like code (DllRegisterServer).
using TEntryPoint = std::function<int32_t()>;

// A loaded library; unloaded by the destructor. A native shared object is loaded with dlopen;
// a Windows DLL cannot run here, so its "DllRegisterServer" and "DllUnregisterServer" (when the
// DLL exports them) run `wine regsvr32` when Wine is installed, else are recorded in the start
// log and return 0.
class TLibrary {
public:
  // LoadLibrary: nullptr when the file is missing or cannot be loaded; LastError then says why.
  static std::unique_ptr<TLibrary> Load(std::string_view WindowsPath);
  ~TLibrary();
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;

  // GetProcAddress: an empty function when the library has no such export.
  TEntryPoint ProcAddress(const std::string& Name) const;
  bool IsWindowsDll() const { return FHandle == nullptr; }
  const std::string& FileName() const { return FFileName; }

private:
  TLibrary() = default;
  std::string FFileName; // Windows path
  std::string FUnixPath;
  void* FHandle = nullptr;
  bool FExportsRegister = false;
  bool FExportsUnregister = false;
};

// The reason of the last failed Load in this thread (a Windows error code: 2 file not found,
// 193 bad format, 126 module not found) and its text.
uint32_t LibraryLastError();
std::string LibraryLastErrorText();

} // namespace qnl
