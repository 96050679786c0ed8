// Program Manager on the machine: groups are folders under the Programs folder, items are
// shell links in them, as Wine's shell keeps them.
#include "platform/dde/ProgmanServer.h"

#include <cstdlib>

#include "platform/OSError.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "platform/shelllink/ShellLink.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

namespace qnl::dde {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string WithoutTrailingBackslash(std::string Path) {
  if (!Path.empty() && Path.back() == '\\') Path.pop_back();
  return Path;
}

// The Programs folder as the shell finds it: the user's "Programs" shell folder, else
// "Programs" in the "Start Menu" one, else in the Windows directory's "Startmen".
std::string ProgramsFolder() {
  std::optional<std::string> programs, startMenu;
  try {
    if (std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkCurrentUser, kShellFolders)) {
      programs = key->ReadString("Programs");
      startMenu = key->ReadString("Start Menu");
    }
  } catch (const ERegistry&) {}
  if (programs) return WithoutTrailingBackslash(*programs);
  return WithoutTrailingBackslash(startMenu.value_or(WindowsDirectory() + "\\Startmen")) + "\\Programs";
}

// A group's or item's name as a file name: what Windows does not allow becomes "_".
std::string Sanitized(std::string Name) {
  for (char& c : Name)
    if (static_cast<unsigned char>(c) < 32 || std::string_view("*/:<>?\\|").find(c) != std::string_view::npos) c = '_';
  return Name;
}

std::string GroupFolder(const std::string& Name) { return ProgramsFolder() + "\\" + Sanitized(Name); }

// A command line's program (its first word, quotes taken off) and the text after it.
void SplitProgram(const std::string& CommandLine, std::string& Program, std::string& Arguments) {
  std::string text = Trim(CommandLine);
  size_t end = 0;
  if (!text.empty() && text[0] == '"') {
    end = text.find('"', 1);
    if (end == std::string::npos) end = text.size();
    Program = text.substr(1, end - 1);
    ++end;
  } else {
    end = text.find(' ');
    if (end == std::string::npos) end = text.size();
    Program = text.substr(0, end);
  }
  Arguments = end < text.size() ? Trim(text.substr(end)) : "";
}

std::string FileTitle(const std::string& Path) {
  std::string name = Path.substr(Path.find_last_of("\\/:") == std::string::npos ? 0 : Path.find_last_of("\\/:") + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

const std::string* Arg(const std::vector<std::string>& Args, size_t Index) {
  return Index < Args.size() && !Args[Index].empty() ? &Args[Index] : nullptr;
}

// Program Manager's line for one item.
std::string ItemLine(const std::string& Name, const TShellLink& Link) {
  std::string commandLine = Link.Target + (Link.Arguments.empty() ? "" : " " + Link.Arguments);
  return "\"" + Name + "\",\"" + commandLine + "\"," + Link.WorkingDirectory + "," + Link.IconLocation + ",0,0," +
         IntToStr(Link.IconIndex) + "," + IntToStr(Link.HotKey) + "," + (Link.ShowCommand == 7 ? "1" : "0");
}

std::optional<std::string> GroupData(const std::string& Name) {
  std::string folder = GroupFolder(Name);
  if (!DirectoryExists(folder)) return std::nullopt;
  std::vector<std::string> lines;
  for (const TDirEntry& entry : ListDirectory(folder, "*.lnk")) {
    if (entry.Directory) continue;
    if (std::optional<TShellLink> link = LoadShellLink(folder + "\\" + entry.Name))
      lines.push_back(ItemLine(entry.Name.substr(0, entry.Name.size() - 4), *link));
  }
  std::string data = "\"" + Name + "\"," + folder + "," + IntToStr(static_cast<int64_t>(lines.size())) + ",1\r\n";
  for (const std::string& line : lines) data += line + "\r\n";
  return data;
}

} // namespace

bool ParseDdeCommands(std::string_view Text, std::vector<TDdeCommand>& Commands) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < Text.size() && Text[i] == ' ') ++i;
  };
  skipBlanks();
  if (i >= Text.size() || Text[i] != '[') return false;
  while (i < Text.size() && Text[i] == '[') {
    ++i;
    skipBlanks();
    size_t end = Text.find_first_of(" ,()[]\"", i);
    if (end == std::string_view::npos || end == i) return false;
    TDdeCommand command{std::string(Text.substr(i, end - i)), {}};
    i = end;
    skipBlanks();
    if (i < Text.size() && Text[i] == '(') {
      ++i;
      while (i < Text.size() && Text[i] != ')') {
        skipBlanks();
        size_t start = i;
        if (i < Text.size() && Text[i] == '"') {
          size_t close = Text.find('"', i + 1);
          if (close == std::string_view::npos) return false;
          i = close + 1;
          skipBlanks();
          // A quoted argument on its own loses its quotes; one followed by more text (a
          // quoted program and its arguments) is taken as it stands, up to the next comma.
          if (i < Text.size() && (Text[i] == ',' || Text[i] == ')')) {
            command.Args.emplace_back(Text.substr(start + 1, close - start - 1));
            if (Text[i] == ',') ++i;
            continue;
          }
        }
        size_t stop = Text.find_first_of(",()[]", i);
        if (stop == std::string_view::npos || Text[stop] == '(' || Text[stop] == '[' || Text[stop] == ']') return false;
        command.Args.push_back(TrimRight(Text.substr(start, stop - start)));
        i = Text[stop] == ',' ? stop + 1 : stop;
      }
      if (i >= Text.size()) return false;
      ++i;
      skipBlanks();
    }
    if (i >= Text.size() || Text[i] != ']') return false;
    ++i;
    skipBlanks();
    Commands.push_back(std::move(command));
  }
  return i == Text.size();
}

