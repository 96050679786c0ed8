// The install file's phases: reading its figures, compressing, copying, installing.
#include "common/routines_Strings.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "archive/TVersionResource.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"

namespace qnl {

void TCustomInstallFile::ReadInfoFromFile() {
  std::string source = SourcePath();
  try {
    // Opened for shared reading, as a file another program may hold open.
    TFileStream stream(source, fmOpenRead | fmShareDenyNone);
    SetSourceSize(static_cast<int32_t>(stream.Size()));
  } catch (const std::exception&) {
    throw IECustomInstallFile(
        "Could not open or find the following file when trying to read the Size, Date, and Version :%s", {source});
  }
  SetSourceDate(FileDateTime(source));
  SetSourceVersion(ReadFileVersionString(source));
}

void TCustomInstallFile::ReadInfoFromArchive() { throw ENotImplemented("TCustomInstallFile.ReadInfoFromArchive"); }

void TCustomInstallFile::Compress() { throw ENotImplemented("TCustomInstallFile.Compress"); }

void TCustomInstallFile::Copy() { throw ENotImplemented("TCustomInstallFile.Copy"); }

void TCustomInstallFile::InstallObjects() { throw ENotImplemented("TCustomInstallFile.Install"); }

void TCustomInstallFile::StatusRelay(const TlzhFileStats&) { throw ENotImplemented("TCustomInstallFile.StatusRelay"); }

void TCustomInstallFile::DiskRelay(int, std::string&) { throw ENotImplemented("TCustomInstallFile.DiskRelay"); }

void TCustomInstallFile::ToContainer(int32_t Code, TObject* PO) {
  if (Container()) Container()->DoInformationEventControl(this, Code, PO);
}

void TCustomInstallFile::RunPhase(TInstallFileState, const std::function<void()>&) {
  throw ENotImplemented("TCustomInstallFile.RunPhase");
}

} // namespace qnl
