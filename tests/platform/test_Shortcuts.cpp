// The shell's shortcut services on the machine: shell link files read back by lnkinfo, INI
// files, Program Manager over DDE, and the desktop menu entries of the Start Menu.
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ShortcutReaders.h"
#include "platform/Machine.h"
#include "platform/dde/Dde.h"
#include "platform/desktop/DesktopEntry.h"
#include "platform/files/Files.h"
#include "platform/files/WholeFile.h"
#include "platform/files/WinPaths.h"
#include "platform/ini/IniFile.h"
#include "platform/registry/Registry.h"
#include "platform/shelllink/ShellLink.h"
#include "platform/system/CodePage.h"
#include "tests/support/PlatformTest.h"

using namespace qnl;
using namespace qnl::test;

namespace {

TShellLink Link(const std::string& Target, const std::string& Arguments = "", const std::string& Directory = "",
                uint16_t HotKey = 0) {
  TShellLink link;
  link.Target = Target;
  link.Arguments = Arguments;
  link.WorkingDirectory = Directory;
  link.HotKey = HotKey;
  return link;
}

class Shortcuts : public TPlatformTest {
protected:
  void SetUp() override {
    TPlatformTest::SetUp();
    setenv("XDG_DATA_HOME", (FRoot + "/xdg").c_str(), 1);
    unsetenv("QUENLOFT_NO_DESKTOP_ENTRIES");
    unsetenv("QNL_NO_PROGMAN");
  }
  // The HRESULT SaveShellLink raises, or 0.
  static int32_t SaveError(const std::string& LinkPath, const TShellLink& Link) {
    try {
      SaveShellLink(LinkPath, Link);
    } catch (const EOleSysError& e) {
      return e.ErrorCode();
    }
    return 0;
  }
  static uint16_t HeaderHotKey(const std::string& UnixPath) {
    std::ifstream in(UnixPath, std::ios::binary);
    unsigned char bytes[2] = {};
    in.seekg(0x40);
    in.read(reinterpret_cast<char*>(bytes), 2);
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  }
};

struct TLinkCase {
  const char* Label;
  int CodePage;
  std::string Target, Arguments, WorkingDirectory;
  uint16_t HotKey;
};

TEST_F(Shortcuts, LnkinfoReadsTheLinkAsWrittenInTheMachinesCodePage) {
  if (!HaveProgram("lnkinfo")) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  const TLinkCase cases[] = {
      {"blanks and quotes", 1252, "C:\\Program Files\\My App\\app.exe", "-open \"C:\\My Files\\a b.txt\" 100%",
       "C:\\Program Files\\My App", 0x0641},
      {"code page 1252", 1252,
       "C:\\Donn\xE9"
       "es\\caf\xE9.exe",
       "--gr\xFC\xDF"
       "e",
       "C:\\Donn\xE9"
       "es",
       0},
      {"code page 1251", 1251, "C:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\\\xF2\xE5\xF1\xF2.exe", "\xE4\xE0",
       "C:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB", 0x0270},
      {"target not installed yet", 1252, "C:\\Later\\tool.exe", "", "C:\\Later", 0},
  };
  for (const TLinkCase& c : cases) {
    SCOPED_TRACE(c.Label);
    // Each row on a machine of its own, whose code page is set before any text is converted.
    setenv("WINEPREFIX", (FRoot + "/" + std::to_string(&c - cases)).c_str(), 1);
    TMachine::Current();
    TRegKey::Create(TRootKey::rkLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\CodePage")
        .WriteString("ACP", std::to_string(c.CodePage));
    if (std::string(c.Label) != "target not installed yet") WriteMachineFile(c.Target, "MZ program");
    ForceDirectories("C:\\Links");
    SaveShellLink("C:\\Links\\Tool.lnk", Link(c.Target, c.Arguments, c.WorkingDirectory, c.HotKey));
    std::string cp = "windows-" + std::to_string(c.CodePage);
    std::map<std::string, std::string> info = LnkInfo(Unix("C:\\Links\\Tool.lnk"), cp);
    EXPECT_EQ(info["Local path"], AnsiToUtf8(c.Target));
    EXPECT_EQ(info["Working directory"], AnsiToUtf8(c.WorkingDirectory));
    EXPECT_EQ(info["Command line arguments"], AnsiToUtf8(c.Arguments));
    EXPECT_EQ(info["Drive type"], "Fixed (3)");
    // lnkinfo 20181227 prints the file size as the hot key: the header is read directly.
    EXPECT_EQ(HeaderHotKey(Unix("C:\\Links\\Tool.lnk")), c.HotKey);
    std::optional<TShellLink> back = LoadShellLink("C:\\Links\\Tool.lnk");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Target, c.Target);
    EXPECT_EQ(back->Arguments, c.Arguments);
    EXPECT_EQ(back->WorkingDirectory, c.WorkingDirectory);
    EXPECT_EQ(back->HotKey, c.HotKey);
  }
}

TEST_F(Shortcuts, AFailedSaveReportsItsHResultAndLeavesNoPartOfALink) {
  ForceDirectories("C:\\Links");
  const TShellLink link = Link("C:\\windows\\notepad.exe", "", "C:\\windows");
  EXPECT_EQ(SaveError("C:\\Links\\NoTarget.lnk", TShellLink{}), E_INVALIDARG);
  EXPECT_EQ(SaveError("C:\\Links\\" + std::string(250, 'n') + ".lnk", link), E_INVALIDARG);
  EXPECT_EQ(SaveError("C:\\Missing\\Tool.lnk", link), static_cast<int32_t>(0x80070003));
  // A full disk: the process may write no file larger than 64 bytes. The link that was there
  // stays as it was.
  SaveShellLink("C:\\Links\\Tool.lnk", link);
  std::optional<std::string> before = ReadFileContents("C:\\Links\\Tool.lnk");
  auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{}, saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  limit = saved;
  limit.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &limit);
  int32_t full = SaveError("C:\\Links\\Tool.lnk", Link("C:\\Other\\program.exe", "-x", "C:\\Other"));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);
  EXPECT_EQ(full, static_cast<int32_t>(0x80070070));
  EXPECT_EQ(ReadFileContents("C:\\Links\\Tool.lnk"), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Unix("C:\\Links")), {}), 1);
  EXPECT_FALSE(LoadShellLink("C:\\Links\\Missing.lnk"));
}

