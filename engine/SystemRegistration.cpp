// System registration of an installed file: shared-DLL counts, help files, ActiveX.
#include "common/InstallLog.h"
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/DeferredRegistrations.h"
#include "engine/InstallSession.h"
#include "engine/SystemRegistryKeys.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "engine/UninstallFileList.h"
#include "platform/files/Files.h"
#include "platform/process/Library.h"
#include "platform/process/Process.h"
#include "platform/registry/Registry.h"
#include "settings/routines_Registry.h"

namespace qnl {

namespace {

constexpr int kSW_HIDE = 0;

} // namespace

void RetryDeferredRegistrations() {
  InstallSession().DeferRegistrationFailures = false;
  TCustomInstallFileList& list = InstallSession().FailedRegistrations;
  while (list.Count() > 0) {
    TCustomInstallFile* file = list.Items(0);
    list.Delete(0);
    file->RegisterActiveX();
  }
}

bool TCustomInstallFile::UpdateSharedDLLCount() {
  std::optional<TRegKey> key;
  try {
    key = TRegKey::Create(TRootKey::rkLocalMachine, kSharedDLLsKey);
  } catch (const std::exception&) {
    // The registry emulation has no error codes of its own; 0 stands for "not known".
    throw IECustomInstallFile(
        "Could not open the key SharedDLLs key in the registry. File component %s. GetLastError return: %d",
        {Name(), 0});
  }
  std::string dest = InstalledPath();
  std::string shortName = GetShortPath(dest);
  std::string counted = key->ReadDWord(shortName) ? shortName : dest;
  uint32_t count = key->ReadDWord(counted).value_or(0) + 1;
  key->WriteDWord(counted, count);
  if (InstallLog().On()) InstallLog().Step("shared DLL count", counted + " = " + std::to_string(count));
  return true;
}

void TCustomInstallFile::RegisterHelpFile() {
  RegWriteString(static_cast<int>(TRootKey::rkLocalMachine), kHelpFilesKey, UpperCase(ExtractFileName(InstalledPath())),
                 GetDestDir());
}

void TCustomInstallFile::RegisterActiveX() {
  std::string destDir = GetDestDir();
  std::string path = GetDestPath();
  if (Trim(destDir + FDestName).empty() || !FileExists(path))
    throw IECustomInstallFile(
        "Cannot compress,copy, or install the following file because it's destination directory is blank. File "
        "is :%s",
        {Name()});
  // The current directory stays as it is: this process's working directory is shared by
  // every thread, and a library that needs its neighbours finds them by its own path here.
  if (UpperCase(ExtractFileExt(FFileName)) == ".EXE")
    RegisterProgram(path);
  else
    RegisterLibrary(path);
}

void TCustomInstallFile::RegisterLibrary(const std::string& Path) {
  std::unique_ptr<TLibrary> library = TLibrary::Load(Path);
  if (!library)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the LoadLibrary(%s) procedure returned a value of "
        "0. The file component is %s. The following value is the value of the GetLastError function: %d",
        {Path, Path, Name(), static_cast<int>(LibraryLastError())});
  TEntryPoint entry = library->ProcAddress("DllRegisterServer");
  if (!entry)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function could not be found. "
        "The file component is %s. The following value is the value of the GetLastError function: %d",
        {Path, Name(), 127});
  int32_t result = entry();
  if (result != 0)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function returned a value of "
        "%d. The file component is %s",
        {Path, result, Name()});
}

void TCustomInstallFile::RegisterProgram(const std::string& Path) {
  uint32_t started = WinExec(Path + " /REGSERVER", kSW_HIDE);
  if (started < 32)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the WinExec(%s,SW_HIDE) function returned a value < "
        "32. The file component is %s. The following value is the value of the GetLastError function: %d",
        {Path, Path, Name(), static_cast<int>(started)});
}

void TCustomInstallFile::AfterInstallSteps() {
  if (FRegisterAsHelp) RegisterHelpFile();
  if (FUpdateDLLCounter && !UpdateSharedDLLCount())
    throw IECustomInstallFile("Cannot update the DLL count for the following file :%s:", {FFileName});
  TCustomInstall* install = TCustomInstall::Current();
  if (FRebootReplace && install) {
    install->AddUnfinished(Name(), 0);
  } else if (FActiveX) {
    try {
      RegisterActiveX();
      if (InstallLog().On()) InstallLog().Step("registered", GetDestPath());
    } catch (const IECustomInstallFile&) {
      if (!InstallSession().DeferRegistrationFailures) throw;
      if (!InstallSession().FailedRegistrations.Contains(this)) InstallSession().FailedRegistrations.Add(this);
    }
  }
}

void TCustomInstallFile::ContinueAfterReboot() {
  if (FActiveX) RegisterActiveX();
}

void TCustomInstallFile::WriteUninstallInfo(const std::string& Key) {
  if (FActiveX)
    AddUninstallActiveXEntry(Key, InstalledPath(), UpperCase(ExtractFileExt(FFileName)) == ".EXE");
  else
    AddUninstallFileEntry(Key, InstalledPath());
}

} // namespace qnl
