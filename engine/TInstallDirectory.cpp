// Install directories.
#include "engine/TInstallDirectory.h"

#include "engine/FileContainerProperties.h"
#include "engine/TCustomInstallFile.h"
#include "platform/files/Files.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallDirectory)
QNL_FILE_CONTAINER_PROPERTIES;
QNL_END_CLASS

TInstallDirectory::TInstallDirectory(TComponent* AOwner) : TFileContainer(AOwner) {
  SetProcessWithContainer(true);
  SetInclude(true);
  MakeOwnSpecifier();
}

void TInstallDirectory::RemoveMissingFiles() {
  for (int i = InstallFileCount() - 1; i >= 0; --i) {
    TCustomInstallFile* file = InstallFiles(i);
    if (!FileExists(file->SourcePath())) {
      file->SetContainer(nullptr);
      delete file;
    }
  }
}

} // namespace qnl
