// The loading program's test fixture: distributions built from a stand-in installation program.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive/TCompressionStream.h"
#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

// What the stand-in installation program saw (its report file).
struct TFakeReport {
  bool Written = false;
  std::vector<std::string> Args;
  std::string Dir;                                // its own directory (Unix path)
  std::map<std::string, int64_t> Files;           // the entries beside it and their sizes, but the marker
  bool Marked = false;                            // the loading program's marker was beside it
  std::map<std::string, std::string> Environment; // its QUENLOFT_* variables
};

// How the stand-in installation program ends.
struct TFakeEnding {
  int Status = 0;
  int RemoveAfterMs = -1; // >= 0: its directory is removed that long after it ended
  int Signal = 0;         // > 0: it is killed by this signal instead
  int SleepMs = 0;        // it ends that long after writing its report
};

// Each test has its own directory and machine (see SetupProcessTest).
class LoadProgramTest : public SetupProcessTest {
protected:
  // The built loading program and the stand-in installation program.
  static std::string Loader();
  static std::string FakeSetup();
  // Packs Members (files of the test directory, by relative name; the first is the
  // installation program) into the archive Archive with the archive component.
  void MakeArchive(const std::string& Archive, const std::vector<std::string>& Members,
                   TCompressionLevel Level = colMax) const;
  // The usual setup archive: the stand-in program as "setup" and "presetup.txt".
  void MakeSetupArchive(const std::string& Archive = "setup.1") const;
  // Copies the loading program to Name in the test directory (made executable).
  std::string CopyLoader(const std::string& Name) const;
  // Appends Bytes to the file Path.
  static void Append(const std::string& Path, const std::string& Bytes);
  // The 56-byte trailer, encoded here independently of the program's own encoder.
  static std::string Trailer(const std::string& Marker, int32_t SetupStart, int32_t SetupEnd, int32_t MainStart,
                             int32_t MainEnd);

  // Runs Program (a path) with Args (shell words) and the stand-in's report and ending.
  TProcessResult RunLoader(const std::string& Program, const std::string& Args, TFakeEnding Ending = {}) const;
  TFakeReport Report() const;
  // The Windows path of a directory of the test folder as the machine sees it (drive Z:).
  std::string WindowsPathOf(const std::string& UnixPath) const;
  // The entries of the machine's temporary directory.
  std::vector<std::string> TempEntries() const;
  std::string MachineTemp() const;
};

// The error of a loading program that could not start the installation: one line naming
// the program, a non-zero status, no crash.
void ExpectCleanFailure(const TProcessResult& Result, const std::string& Message);

} // namespace qnl::test
