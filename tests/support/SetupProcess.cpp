// Helpers of the end-to-end tests.
#include "tests/support/SetupProcess.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/TestFiles.h"

namespace qnl::test {

namespace {
std::string Env(const char* Name) {
  const char* v = std::getenv(Name);
  return v ? v : "";
}
} // namespace

void SetupProcessTest::SetUp() {
  std::string prefix = Env("WINEPREFIX");
  std::filesystem::path root =
      prefix.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(prefix).parent_path();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  FDir = root / (std::string("e2e-") + info->test_suite_name() + "-" + info->name());
  std::filesystem::remove_all(FDir);
  std::filesystem::create_directories(FDir);
}

void SetupProcessTest::ShareMachineWithPrograms() {
  const char* old = std::getenv("WINEPREFIX");
  FHadPrefix = old != nullptr;
  FOldPrefix = old ? old : "";
  FSharesMachine = true;
  setenv("WINEPREFIX", Machine().c_str(), 1);
}

void SetupProcessTest::TearDown() {
  if (FSharesMachine) {
    FSharesMachine = false;
    if (FHadPrefix)
      setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
    else
      unsetenv("WINEPREFIX");
  }
  if (HasFailure()) return; // kept for a look
  std::error_code ignored;
  std::filesystem::remove_all(FDir, ignored);
}

std::string SetupProcessTest::Quote(const std::string& Text) {
  std::string out = "'";
  for (char c : Text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string SetupProcessTest::Bin(const std::string& Name) { return Env("QNL_BIN") + "/" + Name; }

std::string SetupProcessTest::Source(const std::string& Path) { return Env("QNL_SOURCE") + "/" + Path; }

TProcessResult SetupProcessTest::Run(const std::string& Command) const {
  std::filesystem::path out = FDir / "stdout.txt", err = FDir / "stderr.txt", status = FDir / "status.txt";
  std::string line = "cd " + Quote(FDir.string()) + " && WINEPREFIX=" + Quote((FDir / "machine").string()) +
                     " QT_QPA_PLATFORM=offscreen timeout 60 " + Command + " >" + Quote(out.string()) + " 2>" +
                     Quote(err.string()) + "; echo $? >" + Quote(status.string());
  std::system(line.c_str());
  TProcessResult r;
  r.Out = ReadFile(out);
  r.Err = ReadFile(err);
  r.ExitStatus = std::atoi(ReadFile(status).c_str());
  return r;
}

std::string SetupProcessTest::WriteFile(const std::string& Name, const std::string& Content) const {
  std::filesystem::path p = FDir / Name;
  std::ofstream(p, std::ios::binary) << Content;
  return p.string();
}

std::string SetupProcessTest::CompileSetup(const std::string& FormPath, const std::string& Name) const {
  std::string target = (FDir / Name).string();
  TProcessResult r = Run(Quote(Bin("quenloft")) + " compile " + Quote(FormPath) + " -o " + Quote(target));
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  return target;
}

std::vector<std::string> InstallLogSteps(const std::filesystem::path& Log) {
  std::vector<std::string> steps;
  std::istringstream log(ReadFile(Log));
  for (std::string line; std::getline(log, line);) {
    // 2026-12-10T09:01:02.345+01:00
    EXPECT_TRUE(line.size() > 30 && line[10] == 'T' && line[19] == '.' && line[26] == ':') << line;
    steps.push_back(line.substr(line.find(' ') + 1));
  }
  return steps;
}

bool HasStep(const std::vector<std::string>& Steps, const std::string& Start) {
  for (const std::string& step : Steps)
    if (step.starts_with(Start)) return true;
  return false;
}

std::string MinimalInstallProject(const std::string& Caption, const std::string& DestDir) {
  return "object formMain: TformMain\n"
         "  Caption = '" +
         Caption +
         "'\n"
         "  object psProgramFiles: TpsProgramFiles\n"
         "  end\n"
         "  object psMainArchiveFile: TpsMainArchiveFile\n"
         "  end\n"
         "  object Install1: TInstall\n"
         "    DestDir = '" +
         DestDir +
         "'\n"
         "  end\n"
         "end\n";
}

} // namespace qnl::test