TEST_F(Shortcuts, AnIniFileKeepsWhatItHadAndTakesTheValueInItsSection) {
  WriteMachineFile("C:\\a.url", "; kept\r\n[internetshortcut]\r\nurl=old\r\nIconIndex=1\r\n\r\n[Other]\r\nURL=x\r\n");
  WriteProfileString("C:\\a.url", "InternetShortcut", "URL", "http://example.com/");
  WriteProfileString("C:\\a.url", "InternetShortcut", "WorkingDirectory", "C:\\");
  WriteProfileString("C:\\b.url", "InternetShortcut", "URL", "ftp://example.com/");
  EXPECT_EQ(ReadMachineFile("C:\\a.url"), "; kept\r\n[internetshortcut]\r\nURL=http://example.com/\r\nIconIndex=1\r\n"
                                          "WorkingDirectory=C:\\\r\n\r\n[Other]\r\nURL=x\r\n");
  EXPECT_EQ(ReadMachineFile("C:\\b.url"), "[InternetShortcut]\r\nURL=ftp://example.com/\r\n");
  EXPECT_EQ(ReadProfileString("C:\\a.url", "OTHER", "url"), "x");
  EXPECT_EQ(ReadProfileString("C:\\a.url", "Other", "Missing"), std::nullopt);
  EXPECT_EQ(ReadProfileString("C:\\none.url", "Other", "URL"), std::nullopt);
}

