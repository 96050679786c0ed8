// The install file a project stores.
#pragma once

#include "engine/TCustomInstallFile.h"

namespace qnl {

// Publishes the install file's properties for project streams.
class TInstallFile : public TCustomInstallFile {
  QNL_CLASS(TInstallFile, TCustomInstallFile)
public:
  using TCustomInstallFile::TCustomInstallFile;
};

} // namespace qnl
