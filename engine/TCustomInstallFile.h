// The base of one file of an installation project.
#pragma once

#include "engine/TFileRelated.h"

namespace qnl {

// An install file (registered type 2000). While it exists it is in AllInstallFiles(). Only
// what the file containers' message path reads is here; the file's phases extend it.
class TCustomInstallFile : public TFileRelated {
  QNL_CLASS(TCustomInstallFile, TFileRelated)
public:
  explicit TCustomInstallFile(TComponent* AOwner);
  ~TCustomInstallFile() override;

  int32_t RegisteredType() const override { return 2000; }
  // The file's own installation, which its container's pass runs through Process.
  void InstallObjects() override;

  // File name of the source.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  // Uncompressed size of the source.
  int32_t SourceSize() const { return FSourceSize; }
  void SetSourceSize(int32_t Value) { FSourceSize = Value; }
  // Compressed size of its archive member.
  int32_t PackedSize() const { return FPackedSize; }
  void SetPackedSize(int32_t Value) { FPackedSize = Value; }

private:
  std::string FFileName;
  int32_t FSourceSize = 0;
  int32_t FPackedSize = 0;
};

} // namespace qnl
