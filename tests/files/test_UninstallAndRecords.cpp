// The uninstaller's entry in the list of installed programs, and the file-list record.
#include <gtest/gtest.h>

#include "FilesTestSupport.h"
#include "engine/FileListRecord.h"
#include "engine/TInstall.h"
#include "engine/TInstallFile.h"
#include "engine/cmp_TUninstallEXE.h"
#include "platform/registry/Registry.h"
#include "settings/cmp_TInstallInformation.h"

using namespace qnl;
using namespace qnl::test;

namespace {

using Uninstall = FilesTest;

TEST_F(Uninstall, TheUninstallerListsTheProductWithTrimmedNames) {
  auto* install = new TInstall(FModule);
  install->Information()->FProductName = "  Tool  ";
  auto* uninstaller = new TUninstallEXE(FModule);
  uninstaller->SetName("Uninstaller");
  EXPECT_TRUE(uninstaller->Net());
  uninstaller->SetFileName("uninstall.exe");
  uninstaller->SetDestDir("C:\\Apps\\Tool\\Uninstall");
  const std::string key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\  Tool  ";
  uninstaller->WriteUninstallInfo(key);
  auto entry = TRegKey::Open(TRootKey::rkLocalMachine, key);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->ReadString("DisplayName").value_or(""), "Tool");
  EXPECT_EQ(entry->ReadString("UninstallString").value_or(""), "C:\\Apps\\Tool\\Uninstall\\uninstall.exe Tool");
  EXPECT_FALSE(entry->OpenSubKey("Files")); // no path entry of its own

  EXPECT_TRUE(install->BuildInfo()->AddUninstallOnCreate);
  delete uninstaller;
  EXPECT_FALSE(install->BuildInfo()->AddUninstallOnCreate);
}

TEST_F(Uninstall, WithoutAnInstallComponentTheUninstallerCannotRegister) {
  TUninstallEXE uninstaller(nullptr);
  uninstaller.SetName("Remover");
  QNL_EXPECT_THROW_MESSAGE(uninstaller.WriteUninstallInfo("\\Software\\X"), IEUninstallEXE,
                           "Remover could not write information about the uninstall to the registry because there "
                           "was no TInstall component");
}

TEST_F(Uninstall, AnActiveXFileIsRecordedWithItsProgramFlag) {
  TInstallFile control(nullptr, "C:\\src\\grid.ocx");
  control.SetDestDir("C:\\Apps\\Tool");
  TInstallFile server(nullptr, "C:\\src\\server.exe");
  server.SetActiveX(true);
  server.SetDestDir("C:\\Apps\\Tool");
  control.WriteUninstallInfo("\\Software\\U");
  server.WriteUninstallInfo("\\Software\\U");
  auto activeX = TRegKey::Open(TRootKey::rkLocalMachine, "\\Software\\U\\ActiveX");
  ASSERT_TRUE(activeX);
  EXPECT_EQ(activeX->ReadString("Entries").value_or(""), "2");
  EXPECT_EQ(activeX->ReadString("File1").value_or(""), "C:\\Apps\\Tool\\grid.ocx;0");
  EXPECT_EQ(activeX->ReadString("File2").value_or(""), "C:\\Apps\\Tool\\server.exe;1");
}

TEST_F(Uninstall, AFilesKeyThatCannotBeReadGivesWayToFiles1) {
  TRegKey::Create(TRootKey::rkLocalMachine, "\\Software\\U\\Files").WriteString("Entries", "not a number");
  TInstallFile file(nullptr, "C:\\src\\a.txt");
  file.SetDestDir("C:\\Apps");
  file.WriteUninstallInfo("\\Software\\U");
  auto files1 = TRegKey::Open(TRootKey::rkLocalMachine, "\\Software\\U\\Files1");
  ASSERT_TRUE(files1);
  EXPECT_EQ(files1->ReadString("File1").value_or(""), "C:\\Apps\\a.txt");
  EXPECT_EQ(files1->ReadString("Entries").value_or(""), "1");
}

