// The quenloft tool end to end: compile, convert and dump on real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/registry/Registry.h"
#include "rtl/FormText.h"
#include "rtl/ResourceBundle.h"

using namespace qnl;

namespace {

const char* kProject = R"(object formMain: TformMain
  Left = 10
  Caption = 'Sample'
  object Install1: TInstall
    Include = True
    InstallTypes = [itFull, itDefault]
  end
end
)";

class Quenloft : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = ::testing::TempDir() + "qnl_tool_" + info->name();
    ASSERT_EQ(std::system(("rm -rf '" + FDir + "' && mkdir -p '" + FDir + "'").c_str()), 0);
    const char* bin = std::getenv("QNL_BIN");
    FBin = bin ? bin : QNL_DEFAULT_BIN;
    host::WriteWholeFile(FDir + "/project.txt", kProject);
    // The tool's machine (its code page, its registry) is this test's own.
    const char* prefix = std::getenv("WINEPREFIX");
    FOldPrefix = prefix ? std::optional<std::string>(prefix) : std::nullopt;
    FPrefix = FDir + "/machine";
    setenv("WINEPREFIX", FPrefix.c_str(), 1);
  }
  void TearDown() override {
    if (FOldPrefix)
      setenv("WINEPREFIX", FOldPrefix->c_str(), 1);
    else
      unsetenv("WINEPREFIX");
    std::system(("rm -rf '" + FDir + "'").c_str());
  }

  // Runs quenloft from Tool with Args; returns the exit status, output in Out.
  int Run(const std::string& Tool, const std::string& Args) {
    std::string log = FDir + "/out.log";
    int rc = std::system((Tool + " " + Args + " > '" + log + "' 2>&1").c_str());
    FOut = host::ReadWholeFile(log);
    return WEXITSTATUS(rc);
  }
  // A copy of quenloft with a stand-in setup program beside it.
  std::string ToolWithDummySetup() {
    std::string dir = FDir + "/bin";
    std::system(("mkdir -p '" + dir + "'").c_str());
    host::WriteWholeFile(dir + "/quenloft", host::ReadWholeFile(FBin + "/quenloft"), host::TFileMode::fmExecutable);
    host::WriteWholeFile(dir + "/setup",
                         "\x7F"
                         "ELF stand-in setup program",
                         host::TFileMode::fmExecutable);
    return dir + "/quenloft";
  }

  std::string FDir, FBin, FOut, FPrefix;
  std::optional<std::string> FOldPrefix;
};

} // namespace

TEST_F(Quenloft, ConvertGoesBothWaysAndMatchesTheLibrary) {
  std::string tool = FBin + "/quenloft";
  ASSERT_EQ(Run(tool, "convert '" + FDir + "/project.txt' '" + FDir + "/project.bin'"), 0) << FOut;
  std::string bin = host::ReadWholeFile(FDir + "/project.bin");
  EXPECT_EQ(bin, ObjectTextToBinary(kProject));
  ASSERT_EQ(Run(tool, "convert '" + FDir + "/project.bin' '" + FDir + "/back.txt'"), 0) << FOut;
  EXPECT_EQ(ObjectTextToBinary(host::ReadWholeFile(FDir + "/back.txt")), bin);
}

TEST_F(Quenloft, CompiledSetupCarriesTheProjectAndDumpShowsIt) {
  std::string tool = ToolWithDummySetup();
  ASSERT_EQ(Run(tool, "compile '" + FDir + "/project.txt' -o '" + FDir + "/setup.out'"), 0) << FOut;
  std::string setup = host::ReadWholeFile(FDir + "/setup.out");
  EXPECT_EQ(setup.compare(0, 5,
                          "\x7F"
                          "ELF "),
            0); // the program comes first, unchanged
  TMemoryStream stream(setup);
  auto bundle = TResourceBundle::Open(stream);
  ASSERT_TRUE(bundle);
  ASSERT_NE(bundle->Find("TFORMMAIN"), nullptr);
  EXPECT_EQ(bundle->Read(stream, *bundle->Find("TFORMMAIN")), ObjectTextToBinary(kProject));

  ASSERT_EQ(Run(tool, "dump '" + FDir + "/setup.out'"), 0) << FOut;
  std::string resource = ObjectTextToBinary(kProject);
  EXPECT_EQ(FOut,
            "# resource TFORMMAIN, " + std::to_string(resource.size()) + " bytes\n" + ObjectBinaryToText(resource));

  // Compiling from a setup that carries a project already replaces that project.
  host::WriteWholeFile(FDir + "/bin/setup", setup, host::TFileMode::fmExecutable);
  ASSERT_EQ(Run(tool, "compile '" + FDir + "/project.txt' -o '" + FDir + "/again.out'"), 0) << FOut;
  EXPECT_EQ(host::ReadWholeFile(FDir + "/again.out"), setup);
}

