// Decoded pictures and rich text as Qt shows them, checked against Qt's own readers.
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "common/BuiltinPictures.h"
#include "rtl/BitmapDecoder.h"
#include "rtl/Graphics.h"
#include "rtl/IconDecoder.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/QtGraphics.h"
#include "vcl/RichText.h"
#include "vcl/StdCtrls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

QByteArray Bytes(const std::string& S) { return QByteArray(S.data(), static_cast<qsizetype>(S.size())); }

// Every pixel of Ours that is opaque has the colour Theirs gives it. Qt widens 5-bit
// channels by a shift (31 becomes 248) where we scale them (31 becomes 255).
void ExpectSameOpaquePixels(const QImage& Ours, const QImage& Theirs, const std::string& Label) {
  ASSERT_EQ(Ours.size(), Theirs.size()) << Label;
  for (int y = 0; y < Ours.height(); ++y)
    for (int x = 0; x < Ours.width(); ++x) {
      QRgb a = Ours.pixel(x, y), b = Theirs.pixel(x, y);
      if (qAlpha(a) != 255) continue;
      EXPECT_TRUE(std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8 &&
                  std::abs(qBlue(a) - qBlue(b)) < 8)
          << Label << " at " << x << "," << y << ": " << std::hex << a << " against " << b;
    }
}

} // namespace

TEST_F(VclTest, BitmapsShowAsQtReadsThem) {
  for (const TBmpCase& c : BitmapCases()) {
    if (c.Label == std::string("32 bits with alpha")) continue; // Qt ignores the alpha of BI_RGB
    std::string bmp = MakeBmpFile(c.Layout);
    QImage theirs = QImage::fromData(Bytes(bmp), "BMP");
    if (theirs.isNull()) continue; // a layout Qt's reader does not know (core headers)
    ExpectSameOpaquePixels(QtImage(DecodeBmp(bmp)), theirs.convertToFormat(QImage::Format_ARGB32), c.Label);
  }
}

TEST_F(VclTest, IconImagesShowAsQtReadsThem) {
  TPicture picture;
  std::string ico = ReadFile(std::string(std::getenv("QNL_SOURCE")) + "/tests/links/fixtures/app.ico");
  picture.SetData("\5TIcon" + ico);
  QImage theirs = QImage::fromData(Bytes(ico), "ICO"); // Qt's reader takes the first image
  ASSERT_FALSE(theirs.isNull());
  ExpectSameOpaquePixels(QtImage(picture.Graphic(), 16), theirs.convertToFormat(QImage::Format_ARGB32), "app.ico");
  EXPECT_EQ(QtImage(picture.Graphic(), 32).width(), 32);
  EXPECT_EQ(QtIcon(*picture.Icon()).availableSizes().size(), 2);
}

TEST_F(VclTest, BuiltinPicturesDecodeAtTheirSizes) {
  struct {
    std::string_view Name;
    int Width, Height;
    bool Alpha;
  } pictures[] = {
      {kPictureInstallTheme, 117, 290, false}, {kPictureCopyFiles, 36, 37, true},     {kPictureTransfer, 36, 37, true},
      {kPictureChangeDisk, 48, 57, true},      {kPictureInstallStatus, 48, 48, true},
  };
  for (const auto& p : pictures) {
    std::string_view bytes = BuiltinPicture(p.Name);
    ASSERT_FALSE(bytes.empty()) << p.Name;
    TPixelImage image = bytes.substr(0, 2) == "BM" ? DecodeBmp(bytes) : DecodeIcon(bytes).back().Pixels;
    EXPECT_EQ(image.Width, p.Width) << p.Name;
    EXPECT_EQ(image.Height, p.Height) << p.Name;
    EXPECT_EQ(image.HasAlpha, p.Alpha) << p.Name;
    if (const char* dir = std::getenv("QNL_GRAB_DIR"))
      QtImage(image)
          .scaled(p.Width * 3, p.Height * 3)
          .save(QString(dir) + "/" + QString::fromUtf8(p.Name.data(), static_cast<qsizetype>(p.Name.size())) + ".png");
  }
  EXPECT_TRUE(BuiltinPicture("NOSUCHPICTURE").empty());
}

namespace {

const char* const kLicence =
    R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fmodern\fcharset204 Courier New;}})"
    R"({\colortbl ;\red0\green0\blue160;\red192\green0\blue0;})"
    R"(\pard\qc\cf1\b\fs28 Licence agreement\par)"
    R"(\pard\cf0\b0\fs20 Please read the following terms \i carefully\i0 . By installing you \ul accept\ulnone  them.\par)"
    R"(\par\cf2 Warning:\cf0  the program comes with \b no warranty\b0 .\par)"
    R"(\pard\qr\f1\'cf\'f0\'e8\'ec\'e5\'f0 \u8212? \u8364? 10\par})";

} // namespace

