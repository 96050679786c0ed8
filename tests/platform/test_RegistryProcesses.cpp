// Registry writes survive a killed process, and concurrent processes lose nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/registry/Registry.h"
#include "tests/platform/RegistryAppend.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/MachineTest.h"
#include "tests/support/TestFiles.h"

namespace qnl {
namespace {

class RegistryProcessTest : public test::TMachineTest {
protected:
  // Starts the child writer with its stdout on a pipe; returns its pid and the read end.
  pid_t StartChild(const std::vector<std::string>& Args, int& ReadFd) {
    pid_t pid = test::StartWithOutputPipe(Args, ReadFd);
    EXPECT_GT(pid, 0);
    return pid;
  }

  // Runs two child processes with Args A and B while this process runs Meanwhile, on the machine
  // they share; both must end well.
  void RunWithTwoChildren(std::vector<std::string> A, std::vector<std::string> B,
                          const std::function<void()>& Meanwhile) {
    Machine();
    CloseMachine();
    const std::string child = test::TestBinDir() + "/test_RegistryChild";
    A.insert(A.begin(), child);
    B.insert(B.begin(), child);
    int fdA = -1, fdB = -1;
    pid_t a = StartChild(A, fdA);
    pid_t b = StartChild(B, fdB);
    Meanwhile();
    int statusA = 0, statusB = 0;
    waitpid(a, &statusA, 0);
    waitpid(b, &statusB, 0);
    close(fdA);
    close(fdB);
    EXPECT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
    EXPECT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
  }
  // Kills a looping writer after `delay` and returns the numbers it reported.
  std::vector<unsigned> KillWriterAfter(std::chrono::milliseconds Delay, const std::string& Size) {
    int fd = -1;
    std::vector<std::string> args = {test::TestBinDir() + "/test_RegistryChild", "loop", "Software\\Durable", "v"};
    if (!Size.empty()) args.push_back(Size);
    pid_t pid = StartChild(args, fd);
    std::string output;
    char buf[4096];
    ssize_t n = read(fd, buf, sizeof buf); // the child is writing once it reports
    if (n > 0) output.append(buf, size_t(n));
    std::this_thread::sleep_for(Delay);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    while ((n = read(fd, buf, sizeof buf)) > 0) output.append(buf, size_t(n));
    close(fd);
    std::vector<unsigned> reported;
    size_t start = 0;
    for (size_t nl; (nl = output.find('\n', start)) != std::string::npos; start = nl + 1)
      reported.push_back(unsigned(std::stoul(output.substr(start, nl - start))));
    return reported;
  }
};

TEST_F(RegistryProcessTest, EveryReportedWriteSurvivesSigkill) {
  Machine();
  CloseMachine();
  std::mt19937 random(std::random_device{}());
  for (const std::string size : {"", "70000"}) { // the large values make the child compact often
    int delay = std::uniform_int_distribution<int>(0, 200)(random);
    std::vector<unsigned> reported = KillWriterAfter(std::chrono::milliseconds(delay), size);
    SCOPED_TRACE("value size " + size + ", killed after " + std::to_string(delay) + " ms");
    ASSERT_FALSE(reported.empty());
    TMachine fresh(FDir);
    auto key = TRegKey::Open(fresh, TRootKey::rkLocalMachine, "Software\\Durable");
    ASSERT_TRUE(key);
    for (unsigned i : reported) {
      auto value = key->ReadValue("v" + std::to_string(i));
      ASSERT_TRUE(value) << "lost write " << i << " of " << reported.size();
      if (size.empty())
        EXPECT_EQ(value->AsDWord(), i);
      else
        EXPECT_EQ(value->Data, std::string(70000, char(i % 256)));
    }
    fresh.Flush();
    ASSERT_TRUE(TRegKey::Open(fresh, TRootKey::rkLocalMachine, "Software")->DeleteSubKey("Durable"));
  }
}

TEST_F(RegistryProcessTest, AnEditStoppedByAnErrorStillLeavesWhatItWroteForOthers) {
  Machine();
  EXPECT_THROW(TRegKey::Edit(TRootKey::rkLocalMachine, "Software\\Edited",
                             [](TRegEdit& Edit) {
                               Edit.WriteString("", "A", "1");
                               Edit.WriteString("", "B", "2");
                               throw std::runtime_error("stopped");
                             }),
               std::runtime_error);
  test::AppendItem("Software\\Edited");
  TMachine fresh(FDir); // reads the journal, as another process would
  auto key = TRegKey::Open(fresh, TRootKey::rkLocalMachine, "Software\\Edited");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("A"), "1");
  EXPECT_EQ(key->ReadString("B"), "2");
  EXPECT_EQ(key->ReadString("Item1"), "1");
  EXPECT_EQ(key->ReadString("Entries"), "1");
}

TEST_F(RegistryProcessTest, AWriteTheJournalRefusesIsNeitherSeenNorKept) {
  Machine();
  TRegKey::Edit(TRootKey::rkLocalMachine, "Software\\Full",
                [](TRegEdit& Edit) { Edit.WriteString("", "Before", "1"); });
  struct stat journal;
  ASSERT_EQ(stat((FDir + "/system.reg.journal").c_str(), &journal), 0);
  // A child whose files may not grow past the journal's size: the next record cannot be written.
  pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{rlim_t(journal.st_size), RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limit);
    bool refused = false;
    try {
      TRegKey::Edit(TRootKey::rkLocalMachine, "Software\\Full",
                    [](TRegEdit& Edit) { Edit.WriteString("", "Lost", "2"); });
    } catch (const std::exception&) {
      refused = true;
    }
    auto key = TRegKey::Open(Machine(), TRootKey::rkLocalMachine, "Software\\Full");
    bool unseen = key && !key->ReadString("Lost") && key->ReadString("Before") == "1";
    _exit(refused && unseen ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the refused write was reported as done or stayed visible";
  TMachine fresh(FDir);
  auto key = TRegKey::Open(fresh, TRootKey::rkLocalMachine, "Software\\Full");
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->ReadString("Lost"));
  EXPECT_EQ(key->ReadString("Before"), "1");
}

TEST_F(RegistryProcessTest, TwoProcessesWritingAtOnceLoseNothing) {
  RunWithTwoChildren({"write", "Software\\Both", "a", "150"}, {"write", "Software\\Both", "b", "150"}, [&] {
    TRegKey key = TRegKey::Create(Machine(), TRootKey::rkLocalMachine, "Software\\Both");
    for (int i = 0; i < 150; ++i) key.WriteString("c" + std::to_string(i), std::to_string(i));
  });
  TRegKey key = TRegKey::Create(Machine(), TRootKey::rkLocalMachine, "Software\\Both");
  EXPECT_EQ(key.Values().size(), 450u);
  CloseMachine();
  TMachine fresh(FDir); // and all of it reached the file
  EXPECT_EQ(TRegKey::Open(fresh, TRootKey::rkLocalMachine, "Software\\Both")->Values().size(), 450u);
}

TEST_F(RegistryProcessTest, AReadAndTheWritesThatDependOnItAreOneStepAcrossProcesses) {
  RunWithTwoChildren({"append", "Software\\List", "150"}, {"append", "Software\\List", "150"}, [] {
    for (int i = 0; i < 150; ++i) test::AppendItem("Software\\List");
  });
  // No two appends read the same count: 450 items, none written over.
  auto key = TRegKey::Open(Machine(), TRootKey::rkLocalMachine, "Software\\List");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("Entries"), "450");
  EXPECT_EQ(key->Values().size(), 451u);
}

} // namespace
} // namespace qnl
