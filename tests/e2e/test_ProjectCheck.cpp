// "quenloft check" on real text forms, and the build that refuses a project it finds at fault.
#include <filesystem>

#include "tests/support/SetupProcess.h"

using namespace qnl::test;

namespace {

// The project with one fault of each kind; its sources are looked for beside it (files\a.txt).
const char* kBroken = "tests/tools/projects/check_broken.txt";

} // namespace

class ProjectCheck : public SetupProcessTest {
protected:
  // quenloft check Args, run in Dir (relative sources are found from there, as the build finds them).
  TProcessResult Check(const std::string& Args, const std::filesystem::path& Dir) const {
    return Run("sh -c " + Quote("cd " + Quote(Dir.string()) + " && " + Quote(Bin("quenloft")) + " check " + Args));
  }
};

TEST_F(ProjectCheck, FindsEveryFaultAtItsLine) {
  std::filesystem::create_directories(FDir / "files");
  WriteFile("files/a.txt", "a");
  std::filesystem::copy_file(Source(kBroken), FDir / "broken.txt");
  TProcessResult r = Check("broken.txt", FDir);
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  struct Row {
    const char* Finding; // the line's start, then a part of its message
    const char* Says;
  };
  for (const Row& row : {
           Row{"broken.txt:2: formMain: Caption: ", "The character U+03A9 is not in the ANSI code page"},
           Row{"broken.txt:14: Install1: ", "Property Colour does not exist"},
           Row{"broken.txt:16: Gizmo1: ", "Class TGizmo not found"},
           Row{"broken.txt:27: FileA: OverwriteMode: ", "Invalid property value 'owSometimes'"},
           Row{"broken.txt:28: FileA: ", "Method FileABeforeInstall is not a published method of TformMain"},
           Row{"broken.txt:35: FileB: FileName: ", "files\\missing.txt does not exist"},
           Row{"broken.txt:36: FileB: DestName: ", "Installed to C:\\Program Files\\Broken\\a.txt, as FileA is"},
           Row{"broken.txt:37: FileB: ", "UniqueID 1 is already the UniqueID of FileA"},
           Row{"broken.txt:45: FileC: ", "has a DestName that is not a file name: ..\\escape.txt"},
           Row{"broken.txt:41: FileC: ArchiveFileType: ", "There is no component psNowhere in the project"},
           Row{"broken.txt:46: FileC: UniqueID: ", "Invalid property value 'seven'"},
           Row{"broken.txt:52: GroupB: Container: ", "Circular reference"},
           Row{"broken.txt:56: Folder2: ", "You can only have one TMainLinkGroup component in your project"},
       }) {
    std::string finding = std::string(row.Finding);
    size_t at = r.Out.find("\n" + finding);
    if (r.Out.starts_with(finding)) at = 0;
    ASSERT_NE(at, std::string::npos) << finding << " in\n" << r.Out;
    size_t end = r.Out.find('\n', at + 1);
    EXPECT_NE(r.Out.substr(at, end - at).find(row.Says), std::string::npos) << row.Says << " in\n" << r.Out;
  }
}

TEST_F(ProjectCheck, FindsNothingInTheExamples) {
  TProcessResult sample = Check("formMain.txt", Source("examples/sample"));
  EXPECT_EQ(sample.ExitStatus, 0) << sample.Out << sample.Err;
  EXPECT_EQ(sample.Out, "");
  // Its handlers are published by its own program's main form.
  TProcessResult withCode = Check("formMain.txt --program " + Quote(QNL_WITH_CODE_SETUP), Source("examples/with-code"));
  EXPECT_EQ(withCode.ExitStatus, 0) << withCode.Out << withCode.Err;
  EXPECT_EQ(withCode.Out, "");
}

TEST_F(ProjectCheck, UsageAndUnreadableFilesAreStatusTwo) {
  EXPECT_EQ(Check("", FDir).ExitStatus, 2);
  EXPECT_EQ(Check("absent.txt", FDir).ExitStatus, 2);
  WriteFile("syntax.txt", "object formMain: TformMain\n  Caption 'x'\nend\n");
  TProcessResult r = Check("syntax.txt", FDir);
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("syntax.txt:2: ")) << r.Out;
}

TEST_F(ProjectCheck, TheBuildRefusesAProjectWithFaultsAndBuildsNothing) {
  std::string form = WriteFile("formMain.txt", R"(object formMain: TformMain
  object psProgramFiles: TpsProgramFiles
  end
  object psContainerArchiveFile: TpsContainerArchiveFile
  end
  object psContainerDestDir: TpsContainerDestDir
  end
  object psMainArchiveFile: TpsMainArchiveFile
  end
  object Install1: TInstall
    DestDir = '\Refused'
    DestDirType = psProgramFiles
  end
  object Lost: TInstallFile
    Container = Install1
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    IncludeFromDir = 'files'
    FileName = 'lost.txt'
    DestName = 'lost.txt'
  end
end
)");
  std::string setup = CompileSetup(form);
  WriteFile("BUILD.INF", "dist\n");
  TProcessResult r = Run(Quote(setup) + " -b");
  EXPECT_NE(r.ExitStatus, 0);
  EXPECT_LT(r.ExitStatus, 124) << "crashed or hung: " << r.Err;
  EXPECT_NE(r.Err.find("The project cannot be built until these are corrected:"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("Lost: The source file "), std::string::npos) << r.Err;
  EXPECT_FALSE(std::filesystem::exists(FDir / "dist")) << "the refused build wrote its directory";
}
