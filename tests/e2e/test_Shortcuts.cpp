// A project's Start-menu folder installed by the real setup program: its shell links read back
// by lnkinfo, its internet shortcut, the uninstall entry's list of files, and the desktop menu
// entries, validated.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "platform/Machine.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "tests/platform/ShortcutReaders.h"
#include "tests/support/SetupProcess.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kProject = R"(object formMain: TformMain
  object psContainerArchiveFile: TpsContainerArchiveFile
  end
  object psContainerDestDir: TpsContainerDestDir
  end
  object psMainArchiveFile: TpsMainArchiveFile
  end
  object psProgramFiles: TpsProgramFiles
  end
  object psProgramMenu: TpsProgramMenu
  end
  object psObjectLink: TpsObjectLink
  end
  object Install1: TInstall
    DestDir = '\Link Test'
    DestDirType = psProgramFiles
    Information.ProductName = 'Link Test'
  end
  object App: TInstallFile
    Container = Install1
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    IncludeFromDir = 'C:\src'
    FileName = 'app.exe'
    DestName = 'app.exe'
    UniqueID = 0
  end
  object Uninstaller: TUninstallEXE
    Container = Install1
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    IncludeFromDir = 'C:\src'
    FileName = 'uninst.sh'
    DestName = 'uninst.sh'
    Net = False
    UniqueID = 1
  end
  object ProgramFolder: TMainLinkGroup
    DestDir = '\Link Test'
  end
  object ToolsFolder: TSubLinkGroup
    Container = ProgramFolder
    DestDir = '\Tools'
  end
  object AppLink: TInstallMainLink
    LinkName = 'Link Test.lnk'
    ObjectLink = App
    ObjectLocationType = psObjectLink
    HotKey = 1601
  end
  object WebLink: TInstallMainLink
    LinkName = 'Web Site.URL'
    ObjectLocation = 'http://www.example.com/link-test'
  end
  object UninstallLink: TInstallMainLink
    LinkName = 'Uninstall.lnk'
    ObjectLink = Uninstaller
    ObjectLocationType = psObjectLink
  end
  object NotesLink: TInstallSubLink
    Container = ToolsFolder
    LinkName = 'Notes.lnk'
    ObjectLocation = 'C:\Notes\read me.txt'
    Parameters = '/p "%i\data" 100%%'
  end
end
)";

const std::string kProgramFiles = "C:\\Program Files\\Link Test";

std::string ReadText(const std::filesystem::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ShortcutsInstalled : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    ShareMachineWithPrograms();
    TMachine::Current();
    FKMenu =
        TRegKey::Open(TRootKey::rkCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
            ->ReadString("Programs")
            .value_or("") +
        "\\Link Test";
    // The distribution's archive, and a note the sub-folder's shortcut points at.
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile("C:\\dist\\files.1");
    ForceDirectories("C:\\src");
    std::filesystem::copy_file(std::string(QNL_ICON_FIXTURE) + "/iconapp.exe", UnixPathOf("C:\\src\\app.exe"));
    WriteMachineFile("C:\\src\\uninst.sh", "#!/bin/sh\nexit 0\n");
    WriteMachineFile("C:\\Notes\\read me.txt", "notes");
    for (auto [source, id] : {std::pair{"C:\\src\\app.exe", 0}, std::pair{"C:\\src\\uninst.sh", 1}}) {
      zip.FilesToProcess().Clear();
      zip.FilesToProcess().Add(source);
      zip.Add(lzcOnlyAdd, id);
    }
  }
  static void WriteMachineFile(const std::string& Path, const std::string& Text) {
    ForceDirectories(ExtractFileDir(Path));
    TFileStream stream(Path, fmCreate);
    stream.WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
  }
  std::string Xdg(const std::string& Path) const { return (FDir / "xdg" / Path).string(); }

  // The project's folder in the machine's Programs menu.
  std::string FKMenu;
};

TEST_F(ShortcutsInstalled, TheStartMenuFolderHoldsEveryShortcutAndTheUninstallEntryListsThem) {
  std::string setup = CompileSetup(WriteFile("formMain.txt", kProject));
  TProcessResult r = Run("env XDG_DATA_HOME=" + Quote(Xdg("")) + " " + Quote(setup) + " '-sC:\\dist'");
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;

  if (HaveProgram("lnkinfo")) {
    std::map<std::string, std::string> app = LnkInfo(UnixPathOf(FKMenu + "\\Link Test.lnk"));
    EXPECT_EQ(app["Local path"], kProgramFiles + "\\app.exe");
    EXPECT_EQ(app["Working directory"], kProgramFiles);
    std::map<std::string, std::string> notes = LnkInfo(UnixPathOf(FKMenu + "\\Tools\\Notes.lnk"));
    EXPECT_EQ(notes["Local path"], "C:\\Notes\\read me.txt");
    EXPECT_EQ(notes["Command line arguments"], "/p \"" + kProgramFiles + "\\data\" 100%");
    EXPECT_EQ(notes["Working directory"], "C:\\Notes");
    std::map<std::string, std::string> uninstall = LnkInfo(UnixPathOf(FKMenu + "\\Uninstall.lnk"));
    EXPECT_EQ(uninstall["Local path"], kProgramFiles + "\\uninst.sh");
    EXPECT_EQ(uninstall["Command line arguments"], "Link Test");
  }
  std::ifstream link(UnixPathOf(FKMenu + "\\Link Test.lnk"), std::ios::binary);
  link.seekg(0x40);
  EXPECT_EQ(link.get() | link.get() << 8, 1601); // the hot key
  EXPECT_EQ(ReadText(UnixPathOf(FKMenu + "\\Web Site.URL")),
            "[InternetShortcut]\r\nURL=http://www.example.com/link-test\r\n");

  const std::string appEntry = Xdg("applications/quenloft/Programs/Link Test/Link Test.desktop");
  const std::string notesEntry = Xdg("applications/quenloft/Programs/Link Test/Tools/Notes.desktop");
  EXPECT_FALSE(std::filesystem::exists(Xdg("applications/quenloft/Programs/Link Test/Uninstall.desktop")));
  if (HaveProgram("desktop-file-validate")) {
    for (const std::string& entry : {appEntry, notesEntry}) EXPECT_EQ(DesktopFileComplaints(entry), "") << entry;
  }
  EXPECT_EQ(ExecArguments(DesktopEntryKeys(appEntry)["Exec"]),
            (std::vector<std::string>{"env", "WINEPREFIX=" + Machine().string(), "wine",
                                      UnixPathOf(kProgramFiles + "\\app.exe")}));
  EXPECT_TRUE(std::filesystem::exists(DesktopEntryKeys(appEntry)["Icon"]));

  std::string files = Run(Quote(Bin("quenloft")) + " reg query " +
                          Quote("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Link Test\\Files"))
                          .Out;
  for (const std::string& path :
       {kProgramFiles + "\\app.exe", FKMenu + "\\Link Test.lnk", FKMenu + "\\Web Site.URL", FKMenu + "\\Uninstall.lnk",
        FKMenu + "\\Tools\\Notes.lnk", WindowsPathOf(appEntry), WindowsPathOf(notesEntry),
        WindowsPathOf(Xdg("desktop-directories/quenloft-Programs-Link Test-Tools.directory"))})
    EXPECT_NE(files.find("REG_SZ    " + path + "\n"), std::string::npos) << path << "\n" << files;
}

} // namespace
