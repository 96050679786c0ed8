// Loading libraries for self-registration.
#include "platform/process/Library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "platform/OSError.h"
#include "platform/files/WinPaths.h"
#include "platform/process/MachineLogs.h"
#include "platform/process/Process.h"

namespace qnl {

namespace {

thread_local uint32_t gLastError = 0;
thread_local std::string gLastErrorText;

void SetLastError(uint32_t Code, std::string Text) {
  gLastError = Code;
  gLastErrorText = std::move(Text);
}

// Whether a PE file names an export: the export name table holds NUL-terminated names, so a
// search for the name with its terminator finds it (a string resource would be UTF-16).
bool MentionsExport(const std::string& Bytes, const std::string& Name) {
  std::string needle = Name;
  needle += '\0';
  size_t pos = 0;
  while ((pos = Bytes.find(needle, pos)) != std::string::npos) {
    if (pos == 0 || Bytes[pos - 1] == '\0') return true;
    pos += needle.size();
  }
  return false;
}

int32_t RunRegsvr32(const std::string& WindowsPath, bool Unregister) {
  if (!WineInstalled()) {
    AppendStartLog(std::string(Unregister ? "regsvr32 /u " : "regsvr32 ") + WindowsPath);
    return 0;
  }
  std::vector<std::string> args = {"regsvr32", "/s"};
  if (Unregister) args.push_back("/u");
  args.push_back(WindowsPath);
  return RunWine(args) == 0 ? 0 : static_cast<int32_t>(0x80004005); // E_FAIL
}

} // namespace

std::unique_ptr<TLibrary> TLibrary::Load(std::string_view WindowsPath) {
  std::string unixPath;
  try {
    unixPath = UnixPathOf(WindowsPath);
  } catch (const EPathError& e) {
    SetLastError(3, e.Message()); // ERROR_PATH_NOT_FOUND
    return nullptr;
  }
  struct stat st;
  if (::stat(unixPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    SetLastError(126, "The specified module could not be found"); // ERROR_MOD_NOT_FOUND
    return nullptr;
  }
  std::ifstream in(unixPath, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::unique_ptr<TLibrary> lib(new TLibrary());
  lib->FFileName = std::string(WindowsPath);
  lib->FUnixPath = unixPath;
  if (bytes.size() >= 4 && bytes.compare(0, 4,
                                         "\x7f"
                                         "ELF") == 0) {
    lib->FHandle = ::dlopen(unixPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib->FHandle) {
      const char* err = ::dlerror();
      SetLastError(193, err ? err : "dlopen failed"); // ERROR_BAD_EXE_FORMAT
      return nullptr;
    }
    return lib;
  }
  if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
    lib->FExportsRegister = MentionsExport(bytes, "DllRegisterServer");
    lib->FExportsUnregister = MentionsExport(bytes, "DllUnregisterServer");
    return lib;
  }
  SetLastError(193, "%1 is not a valid Win32 application");
  return nullptr;
}

TLibrary::~TLibrary() {
  if (FHandle) ::dlclose(FHandle);
}

TEntryPoint TLibrary::ProcAddress(const std::string& Name) const {
  if (FHandle) {
    ::dlerror();
    void* symbol = ::dlsym(FHandle, Name.c_str());
    if (!symbol) {
      SetLastError(127, "The specified procedure could not be found"); // ERROR_PROC_NOT_FOUND
      return {};
    }
    auto fn = reinterpret_cast<int32_t (*)()>(symbol);
    return [fn] { return fn(); };
  }
  std::string windowsPath = FFileName;
  if (Name == "DllRegisterServer" && FExportsRegister) return [windowsPath] { return RunRegsvr32(windowsPath, false); };
  if (Name == "DllUnregisterServer" && FExportsUnregister)
    return [windowsPath] { return RunRegsvr32(windowsPath, true); };
  SetLastError(127, "The specified procedure could not be found");
  return {};
}

uint32_t LibraryLastError() { return gLastError; }

std::string LibraryLastErrorText() { return gLastErrorText; }

} // namespace qnl
