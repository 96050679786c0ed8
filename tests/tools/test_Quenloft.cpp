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
    Dir = ::testing::TempDir() + "qnl_tool_" + info->name();
    ASSERT_EQ(std::system(("rm -rf '" + Dir + "' && mkdir -p '" + Dir + "'").c_str()), 0);
    const char* bin = std::getenv("QNL_BIN");
    Bin = bin ? bin : QNL_DEFAULT_BIN;
    host::WriteWholeFile(Dir + "/project.txt", kProject);
    // The tool's machine (its code page, its registry) is this test's own.
    const char* prefix = std::getenv("WINEPREFIX");
    OldPrefix = prefix ? std::optional<std::string>(prefix) : std::nullopt;
    Prefix = Dir + "/machine";
    setenv("WINEPREFIX", Prefix.c_str(), 1);
  }
  void TearDown() override {
    if (OldPrefix) setenv("WINEPREFIX", OldPrefix->c_str(), 1);
    else unsetenv("WINEPREFIX");
    std::system(("rm -rf '" + Dir + "'").c_str());
  }

  // Runs quenloft from Tool with Args; returns the exit status, output in Out.
  int Run(const std::string& Tool, const std::string& Args) {
    std::string log = Dir + "/out.log";
    int rc = std::system((Tool + " " + Args + " > '" + log + "' 2>&1").c_str());
    Out = host::ReadWholeFile(log);
    return WEXITSTATUS(rc);
  }
  // A copy of quenloft with a stand-in setup program beside it.
  std::string ToolWithDummySetup() {
    std::string dir = Dir + "/bin";
    std::system(("mkdir -p '" + dir + "'").c_str());
    host::WriteWholeFile(dir + "/quenloft", host::ReadWholeFile(Bin + "/quenloft"), host::TFileMode::Executable);
    host::WriteWholeFile(dir + "/setup", "\x7F" "ELF stand-in setup program", host::TFileMode::Executable);
    return dir + "/quenloft";
  }

  std::string Dir, Bin, Out, Prefix;
  std::optional<std::string> OldPrefix;
};

} // namespace

TEST_F(Quenloft, ConvertGoesBothWaysAndMatchesTheLibrary) {
  std::string tool = Bin + "/quenloft";
  ASSERT_EQ(Run(tool, "convert '" + Dir + "/project.txt' '" + Dir + "/project.bin'"), 0) << Out;
  std::string bin = host::ReadWholeFile(Dir + "/project.bin");
  EXPECT_EQ(bin, ObjectTextToBinary(kProject));
  ASSERT_EQ(Run(tool, "convert '" + Dir + "/project.bin' '" + Dir + "/back.txt'"), 0) << Out;
  EXPECT_EQ(ObjectTextToBinary(host::ReadWholeFile(Dir + "/back.txt")), bin);
}

TEST_F(Quenloft, CompiledSetupCarriesTheProjectAndDumpShowsIt) {
  std::string tool = ToolWithDummySetup();
  ASSERT_EQ(Run(tool, "compile '" + Dir + "/project.txt' -o '" + Dir + "/setup.out'"), 0) << Out;
  std::string setup = host::ReadWholeFile(Dir + "/setup.out");
  EXPECT_EQ(setup.compare(0, 5, "\x7F" "ELF "), 0); // the program comes first, unchanged
  TMemoryStream stream(setup);
  auto bundle = TResourceBundle::Open(stream);
  ASSERT_TRUE(bundle);
  ASSERT_NE(bundle->Find("TFORMMAIN"), nullptr);
  EXPECT_EQ(bundle->Read(stream, *bundle->Find("TFORMMAIN")), ObjectTextToBinary(kProject));

  ASSERT_EQ(Run(tool, "dump '" + Dir + "/setup.out'"), 0) << Out;
  std::string resource = ObjectTextToBinary(kProject);
  EXPECT_EQ(Out, "# resource TFORMMAIN, " + std::to_string(resource.size()) + " bytes\n" + ObjectBinaryToText(resource));

  // Compiling from a setup that carries a project already replaces that project.
  host::WriteWholeFile(Dir + "/bin/setup", setup, host::TFileMode::Executable);
  ASSERT_EQ(Run(tool, "compile '" + Dir + "/project.txt' -o '" + Dir + "/again.out'"), 0) << Out;
  EXPECT_EQ(host::ReadWholeFile(Dir + "/again.out"), setup);
}

