// The loading program's failures: one line on stderr, a non-zero status, nothing left behind.
#include "tests/loader/LoaderTestFiles.h"

using namespace qnl::test;

namespace {

class LoadProgramFailure : public LoadProgramTest {
protected:
  void SetUp() override {
    LoadProgramTest::SetUp();
    FSetupExe = CopyLoader("dist/setup.exe");
  }
  // Runs the loading program; the installation program must never have started.
  TProcessResult RunExpectingNoStart(const std::string& Args = "") const {
    TProcessResult r = RunLoader(FSetupExe, Args);
    EXPECT_FALSE(Report().Written) << "the installation program ran";
    EXPECT_TRUE(TempEntries().empty()) << "left in the temporary directory: " << TempEntries().front();
    return r;
  }
  std::string FSetupExe;
};

} // namespace

TEST_F(LoadProgramFailure, AMissingSetupArchiveIsNamed) {
  ExpectCleanFailure(RunExpectingNoStart(), "cannot find the setup archive " + WindowsPathOf((FDir / "dist").string()) +
                                                "\\setup.1 beside the program");
}

TEST_F(LoadProgramFailure, ACorruptSetupArchiveFails) {
  WriteFile("dist/setup.1", std::string("\x07\x00\x00\x00\x00garbage that is no header", 30));
  ExpectCleanFailure(RunExpectingNoStart(), "cannot unpack the setup archive ");
}

TEST_F(LoadProgramFailure, AnEmptyArchiveHasNoInstallationProgram) {
  WriteFile("dist/setup.1", std::string(5, '\0'));
  ExpectCleanFailure(RunExpectingNoStart(), "holds no installation program");
}

TEST_F(LoadProgramFailure, ASpannedArchiveIsRefused) {
  MakeSetupArchive("dist/setup.1");
  std::string bytes = ReadFile((FDir / "dist/setup.1").string());
  bytes[4] = 1; // the layout flag of the table head
  WriteFile("dist/setup.1", bytes);
  ExpectCleanFailure(RunExpectingNoStart(), "is spread over disks");
}

TEST_F(LoadProgramFailure, ATruncatedArchiveIsDamaged) {
  MakeSetupArchive("dist/setup.1");
  std::string bytes = ReadFile((FDir / "dist/setup.1").string());
  WriteFile("dist/setup.1", bytes.substr(0, bytes.size() - 10));
  ExpectCleanFailure(RunExpectingNoStart(), "is damaged: the data of its member presetup.txt lies outside the archive");
}

TEST_F(LoadProgramFailure, ABadLastMemberRemovesWhatWasUnpackedBeforeIt) {
  MakeSetupArchive("dist/setup.1");
  std::string bytes = ReadFile((FDir / "dist/setup.1").string());
  bytes.replace(bytes.size() - 6, 6, "XXXXXX"); // the end of presetup.txt's compressed data
  WriteFile("dist/setup.1", bytes);
  ExpectCleanFailure(RunExpectingNoStart(), "cannot unpack the setup archive ");
}

TEST_F(LoadProgramFailure, ASelfExtractTrailerPointingOutsideTheFileFails) {
  auto size = static_cast<int32_t>(std::filesystem::file_size(FSetupExe));
  struct TCase {
    const char* Label;
    int32_t Start, End;
  };
  for (TCase c : {TCase{"end beyond the file", size, size + 100000}, TCase{"negative start", -5, 10},
                  TCase{"end before start", size, size - 10}, TCase{"zero start", 0, 100}}) {
    std::string exe = CopyLoader(std::string("dist/") + c.Label + ".exe");
    Append(exe, std::string(200, 'x') + Trailer("SELFEXTRACTING", c.Start, c.End, 0, 0));
    TProcessResult r = RunLoader(exe, "");
    ExpectCleanFailure(r, "points outside the file");
    EXPECT_FALSE(Report().Written) << c.Label;
  }
}

// A self-extracting file cut short has lost its trailer; the archives beside it may be those
// of another product.
TEST_F(LoadProgramFailure, AFileLongerThanTheLoadingProgramWithoutTrailerInstallsNothing) {
  MakeSetupArchive("dist/setup.1");
  std::string setup1 = ReadFile((FDir / "dist/setup.1").string());
  auto size = static_cast<int32_t>(std::filesystem::file_size(FSetupExe));
  std::string whole = ReadFile(FSetupExe) + setup1 +
                      Trailer("SELFEXTRACTING", size, size + static_cast<int32_t>(setup1.size()) - 1, 0, 0);
  for (size_t cut : {size_t(1), size_t(56), setup1.size()}) {
    WriteFile("dist/setup.exe", whole.substr(0, whole.size() - cut));
    ExpectCleanFailure(RunExpectingNoStart(), "is damaged, perhaps an incomplete download: it has " +
                                                  std::to_string(whole.size() - cut) +
                                                  " bytes where the loading "
                                                  "program alone has " +
                                                  std::to_string(size));
  }
}

TEST_F(LoadProgramFailure, WithoutATemporaryDirectoryNothingIsWritten) {
  RunExpectingNoStart(); // creates the machine
  MakeSetupArchive("dist/setup.1");
  // Make the machine's temporary directory a file: no directory can be created in it.
  std::filesystem::remove_all(MachineTemp());
  WriteFile("machine/drive_c/windows/temp", "a file where the directory should be");
  TProcessResult r = RunLoader(FSetupExe, "");
  ExpectCleanFailure(r, "cannot create a temporary directory in C:\\windows\\temp");
  EXPECT_FALSE(Report().Written);
}
