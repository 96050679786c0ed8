// RTF documents as Qt text documents.
#include "vcl/RichText.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include "platform/system/CodePage.h"
#include "vcl/AnsiText.h"

namespace qnl {

namespace {

Qt::Alignment QtAlignment(TRtfAlignment A) {
  switch (A) {
    case TRtfAlignment::raCenter: return Qt::AlignHCenter;
    case TRtfAlignment::raRight: return Qt::AlignRight;
    case TRtfAlignment::raJustify: return Qt::AlignJustify;
    case TRtfAlignment::raLeft: break;
  }
  return Qt::AlignLeft;
}

QTextCharFormat QtCharFormat(const TRtfFormat& F) {
  QTextCharFormat format;
  format.setFontWeight(F.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(F.Italic);
  format.setFontUnderline(F.Underline);
  format.setFontStrikeOut(F.StrikeOut);
  format.setFontPointSize(F.HalfPoints / 2.0);
  if (!F.FontName.empty()) format.setFontFamilies({QString::fromStdString(F.FontName)});
  if (F.Color) format.setForeground(QColor((*F.Color >> 16) & 0xFF, (*F.Color >> 8) & 0xFF, *F.Color & 0xFF));
  return format;
}

} // namespace

void FillTextDocument(QTextDocument& Document, const TRtfDocument& Rtf) {
  Document.clear();
  QTextCursor cursor(&Document);
  bool first = true;
  for (const TRtfParagraph& p : Rtf.Paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(QtAlignment(p.Alignment));
    if (first)
      cursor.setBlockFormat(block);
    else
      cursor.insertBlock(block);
    first = false;
    for (const TRtfRun& r : p.Runs) cursor.insertText(QString::fromStdString(r.Text), QtCharFormat(r.Format));
  }
}

void LoadRichText(QTextDocument& Document, const std::string& Text) {
  if (!IsRtf(Text)) {
    QString plain = AnsiToQString(Text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Document.setPlainText(plain);
    return;
  }
  auto decode = [](std::string_view Bytes, int CodePage) { return AnsiToUtf8(Bytes, CodePage); };
  FillTextDocument(Document, ReadRtf(Text, decode, AnsiCodePage()));
}

} // namespace qnl
