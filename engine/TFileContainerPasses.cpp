// The file container's passes: install, copy and compress, and the walks that read figures.
#include "archive/TQnlfCompress.h"
#include "archive/TWorkAhead.h"
#include "common/routines_Strings.h"
#include "engine/ContainerPathSpecifiers.h"
#include "engine/InstallPasses.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

namespace {

// Resets PassState on every exit; with Notify, also sends the end of the operation.
class TPassGuard {
public:
  TPassGuard(TFileContainer* Container, TPassState State, bool NotifyEnd)
      : FContainer(Container), FNotifyEnd(NotifyEnd) {
    Container->SetPassState(State);
  }
  ~TPassGuard() noexcept(false) {
    FContainer->SetPassState(TPassState::pstNone);
    // A failure of the end notice must not replace the error already on its way.
    if (FNotifyEnd && std::uncaught_exceptions() == FExceptions)
      FContainer->Notify(icOperationEnded);
    else if (FNotifyEnd)
      try {
        FContainer->Notify(icOperationEnded);
      } catch (...) {}
  }

private:
  TFileContainer* FContainer;
  bool FNotifyEnd;
  int FExceptions = std::uncaught_exceptions();
};

// The four values the compress pass changes on a helper, restored through the setters.
struct TSavedArchiveValues {
  TFileRelated* Helper;
  TlzhCommand AddToArchive;
  std::string ArchiveFile;
  TCustomPathSpecifier* ArchiveFileType;
  bool Include;
  explicit TSavedArchiveValues(TFileRelated* H)
      : Helper(H), AddToArchive(H->AddToArchive()), ArchiveFile(H->ArchiveFile()),
        ArchiveFileType(H->ArchiveFileType()), Include(H->Include()) {}
  void Restore() const {
    Helper->SetAddToArchive(AddToArchive);
    Helper->SetArchiveFile(ArchiveFile);
    Helper->SetArchiveFileType(ArchiveFileType);
    Helper->SetInclude(Include);
  }
};

// The text after the first ":" (the whole path when it has none).
std::string WithoutDrive(const std::string& Path) {
  size_t colon = Path.find(':');
  return colon == std::string::npos ? Path : Path.substr(colon + 1);
}

// Where the files of Container and of the containers its pass installs that come from the
// installation's own archive will go, into Dirs. Left out are the files whose destination exists
// and may be kept: the work ahead would mostly be thrown away.
void AddDestinations(TFileContainer& Container, const std::string& Archive,
                     std::vector<std::pair<std::string, std::string>>& Dirs) {
  // One walk over the helpers: finding the n-th file walks them each time.
  for (int i = 0; i < Container.HelperCount(); ++i) {
    TInstallContainer* helper = Container.Helpers(i);
    if (!helper->Include() || !helper->ProcessWithContainer()) continue;
    if (auto* inner = dynamic_cast<TFileContainer*>(helper)) {
      AddDestinations(*inner, Archive, Dirs);
      continue;
    }
    auto* file = dynamic_cast<TCustomInstallFile*>(helper);
    if (!file || file->Net()) continue;
    // A destination that the project's own handler gives is asked for at the file's turn only,
    // never earlier or once more.
    if (TCustomPathSpecifier* type = file->DestDirType(); type && type->OnGetPath()) continue;
    try {
      if (!SameText(file->GetArchivePath(), Archive)) continue;
      if (file->OverwriteMode() != owAlways && FileExists(file->GetDestPath())) continue;
      Dirs.emplace_back(file->SourcePath(), file->GetDestDir());
    } catch (const std::exception&) {
      // Its own turn reports what is wrong with it.
    }
  }
}

int passDepth = 0;

} // namespace

TInstallPassScope::TInstallPassScope() : FOutermost(passDepth++ == 0) {}

TInstallPassScope::~TInstallPassScope() {
  if (--passDepth == 0) QnlfCompress().ForgetReadAhead();
}

void ExpectDestinations(const std::vector<TFileContainer*>& Containers) {
  TCustomInstall* install = TCustomInstall::Current();
  // One thread writes nothing ahead: nothing to look up for it.
  if (!install || ArchiveThreads() <= 1) return;
  std::string archive;
  try {
    archive = install->GetArchivePath();
  } catch (const std::exception&) {
    return;
  }
  std::vector<std::pair<std::string, std::string>> dirs;
  for (TFileContainer* container : Containers) AddDestinations(*container, archive, dirs);
  if (!dirs.empty()) QnlfCompress().ExpectDestinations(archive, dirs);
}