bool TProgmanConversation::Execute(std::string_view Command) {
  std::vector<TDdeCommand> commands;
  if (!ParseDdeCommands(Command, commands)) return false;
  for (const TDdeCommand& command : commands)
    if (!Run(command)) return false;
  return true;
}

std::optional<std::string> TProgmanConversation::Request(std::string_view Item) {
  if (!SameText(Item, "Groups")) return GroupData(std::string(Item));
  std::string groups;
  std::string programs = ProgramsFolder();
  if (DirectoryExists(programs))
    for (const TDirEntry& entry : ListDirectory(programs))
      if (entry.Directory) groups += entry.Name + "\r\n";
  return groups;
}

bool TProgmanConversation::Run(const TDdeCommand& Command) {
  const std::vector<std::string>& args = Command.Args;
  try {
    if (SameText(Command.Name, "CreateGroup")) {
      if (args.empty()) return false;
      std::string folder = GroupFolder(args[0]);
      ForceDirectories(folder);
      FLastGroup = folder;
    } else if (SameText(Command.Name, "ShowGroup")) {
      // Windows requires the show command; like Program Manager, and unlike Wine, a group
      // that does not exist cannot be shown.
      if (args.size() < 2 || !DirectoryExists(GroupFolder(args[0]))) return false;
      FLastGroup = GroupFolder(args[0]);
    } else if (SameText(Command.Name, "DeleteGroup")) {
      if (args.empty() || !DirectoryExists(GroupFolder(args[0]))) return false;
      DeleteTree(GroupFolder(args[0]));
    } else if (SameText(Command.Name, "AddItem")) {
      return AddItem(args);
    } else if (SameText(Command.Name, "DeleteItem") || SameText(Command.Name, "ReplaceItem")) {
      // The next AddItem takes a replaced item's place: in a folder there is no place to keep.
      return !args.empty() && DeleteItem(args[0]);
    } else if (!SameText(Command.Name, "ExitProgman")) {
      return false;
    }
  } catch (const EOSError&) {
    return false;
  }
  return true;
}

bool TProgmanConversation::AddItem(const std::vector<std::string>& Args) {
  if (FLastGroup.empty() || Args.empty()) return false;
  TShellLink link;
  SplitProgram(Args[0], link.Target, link.Arguments);
  if (link.Target.empty()) return false;
  if (const std::string* icon = Arg(Args, 2)) link.IconLocation = *icon;
  if (const std::string* index = Arg(Args, 3)) link.IconIndex = static_cast<int32_t>(StrToIntDef(*index, 0));
  if (const std::string* dir = Arg(Args, 6)) link.WorkingDirectory = *dir;
  if (const std::string* hotKey = Arg(Args, 7)) link.HotKey = static_cast<uint16_t>(StrToIntDef(*hotKey, 0));
  if (const std::string* minimized = Arg(Args, 8)) link.ShowCommand = *minimized == "1" ? 7 : 1;
  const std::string* name = Arg(Args, 1);
  try {
    SaveShellLink(FLastGroup + "\\" + Sanitized(name ? *name : FileTitle(link.Target)) + ".lnk", link);
  } catch (const EOleSysError&) {
    return false;
  }
  return true;
}

bool TProgmanConversation::DeleteItem(const std::string& Name) {
  if (FLastGroup.empty()) return false;
  std::string file = FLastGroup + "\\" + Name + ".lnk";
  if (!FileExists(file)) return false;
  DeleteFile(file);
  return true;
}

} // namespace qnl::dde
