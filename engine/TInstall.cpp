// The published properties and events of the install component.
#include "engine/TInstall.h"

#include "paths/cmp_TPathSpecifier.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstall)
    .Prop("AutoMaximizeWindow", &C::AutoMaximizeWindow, &C::SetAutoMaximizeWindow)
    .Sub("BuildInfo", &C::BuildInfo)
    .Prop("DestDir", &C::DestDir, &C::SetDestDir)
    .Ref<TCustomPathSpecifier>("DestDirType", &C::DestDirType, &C::SetDestDirType)
    .Sub("DialogThemeBitmap", &C::DialogThemeBitmap)
    .Prop("DistributeType", &C::DistributeType, &C::SetDistributeType)
    .Prop("HideMainForm", &C::HideMainForm, &C::SetHideMainForm)
    .Sub("Information", &C::Information)
    .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes)
    .Ref<TComponent>("NetLocation", &C::NetLocation, &C::SetNetLocation)
    .Sub("PresetupFiles", &C::PresetupFiles)
    .Prop("Reboot", &C::Reboot, &C::SetReboot)
    .Prop("RunAutomatic", &C::RunAutomatic, &C::SetRunAutomatic)
    .Prop("UseLoadingProgram", &C::UseLoadingProgram, &C::SetUseLoadingProgram)
    .Prop("OnAfterInitialized", &C::OnAfterInitialized)
    .Prop("OnAfterInstallObjects", &C::OnAfterInstallObjects, &C::SetOnAfterInstallObjects)
    .Prop("OnAfterNotifyBadInstall", &C::OnAfterNotifyBadInstall)
    .Prop("OnAfterNotifyGoodInstall", &C::OnAfterNotifyGoodInstall)
    .Prop("OnAfterReadArchiveInfo", &C::OnAfterReadArchiveInfo)
    .Prop("OnBeforeInstallObjects", &C::OnBeforeInstallObjects, &C::SetOnBeforeInstallObjects)
    .Prop("OnBeforeReadArchiveInfo", &C::OnBeforeReadArchiveInfo)
    .Prop("OnBeforeReboot", &C::OnBeforeReboot)
    .OfEventType("TRebootWindowsEvent")
    .Prop("OnBeforeRunFile", &C::OnBeforeRunFile)
    .Prop("OnBeforeShutdown", &C::OnBeforeShutdown)
    .OfEventType("TUserAbortEvent")
    .Prop("OnBeforeCleanup", &C::OnBeforeCleanup)
    .OfEventType("TCleanupEvent")
    .Prop("OnBeforeNotifyBadInstall", &C::OnBeforeNotifyBadInstall)
    .Prop("OnBeforeNotifyGoodInstall", &C::OnBeforeNotifyGoodInstall)
    .Prop("OnFailedReboot", &C::OnFailedReboot)
    .Prop("OnNewDisk", &C::OnNewDisk, &C::SetOnNewDisk)
    .Prop("OnReplacing", &C::OnReplacing, &C::SetOnReplacing)
    .Prop("OnStatus", &C::OnStatus, &C::SetOnStatus)
    .Prop("OnUserAbort", &C::OnUserAbort)
    .OfEventType("TUserAbortEvent");
QNL_END_CLASS

} // namespace qnl