void TFileContainer::ReadInfoFromFile() {
  for (TCustomInstallFile* file : InstallFileList()) file->ReadInfoFromFile();
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* container = dynamic_cast<TFileContainer*>(Helpers(i))) container->ReadInfoFromFile();
}

void TFileContainer::ReadInfoFromArchive() {
  // The hourglass belongs to a screen; this build has none to show it on.
  for (int i = 0; i < InstallFileCount(); ++i) InstallFiles(i)->ReadInfoFromArchive();
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* container = dynamic_cast<TFileContainer*>(Helpers(i))) container->ReadInfoFromArchive();
  SetInfoRead(true);
}

std::string TFileContainer::GetLocalArchivePath() {
  if (std::optional<std::string> path = LookupLocalFile()) return *path;
  throw IEFileContainer(
      "%s has not yet downloaded the archive file and therefore cannot retrieve the path of the archive file",
      {Name()});
}

void TFileContainer::InstallObjects() {
  TPassGuard guard(this, TPassState::pstInstall, false);
  // What is written ahead for the files of this pass is not needed after it; the outermost
  // pass frees it.
  TInstallPassScope passes;
  // The folders that the files' destinations name are read once for the pass, and the drive
  // links are looked at again only when a disk is asked for.
  TFolderLookupsOnce folders;
  TDriveLinksHeld drives;
  if (std::optional<std::string> path = LookupLocalFile()) SetLocalArchive(*path);
  ReadInfoFromArchive();
  Notify(icInstallPassBegins);
  if (Container()) Container()->DoInformationEventControl(this, ucPassBegins, this);
  SetPassTotalSize(TotalFilesSize(false));
  SetPassDoneSize(0);
  if (OnBeforeInstallObjects()) OnBeforeInstallObjects()(this);
  // The outermost pass announces the files of all the passes within it.
  if (passes.Outermost()) ExpectDestinations({this});
  TFileRelated::InstallObjects();
  if (Container()) Container()->DoInformationEventControl(this, ucPassEnds, this);
  bool aborted = QnlfCompress().Abort();
  Notify(icOperationEnded);
  if (FireAfterInstallObjects() && OnAfterInstallObjects()) OnAfterInstallObjects()(this, aborted);
}

void TFileContainer::Copy() {
  TPassGuard guard(this, TPassState::pstCopy, true);
  if (OnBeforeProcess()) OnBeforeProcess()(this);
  if (!Include()) return;
  if (Container()) Container()->DoInformationEventControl(this, ucPassBegins, this);
  ReadInfoFromFile();
  SetPassTotalSize(TotalFilesSize(false));
  SetPassDoneSize(0);
  for (int i = 0; i < InstallFileCount(); ++i) InstallFiles(i)->Copy();
  for (int i = 0; i < HelperCount(); ++i)
    if (auto* container = dynamic_cast<TFileContainer*>(Helpers(i))) container->Copy();
  if (OnAfterProcess()) OnAfterProcess()(this);
  if (Container()) Container()->DoInformationEventControl(this, ucPassEnds, this);
}

std::vector<std::string> TFileContainer::SourcesToCompress(bool IncludeExcluded) {
  std::vector<std::string> sources;
  for (TCustomInstallFile* file : InstallFileList()) {
    if (!file->Include() && !IncludeExcluded) continue;
    try {
      sources.push_back(file->SourcePath());
    } catch (const std::exception&) {
      // Its own turn reports what is wrong with it.
    }
  }
  return sources;
}

