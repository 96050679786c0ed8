// Helpers of the floppy tests: a machine whose drive A: swaps between disk directories, small
// disks, hand-made self-extracting setup programs and the three-disk set made from one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "archive/TSelfExtractInfo.h"
#include "tests/support/TestFiles.h"

namespace qnl {
class TCustomInstall;
}

namespace qnl::test {

// One file of a test archive: its name and its bytes, or the file to copy them from.
struct TArchiveMember {
  std::string Name;
  std::string Content{};
  std::filesystem::path From{};
};

// Bytes that do not compress, the same for the same seed.
std::string NoiseBytes(size_t Count, uint32_t Seed);

// Makes the archive Archive of Members (written into SourceDir first, and named there by
// their bare names), stored without compression so that its size is predictable; each
// member gets its index as UniqueID.
// Needs the current machine (WINEPREFIX), as the archive works in Windows paths.
void MakeArchive(const std::filesystem::path& Archive, const std::filesystem::path& SourceDir,
                 const std::vector<TArchiveMember>& Members);

// A self-extracting setup program made by hand, as the build makes it: the loading program's
// bytes, setup.1, files.1 (when there are members) and the "SELFEXTRACTING" trailer.
struct TSelfExtractingSetup {
  std::filesystem::path File;
  std::string Loader, Setup1, Files1;
  TSelfExtractInfo Info;
};
TSelfExtractingSetup MakeSelfExtractingSetup(const std::filesystem::path& Dir, const std::string& Loader,
                                             const std::vector<TArchiveMember>& SetupMembers,
                                             const std::vector<TArchiveMember>& Members,
                                             const std::string& Name = "setup.exe");

// The trailer a loading program carries on a disk: "NOTSELFEXTRACT" and zeros.
std::string LoaderTrailer();

// A machine in Root/<MachineName>, made the current one (WINEPREFIX) while this object lives,
// with the disk directories Root/disk1 ... Root/diskN; drive A: is disk 1 at the start.
// Machines of the same Root share the disks.
class TFloppyMachine {
public:
  TFloppyMachine(const std::filesystem::path& Root, int DiskCount, const std::string& MachineName = "machine");
  ~TFloppyMachine();
  TFloppyMachine(const TFloppyMachine&) = delete;
  TFloppyMachine& operator=(const TFloppyMachine&) = delete;

  const std::filesystem::path& Directory() const { return FMachine; }
  std::filesystem::path Disk(int Number) const;
  // Points dosdevices/a: at disk Number.
  void InsertDisk(int Number);
  // A message-box answer command (QNL_MESSAGEBOX_COMMAND): it appends each box's text to
  // the prompt log; for "Please insert disk N" (the transfer's prompt) and "Please insert
  // disk #N" (the installation's) it inserts disk N and agrees, except that it declines the
  // prompt for disk CancelAt. Every other box is agreed to.
  std::string AnswerCommand(int CancelAt = 0) const;
  // The texts of the boxes the answer command saw, in order.
  std::vector<std::string> Prompts() const;
  // Forgets the boxes seen so far.
  void ClearPrompts() const;

private:
  std::filesystem::path FRoot, FMachine;
  int FDiskCount;
  std::string FSavedPrefix;
  bool FHadPrefix;
};

// While it lives, no file this process (or a child it starts) writes can grow past Bytes:
// a write beyond that is cut short as on a full disk. Each disk file of a transfer made
// meanwhile holds at most Bytes, as on a small floppy disk.
class TDiskFileLimit {
public:
  explicit TDiskFileLimit(int64_t Bytes);
  ~TDiskFileLimit();
  TDiskFileLimit(const TDiskFileLimit&) = delete;
  TDiskFileLimit& operator=(const TDiskFileLimit&) = delete;

private:
  uint64_t FSavedSoft;
  void (*FSavedSignal)(int);
};

// How TransferInProcess runs: each disk file holds at most DiskBytes; the prompt for disk
// CancelAt is declined (0: none); without SelfExtractor the -e switch is left out; Prepare,
// when given, sees the install component before it loads.
struct TTransferOptions {
  int64_t DiskBytes = int64_t(1) << 30;
  int CancelAt = 0;
  bool SelfExtractor = true;
  std::function<void(TCustomInstall&)> Prepare;
};
// What the transfer left: the exit status it set, the text of its failure box (empty after
// a success) and whether it ended the application.
struct TTransferResult {
  int ExitStatus = -1;
  std::string Message;
  bool Terminated = false;
};
// Transfers Setup onto the machine's disks in this process, as "setup -f -e<name> -s<dir>"
// does: an install component on a form loads with those switches and drive A: is swapped by
// the prompt's answer (Machine.AnswerCommand). The process's application is a windowless
// one during the call and none afterwards.
TTransferResult TransferInProcess(TFloppyMachine& Machine, const TSelfExtractingSetup& Setup,
                                  const TTransferOptions& Options = {});

// The three-disk set: a self-extracting setup program with three members of MemberBytes
// incompressible bytes each, transferred in this process onto disks whose files hold
// DiskBytes; disk 1 then has setup.exe, setup.1 and files.1, disks 2 and 3 files.2 and files.3.
// The defaults spread files.1 over exactly three disks. Fails the calling test when the
// transfer fails.
struct TThreeDiskSet {
  TSelfExtractingSetup Setup;
  std::vector<TArchiveMember> Members;
  int64_t DiskBytes;
};
TThreeDiskSet MakeThreeDiskSet(TFloppyMachine& Machine, const std::filesystem::path& Dir, int64_t DiskBytes = 24000,
                               size_t MemberBytes = 20000);

// A shell command that runs the setup program SetupProgram as the loading program runs it
// for "*TODISK" (-f -e<name> -s<directory of SelfExtracting>), with the message boxes answered
// by Machine.AnswerCommand(CancelAt) and each file it writes held to DiskBytes. The machine
// (WINEPREFIX) is the caller's to set.
std::string FloppyTransferCommand(const std::string& SetupProgram, const TFloppyMachine& Machine,
                                  const std::filesystem::path& SelfExtracting, int64_t DiskBytes, int CancelAt = 0);

// The shell word for Text.
std::string ShellQuote(const std::string& Text);

} // namespace qnl::test
