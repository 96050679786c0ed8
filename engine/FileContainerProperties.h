// The published properties shared by the file containers a project stores.
#pragma once

#include "paths/cmp_TPathSpecifier.h"

// Used inside QNL_BEGIN_CLASS of a TFileContainer descendant (Description is the base's).
#define QNL_FILE_CONTAINER_PROPERTIES                                                            \
  .Prop("AddToArchive", &C::AddToArchive, &C::SetAddToArchive)                                   \
      .Prop("ArchiveFile", &C::ArchiveFile, &C::SetArchiveFile)                                  \
      .Ref<TCustomPathSpecifier>("ArchiveFileType", &C::ArchiveFileType, &C::SetArchiveFileType) \
      .Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer)                      \
      .Prop("DestDir", &C::DestDir, &C::SetDestDir)                                              \
      .Ref<TCustomPathSpecifier>("DestDirType", &C::DestDirType, &C::SetDestDirType)             \
      .Prop("Include", &C::Include, &C::SetInclude)                                              \
      .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes)                               \
      .Ref<TComponent>("NetLocation", &C::NetLocation, &C::SetNetLocation)                       \
      .Prop("OnAfterInstallObjects", &C::OnAfterInstallObjects, &C::SetOnAfterInstallObjects)    \
      .Prop("OnAfterProcess", &C::OnAfterProcess, &C::SetOnAfterProcess)                         \
      .Prop("OnBeforeInstallObjects", &C::OnBeforeInstallObjects, &C::SetOnBeforeInstallObjects) \
      .Prop("OnBeforeProcess", &C::OnBeforeProcess, &C::SetOnBeforeProcess)                      \
      .Prop("OnDataReceived", &C::OnDataReceived, &C::SetOnDataReceived)                         \
      .Prop("OnNewDisk", &C::OnNewDisk, &C::SetOnNewDisk)                                        \
      .Prop("OnReplacing", &C::OnReplacing, &C::SetOnReplacing)                                  \
      .Prop("OnStatus", &C::OnStatus, &C::SetOnStatus)
