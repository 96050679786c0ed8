// The base of one file of an installation project.
#pragma once

#include "engine/TFileRelated.h"
#include "rtl/DateTime.h"

namespace qnl {

class TQnlfCompress;
struct TlzhFileStats;

QNL_ENUM(TInstallFileType, iftNormal, iftJustADLL, iftApplicationSpecificDLL, iftVendorSharedDLL, iftSystemWideDLL)
QNL_ENUM(TInstallFileState, ifsNone, ifsCompress, ifsInstall, ifsCopying)

QNL_IEXCEPTION(IECustomInstallFile, IException);

// An install file (registered type 2000). While it exists it is in InstallSession().InstallFiles
// and holds a UniqueID (0..1999) naming its member in the archive. Its setters apply the
// derived-property rules except while the project is streamed in.
class TCustomInstallFile : public TFileRelated {
  QNL_CLASS(TCustomInstallFile, TFileRelated)
public:
  explicit TCustomInstallFile(TComponent* AOwner);
  // IncludeFromDir and FileName from SourcePath, through the setters.
  TCustomInstallFile(TComponent* AOwner, const std::string& SourcePath);
  TCustomInstallFile(TComponent* AOwner, TInstallContainer* AContainer, const std::string& SourcePath);
  ~TCustomInstallFile() override;

  int32_t RegisteredType() const override { return 2000; }
  // A file's references (archive and destination specifiers, net location) are all linked by
  // FreeNotification and its container tells it of its own end: the form's news of every other
  // component is nothing to it.
  bool HearsOwnerNews() const override { return false; }
  // Install: the file's own installation, which its container's pass runs through Process.
  void InstallObjects() override;
  void SetContainer(TInstallContainer* Value) override;
  void SetDestDir(const std::string& Value) override;
  void SetDestDirType(TCustomPathSpecifier* Value) override;
  void Loaded() override;

  // Published properties.
  bool ActiveX() const { return FActiveX; }
  void SetActiveX(bool Value);
  const std::string& DestName() const { return FDestName; }
  void SetDestName(const std::string& Value);
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value);
  TInstallFileType FileType() const { return FFileType; }
  void SetFileType(TInstallFileType Value);
  const std::string& IncludeFromDir() const { return FIncludeFromDir; }
  void SetIncludeFromDir(const std::string& Value);
  TOverwriteType OverwriteMode() const { return FOverwriteMode; }
  void SetOverwriteMode(TOverwriteType Value) { FOverwriteMode = Value; }
  bool RegisterAsHelp() const { return FRegisterAsHelp; }
  void SetRegisterAsHelp(bool Value) { FRegisterAsHelp = Value; }
  bool RunAfterInstall() const { return FRunAfterInstall; }
  void SetRunAfterInstall(bool Value) { FRunAfterInstall = Value; }
  bool UpdateDLLCounter() const { return FUpdateDLLCounter; }
  void SetUpdateDLLCounter(bool Value) { FUpdateDLLCounter = Value; }
  TInstallFileState State() const { return FState; }
  // Runs the phase Value names; State is ifsNone again afterwards.
  void SetState(TInstallFileState Value);
  int32_t UniqueID() const { return FUniqueID; }
  void SetUniqueID(int32_t Value);

  TInstallFileNotifyEvent OnAfterCompress, OnAfterCopy, OnAfterInstall, OnBeforeCompress, OnBeforeCopy, OnBeforeInstall,
      OnReplacing;
  TInstallFileStatusEvent OnStatus;
  TInstallFileNewDiskEvent OnNewDisk;

  // Run-time fields.
  int32_t SourceSize() const { return FSourceSize; }
  void SetSourceSize(int32_t Value) { FSourceSize = Value; }
  TDateTime SourceDate() const { return FSourceDate; }
  void SetSourceDate(TDateTime Value) { FSourceDate = Value; }
  const std::string& SourceVersion() const { return FSourceVersion; }
  // At most 20 characters are kept.
  void SetSourceVersion(const std::string& Value) { FSourceVersion = Value.substr(0, 20); }
  int32_t PackedSize() const { return FPackedSize; }
  void SetPackedSize(int32_t Value) { FPackedSize = Value; }
  bool DestExisted() const { return FDestExisted; }
  bool Replacing() const { return FReplacing; }
  bool RebootReplace() const { return FRebootReplace; }
  uint8_t Archived() const { return FArchived; }
  void SetArchived(uint8_t Value) { FArchived = Value; }
  // The companion flag: the file got an archive of its own on the net in this build.
  uint8_t ArchivedOwnNet() const { return FArchivedOwnNet; }
  void SetArchivedOwnNet(uint8_t Value) { FArchivedOwnNet = Value; }
  const std::string& ArchivedInto() const { return FArchivedInto; }

