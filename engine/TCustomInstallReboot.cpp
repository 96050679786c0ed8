// Work left for the next start of Windows: the unfinished list in the install record, the
// RunOnce continuation, the restart, and the continuation itself (-r).
#include <climits>

#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstall.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "settings/routines_Registry.h"
#include "translate/TTranslator.h"

namespace qnl {

namespace {
constexpr int kLocalMachine = 4;
constexpr const char* kUnfinishedKey = "\\Unfinished";
constexpr const char* kLanguageValue = "Language";
constexpr const char* kRunOnceName = "QuenloftUnfinished";

std::string Quoted(const std::string& Text) { return "\"" + Text + "\""; }
} // namespace

const std::string& TCustomInstall::RecordForUnfinished() const {
  const std::string& record = InstallSession().InstallRecordKey;
  if (record.empty()) {
    IEInstall error("The TInstall could not either write or read unfinished business from the registry");
    // The registry's own reason names the file and what the system said about it.
    if (!InstallRecordFailure().empty()) error.SetMessage(error.Message() + ": " + InstallRecordFailure());
    throw error;
  }
  return record;
}

void TCustomInstall::AddUnfinished(const std::string& Name, int32_t Code) {
  const std::string& record = RecordForUnfinished();
  ++FUnfinishedCount;
  RegWriteString(kLocalMachine, record + kUnfinishedKey, Name, IntToStr(Code));
}

void TCustomInstall::ClearUnfinished() { RegDeleteKeyTree(kLocalMachine, RecordForUnfinished() + kUnfinishedKey); }

void TCustomInstall::ReadUnfinished(TStrings* List) {
  const std::string& record = RecordForUnfinished();
  List->Clear();
  std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, record + kUnfinishedKey);
  if (!key) return;
  for (const std::string& name : key->ValueNames()) List->Add(name + ";" + key->ReadString(name).value_or(""));
}

void TCustomInstall::RegisterRunOnce() {
  std::string command = Quoted(GetModuleName()) + " -r ";
  if (HasSwitch(swSelfExtractor))
    command += Quoted("-e" + SwitchArgument(swSelfExtractor)) + " " + Quoted("-s" + RemoveBackSlash(FInstallSource));
  else
    command += Quoted("-s" + RemoveBackSlash(ExtractFileDir(SetupProgramPath())));
  if (HasSwitch(swCleanup)) command += " -c";
  // A second run before the restart finds its continuation registered already; a second
  // entry would start the continuation twice, the second time without an install record.
  if (std::optional<TRegKey> runOnce = TRegKey::Open(TRootKey::rkLocalMachine, kRunOnceKey))
    for (const std::string& name : runOnce->ValueNames())
      if (runOnce->ReadString(name) == command) return;
  if (!qnl::RegisterRunOnce(kRunOnceName, command, true))
    throw IEInstall("Cannot register the install to be run on reboot in the RunOnce key in the registry");
}

void TCustomInstall::StoreLanguage() {
  TTranslator* translator = ActiveTranslator();
  if (!translator) return;
  RegWriteInteger(kLocalMachine, InstallSession().InstallRecordKey, kLanguageValue,
                  static_cast<int32_t>(translator->TranslateIntoLanguage()));
}

void TCustomInstall::RestoreLanguage() {
  TTranslator* translator = ActiveTranslator();
  if (!translator) return;
  int32_t current = static_cast<int32_t>(translator->TranslateIntoLanguage());
  int32_t stored = RegReadInteger(kLocalMachine, InstallSession().InstallRecordKey, kLanguageValue, current);
  // A value that names no language (a damaged record) leaves the current one.
  if (stored >= 0 && stored <= static_cast<int32_t>(qlVietnamese))
    translator->SetTranslateIntoLanguage(static_cast<TQnlfLanguage>(stored));
}

void TCustomInstall::RestartAfterInstall() {
  if (!RestartWindows()) {
    if (OnFailedReboot)
      OnFailedReboot(this);
    else
      Application().MessageBox(TranslateMessage("Could not reboot windows. Please manually reboot windows."),
                               Application().Title(), MB_OK | MB_ICONSTOP);
  }
  Application().Terminate();
}

void TCustomInstall::ContinueAfterReboot() {
  SetRunning(true);
  InstallSession().InstallRecordKey = FindInstallRecord(false);
  RestoreLanguage();
  TStringList items;
  ReadUnfinished(&items);
  // Consumed before it runs: a failing entry is not tried again at every start.
  ClearUnfinished();
  for (int i = 0; i < items.Count(); ++i) {
    const std::string& item = items.Get(i);
    std::string subject = GetField(item, 1, ';');
    int64_t code = 0;
    if (!TryStrToInt(GetField(item, 2, ';'), code) || code < INT32_MIN || code > INT32_MAX)
      throw IEInstall("There is an invalid entry for the unfinished install list %s", {item});
    if (code == 1) {
      TryDeleteFile(subject);
    } else if (code == 0) {
      std::vector<TInstallContainer*> containers = InstallSession().Containers.Data();
      for (TInstallContainer* container : containers)
        // The install component itself is never an entry's subject: it would start over.
        if (container != this && InstallSession().Containers.Contains(container) &&
            SameText(container->Name(), subject))
          container->ContinueAfterReboot();
    }
  }
  GoodEnding();
}

} // namespace qnl
