// Helpers of the floppy tests.
#include "tests/floppies/FloppyDisks.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "archive/TQnlfCompress.h"
#include "engine/cmp_TInstall.h"
#include "platform/files/WinPaths.h"
#include "rtl/Forms.h"
#include "rtl/ProgramArguments.h"
#include "vcl/Application.h"

namespace qnl::test {

std::string NoiseBytes(size_t Count, uint32_t Seed) {
  std::string bytes(Count, '\0');
  uint32_t x = Seed * 2654435761u + 1;
  for (char& c : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x >> 24);
  }
  return bytes;
}

std::string ShellQuote(const std::string& Text) {
  std::string out = "'";
  for (char c : Text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void MakeArchive(const std::filesystem::path& Archive, const std::filesystem::path& SourceDir,
                 const std::vector<TArchiveMember>& Members) {
  std::filesystem::create_directories(SourceDir);
  for (const TArchiveMember& member : Members) {
    if (member.From.empty())
      WriteFile(SourceDir / member.Name, member.Content);
    else
      std::filesystem::copy_file(member.From, SourceDir / member.Name,
                                 std::filesystem::copy_options::overwrite_existing);
  }
  // Members are named as given, relative to the current directory.
  std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(SourceDir);
  try {
    TQnlfCompress zip(nullptr);
    zip.SetCompressionLevel(colNone);
    zip.SetCompressedFile(WindowsPathOf(Archive.string()));
    for (size_t i = 0; i < Members.size(); ++i) {
      TStringList files;
      files.Add(Members[i].Name);
      zip.SetFilesToProcess(files);
      zip.Add(i == 0 ? lzcOverwrite : lzcOnlyAdd, static_cast<int32_t>(i));
    }
  } catch (...) {
    std::filesystem::current_path(saved);
    throw;
  }
  std::filesystem::current_path(saved);
}

TSelfExtractingSetup MakeSelfExtractingSetup(const std::filesystem::path& Dir, const std::string& Loader,
                                             const std::vector<TArchiveMember>& SetupMembers,
                                             const std::vector<TArchiveMember>& Members, const std::string& Name) {
  TSelfExtractingSetup setup;
  setup.File = Dir / Name;
  setup.Loader = Loader;
  MakeArchive(Dir / "parts" / "setup.1", Dir / "parts" / "s", SetupMembers);
  setup.Setup1 = ReadFile(Dir / "parts" / "setup.1");
  if (!Members.empty()) {
    MakeArchive(Dir / "parts" / "files.1", Dir / "parts" / "f", Members);
    setup.Files1 = ReadFile(Dir / "parts" / "files.1");
  }
  TSelfExtractInfo& info = setup.Info;
  info.Marker = "SELFEXTRACTING";
  info.SetupArchiveStart = static_cast<int32_t>(Loader.size());
  info.SetupArchiveEnd = static_cast<int32_t>(Loader.size() + setup.Setup1.size() - 1);
  if (!setup.Files1.empty()) {
    info.MainArchiveStart = info.SetupArchiveEnd + 1;
    info.MainArchiveEnd = static_cast<int32_t>(info.MainArchiveStart + setup.Files1.size() - 1);
  }
  WriteFile(setup.File, Loader + setup.Setup1 + setup.Files1 + info.Encode());
  return setup;
}

std::string LoaderTrailer() {
  TSelfExtractInfo info;
  info.Marker = "NOTSELFEXTRACT";
  return info.Encode();
}

TFloppyMachine::TFloppyMachine(const std::filesystem::path& Root, int DiskCount, const std::string& MachineName)
    : FRoot(Root), FMachine(Root / MachineName), FDiskCount(DiskCount) {
  const char* prefix = std::getenv("WINEPREFIX");
  FHadPrefix = prefix != nullptr;
  FSavedPrefix = prefix ? prefix : "";
  std::filesystem::create_directories(FMachine);
  for (int i = 1; i <= DiskCount; ++i) std::filesystem::create_directories(Disk(i));
  ::setenv("WINEPREFIX", FMachine.c_str(), 1);
  CurrentDrives(); // creates the machine's skeleton with its dosdevices folder
  std::filesystem::create_directories(FMachine / "dosdevices");
  InsertDisk(1);
}

TFloppyMachine::~TFloppyMachine() {
  if (FHadPrefix)
    ::setenv("WINEPREFIX", FSavedPrefix.c_str(), 1);
  else
    ::unsetenv("WINEPREFIX");
}

std::filesystem::path TFloppyMachine::Disk(int Number) const { return FRoot / ("disk" + std::to_string(Number)); }

void TFloppyMachine::InsertDisk(int Number) {
  std::filesystem::path link = FMachine / "dosdevices" / "a:";
  std::error_code ignored;
  std::filesystem::remove(link, ignored);
  std::filesystem::create_directory_symlink(Disk(Number), link);
}

std::string TFloppyMachine::AnswerCommand(int CancelAt) const {
  std::filesystem::path script = FRoot / ("answer-" + std::to_string(CancelAt) + ".sh");
  WriteFile(script, "printf '%s\\n' \"$1\" >>" + ShellQuote((FRoot / "prompts.txt").string()) +
                        "\n"
                        "case \"$1\" in\n"
                        "  *'insert disk '*)\n"
                        "    n=${1##*insert disk }\n"
                        "    n=${n#\\#}\n"
                        "    [ \"$n\" = " +
                        std::to_string(CancelAt) +
                        " ] && exit 1\n"
                        "    ln -sfn " +
                        ShellQuote(FRoot.string()) + "/disk$n " +
                        ShellQuote((FMachine / "dosdevices" / "a:").string()) +
                        " || exit 1\n"
                        "    ;;\n"
                        "esac\n"
                        "exit 0\n");
  return "sh " + ShellQuote(script.string()) + " \"$1\"";
}

std::vector<std::string> TFloppyMachine::Prompts() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(FRoot / "prompts.txt"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void TFloppyMachine::ClearPrompts() const {
  std::error_code ignored;
  std::filesystem::remove(FRoot / "prompts.txt", ignored);
}

TDiskFileLimit::TDiskFileLimit(int64_t Bytes) {
  // A write past the limit would otherwise end the process with SIGXFSZ.
  FSavedSignal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  FSavedSoft = limit.rlim_cur;
  limit.rlim_cur = static_cast<rlim_t>(Bytes);
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ADD_FAILURE() << "cannot limit the file size";
}

TDiskFileLimit::~TDiskFileLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(FSavedSoft);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, FSavedSignal);
}

TTransferResult TransferInProcess(TFloppyMachine& Machine, const TSelfExtractingSetup& Setup,
                                  const TTransferOptions& Options) {
  TTransferResult result;
  TCustomApplication app;
  SetApplication(&app);
  TMessageBoxHook answer = MessageBoxCommandHook(Machine.AnswerCommand(Options.CancelAt));
  app.MessageBoxHook = [&](const std::string& Text, const std::string& Caption, int Flags) {
    if ((Flags & MB_TYPEMASK) == MB_OK) result.Message = Text;
    return answer(Text, Caption, Flags);
  };
  std::vector<std::string> args = {"-f", "-s" + WindowsPathOf(Setup.File.parent_path().string())};
  if (Options.SelfExtractor) args.push_back("-e" + Setup.File.filename().string());
  {
    TCustomForm form(nullptr);
    auto* install = new TInstall(&form);
    if (Options.Prepare) Options.Prepare(*install);
    SetProgramArguments(args);
    install->SetComponentStateFlag(csLoading, true);
    try {
      TDiskFileLimit limit(Options.DiskBytes);
      install->Loaded();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "the install component failed to load: " << e.what();
    }
    SetProgramArguments(std::vector<std::string>{});
  }
  result.ExitStatus = app.ExitCode();
  result.Terminated = app.Terminated();
  SetApplication(nullptr);
  return result;
}

TThreeDiskSet MakeThreeDiskSet(TFloppyMachine& Machine, const std::filesystem::path& Dir, int64_t DiskBytes,
                               size_t MemberBytes) {
  TThreeDiskSet set;
  set.DiskBytes = DiskBytes;
  for (int i = 0; i < 3; ++i)
    set.Members.push_back({"member" + std::to_string(i + 1) + ".dat", NoiseBytes(MemberBytes, 100 + i)});
  set.Setup = MakeSelfExtractingSetup(Dir, NoiseBytes(3000, 1), {{"installer.exe", NoiseBytes(4000, 2)}}, set.Members);
  TTransferOptions options;
  options.DiskBytes = DiskBytes;
  TTransferResult result = TransferInProcess(Machine, set.Setup, options);
  EXPECT_EQ(result.ExitStatus, 0) << result.Message;
  EXPECT_EQ(result.Message, "");
  return set;
}

std::string FloppyTransferCommand(const std::string& SetupProgram, const TFloppyMachine& Machine,
                                  const std::filesystem::path& SelfExtracting, int64_t DiskBytes, int CancelAt) {
  // A write past the file-size limit would otherwise end the program with SIGXFSZ; an ignored
  // signal stays ignored across exec.
  std::string program = "trap '' XFSZ; exec prlimit --fsize=" + std::to_string(DiskBytes) + " " +
                        ShellQuote(SetupProgram) + " -f " + ShellQuote("-e" + SelfExtracting.filename().string()) +
                        " " + ShellQuote("-s" + WindowsPathOf(SelfExtracting.parent_path().string()));
  return "env QNL_MESSAGEBOX_COMMAND=" + ShellQuote(Machine.AnswerCommand(CancelAt)) + " sh -c " + ShellQuote(program);
}

} // namespace qnl::test
