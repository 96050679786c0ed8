// The published properties shared by the install files a project stores.
#pragma once

#include "paths/cmp_TPathSpecifier.h"

// Used inside QNL_BEGIN_CLASS of a TCustomInstallFile descendant. UniqueID is always
// written: it names the file's member in the archive.
#define QNL_INSTALL_FILE_PROPERTIES                                                              \
  .Prop("ArchiveFile", &C::ArchiveFile, &C::SetArchiveFile)                                      \
      .Ref<TCustomPathSpecifier>("ArchiveFileType", &C::ArchiveFileType, &C::SetArchiveFileType) \
      .Prop("AddToArchive", &C::AddToArchive, &C::SetAddToArchive)                               \
      .Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer)                      \
      .Prop("DestDir", &C::DestDir, &C::SetDestDir)                                              \
      .Ref<TCustomPathSpecifier>("DestDirType", &C::DestDirType, &C::SetDestDirType)             \
      .Prop("Include", &C::Include, &C::SetInclude)                                              \
      .Prop("InstallTypes", &C::InstallTypes, &C::SetInstallTypes)                               \
      .Prop("DestName", &C::DestName, &C::SetDestName)                                           \
      .Prop("FileName", &C::FileName, &C::SetFileName)                                           \
      .Prop("FileType", &C::FileType, &C::SetFileType)                                           \
      .Prop("IncludeFromDir", &C::IncludeFromDir, &C::SetIncludeFromDir)                         \
      .Prop("Net", &C::Net, &C::SetNet)                                                          \
      .Ref<TComponent>("NetLocation", &C::NetLocation, &C::SetNetLocation)                       \
      .Prop("OverwriteMode", &C::OverwriteMode, &C::SetOverwriteMode)                            \
      .Prop("UpdateDLLCounter", &C::UpdateDLLCounter, &C::SetUpdateDLLCounter)                   \
      .Prop("UniqueID", &C::UniqueID, &C::SetUniqueID)                                           \
      .Prop("OnAfterCompress", &C::OnAfterCompress)                                              \
      .Prop("OnAfterCopy", &C::OnAfterCopy)                                                      \
      .Prop("OnAfterInstall", &C::OnAfterInstall)                                                \
      .Prop("OnBeforeCompress", &C::OnBeforeCompress)                                            \
      .Prop("OnBeforeCopy", &C::OnBeforeCopy)                                                    \
      .Prop("OnBeforeInstall", &C::OnBeforeInstall)                                              \
      .Prop("OnStatus", &C::OnStatus)                                                            \
      .Prop("OnNewDisk", &C::OnNewDisk)                                                          \
      .Prop("OnReplacing", &C::OnReplacing)