  // IncludeFromDir with a trailing backslash, then FileName: also the member's name.
  virtual std::string SourcePath() const;
  // The destination directory with a trailing backslash, then DestName.
  std::string GetDestPath();
  // Where the file is once it is in place: GetDestPath, except on the restart route, where the
  // new file waits under another name for the restart that puts it here.
  std::string InstalledPath();
  // A NetLocation, or an overwrite mode that compares versions or dates.
  bool HasOwnArchive() const;

  // The phases.
  virtual void Compress();
  virtual void Copy();
  virtual void ReadInfoFromArchive();
  virtual void ReadInfoFromFile();

  // The file's uninstall entry under HKEY_LOCAL_MACHINE Key: its installed path in Key\Files
  // (or the first of Files1 ... that accepts it), or in Key\ActiveX with its registration flag;
  // a path listed already, by an earlier run, is not added again.
  void WriteUninstallInfo(const std::string& Key) override;
  // After a restart: the ActiveX registration that waited for the new file.
  void ContinueAfterReboot() override;

  // System registration. The count of the installed path in SharedDLLs goes up by one
  // (short name first when counted under it); True when written.
  bool UpdateSharedDLLCount();
  // The installed file's directory under the Help key, named by DestName in upper case.
  void RegisterHelpFile();
  // Self-registration: DllRegisterServer of a library, " /REGSERVER" of a program.
  void RegisterActiveX();

protected:
  // Decides how the destination is replaced: when another program holds it, the new file is
  // extracted beside it (DestName becomes the next free ".n" name) to take its place at the
  // next restart; otherwise the extraction replaces it at once.
  void ReplaceInUse();
  // After the new file is written beside a destination in use: the move at the next restart
  // (WININIT.INI, a delayed move or a batch file run once).
  void RegisterRestartReplace();
  // Help, shared-DLL and ActiveX registration after the file is in place (or kept).
  void AfterInstallSteps();
  // Relays given to the archive component.
  void StatusRelay(const TlzhFileStats& Stats);
  // Component is the archive component asking: a Cancel at the prompt stops its operation.
  void DiskRelay(TQnlfCompress& Component, int DiskNumber, std::string& Path);
  // Sends Code with this file to the container (the upward path).
  void ToContainer(int32_t Code, TObject* PO);
  void RunPhase(TInstallFileState Phase, const std::function<void()>& Body);
  // The name of the file's member, as its archive holds it, once its information was read.
  virtual void MemberNameRead(const std::string& /*MemberName*/) {}

private:
  void AllocateUniqueID();
  // IECustomInstallFile unless Value is a plain file name: a DestName never reaches outside the
  // destination directory.
  void CheckDestName(const std::string& Value) const;
  // Rules 1 and 2 of a container or source change: the container kind and duplicates.
  void CheckContainerAndSource(TInstallContainer* NewContainer, const std::string& NewDir,
                               const std::string& NewName) const;
  void DeriveFromFileName();
  void ApplyFileTypeRules();
  void PlaceByFileType();
  // The archive Install and ReadInfoFromArchive read for a net distribution.
  std::string NetArchiveToRead(bool& Skip);
  void RegisterLibrary(const std::string& Path);
  void RegisterProgram(const std::string& Path);

  bool FActiveX = false;
  std::string FDestName;
  std::string FReplacedName; // DestName before the restart route renamed it
  std::string FFileName;
  TInstallFileType FFileType = iftNormal;
  std::string FIncludeFromDir;
  TOverwriteType FOverwriteMode = owAlways;
  bool FRegisterAsHelp = false;
  bool FRunAfterInstall = false;
  bool FUpdateDLLCounter = false;
  TInstallFileState FState = ifsNone;
  int32_t FUniqueID = 0;
  int32_t FSourceSize = 0;
  TDateTime FSourceDate = 0;
  std::string FSourceVersion;
  int32_t FPackedSize = 0;
  bool FDestExisted = false;
  bool FDestFound = false; // anything, a file or not, was at the destination when it was looked at
  bool FReplacing = false;
  bool FRebootReplace = false;
  uint8_t FArchived = 0;
  uint8_t FArchivedOwnNet = 0;
  std::string FArchivedInto;
};

} // namespace qnl
