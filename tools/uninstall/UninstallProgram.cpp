// QuenloftUninstall.exe's whole run.
#include "tools/uninstall/UninstallProgram.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/InstallLog.h"
#include "common/LongOptions.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/files/DirectoryLock.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "rtl/ProgramArguments.h"
#include "rtl/SysUtils.h"
#include "uninstall/TUninstaller.h"
#include "uninstall/UninstallErrors.h"
#include "vcl/Application.h"

namespace qnl {

namespace {

constexpr TLongOption kOptions[] = {
    {"help", "", "show this text and exit"},
    {"version", "", "show the version and exit"},
    {"unattended", "", "ask nothing: remove, and keep shared files no one else uses"},
    {"quiet", "", "unattended: print only errors"},
    {"log", "FILE", "write a log of every step to FILE"},
};

std::string HelpText() {
  return "Usage: QuenloftUninstall.exe [OPTION]... PRODUCT\n"
         "Removes the installed PRODUCT (the name of its uninstall entry; the words are joined with spaces).\n"
         "The machine is $WINEPREFIX, else the one this program is installed in.\n\nOptions:\n" +
         LongOptionsHelp(kOptions) +
         "\nExit status:\n"
         "   0  removed\n"
         "   1  failed, or the product is not installed\n"
         "   2  cancelled: nothing was removed\n"
         "   3  removed; files in use go at the machine's restart\n"
         "  64  the command line was not understood\n"
         "  75  a setup is running on the same machine\n";
}

struct TUninstallOptions {
  bool Help = false;
  bool Version = false;
  bool Unattended = false;
  bool Quiet = false;
  std::string Log;
  std::string Product;
};

TUninstallOptions ParseOptions(const std::vector<std::string>& Arguments) {
  TUninstallOptions options;
  TParsedArguments parsed = ParseLongOptions(Arguments, kOptions);
  for (const TGivenOption& given : parsed.Options) {
    std::string name = given.Option->Name;
    if (name == "help") options.Help = true;
    if (name == "version") options.Version = true;
    if (name == "unattended") options.Unattended = true;
    if (name == "quiet") options.Quiet = true;
    if (name == "log") options.Log = std::filesystem::absolute(given.Value).lexically_normal().string();
  }
  // The registered command is "<path> <product>" unquoted: a name with blanks comes in words.
  for (const std::string& word : parsed.Words) options.Product += (options.Product.empty() ? "" : " ") + word;
  if (!options.Help && !options.Version && Trim(options.Product).empty()) throw EUsage("no product named");
  return options;
}

// Without WINEPREFIX, the machine this program was installed into: .../drive_c/... lies in it.
void ChooseMachine() {
  if (GetEnvironmentVariable("WINEPREFIX")) return;
  std::string self = host::RunningExecutablePath();
  size_t at = self.rfind("/drive_c/");
  if (at != std::string::npos && at > 0) SetEnvironmentVariable("WINEPREFIX", self.substr(0, at));
}

std::string TerminalText(const std::string& Text) {
  try {
    return AnsiToUtf8(Text);
  } catch (const std::exception&) {
    return Text;
  }
}

// Asks through the application's message boxes: a person on a display, QNL_MESSAGEBOX_COMMAND,
// or, with nobody to answer, each box's default button.
class TMessageBoxQuestions : public IUninstallQuestions {
public:
  TMessageBoxQuestions(bool Unattended, std::string Caption) : FUnattended(Unattended), FCaption(std::move(Caption)) {}

  bool RemoveSharedFile(const std::string& Path) override {
    // Unattended, a shared file stays: another program may still need it without counting.
    if (FUnattended) return false;
    return Application().MessageBox("No other installed program is registered as using the shared file\n" + Path +
                                        "\n\nRemove it too? Keeping it is safe; a program that uses it without "
                                        "counting would stop working without it.",
                                    FCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }

private:
  bool FUnattended;
  std::string FCaption;
};

class TUninstallRun {
public:
  TUninstallRun(TUninstallOptions Options, int Argc, char** Argv) : FOptions(std::move(Options)) {
    if (!FOptions.Unattended) FApplication = std::make_unique<TApplication>(Argc, Argv);
  }

