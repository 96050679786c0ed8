// The setup program's entry.
#include "setup/SetupProgram.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/InstallLog.h"
#include "common/routines_Strings.h"
#include "platform/Machine.h"
#include "platform/files/DirectoryLock.h"
#include "platform/files/FileStream.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "platform/system/SystemInfo.h"
#include "rtl/FormReader.h"
#include "rtl/ProgramArguments.h"
#include "rtl/ResourceBundle.h"
#include "setup/DebugTree.h"
#include "setup/ProjectCheck.h"
#include "setup/ProjectListing.h"
#include "vcl/AnsiText.h"
#include "vcl/Application.h"
#include "vcl/Controls.h"

#include "archive/TQnlfCompress.h"
#include "controls/RegisterDecorationClasses.h"
#include "dialogs/AnswerFile.h"
#include "dialogs/MessagePacing.h"
#include "dialogs/RegisterDialogClasses.h"
#include "engine/BuiltInPathSpecifiers.h"
#include "engine/InstallLogSteps.h"
#include "engine/RegisterEngineClasses.h"
#include "engine/TCommandLine.h"
#include "engine/TCustomInstall.h"
#include "links/RegisterLinksClasses.h"
#include "translate/TTranslator.h"

namespace qnl {

namespace {

bool DebugTreeRequested() {
  const char* v = std::getenv("QNL_DEBUG_TREE");
  return v && std::string(v) == "1";
}

bool HasInstallComponent(const TComponent& Form) {
  const TClassInfo* install = FindClass("TInstall");
  if (!install) return false;
  for (int i = 0; i < Form.ComponentCount(); ++i)
    if (Form.Components(i)->InheritsFrom(*install)) return true;
  return false;
}

// A project without an install component has nothing to run: end the loop once the
// main form's own activation handler has run.
void EndAfterFirstActivation(TCustomForm& Form) {
  TNotifyEvent own = Form.OnActivate;
  Form.OnActivate = [own](TObject* Sender) {
    Application().Terminate();
    if (own) own(Sender);
  };
}

// The running program's file, opened for reading.
std::unique_ptr<TStream> OpenProgramFile(const std::string& ProgramFile) {
  return std::make_unique<TFileStream>(ProgramFile, fmOpenRead | fmShareDenyNone);
}

// Whether the command line asks for a run that changes the machine (not a build or a
// transfer to floppies). A command line that does not parse is the install component's to
// report.
bool InstallsOnMachine(int Argc, char** Argv) {
  TCommandLine commandLine;
  try {
    commandLine.Parse(std::vector<std::string>(Argv + 1, Argv + Argc));
  } catch (const std::exception&) {
    return false;
  }
  return !commandLine.Has(swBuild) && !commandLine.Has(swFloppies);
}

} // namespace

void RegisterSetupClasses() {
  RegisterFormsClasses();
  RegisterPathSpecifierClasses();
  RegisterEngineClasses();
  RegisterLinksClasses();
  RegisterDialogClasses();
  RegisterTranslateClasses();
  RegisterControlsClasses();
  RegisterDecorationClasses();
}

std::string ReadProjectResource(const std::string& ProgramFile) {
  std::unique_ptr<TStream> file = OpenProgramFile(ProgramFile);
  std::optional<TResourceBundle> bundle = TResourceBundle::Open(*file);
  const TResourceEntry* entry = bundle ? bundle->Find(kProjectResourceName) : nullptr;
  if (!entry)
    throw EResourceError(ProgramFile + " carries no project (no " + kProjectResourceName +
                         " resource); make a setup program with \"quenloft compile\"");
  return bundle->Read(*file, *entry);
}

int RunSetupProgram(int Argc, char** Argv, const TMainFormFactory& CreateMainForm) {
  if (std::optional<std::string> list = GetEnvironmentVariable(kListVariable))
    return ListProjectFiles(*list, Argc, Argv, CreateMainForm);
  SetProgramArguments(Argc, Argv);
  if (const char* form = std::getenv("QNL_CHECK_PROJECT")) return RunProjectCheck(form, Argc, Argv, CreateMainForm);
  std::unique_ptr<TApplication> app;
  try {
    app = std::make_unique<TApplication>(Argc, Argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Error: %s\n", e.what());
    return 1;
  }
  try {
    SetAnsiCodePage(MachineCodePage());
    RegisterSetupClasses();
    // Windows stay current and a progress window's Cancel answers while files are extracted.
    TQnlfCompress::SetMessagePump(ProcessMessagesPaced);
    // As in the framework, the application's title (the caption of its message boxes) is
    // the program's name.
    app->SetTitle(ChangeFileExt(ExtractFileName(ModuleFileName()), ""));
    std::string project = ReadProjectResource(ModuleFileName());

    // Two installations at once would interleave their registry and file changes.
    std::unique_ptr<TDirectoryLock> claim;
    if (InstallsOnMachine(Argc, Argv) && !(claim = TMachine::Current().ClaimForInstallation())) {
      app->ShowException(Exception("Another setup is running on this machine; start this one when it has ended."));
      return kExitSetupRunning;
    }
    app->OnBoxAnswered = LogMessageBox;
    // A bad answer is reported before anything is installed.
    InstallAnswerHooks();
    try {
      GivenAnswers();
    } catch (const EAnswerFile& e) {
      app->ShowException(e);
      return kExitAnswerFile;
    }

    // The application owns the form, as the framework's CreateForm does; it becomes the
    // main form once it is read, so that its loaded components see no main form yet.
    TCustomForm* form = CreateMainForm(app.get());
    TMemoryStream stream(std::move(project));
    ReadRootComponent(stream, form, MachineAnsiCodePage());
    app->SetMainForm(form);
    try {
      if (form->OnCreate) form->OnCreate(form);
    } catch (...) {
      app->HandleException(form);
    }

    bool debugTree = DebugTreeRequested();
    if (debugTree) {
      std::string tree = AnsiToUtf8(DescribeComponentTree(*form));
      std::fwrite(tree.data(), 1, tree.size(), stdout);
      std::fflush(stdout);
    }
    if (!HasInstallComponent(*form) && (debugTree || !app->HasDisplay())) EndAfterFirstActivation(*form);
    app->Run();
    int status = app->ExitCode();
    if (InstallLog().On()) InstallLog().Step("end", "exit status " + std::to_string(status));
    app->DestroyComponents(); // the forms go while their windows' application still exists
    return status;
  } catch (...) {
    app->HandleException(nullptr);
    return app->ExitCode() != 0 ? app->ExitCode() : 1;
  }
}

} // namespace qnl