TEST_F(Quenloft, DumpFindsTheProjectBeforeASelfExtractTrailer) {
  std::string tool = ToolWithDummySetup();
  ASSERT_EQ(Run(tool, "compile '" + FDir + "/project.txt' -o '" + FDir + "/setup.out'"), 0) << FOut;
  std::string trailer(56, '\0');
  trailer[0] = 14;
  trailer.replace(1, 14, "NOTSELFEXTRACT");
  host::WriteWholeFile(FDir + "/setup.out", host::ReadWholeFile(FDir + "/setup.out") + trailer);
  ASSERT_EQ(Run(tool, "dump '" + FDir + "/setup.out'"), 0) << FOut;
  EXPECT_NE(FOut.find("object Install1: TInstall"), std::string::npos);
}

TEST_F(Quenloft, RealSetupProgramWhenBuilt) {
  if (!host::FileExists(FBin + "/setup")) GTEST_SKIP() << "the setup program is not built";
  ASSERT_EQ(Run(FBin + "/quenloft", "compile '" + FDir + "/project.txt' -o '" + FDir + "/setup.out'"), 0) << FOut;
  ASSERT_EQ(Run(FBin + "/quenloft", "dump '" + FDir + "/setup.out'"), 0) << FOut;
  EXPECT_NE(FOut.find("object formMain: TformMain"), std::string::npos);
}

TEST_F(Quenloft, ProjectTextsBecomeBytesOfTheMachinesCodePage) {
  std::string tool = FBin + "/quenloft";
  struct {
    const char* Label;
    const char* CodePage;
    const char* Value; // as written in the text form, UTF-8
    const char* Bytes; // what the resource holds, or empty for an error
  } rows[] = {
      {"Cyrillic in 1251", "1251", "'\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82'", "\xCF\xF0\xE8\xE2\xE5\xF2"},
      {"Chinese in 936", "936", "'\xE4\xB8\xAD\xE6\x96\x87'", "\xD6\xD0\xCE\xC4"},
      {"codes in 1252", "1252", "'caf'#233#8364", "caf\xE9\x80"},
      {"Chinese in 1252", "1252", "'a\xE4\xB8\xAD'", ""},
  };
  ASSERT_EQ(Run(tool, "machine create"), 0) << FOut;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    ASSERT_EQ(Run(tool, "reg set 'HKLM\\System\\CurrentControlSet\\Control\\Nls\\CodePage' ACP REG_SZ " +
                            std::string(row.CodePage)),
              0)
        << FOut;
    host::WriteWholeFile(FDir + "/text.txt",
                         std::string("object formMain: TformMain\n  Caption = ") + row.Value + "\nend\n");
    int status = Run(tool, "convert '" + FDir + "/text.txt' '" + FDir + "/text.bin'");
    if (!*row.Bytes) {
      EXPECT_EQ(status, 1);
      EXPECT_EQ(FOut, "quenloft convert: " + FDir +
                          "/text.txt: Line 2: formMain.Caption: "
                          "The character U+4E2D is not in the ANSI code page 1252\n");
      continue;
    }
    ASSERT_EQ(status, 0) << FOut;
    std::string bin = host::ReadWholeFile(FDir + "/text.bin");
    EXPECT_NE(bin.find("Caption\x06" + std::string(1, char(strlen(row.Bytes))) + row.Bytes), std::string::npos);
    // Written back as text and compiled again on this machine: the same bytes.
    ASSERT_EQ(Run(tool, "convert '" + FDir + "/text.bin' '" + FDir + "/back.txt'"), 0) << FOut;
    ASSERT_EQ(Run(tool, "convert '" + FDir + "/back.txt' '" + FDir + "/back.bin'"), 0) << FOut;
    EXPECT_EQ(host::ReadWholeFile(FDir + "/back.bin"), bin);
    // The setup program shows them as the author wrote them on a machine of that code page.
    if (!host::FileExists(FBin + "/setup")) continue;
    ASSERT_EQ(Run(tool, "compile '" + FDir + "/text.txt' -o '" + FDir + "/setup.out'"), 0) << FOut;
    ASSERT_EQ(Run("QNL_DEBUG_TREE=1 QT_QPA_PLATFORM=offscreen '" + FDir + "/setup.out'", ""), 0) << FOut;
    std::string shown = row.Value;
    if (shown.find('#') == std::string::npos) {
      EXPECT_NE(FOut.find("Caption=" + shown), std::string::npos) << FOut;
    }
  }
}

