// The built-in wizard picture, drawn for this system (common/pictures/theme.bmp).
#include "engine/InstallThemeBitmap.h"

#include "common/BuiltinPictures.h"

namespace qnl {

const std::string& InstallTheme1Bmp() {
  static const std::string bmp(BuiltinPicture(kPictureInstallTheme));
  return bmp;
}

} // namespace qnl
