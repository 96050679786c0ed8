// A temporary directory an environment variable points at for one run.
#include "setup/ScratchVariable.h"

#include <cstdio>
#include <exception>

#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/system/Environment.h"

namespace qnl {

TScratchVariable::TScratchVariable(const std::string& Name, const std::string& Program)
    : FName(Name), FProgram(Program), FOldValue(GetEnvironmentVariable(Name)),
      FDirectory(host::MakeTemporaryDirectory("quenloft-")) {
  SetEnvironmentVariable(FName, FDirectory);
}

TScratchVariable::~TScratchVariable() {
  SetEnvironmentVariable(FName, FOldValue);
  try {
    host::RemoveDirectoryTree(FDirectory);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", FProgram.c_str(), e.what());
  }
}

TLookOnlyEnvironment::TLookOnlyEnvironment(const std::string& Program) {
  std::string machineDirectory = TMachine::DirectoryFromEnvironment();
  if (!TMachine(machineDirectory).Exists()) {
    FMachine.emplace("WINEPREFIX", Program);
    std::fprintf(stderr, "%s: there is no machine in %s; the project is loaded on a temporary one\n", Program.c_str(),
                 machineDirectory.c_str());
  }
  if (!GetEnvironmentVariable("XDG_RUNTIME_DIR")) FRuntime.emplace("XDG_RUNTIME_DIR", Program);
}

} // namespace qnl
