// The base of every installation component: the helper list and the two message paths.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/types_Quenloft.h"
#include "engine/InstallEvents.h"
#include "engine/exceptions_Engine.h"
#include "paths/IInstallContainer.h"
#include "rtl/Classes.h"

namespace qnl {

class TCustomPathSpecifier;
class TFileContainer;

// Codes of the downward path (Notify, received in InformationEvent).
enum : int32_t {
  icPopStatusMessage = -973,
  icPushStatusMessage = -974,
  icAfterBadInstallNotice = -978,
  icAfterGoodInstallNotice = -979,
  icInstallStart = -980,
  icAfterReadArchiveInfo = -983,
  icBeforeReadArchiveInfo = -984,
  icRebootNeeded = -987,
  icDownloadProgress = -988,
  icProcessEnd = -989,
  icProcessStart = -990,
  icBeforeCreateShortcuts = -991,
  icInstallPassBegins = -992,
  icNewDiskNeeded = -993,
  icBadInstall = -994,
  icGoodInstall = -995,
  icOperationEnded = -996,
  icReplacingFileInUse = -997,
  icProgress = -998,
  icIncludedProcessBegins = -999,
};

// Codes of the upward path (DoInformationEventControl).
enum : int32_t {
  ucFileInstalled = 1001,
  ucBeforeInstallFile = 1002,
  ucReplacingFileInUse = 1003,
  ucBeforeCompressFile = 1004,
  ucFileCompressed = 1005,
  ucBeforeCopyFile = 1006,
  ucFileCopied = 1007,
  ucInstallProgress = 1008,
  ucCompressProgress = 1009,
  ucCopyProgress = 1010,
  ucNewDisk = 1011,
  ucPassBegins = 1012,
  ucPassEnds = 1013,
  ucDownloadProgress = 1014,
  ucFileSkipped = 1015,
  ucFileKept = 1016,
};

// A component with an ordered list of helpers (the components whose Container names it),
// which it does not own. While it exists it is in InstallSession().Containers; when it is
// destroyed every other container forgets it. The helper list is always in ascending registered type, a
// component named TINSTALLBDE first, and never holds a null, a duplicate or a cycle.
class TInstallContainer : public TComponent, public IInstallContainer {
  QNL_CLASS(TInstallContainer, TComponent)
public:
  explicit TInstallContainer(TComponent* AOwner);
  ~TInstallContainer() override;

  bool ProcessWithContainer() const { return FProcessWithContainer; }
  void SetProcessWithContainer(bool Value) { FProcessWithContainer = Value; }
  bool Include() const { return FInclude; }
  void SetInclude(bool Value) { FInclude = Value; }
  bool Processed() const { return FProcessed; }
  void SetProcessed(bool Value) { FProcessed = Value; }
  TInstallType CurrentInstallType() const { return FCurrentInstallType; }
  bool Uninstall() const { return FUninstall; }
  void SetUninstall(bool Value) { FUninstall = Value; }
  const TInstallContainerNotifyEvent& OnAfterProcess() const { return FOnAfterProcess; }
  void SetOnAfterProcess(TInstallContainerNotifyEvent Value) { FOnAfterProcess = std::move(Value); }
  const TInstallContainerNotifyEvent& OnBeforeProcess() const { return FOnBeforeProcess; }
  void SetOnBeforeProcess(TInstallContainerNotifyEvent Value) { FOnBeforeProcess = std::move(Value); }
  const std::string& DestDir() const { return FDestDir; }
  TCustomPathSpecifier* DestDirType() const { return FDestDirType; }
  TInstallTypeSet InstallTypes() const { return FInstallTypes; }
  // The empty set is stored as [itFull].
  void SetInstallTypes(TInstallTypeSet Value);
  int32_t Order() const { return FOrder; }
  void SetOrder(int32_t Value) { FOrder = Value; }

