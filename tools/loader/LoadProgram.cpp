// The loading program's run.
#include "tools/loader/LoadProgram.h"

#include <chrono>
#include <filesystem>

#include "common/routines_API.h"
#include "platform/files/FileCreation.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Process.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"
#include "tools/loader/InstallCommandLine.h"
#include "tools/loader/LoadProgramErrors.h"
#include "tools/loader/LoaderOptions.h"
#include "tools/loader/LookOptions.h"
#include "tools/loader/SetupArchiveSource.h"
#include "tools/loader/SetupArchiveUnpack.h"
#include "tools/loader/TempSetupDirectory.h"

namespace qnl {

namespace {

// The installation program removes its directory through a batch file that runs once it has
// ended; a script that started the loading program should find it gone when we return.
constexpr auto kRemovalWait = std::chrono::seconds(20);

// Unpacks the archive into dir; returns the installation program, ready to run.
std::string Unpack(const TSetupArchiveSource& Source, const std::string& Dir) {
  std::vector<std::string> files = UnpackSetupArchive(Source, Dir);
  try {
    SetExecutable(files.front());
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot make the installation program %s executable: %s", {files.front(), e.Message()}));
  }
  return files.front();
}

// The installation program removes its directory itself after success or an abort, through
// a batch file that runs once it has ended, and a restart continues from it; every other
// ending (a failure, a crash, a kill) leaves the directory to us.
void EndRun(TTempSetupDirectory& Dir, int Status) {
  if (Status == kInstallNeedsRestart) return Dir.KeepForRestart();
  if (Status == kInstallSucceeded || Status == kInstallAborted) WaitUntilRemoved(Dir.Path(), kRemovalWait);
  Dir.Remove();
}

// A file named on the command line, as the installation program sees it: it runs in
// another directory, on the machine's drives.
std::string InstallerFilePath(const std::string& Typed) {
  return WindowsPathOf(std::filesystem::absolute(Typed).lexically_normal().string());
}

} // namespace

int RunLoadProgram(const std::vector<std::string>& Arguments, std::string& Out) {
  TLoaderOptions options = ParseLoaderOptions(Arguments, InstallerFilePath);
  if (options.Help) {
    Out = LoaderHelpText();
    return kInstallSucceeded;
  }
  if (options.Version) {
    Out = std::string("QuenloftLoadProgram ") + QNL_VERSION + "\n";
    return kInstallSucceeded;
  }
  for (const auto& [name, value] : options.Environment) SetEnvironmentVariable(name, value);
  TInstallRequest request;
  for (const std::string& word : options.LoaderWords)
    if (SameText(word, "*TODISK")) request.ToDisk = true;
  request.LoadingProgram = GetModuleName();
  TSetupArchiveSource source = FindSetupArchive(request.LoadingProgram);
  request.SelfExtracting = source.SelfExtracting;
  if (options.ExtractDir) return ExtractDistribution(*options.ExtractDir, request.LoadingProgram);

  std::string parent = TempSetupParent();
  RemoveAbandonedSetupDirectories(parent);
  TTempSetupDirectory dir(parent);
  int status = 0;
  try {
    std::string program = Unpack(source, dir.Path());
    std::string commandLine = InstallCommandLine(program, InstallArguments(request));
    try {
      status = RunAndWait(commandLine);
    } catch (const Exception& e) {
      throw ELoadProgram(Format("cannot start the installation program %s: %s", {program, e.Message()}));
    }
  } catch (...) {
    dir.Remove();
    throw;
  }
  if (options.List)
    dir.Remove(); // nothing was installed: nobody else removes it
  else
    EndRun(dir, status);
  return status;
}

} // namespace qnl
