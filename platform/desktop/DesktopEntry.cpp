// Desktop menu entries for the shortcuts of the machine's Start Menu.
#include "platform/desktop/DesktopEntry.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/OSError.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Process.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

enum class TTargetKind { tkOther, tkWindowsProgram, tkDocument };

// What the target is: a Windows program (a PE image, or a batch file Wine's cmd runs), a
// document (any other file), or something the desktop gets no entry for: a native program,
// a folder, or nothing at all.
TTargetKind KindOf(const std::string& UnixPath) {
  struct stat st;
  if (::stat(UnixPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return TTargetKind::tkOther;
  std::string ext = UpperCase(std::filesystem::path(UnixPath).extension().string());
  if (ext == ".BAT" || ext == ".CMD") return TTargetKind::tkWindowsProgram;
  char magic[4] = {};
  std::ifstream in(UnixPath, std::ios::binary);
  in.read(magic, sizeof magic);
  std::string_view head(magic, static_cast<size_t>(in.gcount()));
  if (head.substr(0, 2) == "MZ") return TTargetKind::tkWindowsProgram;
  if (head == "\x7f"
              "ELF" ||
      head.substr(0, 2) == "#!")
    return TTargetKind::tkOther;
  return TTargetKind::tkDocument;
}

std::optional<std::string> UnixPathOrNone(const std::string& WindowsPath) {
  try {
    return UnixPathOf(WindowsPath);
  } catch (const EPathError&) {
    return std::nullopt;
  }
}

std::string DataHome() {
  std::string dataHome = GetEnvironmentVariable("XDG_DATA_HOME").value_or("");
  if (!dataHome.empty() && dataHome[0] == '/') return dataHome;
  return GetEnvironmentVariable("HOME").value_or("") + "/.local/share";
}

// The link's folders under StartMenu (UTF-8), or nullopt when it does not lie there.
std::optional<std::vector<std::string>> FoldersInMenu(const std::string& StartMenu, const std::string& LinkPath) {
  std::string menu = NormalizeWindowsPath(StartMenu) + "\\";
  std::string link = NormalizeWindowsPath(LinkPath);
  if (link.size() <= menu.size() || !SameText(link.substr(0, menu.size()), menu)) return std::nullopt;
  std::vector<std::string> folders;
  std::string rest = link.substr(menu.size());
  for (size_t slash; (slash = rest.find('\\')) != std::string::npos; rest.erase(0, slash + 1))
    folders.push_back(AnsiToUtf8(rest.substr(0, slash)));
  return folders;
}

// One word of an Exec line: quoted when it holds a reserved character, with the characters
// that stay special inside quotes escaped, and "%" doubled (it starts field codes).
std::string ExecWord(const std::string& Word) {
  bool quote = Word.empty() || Word.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
  std::string out = quote ? "\"" : "";
  for (char c : Word) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c == '%' ? std::string("%%") : std::string(1, c);
  }
  return out + (quote ? "\"" : "");
}

// A value as the Desktop Entry string rules write it.
std::string EscapedValue(const std::string& Text) {
  std::string out;
  for (char c : Text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string ExecLine(TTargetKind Kind, const std::string& UnixTarget, const std::string& Arguments) {
  std::vector<std::string> words = {"env", "WINEPREFIX=" + TMachine::Current().Directory(), "wine"};
  if (Kind == TTargetKind::tkDocument) words.insert(words.end(), {"start", "/unix"});
  words.push_back(UnixTarget);
  for (const std::string& argument : SplitCommandLine(Arguments)) words.push_back(AnsiToUtf8(argument));
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : " ") + ExecWord(word);
  return EscapedValue(line);
}

void WriteFileCreatingDirectories(const std::string& UnixPath, const std::string& Text) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(UnixPath).parent_path(), ec);
  if (ec) RaiseFileError("create directory", std::filesystem::path(UnixPath).parent_path().string(), ec.value());
  host::WriteWholeFile(UnixPath, Text);
}

} // namespace

std::vector<std::string> WriteDesktopMenuEntry(const std::string& StartMenu, const std::string& LinkPath,
                                               const TShellLink& Link) {
  if (GetEnvironmentVariable("QUENLOFT_NO_DESKTOP_ENTRIES").value_or("") == "1") return {};
  std::optional<std::vector<std::string>> folders = FoldersInMenu(StartMenu, LinkPath);
  std::optional<std::string> target = UnixPathOrNone(Link.Target);
  TTargetKind kind = target ? KindOf(*target) : TTargetKind::tkOther;
  if (!folders || kind == TTargetKind::tkOther) return {};

  std::vector<std::string> written;
  std::string dataHome = DataHome();
  std::string id = "quenloft";
  std::string entryDir = dataHome + "/applications/quenloft";
  for (const std::string& folder : *folders) {
    id += "-" + folder;
    entryDir += "/" + folder;
    std::string directoryFile = dataHome + "/desktop-directories/" + id + ".directory";
    if (std::filesystem::exists(directoryFile)) continue;
    WriteFileCreatingDirectories(directoryFile, "[Desktop Entry]\nType=Directory\nName=" + EscapedValue(folder) + "\n");
    written.push_back(WindowsPathOf(directoryFile));
  }

  std::string name = AnsiToUtf8(LinkPath.substr(LinkPath.rfind('\\') + 1));
  name = name.substr(0, name.rfind('.'));
  std::string text = "[Desktop Entry]\nType=Application\nName=" + EscapedValue(name) +
                     "\nExec=" + ExecLine(kind, *target, Link.Arguments) + "\n";
  if (std::optional<std::string> dir = UnixPathOrNone(Link.WorkingDirectory); dir && !Link.WorkingDirectory.empty())
    text += "Path=" + EscapedValue(*dir) + "\n";
  std::string entryFile = entryDir + "/" + name + ".desktop";
  if (std::optional<std::string> icon = kind == TTargetKind::tkWindowsProgram ? ProgramIcon(*target) : std::nullopt) {
    std::string iconFile = dataHome + "/icons/quenloft/" + id + "-" + name + ".ico";
    WriteFileCreatingDirectories(iconFile, *icon);
    text += "Icon=" + EscapedValue(iconFile) + "\n";
    written.push_back(WindowsPathOf(iconFile));
  }
  WriteFileCreatingDirectories(entryFile, text);
  written.push_back(WindowsPathOf(entryFile));
  return written;
}

} // namespace qnl
