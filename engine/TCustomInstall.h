// The install component: project-wide settings, start-up and the choice of run mode.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/TBuildInfo.h"
#include "engine/TCommandLine.h"
#include "engine/TFileContainer.h"
#include "paths/IInstallComponent.h"
#include "rtl/DateTime.h"
#include "rtl/Forms.h"
#include "rtl/Graphics.h"
#include "rtl/Strings.h"
#include "settings/cmp_TInstallInformation.h"

namespace qnl {

class TCustomInstall;
class TCustomInstallFile;

// The setup program's exit status: the installation finished, failed, was aborted by the
// user, or finished its first part and continues after the restart.
constexpr int kExitInstalled = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUserAbort = 2;
constexpr int kExitRestartNeeded = 3;
// For scripts: an answer file with a value a page cannot take, and another setup running on
// the same machine (64, a command line not understood, is the loading program's).
constexpr int kExitAnswerFile = 65;
constexpr int kExitSetupRunning = 75;

QNL_ENUM(TDistributeType, dtTraditional, dtWeb, dtTraditionalNet)

// The net-location error of the DistributeType setter.
QNL_IEXCEPTION(IEInstallNetLocNil, IEInstall);

using TRebootWindowsEvent = std::function<void(TCustomInstall* Install, bool& Continue)>;
using TBeforeRunFileEvent =
    std::function<void(TCustomInstall* Install, TCustomInstallFile* FileToRun, bool& DefaultAction)>;
using TUserAbortEvent = std::function<void(TCustomInstall* Install, bool& QuitOut)>;
using TCleanupEvent = std::function<void(TCustomInstall* Install, bool& Continue)>;

// The root component of an installation project (a file container of registered type
// 1000). At most one exists per process; it lives on a form or a data module. Its loaded
// notification reads the command line and chooses the run mode; the installation itself
// starts on the main form's first activation.
class TCustomInstall : public TFileContainer, public IInstallComponent {
  QNL_CLASS(TCustomInstall, TFileContainer)
public:
  explicit TCustomInstall(TComponent* AOwner);
  ~TCustomInstall() override;

  // The current install component, or nullptr.
  static TCustomInstall* Current();

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Properties.
  bool AutoMaximizeWindow() const { return FAutoMaximizeWindow; }
  TBuildInfo* BuildInfo() const { return FBuildInfo.get(); }
  TPicture* DialogThemeBitmap() const { return FDialogThemeBitmap.get(); }
  TDistributeType DistributeType() const { return FDistributeType; }
  bool HideMainForm() const { return FHideMainForm; }
  TInstallInformation* Information() const { return FInformation.get(); }
  void SetInformation(const TInstallInformation* Value) { FInformation->Assign(Value); }
  TStrings* PresetupFiles() const { return FPresetupFiles.get(); }
  bool Reboot() const { return FReboot; }
  void SetReboot(bool Value) { FReboot = Value; }
  // The Reboot property itself, for OnBeforeReboot's Continue.
  bool& RebootRef() { return FReboot; }
  bool RunAutomatic() const { return FRunAutomatic; }
  void SetRunAutomatic(bool Value) { FRunAutomatic = Value; }
  bool UseLoadingProgram() const { return FUseLoadingProgram; }

  // Events.
  TNotifyEvent OnAfterInitialized;
  TNotifyEvent OnAfterNotifyBadInstall;
  TNotifyEvent OnAfterNotifyGoodInstall;
  TNotifyEvent OnAfterReadArchiveInfo;
  TNotifyEvent OnBeforeReadArchiveInfo;
  TRebootWindowsEvent OnBeforeReboot;
  TBeforeRunFileEvent OnBeforeRunFile;
  TUserAbortEvent OnBeforeShutdown;
  TCleanupEvent OnBeforeCleanup;
  TNotifyEvent OnBeforeNotifyBadInstall;
  TNotifyEvent OnBeforeNotifyGoodInstall;
  TNotifyEvent OnFailedReboot;
  TUserAbortEvent OnUserAbort;

  // Run-time state.
  const TCommandLine& CommandLine() const { return FCommandLine; }
  bool HasSwitch(TInstallSwitch Switch) const { return FCommandLine.Has(Switch); }
  const std::string& SwitchArgument(TInstallSwitch Switch) const { return FCommandLine.Argument(Switch); }
  void SetInstallSource(const std::string& Value) { FInstallSource = Value; }
  TCustomForm* MainForm() const { return FMainForm; }
  bool Started() const { return FStarted; }
  bool Running() const { return FRunning; }
  bool Ended() const { return FEnded; }
  bool CleanupBatchWritten() const { return FCleanupBatchWritten; }
  const std::string& CleanupBatchFile() const { return FCleanupBatchFile; }
  int UnfinishedCount() const { return FUnfinishedCount; }
  // Where files.1 starts inside a self-extracting setup (0 for an archive of its own).
  int32_t ArchiveOffset() const { return FArchiveOffset; }

  // The loading program's path: the self-extracting file with -e, else the program named by
  // the second argument beside InstallSource with a loading program, else this program.
  std::string SetupProgramPath() const;