  // Virtual operations, in this order.
  virtual int FileContainerCount() const;
  virtual TFileContainer* FileContainers(int Index) const;
  virtual void SetDestDir(const std::string& Value);
  // Outside loading, Value validates this component as its user first.
  virtual void SetDestDirType(TCustomPathSpecifier* Value);
  // Container is being destroyed: it leaves the helper list.
  virtual void ContainerDestroyed(TInstallContainer* Container);
  // True for a class whose ContainerDestroyed only drops the container from its helpers and
  // as its own container (the base's and the installation object's behaviour), so that a
  // destroyed container tells it only when they are related. A class below one answering
  // true that overrides ContainerDestroyed must answer false again.
  virtual bool ForgetsOnlyRelatedContainers() const { return false; }
  virtual void PushStatusMessage(const std::string& Text);
  // Upward path: a helper reports Code with PO. The base does nothing.
  virtual void DoInformationEventControl(TObject* Sender, int32_t Code, TObject* PO);
  // Downward path receiver. The base does nothing.
  virtual void InformationEvent(TObject* Sender, int32_t Code, TObject* PO);
  // DestDirType's path for this component followed by DestDir, without trailing backslash.
  std::string GetDestDir() override;
  // None: only an installation object sits in a container.
  IInstallContainer* GetContainer() const override { return nullptr; }
  // The class number that orders helpers; a class without one raises IEInstallContainer.
  virtual int32_t RegisteredType() const;
  virtual void AddHelper(TInstallContainer* Helper);
  virtual void Process();
  virtual void InstallObjects();
  virtual bool IsIncluded() const;
  virtual void ContinueAfterReboot();
  virtual void RemoveHelper(TInstallContainer* Helper);
  virtual void WriteUninstallInfo(const std::string& Key);

  int HelperCount() const { return static_cast<int>(FHelpers.size()); }
  // Index outside 0..HelperCount()-1 raises IEInstallContainer.
  TInstallContainer* Helpers(int Index) const;
  // Helpers of ComponentClass or a descendant.
  int CompCount(const TClassInfo& ComponentClass) const;
  // The Index-th (from 0) helper of ComponentClass; none raises IEInstallContainer.
  TInstallContainer* Comp(int Index, const TClassInfo& ComponentClass) const;
  template <class T>
  int CompCount() const {
    return CompCount(T::StaticClassInfo());
  }
  template <class T>
  T* Comp(int Index) const {
    return static_cast<T*>(Comp(Index, T::StaticClassInfo()));
  }
  // Frees every helper of ComponentClass, from the end of the list.
  void FreeComps(const TClassInfo& ComponentClass);
  // Broadcast: InformationEvent(this, Code, PO) on each direct helper of type 2000 and above
  // that hears it (HearsNotify).
  void Notify(int32_t Code, TObject* PO = nullptr);
  // False for a class whose InformationEvent is the base's, which does nothing, so that a
  // broadcast skips it. A class below one answering false that overrides InformationEvent
  // must answer true again.
  virtual bool HearsNotify() const { return true; }
  void PopStatusMessage();
  // Applies Type to every helper, recursively, then to this component.
  void SetCurrentInstallType(TInstallType Type);

  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  // Changes whenever the helper list changes, so that lists derived from it know when to
  // build themselves again.
  uint64_t HelpersVersion() const { return FHelpersVersion; }

private:
  bool StillHelper(TInstallContainer* Helper, uint64_t Version) const;
  // Tells every other live container, newest first, that this one is destroyed.
  void TellContainersOfDestruction();
  // Creation order among all containers, which the destruction walk follows.
  uint64_t FSerial = 0;
  // The containers whose helper list holds this one.
  std::vector<TInstallContainer*> FHelperOf;
  bool FProcessWithContainer = false;
  std::vector<TInstallContainer*> FHelpers;
  // The same helpers, to answer "is it one" without a walk.
  std::unordered_set<TInstallContainer*> FHelperSet;
  // FHelpers is in ascending registered type (a leading TINSTALLBDE can break that).
  bool FHelpersSorted = true;
  // Counts the changes of FHelpers, so that a walk over a copy knows when to check it.
  uint64_t FHelpersVersion = 0;
  // The helpers a broadcast reaches, as of FReceiversVersion: a container of thousands of
  // files broadcasts at every progress point, and its files hear nothing.
  mutable std::vector<TInstallContainer*> FReceivers;
  mutable uint64_t FReceiversVersion = UINT64_MAX;
  bool FInclude = true;
  bool FProcessed = false;
  TInstallType FCurrentInstallType = itFull;
  bool FUninstall = true;
  TInstallContainerNotifyEvent FOnAfterProcess;
  TInstallContainerNotifyEvent FOnBeforeProcess;
  std::string FDestDir;
  TCustomPathSpecifier* FDestDirType = nullptr;
  TInstallTypeSet FInstallTypes{itFull, itDefault, itCompact};
  int32_t FOrder = -1;
};

} // namespace qnl
