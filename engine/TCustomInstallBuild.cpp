// Build mode: the distribution files, the self-extracting setup program and its trailer.
#include <memory>

#include "archive/EQnlfCompress.h"
#include "archive/TFileHeaderRecord.h"
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "engine/BuildStaging.h"
#include "engine/InstallSession.h"
#include "engine/ProductDirectory.h"
#include "engine/ProjectCheck.h"
#include "engine/RemoteFileList.h"
#include "engine/SelfExtractingSetup.h"
#include "engine/TCustomInstall.h"
#include "engine/TCustomInstallFile.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/ShortNames.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr const char* kBuildInfFile = "BUILD.INF";
constexpr const char* kProductRegistryKey = "\\Software\\Ordel Vance\\Q32V40";
constexpr const char* kMainArchiveName = "files.1";
constexpr const char* kCannotCopyProgram = "Cannot copy the installation application from %s to %s";

std::string ReadTextFile(const std::string& Path) {
  TFileStream stream(Path, fmOpenRead | fmShareDenyNone);
  return stream.ReadString(stream.Size());
}

// The compress options of the build for each distribute type.
TCompressOptions BuildCompressOptions(TDistributeType Type) {
  constexpr TCompressOptions common = coRelocateArchives | coBuildDistribution | coIncludeExcluded;
  switch (Type) {
    case dtWeb: return common | coForceFilesNet;
    case dtTraditionalNet: return common;
    default: return common | coForceNetFilesLocal;
  }
}

// An archive member is named by its source path, which the archive keeps to 100 characters:
// a longer path is given through its directory's short (8.3) form, as the same file.
std::string FitForArchive(const std::string& SourcePath) {
  if (SourcePath.size() <= static_cast<size_t>(kMaxHeaderFileName) || !FileExists(SourcePath)) return SourcePath;
  return AddBackSlash(ShortPathName(ExtractFileDir(SourcePath))) + ExtractFileName(SourcePath);
}

// Compresses one file into the archive Archive with Command, through an install file that
// belongs to no form and no container and is gone afterwards.
void CompressTemporaryFile(const std::string& SourcePath, const std::string& Archive, TlzhCommand Command,
                           bool SetNetOff) {
  auto file = std::make_unique<TCustomInstallFile>(nullptr, FitForArchive(SourcePath));
  if (SetNetOff) file->SetNet(false);
  file->SetArchiveFileType(nullptr);
  file->SetArchiveFile(Archive);
  file->SetAddToArchive(Command);
  file->Compress();
}

// A distribution built from a project with these faults would fail while it installs.
void RefuseFaultyProject() {
  std::vector<TFormProblem> problems = CheckInstallFiles();
  if (problems.empty()) return;
  std::string lines;
  for (const TFormProblem& p : problems) lines += "\n" + p.Component + ": " + p.Message;
  throw IEInstall("The project cannot be built until these are corrected:%s", {lines});
}

} // namespace

void TCustomInstall::RunBuildMode() {
  try {
    RefuseFaultyProject();
    std::string program = GetModuleName();
    std::string buildInf = AddBackSlash(ExtractFileDir(program)) + kBuildInfFile;
    if (!FileExists(buildInf))
      throw IEInstall("Need to have a BUILD.INF file in this directory with the first line specifying the build "
                      "directory");
    TStringList lines;
    lines.SetText(ReadTextFile(buildInf));
    if (lines.Count() == 0)
      throw IEInstall("Must be 1 line in BUILD.INF. This line should specify the build directory");
    // Windows ignores blanks around a path; the machine's Unix names would keep them.
    Build(program, Trim(lines[0]), true);
    Application().SetExitCode(kExitInstalled);
  } catch (const std::exception& e) {
    Application().SetExitCode(kExitFailed);
    Application().MessageBox(e.what(), Application().Title(), MB_OK);
  }
  Application().Terminate();
}

