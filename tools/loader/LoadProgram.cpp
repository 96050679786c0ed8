// The loading program's run.
#include "tools/loader/LoadProgram.h"

#include <chrono>

#include "common/routines_API.h"
#include "platform/files/FileCreation.h"
#include "platform/files/Files.h"
#include "platform/process/Process.h"
#include "rtl/SysUtils.h"
#include "tools/loader/InstallCommandLine.h"
#include "tools/loader/LoadProgramErrors.h"
#include "tools/loader/SetupArchiveSource.h"
#include "tools/loader/SetupArchiveUnpack.h"
#include "tools/loader/TempSetupDirectory.h"

namespace qnl {

namespace {

// The installation program removes its directory through a batch file that runs once it has
// ended; a script that started the loading program should find it gone when we return.
constexpr auto kRemovalWait = std::chrono::seconds(20);

// Removes the directory this run created, when nothing was started from it.
void RemoveOwnDirectory(const std::string& dir) {
  try {
    DeleteTree(dir);
  } catch (const Exception&) {
    // What cannot be removed stays in the temporary directory; the error that brought us
    // here is the one to report.
  }
}

// Unpacks the archive into dir; returns the installation program, ready to run.
std::string Unpack(const TSetupArchiveSource& source, const std::string& dir) {
  std::vector<std::string> files = UnpackSetupArchive(source, dir);
  try {
    SetExecutable(files.front());
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot make the installation program %s executable: %s", {files.front(), e.Message()}));
  }
  return files.front();
}

} // namespace

int RunLoadProgram(const std::vector<std::string>& Arguments) {
  TInstallRequest request;
  for (const std::string& argument : Arguments)
    if (SameText(argument, "*TODISK")) request.ToDisk = true;
  request.LoadingProgram = GetModuleName();
  TSetupArchiveSource source = FindSetupArchive(request.LoadingProgram);
  request.SelfExtracting = source.SelfExtracting;

  std::string dir = CreateTempSetupDirectory();
  int status = 0;
  try {
    std::string program = Unpack(source, dir);
    std::string commandLine = InstallCommandLine(program, InstallArguments(request));
    try {
      status = RunAndWait(commandLine);
    } catch (const Exception& e) {
      throw ELoadProgram(Format("cannot start the installation program %s: %s", {program, e.Message()}));
    }
  } catch (...) {
    RemoveOwnDirectory(dir);
    throw;
  }
  // A failed installation keeps its directory for another attempt, and a restart continues
  // from it: only success and a user abort remove it.
  if (status == kInstallSucceeded || status == kInstallAborted) WaitUntilRemoved(dir, kRemovalWait);
  return status;
}

} // namespace qnl
