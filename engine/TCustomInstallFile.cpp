// The install file's data: construction, UniqueID, the derived-property rules.
#include "engine/TCustomInstallFile.h"

#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/SelfRegisterMark.h"
#include "engine/TFileContainer.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::string UpperExtension(const std::string& FileName) {
  size_t dot = FileName.find_last_of(".\\");
  if (dot == std::string::npos || FileName[dot] != '.') return {};
  return UpperCase(FileName.substr(dot));
}

// A name Windows keeps in the directory it is given: no folder, drive or stream part, no control
// character, and not one that Windows reduces to the directory itself or its parent (it drops
// trailing dots and blanks). Empty is the default of a new file.
bool IsPlainFileName(const std::string& Name) {
  if (Name.empty()) return true;
  if (Name.find_first_of("\\/:") != std::string::npos) return false;
  for (unsigned char c : Name)
    if (c < 32) return false;
  return Name.find_first_not_of(". ") != std::string::npos;
}

template <class T>
TCustomPathSpecifier* Standard() {
  return StandardPathSpecifiers().FindInstance(T::StaticClassInfo());
}

} // namespace

QNL_BEGIN_CLASS(TCustomInstallFile);
QNL_END_CLASS

TCustomInstallFile::TCustomInstallFile(TComponent* AOwner) : TFileRelated(AOwner) {
  SetNet(false);
  SetInclude(true);
  InstallSession().InstallFiles.Add(this);
  AllocateUniqueID();
}

TCustomInstallFile::TCustomInstallFile(TComponent* AOwner, const std::string& SourcePath) : TCustomInstallFile(AOwner) {
  size_t slash = SourcePath.find_last_of('\\');
  SetIncludeFromDir(slash == std::string::npos ? std::string() : SourcePath.substr(0, slash));
  SetFileName(slash == std::string::npos ? SourcePath : SourcePath.substr(slash + 1));
}

TCustomInstallFile::TCustomInstallFile(TComponent* AOwner, TInstallContainer* AContainer, const std::string& SourcePath)
    : TCustomInstallFile(AOwner, SourcePath) {
  SetContainer(AContainer);
}

TCustomInstallFile::~TCustomInstallFile() {
  InstallSession().UniqueIDs.Release(FUniqueID);
  InstallSession().FailedRegistrations.Remove(this);
  InstallSession().InstallFiles.RemoveLast(this); // a form frees its files last first
}

void TCustomInstallFile::AllocateUniqueID() { FUniqueID = InstallSession().UniqueIDs.Allocate(); }

void TCustomInstallFile::SetUniqueID(int32_t Value) { FUniqueID = Value; }

void TCustomInstallFile::Loaded() {
  inherited::Loaded();
  InstallSession().UniqueIDs.MarkLoaded(FUniqueID);
  CheckDestName(FDestName);
}

void TCustomInstallFile::CheckDestName(const std::string& Value) const {
  if (!IsPlainFileName(Value))
    throw IECustomInstallFile(
        "The following TInstallFile component %s has a DestName that is not a file name: %s. A DestName may not "
        "contain \\, / or :, nor control characters, nor consist of dots and blanks only",
        {Name(), Value});
}

std::string TCustomInstallFile::SourcePath() const { return AddBackSlash(FIncludeFromDir) + FFileName; }

// Every path in the destination is composed here, so that a name that slipped past the setters
// still never reaches outside it.
std::string TCustomInstallFile::GetDestPath() {
  CheckDestName(FDestName);
  return AddBackSlash(GetDestDir()) + FDestName;
}

std::string TCustomInstallFile::InstalledPath() {
  if (!FRebootReplace) return GetDestPath();
  CheckDestName(FReplacedName);
  return AddBackSlash(GetDestDir()) + FReplacedName;
}

bool TCustomInstallFile::HasOwnArchive() const {
  return NetLocation() || FOverwriteMode == owVersion || FOverwriteMode == owDate || FOverwriteMode == owVersionDate;
}

void TCustomInstallFile::CheckContainerAndSource(TInstallContainer* NewContainer, const std::string& NewDir,
                                                 const std::string& NewName) const {
  if (!NewContainer) return;
  auto* container = dynamic_cast<TFileContainer*>(NewContainer);
  if (!container)
    throw IECustomInstallFile(
        "The following TInstallFile component %s requires the Container property to be a component descended "
        "from the TFileContainer component",
        {Name()});
  std::string source = AddBackSlash(NewDir) + NewName;
  TCustomInstallFile* known = container->FindInstallFile(source);
  if (known && known != this) throw IEfcDuplicateFile("There is already a file with the name :%s", {source});
}

