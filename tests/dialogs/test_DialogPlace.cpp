// Where a dialog window goes on the screen for each position, with both roundings.
#include <gtest/gtest.h>

#include "dialogs/DialogTypes.h"

using namespace qnl;

TEST(DialogPlace, EachPositionOnA1024By768Screen) {
  struct TRow {
    TQuenloftDialogPosition Position;
    int32_t L, T, W, H;
    TCentreRounding Rounding;
    int32_t Left, Top;
  };
  constexpr auto trunc = TCentreRounding::crTruncate, even = TCentreRounding::crRoundHalfEven;
  const TRow rows[] = {
      {qdpBottomRight, 10, 20, 478, 395, trunc, 536, 335},
      {qdpCenter, 0, 0, 478, 393, trunc, 273, 187}, // 384 - 196.5 truncated
      {qdpCenter, 0, 0, 478, 393, even, 273, 188},  // 187.5 to even
      {qdpCenter, 0, 0, 478, 391, even, 273, 188},  // 188.5 to even
      {qdpCenterLeft, 5, -7, 100, 100, trunc, 5, 327},
      {qdpTopCenter, 3, 30, 474, 146, even, 278, 30},
      {qdpBottomLeft, 0, 30, 474, 146, trunc, 0, 574},
      {qdpTopRight, 10, 0, 200, 100, trunc, 814, 0},
      {qdpCenter, 0, 0, 1100, 800, trunc, -38, -16}, // larger than the screen: toward zero
  };
  for (const TRow& r : rows) {
    TDialogPlace place = DialogPlace(r.Position, r.L, r.T, r.W, r.H, 1024, 768, 18, r.Rounding);
    EXPECT_EQ(place.Left, r.Left) << EnumInfoOf(static_cast<TQuenloftDialogPosition*>(nullptr)).NameOf(r.Position);
    EXPECT_EQ(place.Top, r.Top) << EnumInfoOf(static_cast<TQuenloftDialogPosition*>(nullptr)).NameOf(r.Position);
  }
}
