// The loading program's test fixture.
#include "tests/loader/LoaderTestFiles.h"

#include <fstream>
#include <sstream>

#include "archive/TQnlfCompress.h"
#include "tools/loader/TempSetupDirectory.h"

namespace qnl::test {

namespace {
// Runs the archive component with the test directory as the current directory, so that the
// members carry their plain relative names, as the build's members do.
class TCurrentDirectory {
public:
  explicit TCurrentDirectory(const std::filesystem::path& Dir) : FSaved(std::filesystem::current_path()) {
    std::filesystem::current_path(Dir);
  }
  ~TCurrentDirectory() { std::filesystem::current_path(FSaved); }

private:
  std::filesystem::path FSaved;
};

void PutInt32(std::string& Out, size_t At, int32_t Value) {
  for (int i = 0; i < 4; ++i) Out[At + i] = static_cast<char>((static_cast<uint32_t>(Value) >> (8 * i)) & 0xFF);
}
} // namespace

std::string LoadProgramTest::Loader() { return Bin("QuenloftLoadProgram.exe"); }

std::string LoadProgramTest::FakeSetup() { return QNL_FAKE_SETUP; }

void LoadProgramTest::MakeArchive(const std::string& Archive, const std::vector<std::string>& Members,
                                  TCompressionLevel Level) const {
  TCurrentDirectory inTestDir(FDir);
  TQnlfCompress archive(nullptr);
  archive.SetCompressedFile(Archive);
  archive.SetCompressionLevel(Level);
  for (size_t i = 0; i < Members.size(); ++i) {
    archive.FilesToProcess().Clear();
    archive.FilesToProcess().Add(Members[i]);
    archive.Add(i == 0 ? lzcOverwrite : lzcOnlyAdd, 0);
  }
}

void LoadProgramTest::MakeSetupArchive(const std::string& Archive) const {
  std::filesystem::copy_file(FakeSetup(), FDir / "setup", std::filesystem::copy_options::overwrite_existing);
  WriteFile("presetup.txt", "needed before setup starts\n");
  MakeArchive(Archive, {"setup", "presetup.txt"});
}

std::string LoadProgramTest::CopyLoader(const std::string& Name) const {
  std::filesystem::path target = FDir / Name;
  std::filesystem::create_directories(target.parent_path());
  std::filesystem::copy_file(Loader(), target, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(target, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
  return target.string();
}

void LoadProgramTest::Append(const std::string& Path, const std::string& Bytes) {
  std::ofstream(Path, std::ios::binary | std::ios::app) << Bytes;
}

std::string LoadProgramTest::Trailer(const std::string& Marker, int32_t SetupStart, int32_t SetupEnd, int32_t MainStart,
                                     int32_t MainEnd) {
  std::string out(56, '\0');
  out[0] = static_cast<char>(Marker.size());
  out.replace(1, Marker.size(), Marker);
  PutInt32(out, 16, SetupStart);
  PutInt32(out, 20, SetupEnd);
  PutInt32(out, 24, MainStart);
  PutInt32(out, 28, MainEnd);
  return out;
}

TProcessResult LoadProgramTest::RunLoader(const std::string& Program, const std::string& Args,
                                          TFakeEnding Ending) const {
  std::string env = "env QNL_FAKE_REPORT=" + Quote((FDir / "report.txt").string()) +
                    " QNL_FAKE_STATUS=" + std::to_string(Ending.Status);
  if (Ending.RemoveAfterMs >= 0) env += " QNL_FAKE_REMOVE_AFTER_MS=" + std::to_string(Ending.RemoveAfterMs);
  if (Ending.Signal > 0) env += " QNL_FAKE_SIGNAL=" + std::to_string(Ending.Signal);
  if (Ending.SleepMs > 0) env += " QNL_FAKE_SLEEP_MS=" + std::to_string(Ending.SleepMs);
  std::filesystem::remove(FDir / "report.txt");
  return Run(env + " " + Quote(Program) + " " + Args);
}

TFakeReport LoadProgramTest::Report() const {
  TFakeReport report;
  std::ifstream in(FDir / "report.txt");
  std::string line;
  while (std::getline(in, line)) {
    report.Written = true;
    if (line.rfind("arg=", 0) == 0)
      report.Args.push_back(line.substr(4));
    else if (line.rfind("env=", 0) == 0)
      report.Environment[line.substr(4, line.find('=', 4) - 4)] = line.substr(line.find('=', 4) + 1);
    else if (line.rfind("dir=", 0) == 0)
      report.Dir = line.substr(4);
    else if (line.rfind("file=", 0) == 0) {
      size_t blank = line.rfind(' ');
      std::string name = line.substr(5, blank - 5);
      if (name == kSetupDirectoryMarker)
        report.Marked = true;
      else
        report.Files[name] = std::stoll(line.substr(blank + 1));
    }
  }
  return report;
}

std::string LoadProgramTest::WindowsPathOf(const std::string& UnixPath) const {
  std::string path = "Z:" + std::filesystem::weakly_canonical(UnixPath).string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string LoadProgramTest::MachineTemp() const {
  return (FDir / "machine" / "drive_c" / "windows" / "temp").string();
}

std::vector<std::string> LoadProgramTest::TempEntries() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(MachineTemp(), ec))
    names.push_back(entry.path().filename().string());
  return names;
}

void ExpectCleanFailure(const TProcessResult& Result, const std::string& Message) {
  EXPECT_NE(Result.ExitStatus, 0);
  EXPECT_LT(Result.ExitStatus, 124) << "crashed or hung: " << Result.Err;
  EXPECT_EQ(Result.Err.rfind("QuenloftLoadProgram: ", 0), 0u) << Result.Err;
  EXPECT_EQ(Result.Err.find('\n'), Result.Err.size() - 1) << "not one line: " << Result.Err;
  EXPECT_NE(Result.Err.find(Message), std::string::npos) << Result.Err;
}

} // namespace qnl::test
