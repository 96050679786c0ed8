// How the batch interpreter reads a command's arguments: its words and the paths among them.
#include "platform/process/BatchSyntax.h"

#include <cctype>

#include "rtl/SysUtils.h"

namespace qnl {

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

} // namespace

std::optional<std::vector<std::string>> SplitBatchWords(std::string_view Args) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < Args.size()) {
    if (IsBlank(Args[i])) {
      ++i;
      continue;
    }
    size_t end;
    if (Args[i] == '"') {
      end = Args.find('"', i + 1);
      if (end == std::string_view::npos) return std::nullopt;
      words.emplace_back(Args.substr(i + 1, end - i - 1));
      ++end;
      if (end < Args.size() && !IsBlank(Args[end])) return std::nullopt;
    } else {
      end = i;
      while (end < Args.size() && !IsBlank(Args[end])) {
        if (Args[end] == '"') return std::nullopt;
        ++end;
      }
      words.emplace_back(Args.substr(i, end - i));
    }
    i = end;
  }
  return words;
}

bool HasWildcard(std::string_view Path) {
  size_t cut = Path.find_last_of("\\/");
  std::string_view last = cut == std::string_view::npos ? Path : Path.substr(cut + 1);
  return last.find_first_of("*?") != std::string_view::npos;
}

std::string BatchPathError(std::string_view Path) {
  std::string path(Path);
  bool full = Path.size() >= 3 && std::isalpha(static_cast<unsigned char>(Path[0])) && Path[1] == ':' &&
              (Path[2] == '\\' || Path[2] == '/');
  if (!full) return Format("Invalid path %s: a full path (drive and folder) is needed", {path});
  for (char c : Path)
    if (static_cast<unsigned char>(c) < 0x20 || c == '<' || c == '>' || c == '|')
      return Format("Invalid path %s: it holds a character no file name can have", {path});
  size_t cut = Path.find_last_of("\\/");
  if (Path.substr(0, cut).find_first_of("*?") != std::string_view::npos)
    return Format("Invalid path %s: wildcards are allowed in the file name only", {path});
  return "";
}

} // namespace qnl