TEST_F(Uninstall, ARerunRecordsEachFileOnceInTheOrderOfItsFirstRun) {
  TInstallFile a(nullptr, "C:\\src\\a.txt"), b(nullptr, "C:\\src\\b.txt"), grid(nullptr, "C:\\src\\grid.ocx");
  for (TInstallFile* file : {&a, &b, &grid}) file->SetDestDir("C:\\Apps");
  for (TInstallFile* file : {&b, &a, &grid}) file->WriteUninstallInfo("\\Software\\U");
  a.SetDestDir("c:\\APPS"); // the same file, spelt differently
  for (TInstallFile* file : {&a, &grid, &b}) file->WriteUninstallInfo("\\Software\\U");
  auto files = TRegKey::Open(TRootKey::rkLocalMachine, "\\Software\\U\\Files");
  ASSERT_TRUE(files);
  EXPECT_EQ(files->ReadString("Entries").value_or(""), "2");
  EXPECT_EQ(files->ReadString("File1").value_or(""), "C:\\Apps\\b.txt");
  EXPECT_EQ(files->ReadString("File2").value_or(""), "C:\\Apps\\a.txt");
  EXPECT_EQ(TRegKey::Open(TRootKey::rkLocalMachine, "\\Software\\U\\ActiveX")->ReadString("Entries").value_or(""), "1");
}

TEST_F(Uninstall, AFileListedBySomeoneElseMeanwhileIsNotListedAgain) {
  TInstallFile a(nullptr, "C:\\src\\a.txt"), b(nullptr, "C:\\src\\b.txt"), c(nullptr, "C:\\src\\c.txt");
  for (TInstallFile* file : {&a, &b, &c}) file->SetDestDir("C:\\Apps");
  a.WriteUninstallInfo("\\Software\\U");
  b.WriteUninstallInfo("\\Software\\U");
  TRegKey files = *TRegKey::Open(TRootKey::rkLocalMachine, "\\Software\\U\\Files");
  files.WriteString("File3", "C:\\APPS\\C.TXT");
  files.WriteString("Entries", "3");
  c.WriteUninstallInfo("\\Software\\U");
  EXPECT_EQ(files.ReadString("Entries").value_or(""), "3");
}

TEST(FileList, TheRecordIs72BytesWithFieldsCutToFit) {
  TFileListEntry entry{0x01020304, 45000.5, std::string(50, 'N'), "1.2.3.4-with-a-long-tail"};
  std::string record = EncodeFileListRecord(entry);
  ASSERT_EQ(record.size(), 72u);
  EXPECT_EQ(record.substr(0, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(record[12 + 39], '\0');
  EXPECT_EQ(record[52 + 19], '\0');
  TFileListEntry back = DecodeFileListRecord(record);
  EXPECT_EQ(back.SourceSize, 0x01020304);
  EXPECT_EQ(back.SourceDate, 45000.5);
  EXPECT_EQ(back.Name, std::string(39, 'N'));
  EXPECT_EQ(back.Version, "1.2.3.4-with-a-long");
  EXPECT_THROW(DecodeFileListRecord(record.substr(0, 71)), EReadError);
}

TEST(FileList, ARecordSetsTheFiguresOfTheFileOfThatName) {
  TInstallFile file(nullptr);
  file.SetName("MainExe");
  file.SetSourceSize(12);
  file.SetSourceDate(40000.25);
  file.SetSourceVersion("2.0");
  std::string record = FileListRecord(file);
  TInstallFile other(nullptr);
  other.SetName("mainexe2");
  TFileListEntry entry = DecodeFileListRecord(record);
  entry.Name = "MAINEXE";
  file.SetSourceSize(0);
  EXPECT_TRUE(ApplyFileListEntry(entry));
  EXPECT_EQ(file.SourceSize(), 12);
  EXPECT_EQ(file.SourceDate(), 40000.25);
  EXPECT_EQ(file.SourceVersion(), "2.0");
  entry.Name = "Nobody";
  EXPECT_FALSE(ApplyFileListEntry(entry));
}

} // namespace
