// Making a shortcut: a shell link, an internet shortcut or a Program Manager item, and its
// uninstall record.
#include "common/InstallLog.h"
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/TCustomInstall.h"
#include "engine/UninstallFileList.h"
#include "engine/cmp_TUninstallEXE.h"
#include "links/TCustomInstallShellLink.h"
#include "links/TCustomShellLinkGroup.h"
#include "links/cmp_TProgramManager.h"
#include "links/exceptions_Links.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/desktop/DesktopEntry.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/shelllink/ShellLink.h"

namespace qnl {

namespace {

// The text of a shell link failure: the known COM codes have texts of their own.
std::string ComErrorText(const EOleSysError& E) {
  switch (static_cast<uint32_t>(E.ErrorCode())) {
    case 0x8000FFFF: return TranslateMessage("Indicates an unexpected error occurred");
    case 0x80040110: return TranslateMessage("Indicates this class cannot be created as part of an aggregate");
    case 0x80040154:
      return TranslateMessage("Indicates that a specified class is not registered in the registration database");
    case 0x8007000E: return TranslateMessage("Out of memory");
    case 0x80070057: return TranslateMessage("Indicates one or more arguments are invalid");
    case 0: return "";
    default: return E.Message();
  }
}

bool ShellLinkInterfaceAvailable() {
  int version = GetWindowsVersionClass();
  return version == wvcWin95 || version == wvcWinNT;
}

} // namespace

void TCustomInstallShellLink::InstallObjects() {
  if (Trim(FLinkName).empty())
    throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", {Name()});
  FMadeFiles.clear();
  if (FObjectLink) {
    if (!FObjectLink->Processed()) return;
    if (dynamic_cast<TUninstallEXE*>(FObjectLink)) {
      TCustomInstall* install = TCustomInstall::Current();
      if (!install)
        throw IEInstallShellLink("%s cannot perform operation because there is no TInstall component", {Name()});
      FParameters = install->Information()->FProductName;
    } else if (dynamic_cast<TCustomShellLinkGroup*>(FObjectLink)) {
      ForceDirectories(FObjectLink->GetDestDir());
    }
  }
  if (UpperCase(ExtractFileExt(FLinkName)) == ".URL")
    CreateInternetShortcut();
  else if (FMethod == mtShellLinkInterface || (FMethod == mtAutoDetect && ShellLinkInterfaceAvailable()))
    CreateShellLink();
  else
    CreateProgramManagerItem();
  inherited::InstallObjects();
}

void TCustomInstallShellLink::CreateInternetShortcut() {
  ForceDirectories(GetDestDir());
  WriteProfileString(LinkPath(), "InternetShortcut", "URL", FObjectLocation);
  FMadeFiles.push_back(LinkPath());
}

void TCustomInstallShellLink::CreateShellLink() {
  try {
    ForceDirectories(GetDestDir());
    TShellLink link;
    link.Arguments = ExpandMetaVariables(FParameters, this);
    link.Target = GetTargetPath();
    link.HotKey = FHotKey;
    link.WorkingDirectory = ExtractFileDir(link.Target);
    SaveShellLink(LinkPath(), link);
    if (InstallLog().On()) InstallLog().Step("shortcut", LinkPath() + " -> " + link.Target);
    MadeShortcut(LinkPath(), link);
  } catch (const EOleSysError& e) {
    throw IEInstallShellLink("The TCustomInstallShellLink %s name could not be installed. The following error was "
                             "reported %s. Error code %d",
                             {Name(), ComErrorText(e), e.ErrorCode()});
  } catch (const std::exception& e) {
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was reported %s",
        {Name(), std::string(e.what())});
  }
}

// Program Manager has one level of groups: the item goes into the group named after the
// shortcut's own folder, whichever specifier that folder lies in.
void TCustomInstallShellLink::CreateProgramManagerItem() {
  std::string group = Trim(ExtractFileName(GetDestDir()));
  if (group.empty())
    throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", {Name()});
  TProgramManager& manager = ProgramManager();
  manager.CreateGroup(group);
  std::string item = ChangeFileExt(FLinkName, "");
  if (manager.IndexOfItem(item) >= 0) manager.ReplaceItem(item);
  TShellLink link;
  link.Arguments = ExpandMetaVariables(FParameters, this);
  link.Target = GetTargetPath();
  link.WorkingDirectory = ExtractFileDir(link.Target);
  manager.AddItem("\"" + link.Target + "\" " + link.Arguments, item, "", 0, "\"" + link.WorkingDirectory + "\"", "");
  std::string itemPath = manager.GroupFolder() + "\\" + item + ".lnk";
  if (FileExists(itemPath)) MadeShortcut(itemPath, link);
}

void TCustomInstallShellLink::MadeShortcut(const std::string& Path, const TShellLink& Link) {
  FMadeFiles.push_back(Path);
  for (const std::string& file : WriteDesktopMenuEntry(GetStartMenuDir(), Path, Link)) FMadeFiles.push_back(file);
}

void TCustomInstallShellLink::WriteUninstallInfo(const std::string& Key) {
  if (FMadeFiles.empty()) AddUninstallFileEntry(Key, LinkPath());
  for (const std::string& file : FMadeFiles) AddUninstallFileEntry(Key, file);
}

} // namespace qnl