void TFileContainer::Compress(TCompressOptions Options) {
  if ((Options & coForceNetFilesLocal) && (Options & coForceFilesNet))
    throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  TPassGuard guard(this, TPassState::pstCompress, true);
  if (OnBeforeProcess()) OnBeforeProcess()(this);
  if (!Include()) return;
  if (Container()) Container()->DoInformationEventControl(this, ucPassBegins, this);
  // As in the install pass: the folders are read once, and the drive links are taken as
  // resolved (a build asks for no disk), from the first look at the sources on.
  TFolderLookupsOnce folders;
  TDriveLinksHeld drives;
  ReadInfoFromFile();
  SetPassTotalSize(TotalFilesSize((Options & coIncludeExcluded) != 0));
  SetPassDoneSize(0);

  std::string archiveDir = RemoveBackSlash(ExtractFileDir(GetArchivePath()));
  try {
    SetLocalArchive(archiveDir + "\\" + NetArchivePath() + "\\" + Name() + ".1");
  } catch (const IEFileRel_NoNetLocation&) {
    if (!(Options & coForceNetFilesLocal)) throw;
  }
  if (AddToArchive() == lzcOverwrite) {
    std::string own = ChangeFileExt(GetArchivePath(), ".1");
    if (FileExists(own)) try {
        DeleteFile(own);
      } catch (const std::exception&) {
        throw IEFileContainer("%s cannot delete the archive file %s", {Name(), own});
      }
  }
  if ((HasNetFiles() || ((Options & coForceFilesNet) && InstallFileCount() > 0)) && FileExists(LocalArchive())) try {
      DeleteFile(LocalArchive());
    } catch (const std::exception&) {
      throw IEFileContainer("%s cannot delete the archive file %s", {Name(), LocalArchive()});
    }

  // The files of this container go to the archive one by one, with the project's events in
  // between; announced, they are deflated ahead on the other cores. The outermost pass drops
  // what was not used.
  static int compressDepth = 0;
  ++compressDepth;
  TScopeExit endAnnouncement([] {
    if (--compressDepth == 0) QnlfCompress().ForgetExpectedSources();
  });
  QnlfCompress().ExpectSources(SourcesToCompress((Options & coIncludeExcluded) != 0));

  for (int i = 0; i < HelperCount(); ++i) {
    auto* helper = dynamic_cast<TFileRelated*>(Helpers(i));
    if (!helper) continue;
    auto* file = dynamic_cast<TCustomInstallFile*>(helper);
    bool netFile = file && !(Options & coForceNetFilesLocal) && (file->Net() || (Options & coForceFilesNet));
    TSavedArchiveValues saved(helper);
    try {
      if (!helper->Include() && (Options & coIncludeExcluded)) helper->SetInclude(true);
      if (netFile) {
        std::string own = archiveDir + "\\" + helper->NetArchivePath() + "\\" + helper->Name() + ".1";
        bool ownArchive = helper->NetLocation() || file->HasOwnArchive();
        helper->SetAddToArchive(helper->NetLocation() ? lzcOverwrite : lzcOnlyAdd);
        helper->SetArchiveFileType(nullptr);
        helper->SetArchiveFile(ownArchive ? own : LocalArchive());
        file->SetArchivedOwnNet(1);
      } else if (TCustomPathSpecifier* type = helper->ArchiveFileType();
                 type && type->InheritsFrom(TpsContainerArchiveFile::StaticClassInfo())) {
        helper->SetAddToArchive(lzcOnlyAdd);
      } else if (type && type->InheritsFrom(TpsInstallSource::StaticClassInfo())) {
        TFileContainer* top =
            TCustomInstall::Current() ? static_cast<TFileContainer*>(TCustomInstall::Current()) : this;
        std::string path = RemoveBackSlash(ExtractFileDir(top->GetArchivePath())) + helper->ArchiveFile();
        helper->SetAddToArchive(lzcOverwrite);
        helper->SetArchiveFileType(nullptr);
        helper->SetArchiveFile(path);
      } else if (Options & coRelocateArchives) {
        std::string path = archiveDir + WithoutDrive(helper->GetArchivePath());
        helper->SetAddToArchive(lzcOverwrite);
        helper->SetArchiveFileType(nullptr);
        helper->SetArchiveFile(path);
      }
      if (auto* container = dynamic_cast<TFileContainer*>(helper))
        container->Compress(Options);
      else if (file)
        file->Compress();
    } catch (...) {
      saved.Restore();
      throw;
    }
    saved.Restore();
  }
  if (OnAfterProcess()) OnAfterProcess()(this);
  if (Container()) Container()->DoInformationEventControl(this, ucPassEnds, this);
}

} // namespace qnl