  int Run() {
    TUninstallRecord record;
    try {
      record = ReadUninstallRecord(FOptions.Product);
    } catch (const ENotInstalled& e) {
      return Fail(e.Message());
    }
    FCaption = record.DisplayName + " Uninstall";
    if (FApplication) FApplication->SetTitle(FCaption);
    std::unique_ptr<TDirectoryLock> claim = TMachine::Current().ClaimForInstallation();
    if (!claim) {
      Tell("A setup is running on this machine; run the uninstall again when it has ended.", MB_ICONSTOP);
      return End(kUninstallMachineBusy);
    }
    if (!FOptions.Unattended &&
        Application().MessageBox("Remove " + record.DisplayName + " and all of its parts from this machine?", FCaption,
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
      Tell("Nothing was removed.", MB_ICONINFORMATION);
      return End(kUninstallCancelled);
    }
    std::string product = record.DisplayName;
    if (InstallLog().On())
      InstallLog().Step("start", "uninstall of " + product + ", machine " + TMachine::Current().Directory());
    TMessageBoxQuestions questions(FOptions.Unattended, FCaption);
    TUninstallOutcome outcome = TUninstaller(std::move(record), questions).Run();
    return Report(product, outcome);
  }

  int Fail(const std::string& Message) {
    if (InstallLog().On()) InstallLog().Step("error", Message);
    if (FApplication)
      Application().MessageBox(Message, FCaption.empty() ? "Uninstall" : FCaption, MB_OK | MB_ICONSTOP);
    else
      std::fprintf(stderr, "QuenloftUninstall: %s\n", TerminalText(Message).c_str());
    return End(kUninstallFailed);
  }

private:
  int Report(const std::string& Product, const TUninstallOutcome& Outcome) {
    for (const std::string& warning : Outcome.Warnings) Tell(warning, MB_ICONWARNING);
    std::string text = Product + " was removed.";
    if (!Outcome.Kept.empty()) {
      text += "\nKept:";
      for (const std::string& kept : Outcome.Kept) text += "\n  " + kept;
    }
    if (!Outcome.AtRestart.empty()) {
      text += "\nThese files are in use; they will be removed when the machine restarts:";
      for (const std::string& file : Outcome.AtRestart) text += "\n  " + file;
    }
    Tell(text, MB_ICONINFORMATION);
    return End(Outcome.AtRestart.empty() ? kUninstallSucceeded : kUninstallNeedsRestart);
  }

  // A message for the person: a box when one was asked before, else a line on stderr.
  void Tell(const std::string& Text, int Icon) {
    if (FApplication)
      Application().MessageBox(Text, FCaption, MB_OK | Icon);
    else if (!FOptions.Quiet || Icon == MB_ICONSTOP)
      std::fprintf(stderr, "%s\n", TerminalText(Text).c_str());
  }

  int End(int Status) {
    if (InstallLog().On()) InstallLog().Step("end", "exit status " + IntToStr(Status));
    return Status;
  }

  TUninstallOptions FOptions;
  std::unique_ptr<TApplication> FApplication;
  std::string FCaption;
};

} // namespace

int RunUninstallProgram(int Argc, char** Argv) {
  SetProgramArguments(Argc, Argv);
  TUninstallOptions options;
  try {
    options = ParseOptions(ProgramArguments());
  } catch (const EUsage& e) {
    std::fprintf(stderr, "QuenloftUninstall: %s\n\n%s", e.what(), HelpText().c_str());
    return kUninstallUsageError;
  }
  if (options.Help) {
    std::fputs(HelpText().c_str(), stdout);
    return kUninstallSucceeded;
  }
  if (options.Version) {
    std::printf("QuenloftUninstall %s\n", QNL_VERSION);
    return kUninstallSucceeded;
  }
  if (!options.Log.empty()) SetEnvironmentVariable(kInstallLogVariable, options.Log);
  ChooseMachine();
  try {
    TUninstallRun run(options, Argc, Argv);
    try {
      return run.Run();
    } catch (const std::exception& e) {
      return run.Fail(e.what());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "QuenloftUninstall: %s\n", TerminalText(e.what()).c_str());
    return kUninstallFailed;
  }
}

} // namespace qnl
