// The surface a control draws itself on, with no Qt in sight of the control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rtl/Graphics.h"

namespace qnl {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

// A control's pixels during one paint, in the control's own coordinates. Shapes are filled
// solid in one colour, outline included; text has no background and no smoothing, so that
// each pixel is either the text's colour or what lay beneath.
class TCanvas {
public:
  virtual ~TCanvas() = default;
  // Fills from (Left, Top) up to, not including, (Right, Bottom); nothing when empty.
  virtual void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, TColor Color) = 0;
  // Fills the polygon through Points, joined in their order.
  virtual void Polygon(const std::vector<TPoint>& Points, TColor Color) = 0;
  // The size Text takes in Font, unrotated: its advance width and the font's line height.
  virtual TSize TextExtent(const TFont& Font, const std::string& Text) = 0;
  // Draws Text in Font, in Color, with the top-left corner of its line at (X, Y), turned
  // counter-clockwise about that point by Escapement tenths of a degree.
  virtual void TextOut(const TFont& Font, int32_t X, int32_t Y, const std::string& Text, TColor Color,
                       int32_t Escapement) = 0;
};

} // namespace qnl
