// Install groups: file containers that sit only in the install component or another group.
#pragma once

#include <memory>

#include "engine/TFileContainer.h"
#include "rtl/Graphics.h"
#include "rtl/Strings.h"

namespace qnl {

// How a group shows itself in the component dialog. Stored with the project and loaded;
// no step of the installation reads it.
class TInstallGroupDialogOptions : public TPersistent {
  QNL_CLASS(TInstallGroupDialogOptions, TPersistent)
public:
  TInstallGroupDialogOptions();
  ~TInstallGroupDialogOptions() override;
  void Assign(const TPersistent* Source) override;

  bool AllowChangeDir() const { return FAllowChangeDir; }
  void SetAllowChangeDir(bool Value) { FAllowChangeDir = Value; }
  bool AllowExcludeInclude() const { return FAllowExcludeInclude; }
  void SetAllowExcludeInclude(bool Value) { FAllowExcludeInclude = Value; }
  TStrings* Description() const { return FDescription.get(); }
  void SetDescription(const TStrings* Value) { FDescription->Assign(Value); }
  bool DisplayDirectory() const { return FDisplayDirectory; }
  void SetDisplayDirectory(bool Value) { FDisplayDirectory = Value; }
  TPicture* SmallIcon() const { return FSmallIcon.get(); }
  void SetSmallIcon(const TPicture* Value) { FSmallIcon->Assign(Value); }
  bool ShowRegardlessOfInclude() const { return FShowRegardlessOfInclude; }
  void SetShowRegardlessOfInclude(bool Value) { FShowRegardlessOfInclude = Value; }

private:
  bool FAllowChangeDir = true;
  bool FAllowExcludeInclude = true;
  std::unique_ptr<TStringList> FDescription;
  bool FDisplayDirectory = true;
  std::unique_ptr<TPicture> FSmallIcon;
  bool FShowRegardlessOfInclude = true;
};

// A group (registered type 500). Its Container is always the install component, another
// group, or none when no install component exists.
class TCustomInstallGroup : public TFileContainer {
  QNL_CLASS(TCustomInstallGroup, TFileContainer)
public:
  explicit TCustomInstallGroup(TComponent* AOwner);

  int32_t RegisteredType() const override { return 500; }
  // None attaches the group to the install component; any container other than the
  // install component or a group raises IEInstallGroup.
  void SetContainer(TInstallContainer* Value) override;

  TInstallGroupDialogOptions* DialogOptions() const { return FDialogOptions.get(); }
  void SetDialogOptions(const TInstallGroupDialogOptions* Value) { FDialogOptions->Assign(Value); }

private:
  std::unique_ptr<TInstallGroupDialogOptions> FDialogOptions;
};

// The group a project stores.
class TInstallGroup : public TCustomInstallGroup {
  QNL_CLASS(TInstallGroup, TCustomInstallGroup)
public:
  explicit TInstallGroup(TComponent* AOwner) : TCustomInstallGroup(AOwner) {}
};

} // namespace qnl
