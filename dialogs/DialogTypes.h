// The phases a dialog manager serves and the places a dialog window can take on the screen.
#pragma once

#include <cstdint>

#include "rtl/TypInfo.h"

namespace qnl {

QNL_ENUM(TManagerType, dmBeforeInstall, dmAfterGoodInstall, dmAfterBadInstall, dmDuringCopyFiles, dmChangeDisk,
         dmReboot)

// A 3x3 grid: ordinals 0-2 the vertical-centre row, 3-5 the bottom row, 6-8 the top row;
// left, centre, right within each row.
QNL_ENUM(TQuenloftDialogPosition, qdpCenterLeft, qdpCenter, qdpCenterRight, qdpBottomLeft, qdpBottomCenter,
         qdpBottomRight, qdpTopLeft, qdpTopCenter, qdpTopRight)

// How the centred offsets are made whole: the wizard truncates them (computed in single
// precision), the copy-progress windows round them half to even.
enum class TCentreRounding { crTruncate, crRoundHalfEven };

struct TDialogPlace {
  int32_t Left = 0;
  int32_t Top = 0;
};

// The top-left corner of a window of Width x Height at Position with the offsets, on a
// screen of ScreenWidth x ScreenHeight whose window captions are CaptionHeight high.
TDialogPlace DialogPlace(TQuenloftDialogPosition Position, int32_t LeftOffset, int32_t TopOffset, int32_t Width,
                         int32_t Height, int32_t ScreenWidth, int32_t ScreenHeight, int32_t CaptionHeight,
                         TCentreRounding Rounding);

} // namespace qnl
