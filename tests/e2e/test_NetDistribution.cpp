// Network distributions end to end: built with -b, served by a local HTTP or FTP server, and
// installed by the distribution's setup.exe on a fresh machine.
#include <filesystem>

#include "tests/support/LocalServer.h"
#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl::test;
namespace fs = std::filesystem;

namespace {

class NetDistribution : public SetupProcessTest {
protected:
  // The project: Readme and Big in the install component's archive, Manual in the Docs
  // directory's; with dtTraditionalNet only Big (Net) is fetched from the server.
  std::string Project(const std::string& Login, const std::string& DistributeType) const {
    return "object formMain: TformMain\n"
           "  object psProgramFiles: TpsProgramFiles\n  end\n"
           "  object psMainArchiveFile: TpsMainArchiveFile\n  end\n"
           "  object psContainerArchiveFile: TpsContainerArchiveFile\n  end\n"
           "  object psContainerDestDir: TpsContainerDestDir\n  end\n"
           "  object Server: TNetInstallLocation\n" +
           Login +
           "  end\n"
           "  object Install1: TInstall\n"
           "    DestDir = '\\Net App'\n    DestDirType = psProgramFiles\n"
           "    NetLocation = Server\n    DistributeType = " +
           DistributeType +
           "\n    Information.ProductName = 'Net App'\n  end\n"
           "  object Docs: TInstallDirectory\n    Container = Install1\n"
           "    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n"
           "    DestDir = '\\Docs'\n  end\n" +
           File("Readme", "Install1", "files", "readme.txt", 0, false) +
           File("Big", "Install1", "files", "big.bin", 1, true) +
           File("Manual", "Docs", "files\\docs", "manual.txt", 2, false) + "end\n";
  }
  static std::string File(const std::string& Name, const std::string& Container, const std::string& Dir,
                          const std::string& FileName, int ID, bool Net) {
    return "  object " + Name + ": TInstallFile\n    Container = " + Container +
           "\n    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n"
           "    IncludeFromDir = '" +
           Dir + "'\n    FileName = '" + FileName + "'\n    DestName = '" + FileName +
           "'\n    UniqueID = " + std::to_string(ID) + (Net ? "\n    Net = True" : "") + "\n  end\n";
  }

  // Builds the distribution of Project into FDir/out, serves its net directory (HostDir,
  // below out) as www/dist, and installs it with setup.exe on the test's machine.
  TProcessResult BuildServeAndInstall(const std::string& ProjectText, const std::string& NetDir) {
    std::string big;
    for (int i = 0; i < 400000; ++i) big += static_cast<char>((i * 31 + i / 97) & 0xFF);
    fs::create_directories(FDir / "files" / "docs");
    WriteFile("files/big.bin", big);
    WriteFile("files/readme.txt", "read me\r\n");
    WriteFile("files/docs/manual.txt", "the manual\r\n");
    std::string setup = CompileSetup(WriteFile("formMain.txt", ProjectText));
    WriteFile("BUILD.INF", "Z:" + (FDir / "out").string() + "\r\n");
    TProcessResult build = Run("env WINEPREFIX=" + Quote((FDir / "author").string()) +
                               " QUENLOFT_PATH=" + Quote(Bin("")) + " " + Quote(setup) + " -b");
    EXPECT_EQ(build.ExitStatus, 0) << build.Err;
    fs::create_directories(FDir / "www");
    fs::copy(FDir / "out" / NetDir, FDir / "www" / "dist", fs::copy_options::recursive);
    return Run("env QUENLOFT_UNATTENDED=1 " + Quote((FDir / "out" / "setup.exe").string()));
  }

  void ExpectInstalledAndCleanedUp(const TProcessResult& Result) {
    EXPECT_EQ(Result.ExitStatus, 0) << Result.Err;
    fs::path app = Machine() / "drive_c" / "Program Files" / "Net App";
    EXPECT_TRUE(ReadFile((app / "big.bin").string()) == ReadFile((FDir / "files" / "big.bin").string()));
    EXPECT_EQ(ReadFile((app / "readme.txt").string()), "read me\r\n");
    EXPECT_EQ(ReadFile((app / "Docs" / "manual.txt").string()), "the manual\r\n");
    // The downloads and their LocalFile records are gone.
    EXPECT_TRUE(fs::is_empty(Machine() / "drive_c" / "windows" / "temp"));
    TProcessResult records = Run(Quote(Bin("quenloft")) + " reg query 'HKLM\\SOFTWARE\\Quenloft\\Install'");
    EXPECT_NE(records.ExitStatus, 0) << records.Out;
  }

  std::string Served() const {
    fs::create_directories(FDir / "www");
    return (FDir / "www").string();
  }
};

} // namespace

TEST_F(NetDistribution, AWebDistributionInstallsFromAnHttpServer) {
  TLocalServer server(TLocalServer::TKind::skHTTP, Served());
  ASSERT_GT(server.Port(), 0);
  std::string login = "    LoginInformation.Hostname = '" + server.Host() +
                      "'\n    LoginInformation.Directory = 'dist'\n    LoginInformation.Protocol = ipHTTP\n";
  TProcessResult result =
      BuildServeAndInstall(Project(login, "dtWeb"), "127.0.0.1" + std::to_string(server.Port()) + "/dist");
  EXPECT_FALSE(fs::exists(FDir / "out" / "files.1")) << "a web distribution ships no archive of files";
  ExpectInstalledAndCleanedUp(result);
}

TEST_F(NetDistribution, ATraditionalNetDistributionFetchesItsNetFilesByFtpWithALogin) {
  TLocalServer server(TLocalServer::TKind::skFTP, Served());
  ASSERT_GT(server.Port(), 0);
  std::string login = "    LoginInformation.Anonymous = False\n    LoginInformation.Hostname = '" + server.Host() +
                      "'\n    LoginInformation.Directory = 'dist'\n    LoginInformation.Protocol = ipFTP\n"
                      "    LoginInformation.Username = 'qnl'\n    LoginInformation.Password = 'secret'\n";
  TProcessResult result =
      BuildServeAndInstall(Project(login, "dtTraditionalNet"), "127.0.0.1" + std::to_string(server.Port()) + "/dist");
  ExpectInstalledAndCleanedUp(result);
  EXPECT_EQ((result.Out + result.Err).find("secret"), std::string::npos);
}

TEST_F(NetDistribution, AMissingArchiveEndsTheInstallationWithTheServersAnswer) {
  TLocalServer server(TLocalServer::TKind::skHTTP, Served());
  ASSERT_GT(server.Port(), 0);
  std::string login = "    LoginInformation.Hostname = '" + server.Host() +
                      "'\n    LoginInformation.Directory = 'elsewhere'\n    LoginInformation.Protocol = ipHTTP\n";
  TProcessResult result =
      BuildServeAndInstall(Project(login, "dtWeb"), "127.0.0.1" + std::to_string(server.Port()) + "/elsewhere");
  EXPECT_EQ(result.ExitStatus, 1);
  EXPECT_NE(result.Err.find("Could not find the file filelist.lst on the server. Error message "
                            "ERROR_INTERNET_ITEM_NOT_FOUND. Server " +
                            server.Host() + ". Response from server HTTP/1.1 404 Not Found"),
            std::string::npos)
      << result.Err;
  EXPECT_FALSE(fs::exists(Machine() / "drive_c" / "Program Files" / "Net App" / "big.bin"));
}