  // IInstallComponent, for the path specifiers.
  TComponent* InstallComponent() override { return this; }
  std::string InstallSource() const override { return FInstallSource; }
  std::string MainInstallDir() override { return GetDestDir(); }
  std::optional<std::string> SelfExtractorArgument() const override;

  // Inherited operations.
  int32_t RegisteredType() const override { return 1000; }
  // The whole installation.
  void Process() override;
  void ContinueAfterReboot() override;
  // Reads the archive information of the whole tree (and a net distribution's remote file
  // list) once per process, between its two notices.
  void ReadInfoFromArchive() override;
  // Also the process-wide current net location; clearing it makes the distribution traditional.
  void SetNetLocation(TComponent* Value) override;
  // The install component has no container specifier of its own.
  bool CreatesOwnSpecifier() const override { return false; }

  // Operations introduced here, in this order.
  virtual void RemoveDownloadsAndRecord();
  virtual void NotifyBadInstall();
  virtual void NotifyGoodInstall();
  // The key of this setup program's install record, found or (with Create) made; empty when none.
  virtual std::string FindInstallRecord(bool Create);
  virtual void InstallObjectsOfType(int32_t TypeCode, const std::string& StatusText);
  // Reads the program's arguments into the switch set; IException for an invalid one.
  virtual void ParseCommandLine();
  virtual void RunFilesAfterInstall();
  // Outside loading, True clears HideMainForm.
  virtual void SetAutoMaximizeWindow(bool Value);
  virtual void SetBuildInfo(const TBuildInfo* Value);
  virtual void SetDialogThemeBitmap(const TPicture* Value);
  // Outside loading: refused at run time, and without a net location for a net distribution.
  virtual void SetDistributeType(TDistributeType Value);
  // Outside loading, True clears AutoMaximizeWindow.
  virtual void SetHideMainForm(bool Value);
  // Copies Value without the lines that are blank after trimming.
  virtual void SetPresetupFiles(const TStrings* Value);
  // Outside loading, True resets the archive to the standard main archive specifier.
  virtual void SetUseLoadingProgram(bool Value);
  virtual void RegisterRunOnce();
  // The application's exception handler.
  virtual void HandleException(TObject* Sender, const std::exception& E);
  virtual void Build(const std::string& ExeName, const std::string& BuildDir, bool SelfExtracting);
  virtual void Cleanup();
  virtual void CompressSetupArchive(const std::string& BuildDir, const std::string& ExeName);
  virtual void ReadUnfinished(TStrings* List);
  // Fires OnUserAbort with QuitOut starting True and returns QuitOut.
  virtual bool QueryUserAbort();
  virtual void ClearUnfinished();
  virtual void AddUnfinished(const std::string& Name, int32_t Code);

  // Fires OnBeforeShutdown with QuitOut starting True and, when it stays True, ends the
  // program. Returns True when the handler kept the program running.
  bool Shutdown();
  // Build mode (-b): builds the distribution into the directory named by BUILD.INF beside
  // this program; any failure is shown in a message box. The program ends afterwards.
  virtual void RunBuildMode();
  // Transfer to floppies (-f): copies the self-extracting distribution onto the disks of
  // Drive ("a:"); any failure is shown in a message box. The program ends afterwards.
  virtual void TransferToFloppies(const std::string& Drive);

  // The main form's first activation: runs the saved handler, maximises the form, then
  // (with RunAutomatic) puts the saved handler back and runs the installation. Once only.
  void OnActivateHook(TObject* Sender);
  // Reads the self-extract trailer of the expanded archive path and sets the archive offset.
  void ReadSelfExtractOffset();

private:
  void ChooseRunMode();
  // The end shared by a finished installation and a finished continuation.
  void GoodEnding();
  void SetRunning(bool Value);
  // The translator's language is kept in the install record across the restart.
  void StoreLanguage();
  void RestoreLanguage();
  // Restarts Windows after the reboot question; OnFailedReboot or a message when it cannot.
  void RestartAfterInstall();
  // The unfinished list needs this setup program's install record.
  const std::string& RecordForUnfinished() const;
  void InstallActivateHook();
  void RestoreActivateHandler();
  void TakeDownloadedArchive();
  void CreateDesignTimeTranslator();

  bool FAutoMaximizeWindow = true;
  std::unique_ptr<TBuildInfo> FBuildInfo;
  std::unique_ptr<TPicture> FDialogThemeBitmap;
  TDistributeType FDistributeType = dtTraditional;
  bool FHideMainForm = false;
  std::unique_ptr<TInstallInformation> FInformation;
  std::unique_ptr<TStringList> FPresetupFiles;
  bool FReboot = false;
  bool FRunAutomatic = true;
  bool FUseLoadingProgram = true;

  TCommandLine FCommandLine;
  std::string FInstallSource;
  TCustomForm* FMainForm = nullptr;
  TNotifyEvent FSavedOnActivate;
  bool FActivateSaved = false;
  TExceptionEvent FSavedOnException;
  bool FExceptionHandlerInstalled = false;
  bool FStarted = false;
  bool FRunning = false;
  bool FEnded = false;
  bool FCleanupBatchWritten = false;
  std::string FCleanupBatchFile;
  int FUnfinishedCount = 0;
  int32_t FArchiveOffset = 0;
  TComponent* FDesignTimeTranslator = nullptr;
};

} // namespace qnl
