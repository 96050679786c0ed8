// quenloft check PROJECT [--program PATH]: what is wrong with a project's text form, found
// before a build. The setup program checks it: only it knows every class a project may hold
// and, built with a project's own main form, the handlers that form publishes.
#include <cstdio>

#include "common/exceptions_Quenloft.h"
#include "platform/HostFiles.h"
#include "platform/system/Environment.h"
#include "tools/quenloft/Commands.h"
#include "tools/quenloft/ToolFiles.h"

namespace qnl::tool {

int CmdCheck(const TArgs& Args) {
  std::string form, programPath;
  bool usable = true;
  for (size_t i = 0; i < Args.size() && usable; ++i) {
    if (Args[i] == "--program" && i + 1 < Args.size())
      programPath = Args[++i];
    else if (form.empty() && !Args[i].starts_with("-"))
      form = Args[i];
    else
      usable = false;
  }
  if (!usable || form.empty()) {
    std::fprintf(stderr, "usage: quenloft check PROJECT [--program PATH]\n");
    return 2;
  }
  if (!host::FileExists(form)) {
    std::fprintf(stderr, "quenloft check: the project \"%s\" does not exist\n", form.c_str());
    return 2;
  }
  std::string setup = programPath.empty() ? SetupProgramPath() : programPath;
  if (!host::FileExists(setup)) throw EAPIRoutines("The setup program \"" + setup + "\" does not exist");
  SetEnvironmentVariable("QNL_CHECK_PROJECT", form);
  host::ReplaceProcess(setup, {});
}

} // namespace qnl::tool
