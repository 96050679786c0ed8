// Installing shortcut folders and shortcuts in this process: what each kind makes, what it
// records for the uninstaller, and how a failure to make it reads.
#include <gtest/gtest.h>

#include "LinksTestSupport.h"
#include "engine/TInstallFile.h"
#include "engine/cmp_TUninstallEXE.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/registry/Registry.h"
#include "platform/shelllink/ShellLink.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const std::string kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

class ShellLinkInstall : public LinksTest {
protected:
  void SetUp() override {
    LinksTest::SetUp();
    FOlder = Add<TMainLinkGroup>("ProgramFolder");
    FOlder->SetDestDir("\\Tool");
    FApp = new TInstallFile(FModule, FInstall, "C:\\src\\app.exe");
    FApp->SetName("App");
  }
  std::string FolderDir() { return FOlder->GetDestDir(); }
  // Entries of the uninstall key's file list, in order.
  static std::vector<std::string> UninstallFiles() {
    std::vector<std::string> files;
    if (auto key = TRegKey::Open(TRootKey::rkLocalMachine, kUninstallKey + "\\Files"))
      for (int i = 1; auto file = key->ReadString("File" + std::to_string(i)); ++i) files.push_back(*file);
    return files;
  }
  TInstallMainLink* LinkTo(const std::string& Name, const std::string& Location) {
    auto* link = Add<TInstallMainLink>(Name);
    link->SetObjectLocation(Location);
    return link;
  }

  TMainLinkGroup* FOlder = nullptr;
  TInstallFile* FApp = nullptr;
};

TEST_F(ShellLinkInstall, TheFolderAndItsShortcutsAreMadeAndRecorded) {
  auto* appLink = Add<TInstallMainLink>("AppLink");
  appLink->SetObjectLink(FApp);
  appLink->SetParameters("--data \"%i\\data\" 100%%");
  appLink->SetHotKey(0x0641);
  auto* web = LinkTo("Web", "http://www.example.com");
  auto* readme = LinkTo("Readme", "C:\\Apps\\Tool\\readme.txt");
  readme->SetLinkName("Readme.URL"); // an internet shortcut whatever the method
  readme->SetMethod(mtShellLinkInterface);
  FApp->SetProcessed(true);
  FOlder->Process();
  EXPECT_TRUE(DirectoryExists(FolderDir()));
  for (TCustomInstallShellLink* link : std::vector<TCustomInstallShellLink*>{appLink, web, readme}) link->Process();

  std::optional<TShellLink> made = LoadShellLink(FolderDir() + "\\app.lnk");
  ASSERT_TRUE(made);
  EXPECT_EQ(made->Target, "C:\\Apps\\Tool\\app.exe");
  EXPECT_EQ(made->Arguments, "--data \"C:\\Apps\\Tool\\data\" 100%");
  EXPECT_EQ(made->WorkingDirectory, "C:\\Apps\\Tool");
  EXPECT_EQ(made->HotKey, 0x0641);
  EXPECT_EQ(ReadProfileString(FolderDir() + "\\www.example.com.URL", "InternetShortcut", "URL"),
            "http://www.example.com");
  EXPECT_EQ(ReadProfileString(FolderDir() + "\\Readme.URL", "InternetShortcut", "URL"), "C:\\Apps\\Tool\\readme.txt");
  EXPECT_EQ(UninstallFiles(),
            (std::vector<std::string>{FolderDir() + "\\app.lnk", FolderDir() + "\\www.example.com.URL",
                                      FolderDir() + "\\Readme.URL"}));
}

TEST_F(ShellLinkInstall, AShortcutToAComponentNotInstalledMakesNothingButCountsAsDone) {
  auto* link = Add<TInstallMainLink>("AppLink");
  link->SetObjectLink(FApp);
  FOlder->Process();
  link->Process();
  EXPECT_TRUE(link->Processed());
  EXPECT_FALSE(FileExists(link->LinkPath()));
  EXPECT_EQ(UninstallFiles(), std::vector<std::string>{link->LinkPath()});
}

TEST_F(ShellLinkInstall, TheUninstallersShortcutPassesTheProductName) {
  auto* uninstaller = new TUninstallEXE(FModule);
  uninstaller->SetName("Uninstaller");
  uninstaller->SetContainer(FInstall);
  uninstaller->SetFileName("uninst.exe");
  uninstaller->SetDestName("uninst.exe");
  uninstaller->SetProcessed(true);
  auto* link = Add<TInstallMainLink>("UninstallLink");
  link->SetObjectLink(uninstaller);
  FOlder->Process();
  link->Process();
  EXPECT_EQ(link->Parameters(), "Tool");
  EXPECT_EQ(LoadShellLink(link->LinkPath())->Arguments, "Tool");
}

TEST_F(ShellLinkInstall, AShortcutThatCannotBeMadeSaysWhyInTheShortcutsName) {
  const std::string start =
      "The TCustomInstallShellLink AppLink name could not be installed. The following error was reported ";
  struct TRow {
    const char* HResult;
    std::string Message;
  } rows[] = {
      {"80040154", start +
                       "Indicates that a specified class is not registered in the registration database. Error code "
                       "-2147221164"},
      {"8007000E", start + "Out of memory. Error code -2147024882"},
      {"80004005", start + "The shell link object failed (QNL_FAIL_SHELL_LINK). Error code -2147467259"},
      {"0", start + ". Error code 0"},
  };
  auto* link = LinkTo("AppLink", "C:\\Apps\\Tool\\app.exe");
  FOlder->Process();
  for (const TRow& row : rows) {
    setenv("QNL_FAIL_SHELL_LINK", row.HResult, 1);
    EXPECT_EQ(ErrorOf([&] { link->Process(); }), row.Message);
  }
  unsetenv("QNL_FAIL_SHELL_LINK");
  // A file where the shortcut's folder belongs: the platform's text, and no shortcut.
  link->SetDestDir("\\Sub");
  WriteMachineFile(FolderDir() + "\\Sub", "in the way");
  EXPECT_EQ(ErrorOf([&] { link->Process(); }),
            start + "Cannot create directory \"" + FolderDir() + "\\Sub\": Not a directory");
  link->SetLinkName(" ");
  EXPECT_EQ(ErrorOf([&] { link->Process(); }),
            "The LinkName is blank for AppLink and therefore could not be installed");
  EXPECT_TRUE(UninstallFiles().empty());
}

} // namespace
