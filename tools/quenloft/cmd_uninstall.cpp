// quenloft uninstall NAME [options], quenloft installed: the machine's installed products.
#include <algorithm>
#include <cstdio>

#include "engine/ProductDirectory.h"
#include "engine/SystemRegistryKeys.h"
#include "platform/HostFiles.h"
#include "platform/registry/Registry.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {

// The product directory's uninstaller, searched as the build searches the product directory:
// QUENLOFT_PATH, beside this tool (a build tree), then ../lib/quenloft (an installed product).
std::string ProductUninstaller() {
  std::vector<std::string> dirs;
  if (std::optional<std::string> path = GetEnvironmentVariable(kProductPathVariable)) {
    for (size_t start = 0; start <= path->size();) {
      size_t end = std::min(path->find(':', start), path->size());
      if (end > start) dirs.push_back(path->substr(start, end - start));
      start = end + 1;
    }
  }
  std::string toolDir = host::DirectoryOf(host::RunningExecutablePath());
  dirs.push_back(toolDir);
  dirs.push_back(host::DirectoryOf(toolDir) + "/lib/quenloft");
  for (const std::string& dir : dirs)
    if (host::FileExists(dir + "/" + kProductMarkerFile) && host::FileExists(dir + "/" + kProductUninstallerFile))
      return dir + "/" + kProductUninstallerFile;
  throw EInOutError(std::string("Cannot find ") + kProductUninstallerFile +
                    " in the product directory: build the QuenloftUninstall target, or name its directory in " +
                    kProductPathVariable);
}

struct TInstalledEntry {
  std::string DisplayName;
  std::string Command;
};

std::string Terminal(const std::string& Text) {
  try {
    return AnsiToUtf8(Text);
  } catch (const std::exception&) {
    return Text;
  }
}

} // namespace

int CmdUninstall(const TArgs& Args) {
  if (Args.empty()) {
    std::fprintf(stderr, "usage: quenloft uninstall NAME [--unattended] [--quiet] [--log FILE]\n");
    return 2;
  }
  host::ReplaceProcess(ProductUninstaller(), Args);
}

// The entries Wine's uninstaller lists: a DisplayName and an UninstallString, not a
// SystemComponent, from HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, by display name.
int CmdInstalled(const TArgs& Args) {
  if (!Args.empty()) {
    std::fprintf(stderr, "usage: quenloft installed\n");
    return 2;
  }
  std::vector<TInstalledEntry> entries;
  for (TRootKey root : {TRootKey::rkLocalMachine, TRootKey::rkCurrentUser}) {
    std::optional<TRegKey> list = TRegKey::Open(root, kUninstallKeyPrefix);
    if (!list) continue;
    for (const std::string& name : list->SubKeyNames()) {
      std::optional<TRegKey> entry = list->OpenSubKey(name);
      if (!entry || entry->ReadDWord("SystemComponent") == 1u) continue;
      std::optional<std::string> display = entry->ReadString("DisplayName");
      std::optional<std::string> command = entry->ReadString("UninstallString");
      if (display && command) entries.push_back({*display, *command});
    }
  }
  std::stable_sort(entries.begin(), entries.end(), [](const TInstalledEntry& A, const TInstalledEntry& B) {
    return CompareText(A.DisplayName, B.DisplayName) < 0;
  });
  for (const TInstalledEntry& entry : entries)
    std::printf("%s|||%s\n", Terminal(entry.DisplayName).c_str(), Terminal(entry.Command).c_str());
  return 0;
}

} // namespace qnl::tool
