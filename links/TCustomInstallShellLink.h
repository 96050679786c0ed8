// Shortcuts: a shell link, an internet shortcut or a Program Manager item in a shortcut folder.
#pragma once

#include <string>
#include <vector>

#include "engine/TInstallObject.h"
#include "rtl/TypInfo.h"

namespace qnl {

struct TShellLink;

QNL_ENUM(TMethodType, mtAutoDetect, mtShellLinkInterface, mtProgramManager)

// A shortcut (registered type 8000) in its folder's directory plus its own DestDir. It points
// at another installation component (ObjectLink) or at a location (ObjectLocation, relative to
// ObjectLocationType, or a URL). While it exists it is in AllShellLinks(); it frees itself when
// its Container or its ObjectLink is destroyed. Setters derive LinkName and the location type
// except while the project is streamed in.
class TCustomInstallShellLink : public TInstallObject {
  QNL_CLASS(TCustomInstallShellLink, TInstallObject)
public:
  explicit TCustomInstallShellLink(TComponent* AOwner);
  ~TCustomInstallShellLink() override;

  int32_t RegisteredType() const override { return 8000; }
  // Not a project's choice: always the standard container-directory specifier.
  void SetDestDirType(TCustomPathSpecifier* Value) override;
  void ContainerDestroyed(TInstallContainer* Container) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Code -970 runs Process.
  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;
  // Makes the shortcut the way its name and Method ask; a shortcut whose ObjectLink was not
  // installed in this run is not made (and still counts as processed).
  void InstallObjects() override;
  // Records in Key what the shortcut made (its LinkPath when it made nothing), as install files do.
  void WriteUninstallInfo(const std::string& Key) override;

  TMethodType Method() const { return FMethod; }
  void SetMethod(TMethodType Value) { FMethod = Value; }
  uint16_t HotKey() const { return FHotKey; }
  void SetHotKey(uint16_t Value) { FHotKey = Value; }
  const std::string& LinkName() const { return FLinkName; }
  TInstallContainer* ObjectLink() const { return FObjectLink; }
  const std::string& ObjectLocation() const { return FObjectLocation; }
  TCustomPathSpecifier* ObjectLocationType() const { return FObjectLocationType; }
  const std::string& Parameters() const { return FParameters; }
  void SetParameters(const std::string& Value) { FParameters = Value; }

  // Virtual operations, in this order.
  virtual void CreateProgramManagerItem();
  virtual void CreateShellLink();
  virtual void CreateInternetShortcut();
  // A name without ".LNK" or ".URL" gets the old name's extension, else ".LNK"; a ".URL" name
  // drops the ObjectLink.
  virtual void SetLinkName(const std::string& Value);
  // Without a name of the author's, the location names the shortcut: a URL's address gives
  // "<address>.URL", a file its name with ".LNK".
  virtual void SetObjectLocation(const std::string& Value);
  virtual void SetObjectLocationType(TCustomPathSpecifier* Value);
  // A component makes the location type psObjectLink and names the shortcut after it.
  virtual void SetObjectLink(TInstallContainer* Value);
  // The location: ObjectLocationType's path followed by ObjectLocation, or ObjectLocation alone.
  virtual std::string GetTargetPath();

  // The shortcut's directory with a trailing backslash, then LinkName.
  std::string LinkPath();
  // The files the last InstallObjects made (the shortcut, and its desktop menu files).
  const std::vector<std::string>& MadeFiles() const { return FMadeFiles; }

private:
  // The shortcut's file and, for one in the Start Menu, its desktop menu entry.
  void MadeShortcut(const std::string& Path, const TShellLink& Link);

  TMethodType FMethod = mtAutoDetect;
  uint16_t FHotKey = 0;
  std::string FLinkName;
  TInstallContainer* FObjectLink = nullptr;
  std::string FObjectLocation;
  TCustomPathSpecifier* FObjectLocationType = nullptr;
  std::string FParameters;
  std::vector<std::string> FMadeFiles;
};

// A shortcut in the main folder; while it exists it is in MainShellLinks().
class TInstallMainLink : public TCustomInstallShellLink {
  QNL_CLASS(TInstallMainLink, TCustomInstallShellLink)
public:
  // IEInstallShellLink without a main folder.
  explicit TInstallMainLink(TComponent* AOwner);
  ~TInstallMainLink() override;
  // Only the main folder (IEInstallShellLink otherwise).
  void SetContainer(TInstallContainer* Value) override;
};

// A shortcut in a sub-folder, the first one unless the project names another.
class TInstallSubLink : public TCustomInstallShellLink {
  QNL_CLASS(TInstallSubLink, TCustomInstallShellLink)
public:
  // IEInstallShellLink without a sub-folder.
  explicit TInstallSubLink(TComponent* AOwner);
  // Only a sub-folder (IEInstallShellLink otherwise).
  void SetContainer(TInstallContainer* Value) override;
};

} // namespace qnl
