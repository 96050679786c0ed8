// The list of the built-in specifier classes, CreateMissing and the hook for new containers.
#include "engine/BuiltInPathSpecifiers.h"

#include "engine/ContainerPathSpecifiers.h"
#include "paths/StandardPathSpecifiers.h"
#include "rtl/Forms.h"

namespace qnl {

TPathSpecifierClassList& PathSpecifierClasses() {
  static auto* list = [] {
    auto* classes = new TPathSpecifierClassList;
    for (const TClassInfo* c :
         {&TpsBDEDLL::StaticClassInfo(), &TpsCommonFiles::StaticClassInfo(),
          &TpsContainerArchiveFile::StaticClassInfo(), &TpsContainerDestDir::StaticClassInfo(),
          &TpsDesktopMenu::StaticClassInfo(), &TpsInstallSource::StaticClassInfo(), &TpsMainInstall::StaticClassInfo(),
          &TpsProgramFiles::StaticClassInfo(), &TpsProgramMenu::StaticClassInfo(), &TpsStartMenu::StaticClassInfo(),
          &TpsStartupMenu::StaticClassInfo(), &TpsSystem::StaticClassInfo(), &TpsMainArchiveFile::StaticClassInfo(),
          &TpsWindow::StaticClassInfo()})
      classes->Add(c);
    return classes;
  }();
  return *list;
}

void RegisterPathSpecifierClasses() {
  RegisterClass(TCustomPathSpecifier::StaticClassInfo());
  RegisterClass(TStandardPathSpecifier::StaticClassInfo());
  TPathSpecifierClassList& classes = PathSpecifierClasses();
  for (int i = 0; i < classes.Count(); ++i) RegisterClass(*classes.Items(i));
}

void CreateMissing(TComponent* Owner, bool OnlyMissing) {
  TPathSpecifierClassList& classes = PathSpecifierClasses();
  for (int i = 0; i < classes.Count(); ++i) {
    const TClassInfo& cls = *classes.Items(i);
    if (OnlyMissing && PathSpecifiers().FindInstance(cls)) continue;
    auto* specifier = static_cast<TCustomPathSpecifier*>(cls.CreateComponent(Owner));
    try {
      specifier->SetName(specifier->DefaultName());
    } catch (...) {
      delete specifier; // a clashing name leaves no nameless instance behind
      throw;
    }
  }
}

void EnsureStandardPathSpecifiers(TComponent* Owner) {
  if (dynamic_cast<TCustomForm*>(Owner) || dynamic_cast<TDataModule*>(Owner)) CreateMissing(Owner, true);
}

} // namespace qnl