void TCustomInstallFile::SetContainer(TInstallContainer* Value) {
  if (!IsLoading() && Value != Container()) CheckContainerAndSource(Value, FIncludeFromDir, FFileName);
  inherited::SetContainer(Value);
}

void TCustomInstallFile::SetFileName(const std::string& Value) {
  if (IsLoading()) {
    FFileName = Value;
    return;
  }
  if (Value != FFileName) CheckContainerAndSource(Container(), FIncludeFromDir, Value);
  if (!Trim(Value).empty()) CheckDestName(Value);
  FFileName = Value;
  if (!Trim(Value).empty()) FDestName = Value;
  DeriveFromFileName();
}

void TCustomInstallFile::SetIncludeFromDir(const std::string& Value) {
  if (IsLoading()) {
    FIncludeFromDir = Value;
    return;
  }
  if (Value != FIncludeFromDir) CheckContainerAndSource(Container(), Value, FFileName);
  FIncludeFromDir = Value;
  DeriveFromFileName();
}

void TCustomInstallFile::DeriveFromFileName() {
  std::string ext = UpperExtension(FFileName);
  FRegisterAsHelp = ext == ".HLP" || ext == ".CNT";
  SetActiveX(ext == ".OCX" || HasSelfRegisterMarkSafely(SourcePath()));
}

void TCustomInstallFile::SetDestName(const std::string& Value) {
  if (!IsLoading()) CheckDestName(Value);
  FDestName = Value;
}

void TCustomInstallFile::SetDestDir(const std::string& Value) { inherited::SetDestDir(Value); }

void TCustomInstallFile::SetDestDirType(TCustomPathSpecifier* Value) {
  bool changed = Value != DestDirType();
  inherited::SetDestDirType(Value);
  if (IsLoading() || !changed || !Value) return;
  std::string ext = UpperExtension(FFileName);
  if (ext.size() != 4 || (ext != ".DLL" && ext != ".OCX" && ext != ".BLL" && ext != ".EXE")) return;
  if (Value->InheritsFrom(TpsWindow::StaticClassInfo()) || Value->InheritsFrom(TpsBDEDLL::StaticClassInfo()))
    FOverwriteMode = owVersionDate;
  else if (Value->InheritsFrom(TpsSystem::StaticClassInfo()))
    SetFileType(iftSystemWideDLL);
}

void TCustomInstallFile::SetActiveX(bool Value) {
  bool turnsOn = Value && !FActiveX;
  FActiveX = Value;
  if (!IsLoading() && turnsOn) SetFileType(iftSystemWideDLL);
}

void TCustomInstallFile::SetFileType(TInstallFileType Value) {
  bool changed = Value != FFileType;
  FFileType = Value;
  if (IsLoading()) return;
  if (changed) ApplyFileTypeRules();
  PlaceByFileType();
}

void TCustomInstallFile::ApplyFileTypeRules() {
  switch (FFileType) {
    case iftJustADLL:
    case iftApplicationSpecificDLL: FOverwriteMode = owVersionDate; break;
    case iftVendorSharedDLL:
    case iftSystemWideDLL:
      FUpdateDLLCounter = true;
      FOverwriteMode = owVersionDate;
      break;
    default: break;
  }
}

void TCustomInstallFile::PlaceByFileType() {
  // Setting the type moves the destination; a project without the standard instances (no
  // form owner) keeps its own.
  TCustomPathSpecifier* specifier = nullptr;
  std::string dir;
  switch (FFileType) {
    case iftApplicationSpecificDLL: specifier = Standard<TpsMainInstall>(), dir = "\\System"; break;
    case iftVendorSharedDLL: specifier = Standard<TpsCommonFiles>(), dir = "\\System"; break;
    case iftSystemWideDLL: specifier = Standard<TpsSystem>(); break;
    default: return;
  }
  if (!specifier) return;
  inherited::SetDestDir(dir);
  inherited::SetDestDirType(specifier);
}

void TCustomInstallFile::SetState(TInstallFileState Value) {
  switch (Value) {
    case ifsCompress: Compress(); break;
    case ifsInstall: InstallObjects(); break;
    case ifsCopying: Copy(); break;
    default: break;
  }
  FState = ifsNone;
}

} // namespace qnl
