// Message boxes answered by a shell command, and the shell command runner under it.
#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/process/Process.h"
#include "tests/floppies/FloppyDisks.h"
#include "vcl/Application.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class MessageBoxCommand : public ::testing::Test {
protected:
  void SetUp() override {
    FDir = std::filesystem::temp_directory_path() / ("qnl-messagebox-" + std::to_string(::getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::string Seen() const { return ReadFile(FDir / "seen.txt"); }
  // A command that records what it was given and exits with Status.
  std::string Recorder(int Status) const {
    return "printf '%s|%s|%s\\n' \"$1\" \"$QNL_MESSAGEBOX_BUTTONS\" \"$QNL_MESSAGEBOX_CAPTION\" >>" +
           ShellQuote((FDir / "seen.txt").string()) + "; echo ignored; exit " + std::to_string(Status);
  }
  std::filesystem::path FDir;
};

TEST_F(MessageBoxCommand, TheCommandSeesTheTextTheButtonsAndTheCaption) {
  TMessageBoxHook hook = MessageBoxCommandHook(Recorder(0));
  hook("Please insert disk 2", "Setup", MB_OKCANCEL | MB_ICONQUESTION);
  hook("It's \"quoted\" $HOME", "", MB_YESNO);
  EXPECT_EQ(Seen(), "Please insert disk 2|OKCANCEL|Setup\nIt's \"quoted\" $HOME|YESNO|\n");
}

TEST_F(MessageBoxCommand, StatusZeroAcceptsAndAnyOtherDeclines) {
  struct TCase {
    const char* Label;
    int Flags, Accepted, Declined;
  };
  const TCase cases[] = {{"OK", MB_OK, IDOK, IDOK},
                         {"OKCANCEL", MB_OKCANCEL, IDOK, IDCANCEL},
                         {"ABORTRETRYIGNORE", MB_ABORTRETRYIGNORE, IDRETRY, IDABORT},
                         {"YESNOCANCEL", MB_YESNOCANCEL | MB_DEFBUTTON3, IDYES, IDCANCEL},
                         {"YESNO", MB_YESNO | MB_ICONQUESTION, IDYES, IDNO},
                         {"RETRYCANCEL", MB_RETRYCANCEL, IDRETRY, IDCANCEL}};
  TMessageBoxHook accept = MessageBoxCommandHook(Recorder(0));
  TMessageBoxHook decline = MessageBoxCommandHook(Recorder(3));
  for (const TCase& c : cases) {
    EXPECT_EQ(accept("?", "", c.Flags), c.Accepted) << c.Label;
    EXPECT_EQ(decline("?", "", c.Flags), c.Declined) << c.Label;
  }
}

TEST_F(MessageBoxCommand, ACommandThatCannotRunDeclines) {
  TMessageBoxHook hook = MessageBoxCommandHook("exec /nonexistent/answer");
  EXPECT_EQ(hook("Please insert disk 2", "", MB_OKCANCEL), IDCANCEL);
}

TEST(RunShellCommand, ReturnsTheExitStatusAndPassesArgumentsAndEnvironment) {
  EXPECT_EQ(RunShellCommand("exit 0", {}), 0);
  EXPECT_EQ(RunShellCommand("exit 7", {}), 7);
  EXPECT_EQ(RunShellCommand("[ \"$1\" = 'a b' ] && [ \"$2\" = '' ] && [ $# = 2 ]", {"a b", ""}), 0);
  EXPECT_EQ(RunShellCommand("[ \"$QNL_TEST_VALUE\" = added ]", {}, {"QNL_TEST_VALUE=added"}), 0);
  ::setenv("QNL_TEST_VALUE", "inherited", 1);
  EXPECT_EQ(RunShellCommand("[ \"$QNL_TEST_VALUE\" = inherited ]", {}), 0);
  EXPECT_EQ(RunShellCommand("[ \"$QNL_TEST_VALUE\" = replaced ]", {}, {"QNL_TEST_VALUE=replaced"}), 0);
  ::unsetenv("QNL_TEST_VALUE");
  EXPECT_EQ(RunShellCommand("kill -TERM $$", {}), 128 + 15);
}

} // namespace
