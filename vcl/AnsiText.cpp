// Code-page conversion for text shown by Qt.
#include "vcl/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qnl {

namespace {

int GCodePage = 1252;

// Code page 1252's 0x80..0x9F, where it differs from Latin-1 (0: unassigned).
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QString Cp1252ToQString(const std::string& text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (unsigned char c : text) {
    char16_t u = c;
    if (c >= 0x80 && c < 0xA0) u = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : c;
    out.append(QChar(u));
  }
  return out;
}

std::string QStringToCp1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (QChar ch : text) {
    char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i)
      if (kCp1252High[i] == u) mapped = static_cast<char>(0x80 + i);
    out.push_back(mapped);
  }
  return out;
}

QByteArray CodecName(int codePage) {
  switch (codePage) {
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 874: return "windows-874";
    default: return "windows-" + QByteArray::number(codePage);
  }
}

int Resolve(int codePage) { return codePage == 0 ? GCodePage : codePage; }

} // namespace

int AnsiCodePage() { return GCodePage; }

void SetAnsiCodePage(int CodePage) {
  if (CodePage > 0) GCodePage = CodePage;
}

QString AnsiToQString(const std::string& Text, int CodePage) {
  CodePage = Resolve(CodePage);
  bool ascii = true;
  for (unsigned char c : Text)
    if (c >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
  if (CodePage != 1252) {
    // Qt decodes the other code pages through ICU when it was built with it.
    QStringDecoder decoder(CodecName(CodePage).constData());
    if (decoder.isValid()) return decoder.decode(QByteArrayView(Text.data(), static_cast<qsizetype>(Text.size())));
  }
  return Cp1252ToQString(Text);
}

std::string QStringToAnsi(const QString& Text, int CodePage) {
  CodePage = Resolve(CodePage);
  if (CodePage != 1252) {
    QStringEncoder encoder(CodecName(CodePage).constData(), QStringConverter::Flag::Default);
    if (encoder.isValid()) {
      QByteArray bytes = encoder.encode(Text);
      return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
  }
  return QStringToCp1252(Text);
}

} // namespace qnl
