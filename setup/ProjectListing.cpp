// Listing a distribution's files as its project would install them.
#include "setup/ProjectListing.h"

#include <cstdio>

#include "archive/MemberListing.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "platform/system/CodePage.h"
#include "platform/system/SystemInfo.h"
#include "rtl/FormReader.h"
#include "rtl/ProgramArguments.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"
#include "vcl/AnsiText.h"
#include "vcl/Application.h"

namespace qnl {

namespace {

TListedMember Listed(TCustomInstallFile& File) {
  TListedMember member;
  member.Name = File.SourcePath();
  try {
    File.ReadInfoFromArchive();
    member.Size = File.SourceSize();
    member.Date = File.SourceDate();
    member.Version = File.SourceVersion();
    member.Destination = File.GetDestPath();
  } catch (const Exception& e) {
    member.Destination = "(" + e.Message() + ")";
  }
  return member;
}

} // namespace

int ListProjectFiles(const std::string& Format, int Argc, char** Argv, const TMainFormFactory& CreateMainForm) {
  if (Format != "table" && Format != "json") {
    std::fprintf(stderr, "Error: %s must be \"table\" or \"json\", not \"%s\"\n", kListVariable, Format.c_str());
    return 1;
  }
  SetProgramArguments(Argc, Argv);
  TApplication app(Argc, Argv);
  TScopeExit components([&app] { app.DestroyComponents(); });
  try {
    SetAnsiCodePage(MachineCodePage());
    RegisterSetupClasses();
    InstallSession().LookOnly = true;
    TCustomForm* form = CreateMainForm(&app);
    TMemoryStream stream{ReadProjectResource(ModuleFileName())};
    ReadRootComponent(stream, form, MachineAnsiCodePage());
    app.SetMainForm(form);
    // A self-extracting distribution's files lie in the loading program, after its setup archive.
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* install = dynamic_cast<TCustomInstall*>(form->Components(i)))
        if (install->HasSwitch(swSelfExtractor)) install->ReadSelfExtractOffset();
    std::vector<TListedMember> members;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* file = dynamic_cast<TCustomInstallFile*>(form->Components(i))) members.push_back(Listed(*file));
    std::string text = AnsiToUtf8(Format == "json" ? MemberJson(members) : MemberTable(members));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Error: %s\n", AnsiToUtf8(e.what()).c_str());
    return 1;
  }
}

} // namespace qnl
