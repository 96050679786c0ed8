// The form's graphic values as Qt sees them.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>

#include "rtl/ButtonGlyph.h"
#include "rtl/Graphics.h"

namespace qnl {

// The Qt font of a stored font (its face, pixel height, style and pitch).
QFont QtFont(const TFont& Font);
// The RGB colour of a stored colour, system colours through the classic scheme.
QColor QtColor(TColor Color);

// Decoded pixels as a Qt image (ARGB32, a copy).
QImage QtImage(const TPixelImage& Pixels);
// The image of a graphic: a bitmap's pixels, an icon's image best for Size x Size; a null
// image for an empty graphic.
QImage QtImage(const TGraphic* Graphic, int Size = 32);
// Every image of an icon, so that Qt picks the one for each place it shows it.
QIcon QtIcon(const TIcon& Icon);

// Where an image control puts a picture of PictureSize in Client: stretched over all of
// it, else at its natural size, at the top left or centred.
QRect PictureRect(const QRect& Client, const QSize& PictureSize, bool Center, bool Stretch);
// Draws Picture as an image control shows it. Transparent lets the background show
// through a bitmap's pixels of its bottom-left pixel's colour; icons and pictures with an
// alpha channel are always drawn with it.
void DrawPicture(QPainter& Painter, const QRect& Client, const TPicture& Picture, bool Center, bool Stretch,
                 bool Transparent);
// The image of a bitmap button's glyph for State (see GlyphImage), with the shadow and
// highlight of the classic button colours.
QPixmap GlyphPixmap(const TBitmap& Glyph, int NumGlyphs, TButtonState State);

} // namespace qnl
