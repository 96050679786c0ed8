// Install files: UniqueIDs, the derived-property rules, duplicates, reading source figures.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FilesTestSupport.h"
#include "engine/InstallSession.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "platform/files/Files.h"

using namespace qnl;
using namespace qnl::test;

namespace {

using InstallFileData = FilesTest;

TEST_F(InstallFileData, UniqueIDsAreTheLowestFreeAndShareZeroWhenAllAreTaken) {
  std::vector<std::unique_ptr<TInstallFile>> files;
  for (int i = 0; i < 2000; ++i) files.push_back(std::make_unique<TInstallFile>(nullptr));
  EXPECT_EQ(files[0]->UniqueID(), 0);
  EXPECT_EQ(files[1999]->UniqueID(), 1999);
  TInstallFile extra(nullptr);
  EXPECT_EQ(extra.UniqueID(), 0); // shared with the first file
  files[7].reset();
  TInstallFile reuse(nullptr);
  EXPECT_EQ(reuse.UniqueID(), 7);
}

TEST_F(InstallFileData, TheFirstLoadedFileResetsTheTableAndStreamedNumbersAreKept) {
  TInstallFile early(nullptr); // takes 0 before loading
  LoadProject("object Module: TDataModule\n"
              "  object A: TInstallFile\n"
              "    UniqueID = 5\n"
              "  end\n"
              "  object B: TInstallFile\n"
              "    UniqueID = 0\n"
              "  end\n"
              "end\n");
  EXPECT_EQ(static_cast<TInstallFile*>(FModule->FindComponent("A"))->UniqueID(), 5);
  EXPECT_TRUE(InstallSession().UniqueIDs.Used(5));
  EXPECT_TRUE(InstallSession().UniqueIDs.Used(0));
  TInstallFile next(nullptr);
  EXPECT_EQ(next.UniqueID(), 1);
}

TEST_F(InstallFileData, FileNameDerivesDestNameHelpAndActiveX) {
  auto* file = new TInstallFile(FModule);
  file->SetFileName("manual.cnt");
  EXPECT_EQ(file->DestName(), "manual.cnt");
  EXPECT_TRUE(file->RegisterAsHelp());
  EXPECT_FALSE(file->ActiveX());
  file->SetFileName("grid.ocx");
  EXPECT_FALSE(file->RegisterAsHelp());
  EXPECT_TRUE(file->ActiveX());
  EXPECT_EQ(file->FileType(), iftSystemWideDLL);
  EXPECT_TRUE(file->UpdateDLLCounter());
  EXPECT_EQ(file->OverwriteMode(), owVersionDate);
  ASSERT_NE(file->DestDirType(), nullptr);
  EXPECT_TRUE(file->DestDirType()->InheritsFrom(TpsSystem::StaticClassInfo()));
  EXPECT_EQ(file->DestDir(), "");
}

TEST_F(InstallFileData, FileTypesPlaceTheFile) {
  TFakeInstall install(nullptr); // the main-install specifier serves only an installation
  auto* file = new TInstallFile(FModule);
  file->SetFileName("lib.dll");
  file->SetFileType(iftApplicationSpecificDLL);
  EXPECT_EQ(file->DestDir(), "\\System");
  EXPECT_TRUE(file->DestDirType()->InheritsFrom(TpsMainInstall::StaticClassInfo()));
  EXPECT_EQ(file->OverwriteMode(), owVersionDate);
  EXPECT_FALSE(file->UpdateDLLCounter());
  file->SetFileType(iftVendorSharedDLL);
  EXPECT_TRUE(file->DestDirType()->InheritsFrom(TpsCommonFiles::StaticClassInfo()));
  EXPECT_TRUE(file->UpdateDLLCounter());
}

TEST_F(InstallFileData, ADestinationInTheWindowsDirectoryComparesVersionAndDate) {
  auto* file = new TInstallFile(FModule);
  file->SetFileName("tool.exe");
  file->SetOverwriteMode(owAlways);
  file->SetDestDirType(StandardPathSpecifiers().Find<TpsWindow>());
  EXPECT_EQ(file->OverwriteMode(), owVersionDate);
  auto* text = new TInstallFile(FModule);
  text->SetFileName("notes.txt");
  text->SetDestDirType(StandardPathSpecifiers().Find<TpsWindow>());
  EXPECT_EQ(text->OverwriteMode(), owAlways);
  text->SetFileName("notes.dll");
  text->SetDestDirType(StandardPathSpecifiers().Find<TpsSystem>());
  EXPECT_EQ(text->FileType(), iftSystemWideDLL);
}

TEST_F(InstallFileData, WhileStreamingSettersOnlyStore) {
  LoadProject("object Module: TDataModule\n"
              "  object F: TInstallFile\n"
              "    FileName = 'grid.ocx'\n"
              "    DestName = 'other.ocx'\n"
              "    OverwriteMode = owNever\n"
              "  end\n"
              "end\n");
  auto* file = static_cast<TInstallFile*>(FModule->FindComponent("F"));
  EXPECT_EQ(file->DestName(), "other.ocx");
  EXPECT_FALSE(file->ActiveX());
  EXPECT_EQ(file->OverwriteMode(), owNever);
}

// The error an install file gives for a DestName; empty when it takes the name.
std::string DestNameError(TInstallFile& File, const std::string& Name) {
  try {
    File.SetDestName(Name);
    return {};
  } catch (const IECustomInstallFile& e) {
    return e.what();
  }
}

TEST_F(InstallFileData, ADestNameIsAFileNameAndNothingElse) {
  auto* file = new TInstallFile(FModule);
  file->SetName("Victim");
  file->SetFileName("readme.txt");
  for (std::string bad : {"..\\..\\..\\windows\\victim.txt", "docs/readme.txt", "C:readme.txt", "readme.txt:hidden",
                          "..", ".", "...", ". .", "read\tme.txt"}) {
    SCOPED_TRACE(bad);
    std::string message = DestNameError(*file, bad);
    EXPECT_NE(message.find("Victim"), std::string::npos) << message;
    EXPECT_NE(message.find(bad), std::string::npos) << message;
    EXPECT_EQ(file->DestName(), "readme.txt");
  }
  EXPECT_EQ(DestNameError(*file, "read..me.txt"), "");
  EXPECT_EQ(DestNameError(*file, ".profile"), "");
  // A FileName with a folder would become the DestName.
  EXPECT_THROW(file->SetFileName("docs\\readme.txt"), IECustomInstallFile);
  EXPECT_EQ(file->FileName(), "readme.txt");
}

TEST_F(InstallFileData, AStoredDestNameWithAPathIsRefusedAtLoad) {
  try {
    LoadProject("object Module: TDataModule\n"
                "  object Victim: TInstallFile\n"
                "    FileName = 'readme.txt'\n"
                "    DestName = '..\\..\\..\\windows\\victim.txt'\n"
                "  end\n"
                "end\n");
    ADD_FAILURE() << "the project was loaded";
  } catch (const IECustomInstallFile& e) {
    std::string message = e.what();
    EXPECT_NE(message.find("Victim"), std::string::npos) << message;
    EXPECT_NE(message.find("..\\..\\..\\windows\\victim.txt"), std::string::npos) << message;
  }
}

TEST_F(InstallFileData, ADuplicateSourcePathIsRefused) {
  auto* dir = new TInstallDirectory(FModule);
  new TInstallFile(FModule, dir, "C:\\src\\a.txt");
  try {
    new TInstallFile(FModule, dir, "c:\\SRC\\A.TXT");
    FAIL();
  } catch (const IEfcDuplicateFile& e) {
    EXPECT_STREQ(e.what(), "There is already a file with the name :c:\\SRC\\A.TXT");
  }
  auto* moved = new TInstallFile(FModule, dir, "C:\\src\\b.txt");
  EXPECT_THROW(moved->SetFileName("a.txt"), IEfcDuplicateFile);
  EXPECT_EQ(moved->FileName(), "b.txt");
  EXPECT_EQ(dir->FindInstallFile("C:\\SRC\\b.TXT"), moved);
  EXPECT_EQ(dir->FindInstallFile("C:\\src\\c.txt"), nullptr);
}

TEST_F(InstallFileData, ReadInfoFromFileTakesSizeDateAndVersion) {
  WriteMachineFile("C:\\src\\readme.txt", "hello world");
  TInstallFile file(nullptr, "C:\\src\\readme.txt");
  EXPECT_EQ(file.IncludeFromDir(), "C:\\src");
  EXPECT_EQ(file.FileName(), "readme.txt");
  file.ReadInfoFromFile();
  EXPECT_EQ(file.SourceSize(), 11);
  EXPECT_NEAR(file.SourceDate(), FileDateTime("C:\\src\\readme.txt"), 1e-9);
  EXPECT_EQ(file.SourceVersion(), "");
  TInstallFile missing(nullptr, "C:\\src\\missing.txt");
  try {
    missing.ReadInfoFromFile();
    FAIL();
  } catch (const IECustomInstallFile& e) {
    EXPECT_STREQ(e.what(), "Could not open or find the following file when trying to read the Size, Date, and Version "
                           ":C:\\src\\missing.txt");
  }
}

TEST_F(InstallFileData, RemoveMissingFilesFreesFilesWhoseSourceIsGone) {
  WriteMachineFile("C:\\src\\kept.txt", "x");
  auto* dir = new TInstallDirectory(FModule);
  auto* kept = new TInstallFile(FModule, dir, "C:\\src\\kept.txt");
  new TInstallFile(FModule, dir, "C:\\src\\gone.txt");
  dir->RemoveMissingFiles();
  ASSERT_EQ(dir->InstallFileCount(), 1);
  EXPECT_EQ(dir->InstallFiles(0), kept);
}

} // namespace
