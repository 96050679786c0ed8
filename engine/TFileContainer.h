// A file container: holds install files and other file containers and runs their passes.
#pragma once

#include <vector>

#include "engine/InstallParameters.h"
#include "engine/TFileRelated.h"

namespace qnl {

class TCustomInstallFile;

// Which pass a file container runs; the upward message path acts only during a pass.
enum class TPassState : uint8_t { pstNone = 0, pstCompress = 1, pstInstall = 2, pstCopy = 3 };

// Options of the compress pass, a set of bit values.
using TCompressOptions = uint32_t;
constexpr TCompressOptions coRelocateArchives = 2;
// Passed by the build with every distribute type; file containers give it no meaning.
constexpr TCompressOptions coBuildDistribution = 4;
constexpr TCompressOptions coForceNetFilesLocal = 8;
constexpr TCompressOptions coForceFilesNet = 16;
constexpr TCompressOptions coIncludeExcluded = 32;

// A file container (registered type 1000). Its upward path turns its files' reports into
// progress figures and events while a pass runs, and passes every report on to its own
// container; while idle it ignores them. Its install files and its own path specifier die
// with it.
class TFileContainer : public TFileRelated {
  QNL_CLASS(TFileContainer, TFileRelated)
public:
  explicit TFileContainer(TComponent* AOwner);
  ~TFileContainer() override;

  int32_t PassTotalSize() const { return FPassTotalSize; }
  void SetPassTotalSize(int32_t Value) { FPassTotalSize = Value; }
  int32_t PassDoneSize() const { return FPassDoneSize; }
  void SetPassDoneSize(int32_t Value) { FPassDoneSize = Value; }
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }
  const TInstallFileStatusEvent& OnStatus() const { return FOnStatus; }
  void SetOnStatus(TInstallFileStatusEvent Value) { FOnStatus = std::move(Value); }
  const TInstallFileNewDiskEvent& OnNewDisk() const { return FOnNewDisk; }
  void SetOnNewDisk(TInstallFileNewDiskEvent Value) { FOnNewDisk = std::move(Value); }
  const TInstallFileNotifyEvent& OnReplacing() const { return FOnReplacing; }
  void SetOnReplacing(TInstallFileNotifyEvent Value) { FOnReplacing = std::move(Value); }
  TPassState PassState() const { return FPassState; }
  void SetPassState(TPassState Value) { FPassState = Value; }
  bool FireAfterInstallObjects() const { return FFireAfterInstallObjects; }
  void SetFireAfterInstallObjects(bool Value) { FFireAfterInstallObjects = Value; }
  const TAfterInstallObjectsEvent& OnAfterInstallObjects() const { return FOnAfterInstallObjects; }
  void SetOnAfterInstallObjects(TAfterInstallObjectsEvent Value) { FOnAfterInstallObjects = std::move(Value); }
  const TInstallContainerNotifyEvent& OnBeforeInstallObjects() const { return FOnBeforeInstallObjects; }
  void SetOnBeforeInstallObjects(TInstallContainerNotifyEvent Value) { FOnBeforeInstallObjects = std::move(Value); }
  // The container's own path specifier (a TpsFileContainer), or none.
  TCustomPathSpecifier* OwnSpecifier() const { return FOwnSpecifier; }
  void SetOwnSpecifier(TCustomPathSpecifier* Value) { FOwnSpecifier = Value; }

  int32_t RegisteredType() const override { return 1000; }
  // The install pass.
  void InstallObjects() override;
  // The upward path during a pass: codes 1001-1016.
  void DoInformationEventControl(TObject* Sender, int32_t Code, TObject* PO) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Virtual operations added here, in this order.
  virtual bool CreatesOwnSpecifier() const;
  // OnNewDisk (with the file's Tag set to 1 when it ran) on DiskParameter's Path.
  virtual void DoNewDisk(TCustomInstallFile* InstallFile, TDiskParameter* DiskParameter);
  // OnReplacing, then Notify(-997, InstallFile).
  virtual void DoReplacing(TCustomInstallFile* InstallFile);
  // OnStatus, then Notify(-998, FileStatusParameter).
  virtual void DoStatus(TCustomInstallFile* InstallFile, TFileStatusParameter* FileStatusParameter);
  // SourceSize of the install files (all, or the included ones), and with Recurse the
  // TotalFilesSize of the file containers chosen the same way.
  virtual int32_t SumFileSizes(bool All, bool Recurse);
  virtual void Copy();
  virtual void FreeInstallFiles();
  virtual void Compress(TCompressOptions Options);
  // The source paths of the install files a compress pass takes, in order.
  std::vector<std::string> SourcesToCompress(bool IncludeExcluded);
  virtual int32_t TotalPackedSize(bool All);
  virtual std::string GetLocalArchivePath();
  virtual int32_t OwnFilesSize(bool All);
  virtual int32_t TotalFilesSize(bool All);
  virtual void ReadInfoFromArchive();
  virtual void ReadInfoFromFile();

  // Both answer from an index of the install files (so that a loop over thousands of files
  // stays linear), built again at the first use after the helper list changed.
  int InstallFileCount() const;
  TCustomInstallFile* InstallFiles(int Index) const;
  // The install-file helpers in order: a copy, which a pass may walk while files leave.
  std::vector<TCustomInstallFile*> InstallFileList() const { return IndexedInstallFiles(); }
  // Some install-file helper has Net set.
  bool HasNetFiles() const;
  // The first install-file helper whose source path equals SourcePath ignoring case, or none.
  TCustomInstallFile* FindInstallFile(const std::string& SourcePath) const;

protected:
  // Called by the concrete containers' constructors (a base constructor cannot ask the
  // derived class): when CreatesOwnSpecifier answers True, creates and names OwnSpecifier.
  void MakeOwnSpecifier();

private:
  void ProgressStep(TObject* PO);
  void NewDiskStep(TObject* PO);
  void CompletionStep(TObject* PO);
  void DownloadStep(TObject* PO);
  // Sets the totals of P from this container's pass figures and reports them.
  void ReportStatus(TCustomInstallFile* File, TFileStatusParameter* P);
  const std::vector<TCustomInstallFile*>& IndexedInstallFiles() const;

  int32_t FPassTotalSize = 0;
  int32_t FPassDoneSize = 0;
  std::string FDescription;
  TInstallFileStatusEvent FOnStatus;
  TInstallFileNewDiskEvent FOnNewDisk;
  TInstallFileNotifyEvent FOnReplacing;
  TPassState FPassState = TPassState::pstNone;
  bool FFireAfterInstallObjects = true;
  TAfterInstallObjectsEvent FOnAfterInstallObjects;
  TInstallContainerNotifyEvent FOnBeforeInstallObjects;
  TCustomPathSpecifier* FOwnSpecifier = nullptr;
  mutable std::vector<TCustomInstallFile*> FInstallFiles;
  mutable uint64_t FInstallFilesVersion = UINT64_MAX;
};

} // namespace qnl
