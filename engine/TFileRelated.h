// An installation object that has an archive: a file container or an install file.
#pragma once

#include <optional>

#include "engine/TInstallObject.h"

namespace qnl {

// ArchiveFileType plus ArchiveFile give the archive path, as DestDirType plus DestDir give
// the destination. It is processed with its container.
// A text made fit for a net archive path: "/" becomes "-", and " * : ; < > ? \ | are dropped.
std::string CleanNetArchiveText(const std::string& Text);

class TFileRelated : public TInstallObject {
  QNL_CLASS(TFileRelated, TInstallObject)
public:
  explicit TFileRelated(TComponent* AOwner);

  const std::string& LocalArchive() const { return FLocalArchive; }
  void SetLocalArchive(const std::string& Value) { FLocalArchive = Value; }
  TlzhCommand AddToArchive() const { return FAddToArchive; }
  void SetAddToArchive(TlzhCommand Value) { FAddToArchive = Value; }
  bool InfoRead() const { return FInfoRead; }
  void SetInfoRead(bool Value) { FInfoRead = Value; }
  const std::string& ArchiveFile() const { return FArchiveFile; }
  TCustomPathSpecifier* ArchiveFileType() const { return FArchiveFileType; }
  bool Net() const { return FNet; }
  // The net location (a TCustomNetInstallLocation) this component's archive is fetched from.
  TComponent* NetLocation() const { return FNetLocation; }
  const TDataReceivedEvent& OnDataReceived() const { return FOnDataReceived; }
  void SetOnDataReceived(TDataReceivedEvent Value) { FOnDataReceived = std::move(Value); }

  // Outside loading, the archive follows the container: the standard container-archive
  // specifier when the new container is file-related, none when that specifier no longer fits.
  void SetContainer(TInstallContainer* Value) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Files and file containers do nothing with a broadcast.
  bool HearsNotify() const override { return false; }
  bool ForgetsOnlyRelatedContainers() const override { return true; }

  // Virtual operations added here, in this order.
  // Download progress from a net location: reported to OnDataReceived, the helpers (-988)
  // and the container (1014).
  virtual void DataReceived(TObject* Sender, const std::string& FileName, int32_t Bytes, int32_t TotalBytes,
                            int32_t FileSize, const void* Buffer);
  virtual void DownloadArchive();
  virtual bool HasLocalArchive();
  virtual void StoreLocalFile(const std::string& Path);
  virtual void SetArchiveFile(const std::string& Value);
  // Outside loading, Value validates this component as its user first.
  virtual void SetArchiveFileType(TCustomPathSpecifier* Value);
  virtual void SetNet(bool Value);
  virtual void SetNetLocation(TComponent* Value);
  // ArchiveFileType's path for this component followed by ArchiveFile, without trailing backslash.
  virtual std::string GetArchivePath();

  // The stored path of this component's downloaded archive ("LocalFile" in the install
  // record), when there is one and it names an existing file.
  std::optional<std::string> LookupLocalFile() const;
  // The net location of this component: its own, else (for an install file) its file
  // container's, else the install component's, else the process-wide current one; or none.
  TComponent* FindNetLocation() const;
  // Where this component's archive lies below the net archive directory (host\directory);
  // IEFileRel_NoNetLocation when there is no net location.
  std::string NetArchivePath() const;

private:
  std::string FLocalArchive;
  TlzhCommand FAddToArchive = lzcOverwrite;
  bool FInfoRead = false;
  std::string FArchiveFile;
  TCustomPathSpecifier* FArchiveFileType = nullptr;
  bool FNet = true;
  TComponent* FNetLocation = nullptr;
  TDataReceivedEvent FOnDataReceived;
};

} // namespace qnl
