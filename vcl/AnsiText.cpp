// Code-page conversion for text shown by Qt, through the platform's converter.
#include "vcl/AnsiText.h"

#include "platform/system/CodePage.h"

namespace qnl {

namespace {
int GCodePage = 1252;
int Resolve(int CodePage) { return CodePage == 0 ? GCodePage : CodePage; }
} // namespace

int AnsiCodePage() { return GCodePage; }

void SetAnsiCodePage(int CodePage) {
  if (CodePage > 0) GCodePage = CodePage;
}

QString AnsiToQString(const std::string& Text, int CodePage) {
  std::string utf8 = AnsiToUtf8(Text, Resolve(CodePage));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QStringToAnsi(const QString& Text, int CodePage) {
  QByteArray utf8 = Text.toUtf8();
  return Utf8ToAnsi(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), Resolve(CodePage));
}

} // namespace qnl
