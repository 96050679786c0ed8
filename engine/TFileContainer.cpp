// The file container: its figures, events, sizes and the passes it runs.
#include "engine/TFileContainer.h"

#include "engine/TCustomInstallFile.h"
#include "engine/TpsFileContainer.h"
#include "rtl/SysUtils.h"

namespace qnl {

QNL_BEGIN_CLASS(TFileContainer).Prop("Description", &C::Description, &C::SetDescription);
QNL_END_CLASS

TFileContainer::TFileContainer(TComponent* AOwner) : TFileRelated(AOwner) { SetFireAfterInstallObjects(true); }

TFileContainer::~TFileContainer() {
  FreeInstallFiles();
  if (FOwnSpecifier && !FOwnSpecifier->IsDestroying()) {
    TCustomPathSpecifier* own = FOwnSpecifier;
    FOwnSpecifier = nullptr;
    delete own;
  }
}

void TFileContainer::MakeOwnSpecifier() {
  if (!CreatesOwnSpecifier()) return;
  auto* specifier = new TpsFileContainer(Owner());
  specifier->SetFileContainer(this);
  FOwnSpecifier = specifier;
  FreeNotification(specifier);
  specifier->NameAutomatically();
}

bool TFileContainer::HasNetFiles() const {
  for (TCustomInstallFile* file : IndexedInstallFiles())
    if (file->Net()) return true;
  return false;
}

TCustomInstallFile* TFileContainer::FindInstallFile(const std::string& SourcePath) const {
  for (TCustomInstallFile* file : IndexedInstallFiles())
    if (SameText(file->SourcePath(), SourcePath)) return file;
  return nullptr;
}

void TFileContainer::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FOwnSpecifier) FOwnSpecifier = nullptr;
}

bool TFileContainer::CreatesOwnSpecifier() const { return true; }

void TFileContainer::DoNewDisk(TCustomInstallFile* InstallFile, TDiskParameter* DiskParameter) {
  std::string path = DiskParameter->Path;
  if (FOnNewDisk) {
    FOnNewDisk(InstallFile, DiskParameter->NewDisk, path);
    // Tells the file that a handler dealt with the disk change.
    InstallFile->SetTag(1);
  }
  DiskParameter->Path = path;
}

void TFileContainer::DoReplacing(TCustomInstallFile* InstallFile) {
  if (FOnReplacing) FOnReplacing(InstallFile);
  Notify(icReplacingFileInUse, InstallFile);
}

void TFileContainer::DoStatus(TCustomInstallFile* InstallFile, TFileStatusParameter* FileStatusParameter) {
  if (FOnStatus) FOnStatus(InstallFile, FileStatusParameter->FilePercentDone, FileStatusParameter->TotalPercentDone);
  Notify(icProgress, FileStatusParameter);
}

int32_t TFileContainer::SumFileSizes(bool All, bool Recurse) {
  // Sizes are 32-bit figures; the sum wraps rather than overflowing undefinedly.
  int64_t sum = 0;
  for (int i = 0; i < HelperCount(); ++i) {
    TInstallContainer* helper = Helpers(i);
    if (!All && !helper->IsIncluded()) continue;
    if (auto* file = dynamic_cast<TCustomInstallFile*>(helper))
      sum += file->SourceSize();
    else if (auto* container = dynamic_cast<TFileContainer*>(helper); container && Recurse)
      sum += container->TotalFilesSize(All);
  }
  return static_cast<int32_t>(sum);
}

void TFileContainer::FreeInstallFiles() { FreeComps(TCustomInstallFile::StaticClassInfo()); }

int32_t TFileContainer::TotalPackedSize(bool All) {
  int64_t sum = 0;
  for (int i = 0; i < HelperCount(); ++i) {
    TInstallContainer* helper = Helpers(i);
    if (!All && !helper->IsIncluded()) continue;
    if (auto* file = dynamic_cast<TCustomInstallFile*>(helper))
      sum += file->PackedSize();
    else if (auto* container = dynamic_cast<TFileContainer*>(helper))
      sum += container->TotalPackedSize(All);
  }
  return static_cast<int32_t>(sum);
}

int32_t TFileContainer::OwnFilesSize(bool All) { return SumFileSizes(All, false); }

int32_t TFileContainer::TotalFilesSize(bool All) { return SumFileSizes(All, true); }

int TFileContainer::InstallFileCount() const { return static_cast<int>(IndexedInstallFiles().size()); }

const std::vector<TCustomInstallFile*>& TFileContainer::IndexedInstallFiles() const {
  // Every change of the helper list (added, removed, freed, reordered) moves its version on.
  if (FInstallFilesVersion != HelpersVersion()) {
    FInstallFiles.clear();
    for (int i = 0; i < HelperCount(); ++i)
      if (Helpers(i)->InheritsFrom(TCustomInstallFile::StaticClassInfo()))
        FInstallFiles.push_back(static_cast<TCustomInstallFile*>(Helpers(i)));
    FInstallFilesVersion = HelpersVersion();
  }
  return FInstallFiles;
}

TCustomInstallFile* TFileContainer::InstallFiles(int Index) const {
  const std::vector<TCustomInstallFile*>& files = IndexedInstallFiles();
  if (Index >= 0 && Index < static_cast<int>(files.size())) return files[Index];
  // Out of range: the same error as the generic look-up gives.
  return static_cast<TCustomInstallFile*>(Comp(Index, TCustomInstallFile::StaticClassInfo()));
}

} // namespace qnl
