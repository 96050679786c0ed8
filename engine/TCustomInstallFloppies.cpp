// The transfer of a self-extracting distribution onto floppy disks.
#include <algorithm>
#include <vector>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "engine/SelfExtractingSetup.h"
#include "engine/TCustomInstall.h"
#include "platform/OSError.h"
#include "platform/files/FileCreation.h"
#include "platform/files/FileStream.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr int64_t kBlockSize = 8192;

// The trailer must describe the file it ends: a loading program's own trailer (all zero) or a
// damaged file would otherwise put meaningless bytes on the disks and report success.
void CheckSelfExtractInfo(const TSelfExtractInfo& Info, int64_t FileSize, const std::string& FileName) {
  int64_t trailerStart = FileSize - TSelfExtractInfo::Size;
  bool setupFits = Info.SetupArchiveStart > 0 && Info.SetupArchiveEnd >= Info.SetupArchiveStart &&
                   Info.SetupArchiveEnd < trailerStart;
  bool mainFits = (Info.MainArchiveStart == 0 && Info.MainArchiveEnd == 0) ||
                  (Info.MainArchiveStart > Info.SetupArchiveEnd && Info.MainArchiveEnd >= Info.MainArchiveStart &&
                   Info.MainArchiveEnd < trailerStart);
  if (!setupFits || !mainFits)
    throw IEInstall("The self-extract info at the end of %s does not describe a self-extracting setup program",
                    {FileName});
}

// Copies the next Count bytes of Source into the new file Target in blocks, letting the user
// interface process its messages after each block. False when the disk took fewer bytes.
bool CopyBlocks(TStream& Source, int64_t Count, const std::string& Target) {
  TFileStream target(Target, fmCreate);
  std::vector<char> buffer(kBlockSize);
  while (Count > 0) {
    int64_t block = std::min(Count, kBlockSize);
    Source.ReadBuffer(buffer.data(), block);
    try {
      target.Write(buffer.data(), block);
    } catch (const EDiskFull&) {
      return false;
    }
    Count -= block;
    Application().ProcessMessages();
  }
  return true;
}

// The archive component asks for disks and reports progress here only during the transfer.
class TDiskHandlersSet {
public:
  explicit TDiskHandlersSet(TQnlfCompress& Archive) : FArchive(Archive) {
    FArchive.OnNewDisk = [](TQnlfCompress*, int DiskNumber, std::string&) {
      // The default cursor would be set here and restored afterwards; there is no cursor yet.
      int answer = Application().MessageBox(Format(TranslateMessage("Please insert disk %d"), {DiskNumber}),
                                            Application().Title(), MB_OKCANCEL | MB_ICONQUESTION);
      if (answer != IDOK) throw IEInstall("Aborted by user");
    };
    FArchive.OnStatus = [](TQnlfCompress*, const TlzhFileStats&) { Application().ProcessMessages(); };
  }
  ~TDiskHandlersSet() {
    FArchive.OnNewDisk = nullptr;
    FArchive.OnStatus = nullptr;
  }
  TDiskHandlersSet(const TDiskHandlersSet&) = delete;
  TDiskHandlersSet& operator=(const TDiskHandlersSet&) = delete;

private:
  TQnlfCompress& FArchive;
};

// The first disk's loading program (which finds its archives beside itself) and setup.1.
void CopyFirstDisk(const std::string& SelfExtracting, const TSelfExtractInfo& Info, const std::string& Root) {
  TFileStream source(SelfExtracting, fmOpenRead | fmShareDenyNone);
  CheckSelfExtractInfo(Info, source.Size(), SelfExtracting);
  std::string setupExe = Root + "setup.exe";
  if (!CopyBlocks(source, Info.SetupArchiveStart, setupExe))
    throw IEInstall("Cannot create setup.exe on the A drive. Probably not enough room");
  AppendNotSelfExtractTrailer(setupExe);
  // The copy is a program as its source is; a disk whose file system keeps no such mark
  // refuses quietly, and its mount decides.
  try {
    SetExecutable(setupExe);
  } catch (const std::exception&) {}
  if (!CopyBlocks(source, int64_t(Info.SetupArchiveEnd) - Info.SetupArchiveStart + 1, Root + "setup.1"))
    throw IEInstall("Cannot create setup.1 on the A drive. Probably not enough room");
}

void CopyToDisks(TCustomInstall& Install, const std::string& Drive) {
  if (!Install.HasSwitch(swSelfExtractor))
    throw IEInstall("Sorry... You can only transfer this installation to floppies through the self-extracting "
                    "file. Usage example: setup.exe *TODISK");
  std::string selfExtracting = Install.GetArchivePath();
  TSelfExtractInfo info = ReadSelfExtractInfo(selfExtracting);
  std::string root = AddBackSlash(Drive);
  Install.PushStatusMessage(TranslateMessage("Transferring this installation to floppies. Please wait..."));
  try {
    CopyFirstDisk(selfExtracting, info, root);
  } catch (...) {
    Install.PopStatusMessage();
    throw;
  }
  Install.PopStatusMessage();
  // A project without files was built without files.1: nothing more goes on the disks.
  if (info.MainArchiveStart == 0) return;
  TQnlfCompress& archive = QnlfCompress();
  TDiskHandlersSet handlers(archive);
  archive.SetCompressedFile(selfExtracting);
  archive.SetOffset(info.MainArchiveStart);
  archive.SpanToDisks(root, "files.1");
  // A stop asked for through the archive's Abort ends the spanning without an error, and
  // leaves the last disk incomplete.
  if (archive.Abort()) throw IEInstall("Aborted by user");
}

} // namespace

void TCustomInstall::TransferToFloppies(const std::string& Drive) {
  // The hourglass cursor of the transfer is left out: the application has no cursor yet.
  std::string failure;
  try {
    CopyToDisks(*this, Drive);
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = TranslateMessage("Unknown error");
  }
  // The loading program unpacked this program into a temporary directory for the transfer
  // as for an installation (-c), and waits for it to go: it goes the same way.
  try {
    Cleanup();
  } catch (const std::exception& e) {
    if (failure.empty()) failure = e.what();
  }
  Application().SetExitCode(failure.empty() ? kExitInstalled : kExitFailed);
  if (!failure.empty()) Application().MessageBox(failure, Application().Title(), MB_OK);
  Application().Terminate();
}

} // namespace qnl
