// Decoding of icon files: the directory, then each image through the bitmap decoder.
#include "rtl/IconDecoder.h"

#include <cstdlib>

#include "rtl/BitmapDecoder.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

const std::string kPrefix = "Icon image is not valid: ";
constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

uint32_t ReadBE32(std::string_view S, size_t At) {
  auto b = [&](size_t K) { return static_cast<uint32_t>(static_cast<unsigned char>(S[At + K])); };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

TIconImage PngImage(std::string_view Data, const std::string& Prefix) {
  // The signature, then the IHDR chunk: length, "IHDR", width, height (big-endian).
  if (Data.size() < 24 || Data.substr(12, 4) != "IHDR") throw EInvalidGraphic(Prefix + "its PNG header is cut short");
  TIconImage image;
  uint32_t w = ReadBE32(Data, 16), h = ReadBE32(Data, 20);
  if (w == 0 || h == 0 || w > MaxPictureSide || h > MaxPictureSide || int64_t{w} * h > MaxPicturePixels)
    throw EInvalidGraphic(Prefix + "its PNG size " + std::to_string(w) + " x " + std::to_string(h) +
                          " is empty or too large");
  image.Width = static_cast<int32_t>(w);
  image.Height = static_cast<int32_t>(h);
  image.BitCount = 32;
  image.Png = std::string(Data);
  return image;
}

} // namespace

std::vector<TIconImage> DecodeIcon(std::string_view Ico) {
  if (Ico.size() < 6) throw EInvalidGraphic(kPrefix + "only " + std::to_string(Ico.size()) + " bytes");
  uint16_t type = ReadLE16(Ico, 2);
  if (ReadLE16(Ico, 0) != 0 || (type != 1 && type != 2))
    throw EInvalidGraphic(kPrefix + "it does not start with an icon directory");
  size_t count = ReadLE16(Ico, 4);
  if (count == 0) throw EInvalidGraphic(kPrefix + "it holds no image");
  if (6 + 16 * count > Ico.size())
    throw EInvalidGraphic(kPrefix + "its directory of " + std::to_string(count) + " images is cut short");
  std::vector<TIconImage> images;
  for (size_t i = 0; i < count; ++i) {
    size_t entry = 6 + 16 * i;
    uint32_t size = ReadLE32(Ico, entry + 8), offset = ReadLE32(Ico, entry + 12);
    std::string prefix = kPrefix + "image " + std::to_string(i + 1) + ": ";
    if (offset > Ico.size() || size > Ico.size() - offset)
      throw EInvalidGraphic(prefix + std::to_string(size) + " bytes at offset " + std::to_string(offset) +
                            " lie beyond the " + std::to_string(Ico.size()) + " bytes of the file");
    std::string_view data = Ico.substr(offset, size);
    if (data.substr(0, kPngSignature.size()) == kPngSignature) {
      images.push_back(PngImage(data, prefix));
      continue;
    }
    TIconImage image;
    image.Pixels = DecodeIconDib(data, prefix);
    image.Width = image.Pixels.Width;
    image.Height = image.Pixels.Height;
    image.BitCount = data.size() >= 16 && ReadLE32(data, 0) != 12 ? ReadLE16(data, 14) : ReadLE16(data, 10);
    images.push_back(std::move(image));
  }
  return images;
}

size_t BestIconImage(const std::vector<TIconImage>& Images, int Size) {
  size_t best = 0;
  auto better = [&](const TIconImage& A, const TIconImage& B) {
    bool aFits = A.Width >= Size, bFits = B.Width >= Size;
    if (aFits != bFits) return aFits;
    if (A.Width != B.Width) return aFits ? A.Width < B.Width : A.Width > B.Width;
    return A.BitCount > B.BitCount;
  };
  for (size_t i = 1; i < Images.size(); ++i)
    if (better(Images[i], Images[best])) best = i;
  return best;
}

} // namespace qnl