TEST_F(Shortcuts, ProgramManagerKeepsGroupsAsFoldersOfLinks) {
  std::unique_ptr<TDdeConversation> progman = TDdeConversation::Connect("Progman", "PROGMAN");
  ASSERT_TRUE(progman);
  EXPECT_FALSE(TDdeConversation::Connect("Shell", "AppProperties"));
  const std::string programs =
      TRegKey::Open(TRootKey::rkCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
          ->ReadString("Programs")
          .value();
  EXPECT_FALSE(progman->Execute("[AddItem(\"C:\\a.exe\" ,A)]")); // no group chosen yet
  EXPECT_FALSE(progman->Execute("[ShowGroup(My Tools,8)]"));     // no such group
  EXPECT_FALSE(progman->Request("My Tools"));
  ASSERT_TRUE(progman->Execute("[CreateGroup(\"My Tools\")]"));
  ASSERT_TRUE(progman->Execute("[ShowGroup(My Tools,8)][AddItem(\"C:\\Program Files\\T\\t.exe\" -a \"b c\",Tool,,0,,,"
                               "\"C:\\Program Files\\T\",)]"));
  ASSERT_TRUE(progman->Execute("[AddItem(C:\\T\\read.txt,Read: Me,,0,,,C:\\T,577)]"));
  std::optional<TShellLink> tool = LoadShellLink(programs + "\\My Tools\\Tool.lnk");
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->Target, "C:\\Program Files\\T\\t.exe");
  EXPECT_EQ(tool->Arguments, "-a \"b c\"");
  EXPECT_EQ(tool->WorkingDirectory, "C:\\Program Files\\T");
  EXPECT_EQ(progman->Request("my tools"),
            "\"my tools\"," + programs +
                "\\my tools,2,1\r\n"
                "\"Read_ Me\",\"C:\\T\\read.txt\",C:\\T,,0,0,0,577,0\r\n"
                "\"Tool\",\"C:\\Program Files\\T\\t.exe -a \"b c\"\",C:\\Program Files\\T,,0,0,0,0,0\r\n");
  EXPECT_EQ(progman->Request("Groups"), "My Tools\r\nStartUp\r\n"); // the machine has a StartUp group
  EXPECT_TRUE(progman->Execute("[ReplaceItem(\"Tool\")]"));
  EXPECT_FALSE(FileExists(programs + "\\My Tools\\Tool.lnk"));
  EXPECT_FALSE(progman->Execute("[ReplaceItem(\"Tool\")]"));
  EXPECT_FALSE(progman->Execute("[CreateGroup(\"Bad\")"));
  EXPECT_FALSE(progman->Execute("[Unknown]"));
  setenv("QNL_NO_PROGMAN", "1", 1);
  EXPECT_FALSE(TDdeConversation::Connect("PROGMAN", "PROGMAN"));
}

class DesktopEntries : public Shortcuts {
protected:
  void SetUp() override {
    Shortcuts::SetUp();
    FMenu = "C:\\Menu";
    ForceDirectories(FMenu + "\\Programs\\Tools");
  }
  std::string Xdg(const std::string& Path) const { return FRoot + "/xdg/" + Path; }
  std::string FMenu;
};

