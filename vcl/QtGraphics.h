// The form's graphic values as Qt sees them.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>

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

} // namespace qnl
