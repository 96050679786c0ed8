// The copy window's progress on a terminal.
#include "dialogs/TerminalProgress.h"

#include <cstdio>
#include <string>

#include "engine/InstallParameters.h"
#include "platform/system/Environment.h"
#include "vcl/Form.h"

namespace qnl {

namespace {

constexpr size_t kNameWidth = 40;

struct TLine {
  std::string Shown;
  bool Open = false;
};

TLine& Line() {
  static TLine line;
  return line;
}

bool Wanted() {
  static const bool wanted = UnattendedRun() && !QuietRun() && StandardErrorIsTerminal();
  return wanted;
}

// The last kNameWidth characters of Name, padded: the line keeps its length.
std::string Fitted(const std::string& Name) {
  std::string name = Name.size() > kNameWidth ? "..." + Name.substr(Name.size() - kNameWidth + 3) : Name;
  return name + std::string(kNameWidth - name.size(), ' ');
}

} // namespace

void DrawTerminalProgress(const TFileStatusParameter* FileStatus, const TDownloadStatusParameter* DownloadStatus) {
  if (!Wanted()) return;
  std::string text;
  if (FileStatus)
    text = Fitted(FileStatus->FileName) + " " + std::to_string(FileStatus->FilePercentDone) + "%  total " +
           std::to_string(FileStatus->TotalPercentDone) + "%";
  else if (DownloadStatus)
    text = Fitted(DownloadStatus->FileName) + " " + std::to_string(DownloadStatus->PercentDone) + "%  downloading";
  else
    return;
  TLine& line = Line();
  if (text == line.Shown) return;
  // Padding wipes what a longer line before left behind.
  std::string padding(line.Shown.size() > text.size() ? line.Shown.size() - text.size() : 0, ' ');
  std::fprintf(stderr, "\r%s%s", text.c_str(), padding.c_str());
  std::fflush(stderr);
  line.Shown = text;
  line.Open = true;
}

void EndTerminalProgress() {
  TLine& line = Line();
  if (!line.Open) return;
  std::fputs("\n", stderr);
  std::fflush(stderr);
  line = {};
}

} // namespace qnl
