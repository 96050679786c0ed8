// The install file's phases: reading its figures, compressing, copying, installing.
#include <memory>

#include "archive/TQnlfCompress.h"
#include "archive/TVersionResource.h"
#include "common/routines_Strings.h"
#include "engine/InstallLogSteps.h"
#include "engine/InstallParameters.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "rtl/Forms.h"

namespace qnl {

namespace {

constexpr const char* kArchiveBlank =
    "Cannot either compress or decompress the following file because it's archive file property is blank. File is :%s";
constexpr const char* kDestinationBlank =
    "Cannot compress,copy, or install the following file because it's destination directory is blank. File is :%s";

// The archive component's events point at one file only while it works on it.
class TRelayAttachment {
public:
  TRelayAttachment(TQnlfCompress& Component, TlzhFileStatsEvent Status, TlzhNewDiskEvent NewDisk)
      : FComponent(Component) {
    FComponent.OnAborted = [](TObject*) { throw EQXUserAbort(); };
    FComponent.OnStatus = std::move(Status);
    FComponent.OnNewDisk = std::move(NewDisk);
  }
  ~TRelayAttachment() {
    FComponent.OnStatus = nullptr;
    FComponent.OnNewDisk = nullptr;
    FComponent.OnAborted = nullptr;
  }

private:
  TQnlfCompress& FComponent;
};

TDistributeType CurrentDistributeType() {
  TCustomInstall* install = TCustomInstall::Current();
  return install ? install->DistributeType() : dtTraditionalNet;
}

// The shared component when the install component reads the same archive, else a private one.
TQnlfCompress& ChooseComponent(const std::string& Archive, std::unique_ptr<TQnlfCompress>& Private) {
  TCustomInstall* install = TCustomInstall::Current();
  if (install && SameText(install->GetArchivePath(), Archive)) return QnlfCompress();
  Private = std::make_unique<TQnlfCompress>(nullptr);
  return *Private;
}

// The main archive is looked for in NewDir from now on when it lay in OldDir, the directory of
// the disk that was asked for, so that later files read the disk where it was found.
void FollowDisk(TComponent* Asking, const std::string& OldDir, const std::string& NewDir) {
  if (NewDir.empty() || SameText(OldDir, NewDir)) return;
  auto* main =
      dynamic_cast<TpsMainArchiveFile*>(StandardPathSpecifiers().FindInstance(TpsMainArchiveFile::StaticClassInfo()));
  if (!main) return;
  // Only a disk of the main archive's medium moves it: a private archive elsewhere does not.
  try {
    if (!SameText(RemoveBackSlash(ExtractFileDir(main->GetPath(Asking))), OldDir)) return;
  } catch (const std::exception&) {
    return; // no install component: there is no main archive to follow
  }
  main->SetDirectory(NewDir);
}

} // namespace

void TCustomInstallFile::ToContainer(int32_t Code, TObject* PO) {
  if (Container()) Container()->DoInformationEventControl(this, Code, PO);
}

void TCustomInstallFile::RunPhase(TInstallFileState Phase, const std::function<void()>& Body) {
  FState = Phase;
  try {
    Body();
  } catch (const EAbort&) {
    // A silent abort skips this phase of this one file.
  } catch (...) {
    FState = ifsNone;
    try {
      Notify(icOperationEnded);
    } catch (...) {}
    throw;
  }
  FState = ifsNone;
  Notify(icOperationEnded);
}

void TCustomInstallFile::StatusRelay(const TlzhFileStats& Stats) {
  TFileStatusParameter status;
  status.BytesDone = Stats.BytesDone;
  status.FilePercentDone = Stats.FilePercentDone;
  status.FileName = FFileName;
  status.Stats = Stats;
  status.TotalBytesDone = Stats.TotalBytesDone;
  status.TotalPercentDone = Stats.TotalPercentDone;
  if (OnStatus) OnStatus(this, status.FilePercentDone, status.TotalPercentDone);
  Notify(icProgress, &status);
  TList pair;
  pair.Add(this);
  pair.Add(&status);
  int32_t code = FState == ifsCompress ? ucCompressProgress : FState == ifsCopying ? ucCopyProgress : ucInstallProgress;
  ToContainer(code, &pair);
}

void TCustomInstallFile::DiskRelay(TQnlfCompress& Component, int DiskNumber, std::string& Path) {
  SetTag(0);
  TDiskParameter disk;
  disk.NewDisk = DiskNumber;
  const std::string archiveDir = RemoveBackSlash(ExtractFileDir(GetArchivePath()));
  disk.Path = archiveDir;
  if (OnNewDisk) OnNewDisk(this, DiskNumber, disk.Path);
  TList pair;
  pair.Add(this);
  pair.Add(&disk);
  Notify(icNewDiskNeeded, &pair);
  ToContainer(ucNewDisk, &pair);
  if (!OnNewDisk && Tag() == 0) {
    // Without a change-disk dialog the application's message box asks. Its Cancel stops the
    // component that is extracting, which may be a private one.
    std::string text = Format(TranslateMessage("Please insert disk #%d"), {DiskNumber});
    if (Application().MessageBox(text, Application().Title(), MB_OKCANCEL | MB_ICONINFORMATION) == IDCANCEL)
      Component.SetAbort(true);
  }
  Path = RemoveBackSlash(disk.Path);
  FollowDisk(this, archiveDir, Path);
}

void TCustomInstallFile::ReadInfoFromFile() {
  std::string source = SourcePath();
  std::unique_ptr<TFileStream> stream;
  TFileIdentity identity;
  try {
    // Opened for shared reading, as a file another program may hold open.
    stream = std::make_unique<TFileStream>(source, fmOpenRead | fmShareDenyNone);
    // Size and date from the file already open: one look at it instead of three.
    identity = stream->OpenedIdentity();
    SetSourceSize(static_cast<int32_t>(identity.Size));
  } catch (const std::exception&) {
    throw IECustomInstallFile(
        "Could not open or find the following file when trying to read the Size, Date, and Version :%s", {source});
  }
  SetSourceDate(FileDateTimeOf(identity));
  // The version from the file already open: a build looks at thousands of files this way.
  SetSourceVersion(ReadFileVersionString(*stream));
}

std::string TCustomInstallFile::NetArchiveToRead(bool& Skip) {
  Skip = false;
  if (HasOwnArchive() && HasLocalArchive()) {
    if (Trim(LocalArchive()).empty()) SetLocalArchive(LookupLocalFile().value_or(""));
    return LocalArchive();
  }
  auto* container = dynamic_cast<TFileContainer*>(Container());
  if (!container)
    throw IECustomInstallFile(
        "%s cannot perform ReadInfoFromArchive because either no container is assigned or the container is not "
        "TFileContainer",
        {Name()});
  if (!container->HasLocalArchive()) {
    Skip = true;
    return {};
  }
  if (Trim(container->LocalArchive()).empty()) return container->LookupLocalFile().value_or("");
  return container->LocalArchive();
}

void TCustomInstallFile::ReadInfoFromArchive() {
  auto* container = dynamic_cast<TFileContainer*>(Container());
  if (InfoRead() && container && container->PassState() == TPassState::pstInstall) return;
  TDistributeType type = CurrentDistributeType();
  std::string archive;
  if (type == dtTraditional || (type == dtTraditionalNet && !Net())) {
    archive = GetArchivePath();
  } else {
    bool skip = false;
    archive = NetArchiveToRead(skip);
    if (skip) return;
  }
  if (Trim(archive).empty()) throw IECustomInstallFile(kArchiveBlank, {FFileName});
  std::unique_ptr<TQnlfCompress> priv;
  TQnlfCompress& component = ChooseComponent(archive, priv);
  component.SetCompressedFile(archive);
  if (!component.IsOpen()) component.OpenArchive();
  TlzhFileStats stats = component.GetFileStats(component.IndexOfUniqueID(FUniqueID));
  SetPackedSize(stats.CompressedSize);
  SetSourceDate(stats.Header.FileDate());
  SetSourceSize(stats.FileSize);
  SetSourceVersion(stats.Header.FileVersion());
  MemberNameRead(stats.Header.FileName());
  SetInfoRead(true);
}

void TCustomInstallFile::Compress() {
  RunPhase(ifsCompress, [this] {
    if (OnBeforeCompress) OnBeforeCompress(this);
    ToContainer(ucBeforeCompressFile, this);
    std::string archive = GetArchivePath();
    if (Trim(archive).empty()) throw IECustomInstallFile(kArchiveBlank, {FFileName});
    if (!Include()) return;
    ForceDirectories(ExtractFileDir(archive));
    TQnlfCompress& component = QnlfCompress();
    TRelayAttachment relays(
        component, [this](TQnlfCompress*, const TlzhFileStats& S) { StatusRelay(S); }, nullptr);
    component.SetCompressedFile(archive);
    component.FilesToProcess().Clear();
    component.FilesToProcess().Add(SourcePath());
    component.Add(AddToArchive(), FUniqueID);
    FArchived = 2;
    FArchivedInto = component.CompressedFile();
    if (OnAfterCompress) OnAfterCompress(this);
    ToContainer(ucFileCompressed, this);
  });
}

void TCustomInstallFile::Copy() {
  RunPhase(ifsCopying, [this] {
    if (OnBeforeCopy) OnBeforeCopy(this);
    ToContainer(ucBeforeCopyFile, this);
    if (!Include()) return;
    std::string destDir = GetDestDir();
    if (Trim(destDir).empty()) throw IECustomInstallFile(kDestinationBlank, {Name()});
    ForceDirectories(destDir);
    TQnlfCompress& component = QnlfCompress();
    TRelayAttachment relays(
        component, [this](TQnlfCompress*, const TlzhFileStats& S) { StatusRelay(S); }, nullptr);
    component.SetOverwrite(FOverwriteMode);
    component.CopyFile(SourcePath(), GetDestPath());
    if (OnAfterCopy) OnAfterCopy(this);
    ToContainer(ucFileCopied, this);
  });
}

void TCustomInstallFile::InstallObjects() {
  FRebootReplace = false;
  ToContainer(ucBeforeInstallFile, this);
  try {
    if (OnBeforeInstall) OnBeforeInstall(this);
  } catch (const EAbort&) {
    ToContainer(ucFileSkipped, this);
    return;
  }
  std::string destDir = GetDestDir();
  if (Trim(destDir).empty()) throw IECustomInstallFile(kDestinationBlank, {Name()});
  std::string dest = GetDestPath();
  // One look at the destination serves the overwrite decision and the in-use check.
  TPathKind destKind = PathKind(dest);
  FDestExisted = destKind == TPathKind::pkFile;
  FDestFound = destKind != TPathKind::pkNothing;
  int decision = IsFileNewerByInfo(FSourceVersion, dest, FOverwriteMode, FSourceDate, FDestFound);
  FReplacing = decision == nrNewer || decision == nrFailed;
  if (FReplacing) try {
      ReplaceInUse();
    } catch (const EAbort&) {
      FReplacing = false;
    }
  if (!FReplacing) {
    LogFileKept(decision, FOverwriteMode, SourcePath(), dest);
    ToContainer(ucFileKept, this);
    AfterInstallSteps();
    if (OnAfterInstall) OnAfterInstall(this);
    ToContainer(ucFileInstalled, this);
    TFileRelated::InstallObjects();
    return;
  }

  if (std::optional<std::string> stored = LookupLocalFile()) SetLocalArchive(*stored);
  TDistributeType type = CurrentDistributeType();
  bool net = type != dtTraditional && (Net() || type == dtWeb);
  std::unique_ptr<TQnlfCompress> priv;
  TQnlfCompress* component = nullptr;
  if (net) {
    auto* container = dynamic_cast<TFileContainer*>(Container());
    if (HasOwnArchive())
      DownloadArchive();
    else if (container && !container->HasLocalArchive())
      container->DownloadArchive();
    priv = std::make_unique<TQnlfCompress>(nullptr);
    component = priv.get();
  } else {
    component = &ChooseComponent(GetArchivePath(), priv);
  }

  FState = ifsInstall;
  try {
    ForceDirectories(destDir);
    std::string archive = GetArchivePath();
    if (net) {
      bool skip = false;
      std::string local = NetArchiveToRead(skip);
      if (!skip && !Trim(local).empty()) archive = local;
    }
    if (Trim(archive).empty()) throw IECustomInstallFile(kArchiveBlank, {FFileName});
    {
      // A Cancel in a progress window sets the shared component's flag: a private component
      // takes it over at its next progress point, so that its extraction stops too.
      const bool sharedAborted = QnlfCompress().Abort();
      TRelayAttachment relays(
          *component,
          [this, sharedAborted](TQnlfCompress* C, const TlzhFileStats& S) {
            StatusRelay(S);
            if (!sharedAborted && QnlfCompress().Abort()) C->SetAbort(true);
          },
          [this](TQnlfCompress* C, int Disk, std::string& Path) { DiskRelay(*C, Disk, Path); });
      component->SetCompressedFile(archive);
      component->SetExtractDirectory(destDir);
      component->ExtractName = FDestName;
      // The overwrite decision is taken: the member is written whole beside the old file and
      // only then renamed over it, so a failure on the way leaves the old file as it was.
      component->SetOverwrite(owAlways);
      component->FilesToProcess().Clear();
      component->FilesToProcess().Add(SourcePath());
      component->Extract();
    }
    if (FRebootReplace) RegisterRestartReplace();
    LogFileInstalled(FRebootReplace, SourcePath(), archive, dest);
    AfterInstallSteps();
    if (OnAfterInstall) OnAfterInstall(this);
    ToContainer(ucFileInstalled, this);
    TFileRelated::InstallObjects();
  } catch (...) {
    if (component->Abort()) QnlfCompress().SetAbort(true);
    FState = ifsNone;
    try {
      Notify(icOperationEnded);
    } catch (...) {}
    throw;
  }
  if (component->Abort()) QnlfCompress().SetAbort(true);
  try {
    Notify(icOperationEnded);
  } catch (...) {
    component->SetAbort(true);
    FState = ifsNone;
    throw;
  }
  FState = ifsNone;
}

} // namespace qnl
