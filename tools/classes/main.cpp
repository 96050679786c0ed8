// quenloft-classes (run by "quenloft classes") [--json | --markdown] [-o FILE]: every class the
// setup program registers, with its properties, their defaults and its events.
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/exceptions_Quenloft.h"
#include "engine/InstallSession.h"
#include "main/formMain.h"
#include "platform/HostFiles.h"
#include "platform/system/Environment.h"
#include "rtl/ClassRegistry.h"
#include "rtl/ProgramArguments.h"
#include "setup/ScratchVariable.h"
#include "setup/SetupProgram.h"
#include "tools/classes/ClassReference.h"
#include "vcl/Application.h"

namespace {

using namespace qnl;
using namespace qnl::tool;

const char* const kUsage = "usage: quenloft classes [--json | --markdown] [-o FILE]";

int Classes(const std::vector<std::string>& Args) {
  std::string format = "text", output;
  for (size_t i = 0; i < Args.size(); ++i) {
    if (Args[i] == "--json" || Args[i] == "--markdown")
      format = Args[i].substr(2);
    else if (Args[i] == "-o" && i + 1 < Args.size())
      output = Args[++i];
    else
      throw Exception(kUsage);
  }
  // The defaults are read from new components: they are made on a temporary machine, drawn
  // nowhere, and never install.
  if (!GetEnvironmentVariable("QT_QPA_PLATFORM")) SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  TScratchVariable machine("WINEPREFIX", "quenloft classes");
  std::optional<TScratchVariable> runtime;
  if (!GetEnvironmentVariable("XDG_RUNTIME_DIR")) runtime.emplace("XDG_RUNTIME_DIR", "quenloft classes");
  SetProgramArguments(std::vector<std::string>{});
  char program[] = "quenloft";
  char* argv[] = {program, nullptr};
  TApplication app(1, argv);
  RegisterSetupClasses();
  InstallSession().LookOnly = true;

  // Each component is made on a main form of its own, as in a project, so that what one
  // leaves behind never changes another's defaults. Shortcuts and sub-folders need the
  // project's Start-menu folders first: they are made when a component asks for them.
  std::unique_ptr<TformMain> form;
  auto create = [&](const TClassInfo& Class) -> TComponent* {
    form = std::make_unique<TformMain>(&app);
    try {
      return Class.CreateComponent(form.get());
    } catch (const std::exception&) {}
    try {
      GetClass("TMainLinkGroup").CreateComponent(form.get());
      GetClass("TSubLinkGroup").CreateComponent(form.get());
      return Class.CreateComponent(form.get());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quenloft classes: %s: %s; its defaults are left out\n", Class.Name.c_str(), e.what());
      return nullptr;
    }
  };
  // The project's root, then every class a project can name in it.
  std::vector<const TClassInfo*> list{&TformMain::StaticClassInfo()};
  for (const TClassInfo* c : RegisteredClasses()) list.push_back(c);
  std::vector<TClassEntry> classes = DescribeClasses(list, create);
  std::string text = format == "json"       ? ReferenceJson(classes)
                     : format == "markdown" ? ReferenceMarkdown(classes)
                                            : ReferenceText(classes);
  if (output.empty())
    std::fwrite(text.data(), 1, text.size(), stdout);
  else
    host::WriteWholeFile(output, text);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  try {
    return Classes(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quenloft classes: %s\n", e.what());
    return 1;
  }
}
