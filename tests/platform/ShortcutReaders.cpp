// Independent readers of shell links and desktop entries.
#include "ShortcutReaders.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace qnl::test {

namespace {

std::string Quoted(const std::string& Text) {
  std::string out = "'";
  for (char c : Text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The command's standard output and error; Status gets its exit status.
std::string Output(const std::string& Command, int& Status) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((Command + " 2>&1").c_str(), "r"), pclose);
  std::string text;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) text += buffer;
  Status = pipe ? pclose(pipe.release()) : -1;
  return text;
}

std::string Trimmed(const std::string& Text) {
  size_t start = Text.find_first_not_of(" \t\r\n");
  size_t end = Text.find_last_not_of(" \t\r\n");
  return start == std::string::npos ? "" : Text.substr(start, end - start + 1);
}

} // namespace

bool HaveProgram(const std::string& Name) { return std::system(("command -v " + Name + " >/dev/null").c_str()) == 0; }

std::map<std::string, std::string> LnkInfo(const std::string& UnixPath, const std::string& CodePage) {
  int status = 0;
  std::istringstream lines(Output("lnkinfo -c " + CodePage + " " + Quoted(UnixPath), status));
  std::map<std::string, std::string> values;
  if (status != 0) return values;
  for (std::string line; std::getline(lines, line);) {
    size_t colon = line.find(':');
    if (line.rfind("\t", 0) != 0 || colon == std::string::npos) continue;
    std::string key = Trimmed(line.substr(0, colon));
    if (!values.count(key)) values[key] = Trimmed(line.substr(colon + 1));
  }
  return values;
}

std::map<std::string, std::string> DesktopEntryKeys(const std::string& UnixPath) {
  std::ifstream in(UnixPath);
  std::map<std::string, std::string> keys;
  for (std::string line; std::getline(in, line);) {
    size_t equals = line.find('=');
    if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return keys;
}

std::vector<std::string> ExecArguments(const std::string& ExecValue) {
  std::string text;
  for (size_t i = 0; i < ExecValue.size(); ++i) {
    if (ExecValue[i] != '\\' || i + 1 == ExecValue.size()) {
      text += ExecValue[i];
      continue;
    }
    char next = ExecValue[++i];
    text += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
  }
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted && c == '\\' && i + 1 < text.size()) {
      word += text[++i];
    } else if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (c == ' ' && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      word += text[++i];
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::string DesktopFileComplaints(const std::string& UnixPath) {
  int status = 0;
  std::string text = Output("desktop-file-validate " + Quoted(UnixPath), status);
  return status == 0 ? text : "exit status " + std::to_string(status) + ": " + text;
}

} // namespace qnl::test
