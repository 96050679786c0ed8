// quenloft compile FORM -o SETUP [--program PATH]: a setup program carrying the project as its
// TFORMMAIN resource.
#include <cstdio>

#include "common/exceptions_Quenloft.h"
#include "platform/HostFiles.h"
#include "platform/system/CodePage.h"
#include "rtl/FormText.h"
#include "rtl/ResourceBundle.h"
#include "tools/quenloft/Commands.h"
#include "tools/quenloft/ToolFiles.h"

namespace qnl::tool {

int CmdCompile(const TArgs& Args) {
  const char* usage = "usage: quenloft compile FORM -o SETUP [--program PATH]";
  std::string form, output, programPath;
  for (size_t i = 0; i < Args.size(); ++i) {
    if (Args[i] == "-o" && i + 1 < Args.size())
      output = Args[++i];
    else if (Args[i] == "--program" && i + 1 < Args.size())
      programPath = Args[++i];
    else if (form.empty() && Args[i] != "-o" && Args[i] != "--program")
      form = Args[i];
    else
      throw Exception(usage);
  }
  if (form.empty() || output.empty()) throw Exception(usage);

  std::string resource = CompileFormFile(form);
  // A project with its own code brings its own program (built with its TformMain); it may be
  // SETUP itself, which is read whole before it is written.
  std::string setup = programPath.empty() ? SetupProgramPath() : programPath;
  if (!programPath.empty() && !host::FileExists(setup))
    throw EAPIRoutines("The setup program \"" + setup + "\" does not exist");
  std::string program = host::ReadWholeFile(setup);
  // A setup program that carries a project already is used without it.
  TMemoryStream programStream(program);
  if (auto bundle = TResourceBundle::Open(programStream)) program.resize(static_cast<size_t>(bundle->Start()));
  std::string bundle = BuildResourceBundle({{"TFORMMAIN", resource}});
  host::WriteWholeFile(output, program + bundle, host::TFileMode::fmExecutable);
  std::printf("%s: %zu bytes (project resource TFORMMAIN, %zu bytes)\n", output.c_str(), program.size() + bundle.size(),
              resource.size());
  return 0;
}

} // namespace qnl::tool
