// The list of installed files in a product's uninstall entry.
#include "files/UninstallFileList.h"

#include <exception>

#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "settings/routines_Registry.h"

namespace qnl {

void AddUninstallFileEntry(const std::string& Key, const std::string& Path) {
  const int root = static_cast<int>(TRootKey::LocalMachine);
  constexpr int kUninstallFileKeys = 16;
  for (int attempt = 0;; ++attempt) {
    std::string sub = Key + "\\Files" + (attempt ? IntToStr(attempt) : std::string());
    int64_t n = 0;
    try {
      n = StrToInt(RegReadString(root, sub, "Entries", "0")) + 1;
      RegWriteString(root, sub, "File" + IntToStr(n), Path);
    } catch (const std::exception&) {
      if (attempt + 1 >= kUninstallFileKeys) throw;
      continue;
    }
    RegWriteString(root, sub, "Entries", IntToStr(n));
    return;
  }
}

} // namespace qnl