TEST_F(Quenloft, DumpFindsTheProjectBeforeASelfExtractTrailer) {
  std::string tool = ToolWithDummySetup();
  ASSERT_EQ(Run(tool, "compile '" + Dir + "/project.txt' -o '" + Dir + "/setup.out'"), 0) << Out;
  std::string trailer(56, '\0');
  trailer[0] = 14;
  trailer.replace(1, 14, "NOTSELFEXTRACT");
  host::WriteWholeFile(Dir + "/setup.out", host::ReadWholeFile(Dir + "/setup.out") + trailer);
  ASSERT_EQ(Run(tool, "dump '" + Dir + "/setup.out'"), 0) << Out;
  EXPECT_NE(Out.find("object Install1: TInstall"), std::string::npos);
}

TEST_F(Quenloft, RealSetupProgramWhenBuilt) {
  if (!host::FileExists(Bin + "/setup")) GTEST_SKIP() << "the setup program is not built";
  ASSERT_EQ(Run(Bin + "/quenloft", "compile '" + Dir + "/project.txt' -o '" + Dir + "/setup.out'"), 0) << Out;
  ASSERT_EQ(Run(Bin + "/quenloft", "dump '" + Dir + "/setup.out'"), 0) << Out;
  EXPECT_NE(Out.find("object formMain: TformMain"), std::string::npos);
}

TEST_F(Quenloft, ProjectTextsBecomeBytesOfTheMachinesCodePage) {
  std::string tool = Bin + "/quenloft";
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
  ASSERT_EQ(Run(tool, "machine create"), 0) << Out;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    ASSERT_EQ(Run(tool, "reg set 'HKLM\\System\\CurrentControlSet\\Control\\Nls\\CodePage' ACP REG_SZ " +
                            std::string(row.CodePage)), 0) << Out;
    host::WriteWholeFile(Dir + "/text.txt", std::string("object formMain: TformMain\n  Caption = ") + row.Value + "\nend\n");
    int status = Run(tool, "convert '" + Dir + "/text.txt' '" + Dir + "/text.bin'");
    if (!*row.Bytes) {
      EXPECT_EQ(status, 1);
      EXPECT_EQ(Out, "quenloft convert: " + Dir + "/text.txt: Line 2: formMain.Caption: "
                     "The character U+4E2D is not in the ANSI code page 1252\n");
      continue;
    }
    ASSERT_EQ(status, 0) << Out;
    std::string bin = host::ReadWholeFile(Dir + "/text.bin");
    EXPECT_NE(bin.find("Caption\x06" + std::string(1, char(strlen(row.Bytes))) + row.Bytes), std::string::npos);
    // Written back as text and compiled again on this machine: the same bytes.
    ASSERT_EQ(Run(tool, "convert '" + Dir + "/text.bin' '" + Dir + "/back.txt'"), 0) << Out;
    ASSERT_EQ(Run(tool, "convert '" + Dir + "/back.txt' '" + Dir + "/back.bin'"), 0) << Out;
    EXPECT_EQ(host::ReadWholeFile(Dir + "/back.bin"), bin);
    // The setup program shows them as the author wrote them on a machine of that code page.
    if (!host::FileExists(Bin + "/setup")) continue;
    ASSERT_EQ(Run(tool, "compile '" + Dir + "/text.txt' -o '" + Dir + "/setup.out'"), 0) << Out;
    ASSERT_EQ(Run("QNL_DEBUG_TREE=1 QT_QPA_PLATFORM=offscreen '" + Dir + "/setup.out'", ""), 0) << Out;
    std::string shown = row.Value;
    if (shown.find('#') == std::string::npos) EXPECT_NE(Out.find("Caption=" + shown), std::string::npos) << Out;
  }
}