TEST_F(VclTest, RtfBecomesFormattedParagraphs) {
  QTextDocument doc;
  LoadRichText(doc, kLicence);
  ASSERT_EQ(doc.blockCount(), 5);
  QTextBlock title = doc.firstBlock();
  EXPECT_EQ(title.text(), "Licence agreement");
  EXPECT_EQ(title.blockFormat().alignment(), Qt::AlignHCenter);
  QTextCharFormat titleFormat = title.begin().fragment().charFormat();
  EXPECT_EQ(titleFormat.fontWeight(), QFont::Bold);
  EXPECT_EQ(titleFormat.fontPointSize(), 14);
  EXPECT_EQ(titleFormat.foreground().color(), QColor(0, 0, 160));
  QTextBlock last = doc.lastBlock();
  EXPECT_EQ(last.text(), QString::fromUtf8("Пример — € 10"));
  EXPECT_EQ(last.blockFormat().alignment(), Qt::AlignRight);

  // Grab what a reader sees, for a look.
  doc.setTextWidth(380);
  QImage image(400, static_cast<int>(doc.size().height()) + 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(10, 10);
  doc.drawContents(&painter);
  painter.end();
  if (const char* dir = std::getenv("QNL_GRAB_DIR")) image.save(QString(dir) + "/licence-rtf.png");
}

TEST_F(VclTest, PlainTextStaysPlainLines) {
  QTextDocument doc;
  LoadRichText(doc, "Line one\r\nLine two\xe9");
  EXPECT_EQ(doc.blockCount(), 2);
  EXPECT_EQ(doc.lastBlock().text(), QString::fromUtf8("Line two\u00e9"));
}

TEST_F(VclTest, AnImageControlPlacesItsPicture) {
  // A 2 x 2 bitmap: olive in its bottom-left corner and top-right, red and blue elsewhere.
  TBmpLayout layout{2, 2, 24, 0, false, false, {}, {}, PackRows(2, 24, {0xFF0000, 0x808000, 0x808000, 0x0000FF})};
  TBitmap bitmap;
  bitmap.LoadFromBmp(MakeBmpFile(layout));
  TPicture picture;
  picture.SetGraphic(&bitmap);
  auto draw = [&](bool Center, bool Stretch, bool Transparent) {
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    DrawPicture(painter, QRect(0, 0, 10, 10), picture, Center, Stretch, Transparent);
    painter.end();
    return canvas;
  };
  struct {
    const char* Label;
    QImage Canvas;
    QPoint At;
    QColor Expected;
  } cases[] = {
      {"top left", draw(false, false, false), {0, 0}, Qt::red},
      {"top left, nothing beyond", draw(false, false, false), {2, 2}, Qt::white},
      {"centred", draw(true, false, false), {4, 4}, Qt::red},
      {"centred, the corner", draw(true, false, false), {4, 5}, QColor(0x80, 0x80, 0)},
      {"centred and transparent", draw(true, false, true), {4, 5}, Qt::white},
      {"stretched", draw(false, true, false), {9, 9}, Qt::blue},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Canvas.pixelColor(c.At), c.Expected) << c.Label;
  EXPECT_EQ(GlyphPixmap(bitmap, 2, TButtonState::bsUp).width(), 1);
}

TEST_F(VclTest, AStoredFormShowsItsImageGlyphAndRichText) {
  // A 4x4 red picture; a strip of two 3x2 glyphs, blue then green, whose bottom-left white
  // pixel is the colour keyed out.
  const std::vector<uint32_t> red(16, 0xFF0000);
  const std::vector<uint32_t> strip = {0x0000FF, 0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00, 0x00FF00,
                                       0xFFFFFF, 0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00, 0x00FF00};
  TBmpLayout pictureLayout{4, 4, 24, 0, false, false, {}, {}, PackRows(4, 24, red)};
  TBmpLayout glyphLayout{6, 2, 24, 0, false, false, {}, {}, PackRows(6, 24, strip)};
  std::string picture = MakeBmpFile(pictureLayout), glyph = MakeBmpFile(glyphLayout);
  RegisterControlsClasses();
  TForm form(nullptr);
  LoadTextForm(&form,
               "object F: TForm\n  Left = 0\n  Top = 0\n  Width = 320\n  Height = 240\n"
               "  object Img: TImage\n    Left = 8\n    Top = 8\n    Width = 40\n    Height = 40\n"
               "    Stretch = True\n    Picture.Data = {" +
                   FormHex("\7TBitmap" + SizedBitmap(picture)) +
                   "}\n  end\n"
                   "  object Btn: TBitBtn\n    Left = 60\n    Top = 8\n    Width = 90\n    Height = 30\n"
                   "    Caption = 'Go'\n    NumGlyphs = 2\n    Glyph.Data = {" +
                   FormHex(SizedBitmap(glyph)) +
                   "}\n  end\n"
                   "  object Text: TRichEdit\n    Left = 8\n    Top = 60\n    Width = 300\n    Height = 100\n"
                   "    ScrollBars = ssVertical\n    Lines.Strings = (\n      '{\\rtf1 {\\b Bold} plain}')\n  end\n"
                   "end\n");
  form.Show();
  TFormDriver driver(form);
  const char* grabDir = std::getenv("QNL_GRAB_DIR");
  QImage shot = driver.Grab(grabDir ? std::string(grabDir) + "/stored-pictures.png" : "");
  EXPECT_EQ(shot.pixelColor(8 + 20, 8 + 20), QColor(255, 0, 0)) << "the stretched picture";
  auto* button = static_cast<QPushButton*>(driver.WidgetNamed("Btn"));
  ASSERT_FALSE(button->icon().isNull());
  EXPECT_EQ(button->iconSize(), QSize(3, 2)) << "one glyph of the strip of two";
  QImage up = button->icon().pixmap(3, 2).toImage();
  EXPECT_EQ(up.pixelColor(1, 0), QColor(0, 0, 255)) << "the first glyph is the up image";
  EXPECT_EQ(up.pixelColor(0, 1).alpha(), 0) << "the corner colour is keyed out";
  auto& text = static_cast<TRichEdit&>(driver.Find("Text"));
  EXPECT_EQ(text.DisplayedText(), "Bold plain");
  QTextCursor cursor(text.TextWidget()->document());
  cursor.setPosition(1);
  EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
  EXPECT_THROW(text.SetReadOnly(false), EInvalidOperation);
}
