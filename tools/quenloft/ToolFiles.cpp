// What the form subcommands share.
#include "tools/quenloft/ToolFiles.h"

#include <cstdio>

#include "common/exceptions_Quenloft.h"
#include "platform/HostFiles.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "rtl/FormText.h"

namespace qnl::tool {

std::string CompileFormFile(const std::string& Path) {
  std::string text = host::ReadWholeFile(Path);
  // The project's texts become bytes of the author's code page, as in a project saved by a
  // Windows ANSI program; setup uses them as they are on every machine.
  try {
    return ObjectTextToBinary(text, &MachineAnsiCodePage());
  } catch (const EParserError& e) {
    throw EParserError(Path + ": " + e.Message());
  }
}

std::string ProgramBesideTool(const std::string& Name, const std::string& What) {
  std::string path = host::DirectoryOf(host::RunningExecutablePath()) + "/" + Name;
  if (!host::FileExists(path))
    throw EAPIRoutines("The " + What + " \"" + path + "\" does not exist: build the " + Name + " target first");
  return path;
}

std::string SetupProgramPath() { return ProgramBesideTool("setup", "setup program"); }

} // namespace qnl::tool