TEST_F(Quenloft, RegQueryWritesNothing) {
  std::string tool = Bin + "/quenloft";
  ASSERT_EQ(Run(tool, "machine create"), 0) << Out;
  // A change another program keeps in the journal while it runs.
  TMachine writer(Prefix);
  TRegKey::Create(writer, TRootKey::LocalMachine, "Software\\Pending").WriteString("Value", "journal");
  struct stat before, journalBefore, after, journalAfter;
  ASSERT_EQ(stat((Prefix + "/system.reg").c_str(), &before), 0);
  ASSERT_EQ(stat((Prefix + "/system.reg.journal").c_str(), &journalBefore), 0);
  ASSERT_EQ(Run(tool, "reg query 'HKLM\\Software\\Pending'"), 0) << Out;
  EXPECT_NE(Out.find("Value    REG_SZ    journal"), std::string::npos) << Out;
  ASSERT_EQ(stat((Prefix + "/system.reg").c_str(), &after), 0);
  ASSERT_EQ(stat((Prefix + "/system.reg.journal").c_str(), &journalAfter), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(journalAfter.st_size, journalBefore.st_size);
}

TEST_F(Quenloft, ErrorsAreClearAndFail) {
  std::string tool = Bin + "/quenloft";
  host::WriteWholeFile(Dir + "/bad.txt", "object A: T\n  X = 'open\nend\n");
  EXPECT_EQ(Run(tool, "convert '" + Dir + "/bad.txt' '" + Dir + "/bad.bin'"), 1);
  EXPECT_EQ(Out, "quenloft convert: " + Dir + "/bad.txt: Line 2: Unterminated string\n");
  EXPECT_FALSE(host::FileExists(Dir + "/bad.bin"));
  // A text form in another encoding than UTF-8 (here 1252) is refused, not misread.
  host::WriteWholeFile(Dir + "/ansi.txt", "object A: T\n  FileName = 'caf\xE9.txt'\nend\n");
  EXPECT_EQ(Run(tool, "convert '" + Dir + "/ansi.txt' '" + Dir + "/ansi.bin'"), 1);
  EXPECT_NE(Out.find("ansi.txt: Line 2: The text form is not UTF-8 (byte $E9 in a string)"), std::string::npos) << Out;
  EXPECT_EQ(Run(tool, "dump '" + Dir + "/project.txt'"), 1);
  EXPECT_NE(Out.find("carries no resources"), std::string::npos);
  host::WriteWholeFile(Dir + "/empty.out", "program" + BuildResourceBundle({}));
  EXPECT_EQ(Run(tool, "dump '" + Dir + "/empty.out'"), 1);
  EXPECT_NE(Out.find("carries no resources"), std::string::npos) << Out;
  EXPECT_EQ(Run(tool, "dump '" + Dir + "/missing'"), 1);
  EXPECT_NE(Out.find("Cannot open file \"" + Dir + "/missing\": No such file or directory"), std::string::npos);
  // A copy of the tool without a setup program beside it.
  std::string lone = Dir + "/lone";
  std::system(("mkdir -p '" + lone + "'").c_str());
  host::WriteWholeFile(lone + "/quenloft", host::ReadWholeFile(tool), host::TFileMode::Executable);
  EXPECT_EQ(Run(lone + "/quenloft", "compile '" + Dir + "/project.txt' -o '" + Dir + "/x'"), 1);
  EXPECT_NE(Out.find("The setup program \"" + lone + "/setup\" does not exist"), std::string::npos);
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
