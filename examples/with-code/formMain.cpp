// The example project's handlers.
#include "formMain.h"

#include "engine/TCustomInstallFile.h"

namespace qnl {

// The handlers are published by name: a stored "OnAfterInitialized = Install1AfterInitialized"
// binds to the method of that name when the project is read.
QNL_BEGIN_CLASS(TformMain)
    .Method("Install1AfterInitialized", &C::Install1AfterInitialized)
    .Method("Install1BeforeRunFile", &C::Install1BeforeRunFile);
QNL_END_CLASS

void TformMain::Install1AfterInitialized(TObject* Sender) {
  auto* install = static_cast<TCustomInstall*>(Sender);
  const TInstallInformation* info = install->Information();
  SetCaption(info->FProductName + " " + info->FVersion + " Setup");
}

void TformMain::Install1BeforeRunFile(TCustomInstall* Install, TCustomInstallFile* FileToRun, bool& DefaultAction) {
  // Without anyone to answer (no display, no QNL_MESSAGEBOX_COMMAND) the box takes its default, "Yes".
  std::string question = "Start " + FileToRun->DestName() + " now?";
  DefaultAction = Application().MessageBox(question, Caption(), MB_YESNO) == IDYES;
}

} // namespace qnl
