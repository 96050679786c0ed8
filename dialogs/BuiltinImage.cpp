// The built-in pictures of the dialogs.
#include "dialogs/BuiltinImage.h"

#include "common/BuiltinPictures.h"
#include "vcl/Image.h"

namespace qnl {

void ShowBuiltinPicture(TImage& Image, std::string_view Name) {
  std::string bytes(BuiltinPicture(Name));
  if (bytes.starts_with("BM")) {
    TBitmap bitmap;
    bitmap.LoadFromBmp(bytes);
    Image.Picture()->SetGraphic(&bitmap);
  } else {
    TIcon icon;
    icon.ReadData(bytes);
    Image.Picture()->SetGraphic(&icon);
  }
}

} // namespace qnl