TEST_F(DesktopEntries, ADocumentAndAProgramGetValidEntriesThatStartThemThroughWine) {
  if (!HaveProgram("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed";
  ForceDirectories("C:\\Tools");
  WriteMachineFile("C:\\Tools\\read me.txt", "text");
  std::filesystem::copy_file(std::string(QNL_ICON_FIXTURE) + "/iconapp.exe", Unix("C:\\Tools\\app.exe"));
  std::vector<std::string> document = WriteDesktopMenuEntry(FMenu, FMenu + "\\Programs\\Tools\\Read Me.lnk",
                                                            Link("C:\\Tools\\read me.txt", "", "C:\\Tools"));
  std::vector<std::string> program =
      WriteDesktopMenuEntry(FMenu, FMenu + "\\Programs\\Tools\\App 100%.lnk",
                            Link("C:\\Tools\\app.exe", "-p \"C:\\My Data\\$HOME\" a`b 100%", "C:\\Tools"));
  const std::string readMe = Xdg("applications/quenloft/Programs/Tools/Read Me.desktop");
  const std::string app = Xdg("applications/quenloft/Programs/Tools/App 100%.desktop");
  const std::string icon = Xdg("icons/quenloft/quenloft-Programs-Tools-App 100%.ico");
  auto windows = [](const std::vector<std::string>& Unix) {
    std::vector<std::string> paths;
    for (const std::string& path : Unix) paths.push_back(WindowsPathOf(path));
    return paths;
  };
  EXPECT_EQ(document, windows({Xdg("desktop-directories/quenloft-Programs.directory"),
                               Xdg("desktop-directories/quenloft-Programs-Tools.directory"), readMe}));
  EXPECT_EQ(program, windows({icon, app}));
  for (const std::string& file : {readMe, app, Xdg("desktop-directories/quenloft-Programs-Tools.directory")})
    EXPECT_EQ(DesktopFileComplaints(file), "") << file;

  std::map<std::string, std::string> keys = DesktopEntryKeys(app);
  EXPECT_EQ(keys["Name"], "App 100%");
  EXPECT_EQ(keys["Path"], Unix("C:\\Tools"));
  EXPECT_EQ(keys["Icon"], icon);
  std::ifstream iconFile(icon, std::ios::binary), fixture(std::string(QNL_ICON_FIXTURE) + "/app.ico", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(iconFile), {}),
            std::string(std::istreambuf_iterator<char>(fixture), {}));
  EXPECT_EQ(ExecArguments(keys["Exec"]),
            (std::vector<std::string>{"env", "WINEPREFIX=" + FDir, "wine", Unix("C:\\Tools\\app.exe"), "-p",
                                      "C:\\My Data\\$HOME", "a`b", "100%"}));
  EXPECT_EQ(ExecArguments(DesktopEntryKeys(readMe)["Exec"]),
            (std::vector<std::string>{"env", "WINEPREFIX=" + FDir, "wine", "start", "/unix",
                                      Unix("C:\\Tools\\read me.txt")}));
  EXPECT_EQ(DesktopEntryKeys(readMe).count("Icon"), 0u);
}

TEST_F(DesktopEntries, OnlyShortcutsOfTheStartMenuToWindowsFilesGetEntries) {
  WriteMachineFile("C:\\Tools\\tool.sh", "#!/bin/sh\n");
  WriteMachineFile("C:\\Tools\\readme.txt", "text");
  struct TRow {
    const char* Label;
    std::string Link, Target;
  } rows[] = {
      {"a native program", FMenu + "\\Programs\\Tools\\Tool.lnk", "C:\\Tools\\tool.sh"},
      {"a folder", FMenu + "\\Programs\\Tools\\Folder.lnk", "C:\\Tools"},
      {"a missing target", FMenu + "\\Programs\\Tools\\Gone.lnk", "C:\\Tools\\gone.exe"},
      {"outside the Start Menu", "C:\\Desktop\\Readme.lnk", "C:\\Tools\\readme.txt"},
  };
  for (const TRow& row : rows)
    EXPECT_TRUE(WriteDesktopMenuEntry(FMenu, row.Link, Link(row.Target)).empty()) << row.Label;
  setenv("QUENLOFT_NO_DESKTOP_ENTRIES", "1", 1);
  EXPECT_TRUE(WriteDesktopMenuEntry(FMenu, FMenu + "\\Programs\\Readme.lnk", Link("C:\\Tools\\readme.txt")).empty());
  EXPECT_FALSE(std::filesystem::exists(FRoot + "/xdg"));
}

} // namespace
