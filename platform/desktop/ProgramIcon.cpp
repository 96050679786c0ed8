// The icon of a Windows program: its resource directory walked down to the first icon group.
#include "platform/desktop/ProgramIcon.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr uint32_t RT_ICON = 3;
constexpr uint32_t RT_GROUP_ICON = 14;
constexpr uint32_t kResourceDirectoryIndex = 2;

struct EDamaged {};

// Bounds-checked little-endian reads of the image.
class TImage {
public:
  explicit TImage(std::string Bytes) : FBytes(std::move(Bytes)) {}
  uint32_t U16(size_t At) const { return Number(At, 2); }
  uint32_t U32(size_t At) const { return Number(At, 4); }
  std::string Bytes(size_t At, size_t Count) const {
    if (At > FBytes.size() || Count > FBytes.size() - At) throw EDamaged{};
    return FBytes.substr(At, Count);
  }

private:
  uint32_t Number(size_t At, int Count) const {
    if (At > FBytes.size() || static_cast<size_t>(Count) > FBytes.size() - At) throw EDamaged{};
    return static_cast<uint32_t>(ReadLE(FBytes.data() + At, Count));
  }
  std::string FBytes;
};

// The resources of a PE image: entries found by type and id, data read by RVA.
class TResources {
public:
  explicit TResources(const TImage& Image) : FImage(Image) {
    if (Image.U16(0) != 0x5A4D) throw EDamaged{};
    size_t pe = Image.U32(0x3C);
    if (Image.U32(pe) != 0x00004550) throw EDamaged{};
    size_t sections = Image.U16(pe + 6);
    size_t optional = pe + 24;
    size_t optionalSize = Image.U16(pe + 20);
    size_t directories = optional + (Image.U16(optional) == 0x20B ? 112 : 96);
    FRoot = Image.U32(directories + 8 * kResourceDirectoryIndex);
    for (size_t i = 0, table = optional + optionalSize; i < sections; ++i, table += 40)
      FSections.push_back({Image.U32(table + 12), Image.U32(table + 8), Image.U32(table + 20), Image.U32(table + 16)});
    if (FRoot == 0) throw EDamaged{};
  }

  // The first entry of the directory at Directory (an offset in the resource section) whose
  // id is Id (any entry when Id is 0): its offset, with the subdirectory bit when it has one.
  std::optional<uint32_t> Entry(uint32_t Directory, uint32_t Id) const {
    size_t at = FileOffset(FRoot + Directory);
    size_t count = FImage.U16(at + 12) + FImage.U16(at + 14);
    for (size_t i = 0; i < count; ++i) {
      uint32_t name = FImage.U32(at + 16 + 8 * i);
      if (Id == 0 || name == Id) return FImage.U32(at + 20 + 8 * i);
    }
    return std::nullopt;
  }
  // The data of the resource of type Type and id Id (the first one when Id is 0), any language.
  std::optional<std::string> Data(uint32_t Type, uint32_t Id) const {
    std::optional<uint32_t> type = Entry(0, Type);
    if (!type || !(*type & 0x80000000)) return std::nullopt;
    std::optional<uint32_t> name = Entry(*type & 0x7FFFFFFF, Id);
    if (!name || !(*name & 0x80000000)) return std::nullopt;
    std::optional<uint32_t> language = Entry(*name & 0x7FFFFFFF, 0);
    if (!language || (*language & 0x80000000)) return std::nullopt;
    size_t entry = FileOffset(FRoot + *language);
    return FImage.Bytes(FileOffset(FImage.U32(entry)), FImage.U32(entry + 4));
  }

private:
  struct TSection {
    uint32_t VirtualAddress, VirtualSize, RawOffset, RawSize;
  };
  size_t FileOffset(uint32_t Rva) const {
    for (const TSection& s : FSections)
      if (Rva >= s.VirtualAddress && Rva - s.VirtualAddress < std::max(s.VirtualSize, s.RawSize))
        return s.RawOffset + (Rva - s.VirtualAddress);
    throw EDamaged{};
  }
  const TImage& FImage;
  uint32_t FRoot = 0;
  std::vector<TSection> FSections;
};

void Append(std::string& Out, uint32_t Value, int Count) { AppendLE(Out, Value, Count); }

// The .ico file of an icon group: its header, one 16-byte entry per image (the group's 14-byte
// entry with the image's offset in place of its resource id), then the images.
std::string IconFile(const TResources& Resources, const std::string& Group) {
  TImage group(Group);
  size_t count = group.U16(4);
  std::string header = group.Bytes(0, 6), entries, images;
  size_t offset = 6 + 16 * count;
  for (size_t i = 0; i < count; ++i) {
    size_t entry = 6 + 14 * i;
    std::optional<std::string> image = Resources.Data(RT_ICON, group.U16(entry + 12));
    if (!image) throw EDamaged{};
    entries += group.Bytes(entry, 8);
    Append(entries, static_cast<uint32_t>(image->size()), 4);
    Append(entries, static_cast<uint32_t>(offset + images.size()), 4);
    images += *image;
  }
  if (count == 0) throw EDamaged{};
  return header + entries + images;
}

} // namespace

std::optional<std::string> ProgramIcon(const std::string& UnixProgram) {
  try {
    std::ifstream in(UnixProgram, std::ios::binary);
    TImage image(std::string(std::istreambuf_iterator<char>(in), {}));
    TResources resources(image);
    std::optional<std::string> group = resources.Data(RT_GROUP_ICON, 0);
    if (!group) return std::nullopt;
    return IconFile(resources, *group);
  } catch (const EDamaged&) {
    return std::nullopt;
  }
}

} // namespace qnl