TEST_F(Quenloft, RegQueryWritesNothing) {
  std::string tool = FBin + "/quenloft";
  ASSERT_EQ(Run(tool, "machine create"), 0) << FOut;
  // A change another program keeps in the journal while it runs.
  TMachine writer(FPrefix);
  TRegKey::Create(writer, TRootKey::rkLocalMachine, "Software\\Pending").WriteString("Value", "journal");
  struct stat before, journalBefore, after, journalAfter;
  ASSERT_EQ(stat((FPrefix + "/system.reg").c_str(), &before), 0);
  ASSERT_EQ(stat((FPrefix + "/system.reg.journal").c_str(), &journalBefore), 0);
  ASSERT_EQ(Run(tool, "reg query 'HKLM\\Software\\Pending'"), 0) << FOut;
  EXPECT_NE(FOut.find("Value    REG_SZ    journal"), std::string::npos) << FOut;
  ASSERT_EQ(stat((FPrefix + "/system.reg").c_str(), &after), 0);
  ASSERT_EQ(stat((FPrefix + "/system.reg.journal").c_str(), &journalAfter), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(journalAfter.st_size, journalBefore.st_size);
}

TEST_F(Quenloft, ErrorsAreClearAndFail) {
  std::string tool = FBin + "/quenloft";
  host::WriteWholeFile(FDir + "/bad.txt", "object A: T\n  X = 'open\nend\n");
  EXPECT_EQ(Run(tool, "convert '" + FDir + "/bad.txt' '" + FDir + "/bad.bin'"), 1);
  EXPECT_EQ(FOut, "quenloft convert: " + FDir + "/bad.txt: Line 2: Unterminated string\n");
  EXPECT_FALSE(host::FileExists(FDir + "/bad.bin"));
  // A text form in another encoding than UTF-8 (here 1252) is refused, not misread.
  host::WriteWholeFile(FDir + "/ansi.txt", "object A: T\n  FileName = 'caf\xE9.txt'\nend\n");
  EXPECT_EQ(Run(tool, "convert '" + FDir + "/ansi.txt' '" + FDir + "/ansi.bin'"), 1);
  EXPECT_NE(FOut.find("ansi.txt: Line 2: The text form is not UTF-8 (byte $E9 in a string)"), std::string::npos)
      << FOut;
  EXPECT_EQ(Run(tool, "dump '" + FDir + "/project.txt'"), 1);
  EXPECT_NE(FOut.find("carries no resources"), std::string::npos);
  host::WriteWholeFile(FDir + "/empty.out", "program" + BuildResourceBundle({}));
  EXPECT_EQ(Run(tool, "dump '" + FDir + "/empty.out'"), 1);
  EXPECT_NE(FOut.find("carries no resources"), std::string::npos) << FOut;
  EXPECT_EQ(Run(tool, "dump '" + FDir + "/missing'"), 1);
  EXPECT_NE(FOut.find("Cannot open file \"" + FDir + "/missing\": No such file or directory"), std::string::npos);
  // A copy of the tool without a setup program beside it.
  std::string lone = FDir + "/lone";
  std::system(("mkdir -p '" + lone + "'").c_str());
  host::WriteWholeFile(lone + "/quenloft", host::ReadWholeFile(tool), host::TFileMode::fmExecutable);
  EXPECT_EQ(Run(lone + "/quenloft", "compile '" + FDir + "/project.txt' -o '" + FDir + "/x'"), 1);
  EXPECT_NE(FOut.find("The setup program \"" + lone + "/setup\" does not exist"), std::string::npos);
}

TEST(HostFiles, WholeFilesAndErrorsNamingTheFile) {
  std::string path = ::testing::TempDir() + "qnl_hostfiles_test";
  host::WriteWholeFile(path, std::string("a\0b", 3));
  EXPECT_EQ(host::ReadWholeFile(path), std::string("a\0b", 3));
  EXPECT_TRUE(host::FileExists(path));
  host::WriteWholeFile(path, "replaced");
  EXPECT_EQ(host::ReadWholeFile(path), "replaced");
  host::THostFileStream s(path);
  EXPECT_EQ(s.Size(), 8);
  s.Seek(-3, soEnd);
  EXPECT_EQ(s.ReadString(3), "ced");
  EXPECT_THROW(s.WriteBuffer("x", 1), Exception);
  std::remove(path.c_str());
  EXPECT_FALSE(host::FileExists(path));
  try {
    host::ReadWholeFile(path);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\": No such file or directory");
  }
  EXPECT_THROW(host::WriteWholeFile("/nonexistent-dir/x", "y"), Exception);
  EXPECT_EQ(host::DirectoryOf("/a/b/c"), "/a/b");
  EXPECT_EQ(host::DirectoryOf("c"), ".");
  EXPECT_TRUE(host::FileExists(host::RunningExecutablePath()));
}
