// The install component: construction, destruction and the property setters.
#include "engine/TCustomInstall.h"

#include "common/routines_API.h"
#include "engine/InstallSession.h"
#include "engine/InstallThemeBitmap.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "platform/process/Process.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {
TCustomInstall* GCurrentInstall = nullptr;
// The name the build gives the loading program of a distribution.
constexpr const char* LoadingProgramName = "setup.exe";
} // namespace

TCustomInstall* TCustomInstall::Current() { return GCurrentInstall; }

QNL_BEGIN_CLASS(TCustomInstall);
QNL_END_CLASS

TCustomInstall::TCustomInstall(TComponent* AOwner) : TFileContainer(AOwner) {
  SetInstallTypes({itFull});
  FCommandLine.Clear();
  if (GCurrentInstall || CurrentInstallComponent())
    throw IEInstall("The TInstall component does not currently support the use of 2 TInstall components in the "
                    "same project");
  if (!dynamic_cast<TCustomForm*>(AOwner) && !dynamic_cast<TDataModule*>(AOwner))
    throw IEInstall("The owner of the TInstall component must be a form class (a TForm or TDataModule descendant)");

  FBuildInfo = std::make_unique<TBuildInfo>();
  FDialogThemeBitmap = std::make_unique<TPicture>();
  TBitmap theme;
  theme.LoadFromBmp(InstallTheme1Bmp());
  FDialogThemeBitmap->SetGraphic(&theme);
  FInformation = std::make_unique<TInstallInformation>();
  FPresetupFiles = std::make_unique<TStringList>();
  FRunAutomatic = true;
  FUseLoadingProgram = true;

  // The specifiers validate their user against the current install component, so this
  // component is current before it takes its default specifiers.
  GCurrentInstall = this;
  SetCurrentInstallComponent(this);
  {
    // A component that fails to construct is not left current.
    TScopeFail uncurrent([] {
      GCurrentInstall = nullptr;
      SetCurrentInstallComponent(nullptr);
    });
    SetArchiveFileType(StandardPathSpecifiers().Find<TpsMainArchiveFile>());
    SetArchiveFile("");
    SetDestDirType(StandardPathSpecifiers().Find<TpsProgramFiles>());
  }
  SetDestDir("\\MyApplication");
  SetDescription("TInstall component");
  FDistributeType = dtTraditional;
  FAutoMaximizeWindow = true;
  SetFireAfterInstallObjects(false); // this component fires OnAfterInstallObjects itself
  InstallSession().RunState.RunActive = false;
  InstallSession().RunState.ProductName = [this] { return FInformation->FProductName; };

  if (IsDesigning()) {
    CreateDesignTimeTranslator();
  } else {
    FSavedOnException = Application().OnException;
    Application().OnException = [this](TObject* Sender, const std::exception& E) { HandleException(Sender, E); };
    FExceptionHandlerInstalled = true;
  }
}

TCustomInstall::~TCustomInstall() {
  RestoreActivateHandler();
  if (FExceptionHandlerInstalled) Application().OnException = FSavedOnException;
  if (GCurrentInstall == this) {
    GCurrentInstall = nullptr;
    SetCurrentInstallComponent(nullptr);
    InstallSession().RunState = {};
  }
  // The batch removes the temporary setup directory once this program has stopped using it.
  if (FCleanupBatchWritten) WinExec("\"" + FCleanupBatchFile + "\"", SW_HIDE);
}

void TCustomInstall::CreateDesignTimeTranslator() {
  const TClassInfo* translatorClass = FindClass("TTranslator");
  if (!translatorClass || !translatorClass->CreateComponent) throw ENotImplemented("The design-time translator");
  TComponent* owner = Owner();
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (owner->Components(i)->InheritsFrom(*translatorClass)) return;
  FDesignTimeTranslator = translatorClass->CreateComponent(owner);
  for (int suffix = 0;; ++suffix) {
    try {
      FDesignTimeTranslator->SetName(suffix == 0 ? "MainTranslator" : "MainTranslator" + IntToStr(suffix));
      return;
    } catch (const EComponentError&) {
      // the name is taken: try the next suffix
    }
  }
}

void TCustomInstall::Notification(TComponent* AComponent, TOperation Operation) {
  bool netLocationGoes = Operation == opRemove && AComponent && AComponent == NetLocation();
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) {
    FMainForm = nullptr;
    FActivateSaved = false;
  }
  if (AComponent == FDesignTimeTranslator) FDesignTimeTranslator = nullptr;
  if (AComponent == InstallSession().CurrentNetLocation) InstallSession().CurrentNetLocation = nullptr;
  if (netLocationGoes) FDistributeType = dtTraditional; // as when NetLocation is cleared
}

std::optional<std::string> TCustomInstall::SelfExtractorArgument() const {
  if (!HasSwitch(swSelfExtractor)) return std::nullopt;
  return SwitchArgument(swSelfExtractor);
}

std::string TCustomInstall::SetupProgramPath() const {
  // The engine always runs as a program here, never inside a library.
  if (HasSwitch(swSelfExtractor)) return const_cast<TCustomInstall*>(this)->GetArchivePath();
  // Every argument of this program is a switch, so its second argument never names the
  // loading program; the loading program's own name is used instead, which keeps the
  // path's directory the install source.
  if (FUseLoadingProgram) return FInstallSource + "\\" + LoadingProgramName;
  return GetModuleName();
}

void TCustomInstall::SetAutoMaximizeWindow(bool Value) {
  FAutoMaximizeWindow = Value;
  if (Value && !IsLoading()) FHideMainForm = false;
}

void TCustomInstall::SetHideMainForm(bool Value) {
  FHideMainForm = Value;
  if (Value && !IsLoading()) FAutoMaximizeWindow = false;
}

void TCustomInstall::SetBuildInfo(const TBuildInfo* Value) { FBuildInfo->Assign(Value); }

void TCustomInstall::SetDialogThemeBitmap(const TPicture* Value) { FDialogThemeBitmap->Assign(Value); }

void TCustomInstall::SetDistributeType(TDistributeType Value) {
  if (!IsLoading()) {
    if (!IsDesigning()) throw IEInstall("DistributeType can only be set at design-time");
    if (!NetLocation() && Value != dtTraditional)
      throw IEInstallNetLocNil("Must assign a net location via the NetLocation property before you can set the "
                               "distribute type");
  }
  FDistributeType = Value;
}

void TCustomInstall::SetNetLocation(TComponent* Value) {
  inherited::SetNetLocation(Value);
  InstallSession().CurrentNetLocation = Value;
  if (!Value) FDistributeType = dtTraditional;
}

void TCustomInstall::SetPresetupFiles(const TStrings* Value) {
  TStringList kept;
  if (Value)
    for (int i = 0; i < Value->Count(); ++i)
      if (!Trim(Value->Get(i)).empty()) kept.Add(Value->Get(i));
  FPresetupFiles->Assign(&kept);
}

void TCustomInstall::SetUseLoadingProgram(bool Value) {
  FUseLoadingProgram = Value;
  if (Value && !IsLoading()) {
    SetArchiveFileType(StandardPathSpecifiers().Find<TpsMainArchiveFile>());
    SetArchiveFile("");
  }
}

bool TCustomInstall::QueryUserAbort() {
  bool quitOut = true;
  if (OnUserAbort) OnUserAbort(this, quitOut);
  return quitOut;
}

} // namespace qnl