void TCustomInstall::Build(const std::string& ExeName, const std::string& BuildDir, bool SelfExtracting) {
  if (SelfExtracting && !FUseLoadingProgram)
    throw IEInstall("Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is "
                    "set to False");
  // An empty build directory names the current directory (the distribution's names are
  // relative to it); the archive steps need a directory they can create.
  std::string buildDir = AddBackSlash(Trim(BuildDir).empty() ? GetCurrentDir() : BuildDir);
  // A build into the program's own directory would copy the program onto itself and then
  // append to the running program.
  if (!FUseLoadingProgram &&
      SameText(NormalizeWindowsPath(ExeName), NormalizeWindowsPath(buildDir + ExtractFileName(ExeName))))
    throw IEInstall(kCannotCopyProgram, {ExeName, buildDir + ExtractFileName(ExeName)});
  // Everything is written aside and replaces the earlier distribution only once complete: a
  // build that fails half-way would otherwise leave a loading program without its archives.
  TBuildStaging staging(buildDir);
  std::string dir = staging.Dir();
  std::string setupExe = dir + "setup.exe", setup1 = dir + "setup.1", files1 = dir + kMainArchiveName;
  // The program the distribution starts from; its trailer tells whether archives follow it.
  std::string startProgram = setupExe;

  if (FUseLoadingProgram) {
    try {
      CompressSetupArchive(dir, ExeName);
    } catch (const EqcDiskFull&) {
      throw IEInstall("The disk that you have specified has been determined to be either too full or is corrupt "
                      "while trying to copy the SETUP.1 archive file. You should probably clear all files off of "
                      "the drive. Minimally, you should leave enough space on the drive for the SETUP.1 archive "
                      "file.");
    }
    std::string productDir;
    try {
      productDir = FindProductDirectory();
    } catch (const std::exception&) {
      throw IEInstall("The HKEY_LOCAL_MACHINE | %s key in the registry is either missing or points to an invalid "
                      "Quenloft directory",
                      {kProductRegistryKey});
    }
    std::string loader = productDir + "\\" + kLoadingProgramFile;
    if (!FileExists(loader)) throw IEInstall("The loader program %s was not found", {loader});
    try {
      CopyFile(loader, setupExe, TExisting::exReplace);
    } catch (const std::exception&) {
      throw IEInstall("Cannot copy the loading program from %s to %s", {loader, setupExe});
    }
  } else {
    // Without a loading program the distribution starts from a copy of this program.
    startProgram = dir + ExtractFileName(ExeName);
    try {
      CopyFile(ExeName, startProgram, TExisting::exReplace);
    } catch (const std::exception&) {
      throw IEInstall(kCannotCopyProgram, {ExeName, startProgram});
    }
  }

  TCustomPathSpecifier* savedType = ArchiveFileType();
  std::string savedFile = ArchiveFile();
  auto restore = [&] {
    SetArchiveFileType(savedType);
    SetArchiveFile(savedFile);
  };
  SetArchiveFileType(nullptr);
  SetArchiveFile(files1);
  try {
    TCustomInstallFileList& files = InstallSession().InstallFiles;
    for (int i = 0; i < files.Count(); ++i) {
      files.Items(i)->SetArchived(0);
      files.Items(i)->SetArchivedOwnNet(0);
    }
    Compress(BuildCompressOptions(FDistributeType));
    if (FDistributeType == dtWeb || FDistributeType == dtTraditionalNet) {
      std::string listDir = dir + NetArchivePath();
      ForceDirectories(listDir);
      WriteRemoteFileList(listDir + "\\filelist.lst");
    }
  } catch (...) {
    // The build's own error is the one to report, not a failure to put the settings back.
    try {
      restore();
    } catch (const std::exception&) {}
    throw;
  }
  restore();

  if (SelfExtracting)
    AppendSelfExtractingArchives(setupExe, setup1, files1);
  else
    AppendNotSelfExtractTrailer(startProgram);
  // The main archive of an earlier build does not belong to a distribution without files.
  staging.Commit({kMainArchiveName});
}

void TCustomInstall::CompressSetupArchive(const std::string& BuildDir, const std::string& ExeName) {
  if (Trim(ExeName).empty()) throw IEInstall("Cannot create setup file. Executable is blank");
  if (!FileExists(ExeName)) throw IEInstall("TInstall: Cannot find the executable file %s", {ExeName});
  std::string setup1 = AddBackSlash(BuildDir) + "setup.1";
  CompressTemporaryFile(ExeName, setup1, lzcOverwrite, false);
  for (int i = 0; i < FPresetupFiles->Count(); ++i)
    CompressTemporaryFile(FPresetupFiles->Strings(i), setup1, lzcOnlyAdd, true);
}

} // namespace qnl
