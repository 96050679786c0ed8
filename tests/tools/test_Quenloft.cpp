// The quenloft tool end to end: compile, convert and dump on real files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/HostFiles.h"
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
  }
  void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }

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

  std::string Dir, Bin, Out;
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

TEST_F(Quenloft, ErrorsAreClearAndFail) {
  std::string tool = Bin + "/quenloft";
  host::WriteWholeFile(Dir + "/bad.txt", "object A: T\n  X = 'open\nend\n");
  EXPECT_EQ(Run(tool, "convert '" + Dir + "/bad.txt' '" + Dir + "/bad.bin'"), 1);
  EXPECT_EQ(Out, "quenloft convert: " + Dir + "/bad.txt: Line 2: Unterminated string\n");
  EXPECT_FALSE(host::FileExists(Dir + "/bad.bin"));
  EXPECT_EQ(Run(tool, "dump '" + Dir + "/project.txt'"), 1);
  EXPECT_NE(Out.find("carries no resources"), std::string::npos);
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
