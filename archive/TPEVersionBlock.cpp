// Finding RT_VERSION in a PE file and walking the VS_VERSIONINFO node tree.
#include "archive/TPEVersionBlock.h"

#include <vector>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr uint32_t kRtVersion = 16;
// A version block larger than this is not a version block (real ones are a few KiB).
constexpr uint32_t kMaxBlockSize = 1 << 20;

class TImageReader {
public:
  explicit TImageReader(TStream& S) : FStream(S), FSize(S.Size()) {}
  bool Read(uint64_t At, void* Buf, uint32_t N) {
    if (At > uint64_t(FSize) || N > uint64_t(FSize) - At) return false;
    if (FStream.Seek(int64_t(At), soBeginning) != int64_t(At)) return false;
    return FStream.Read(Buf, N) == int64_t(N);
  }
  bool U16(uint64_t At, uint32_t& V) {
    uint8_t b[2];
    if (!Read(At, b, 2)) return false;
    V = ReadLE16(b);
    return true;
  }
  bool U32(uint64_t At, uint32_t& V) {
    uint8_t b[4];
    if (!Read(At, b, 4)) return false;
    V = ReadLE32(b);
    return true;
  }
  int64_t Size() const { return FSize; }

private:
  TStream& FStream;
  int64_t FSize;
};

struct TSection {
  uint32_t VirtualAddress, VirtualSize, RawSize, RawPointer;
};

bool RvaToOffset(const std::vector<TSection>& Sections, uint32_t Rva, uint32_t Size, uint64_t& Offset) {
  for (const TSection& s : Sections) {
    uint64_t extent = s.RawSize; // bytes beyond the raw data are not in the file
    if (Rva >= s.VirtualAddress && uint64_t(Rva) + Size <= uint64_t(s.VirtualAddress) + extent) {
      Offset = uint64_t(s.RawPointer) + (Rva - s.VirtualAddress);
      return true;
    }
  }
  return false;
}

// The entry of a resource directory at dirOffset (relative to the resource root) whose ID is
// id, or the first entry when id is 0; returns its OffsetToData.
bool FindEntry(TImageReader& R, uint64_t Root, uint32_t DirOffset, uint32_t Id, uint32_t& Data) {
  uint32_t named, ids;
  if (!R.U16(Root + DirOffset + 12, named) || !R.U16(Root + DirOffset + 14, ids)) return false;
  uint64_t entries = Root + DirOffset + 16;
  for (uint32_t i = 0; i < named + ids; ++i) {
    uint32_t name, off;
    if (!R.U32(entries + 8 * i, name) || !R.U32(entries + 8 * i + 4, off)) return false;
    if (Id == 0 || (!(name & 0x80000000u) && name == Id)) {
      Data = off;
      return true;
    }
  }
  return false;
}

std::string ReadVersionResource(TStream& Stream) {
  TImageReader r(Stream);
  uint32_t mz, lfanew, pe;
  if (!r.U16(0, mz) || mz != 0x5A4D || !r.U32(0x3C, lfanew) || !r.U32(lfanew, pe) || pe != 0x00004550) return {};
  uint32_t sectionCount, optSize, magic;
  uint64_t coff = uint64_t(lfanew) + 4, opt = coff + 20;
  if (!r.U16(coff + 2, sectionCount) || !r.U16(coff + 16, optSize) || !r.U16(opt, magic)) return {};
  uint64_t dirs;
  uint32_t dirCount;
  if (magic == 0x10b) {
    dirs = opt + 96;
    if (!r.U32(opt + 92, dirCount)) return {};
  } else if (magic == 0x20b) {
    dirs = opt + 112;
    if (!r.U32(opt + 108, dirCount)) return {};
  } else {
    return {};
  }
  uint32_t resRva, resSize;
  if (dirCount < 3 || dirs + 24 > opt + optSize || !r.U32(dirs + 16, resRva) || !r.U32(dirs + 20, resSize) ||
      resRva == 0)
    return {};
  std::vector<TSection> sections;
  uint64_t table = opt + optSize;
  for (uint32_t i = 0; i < sectionCount; ++i) {
    TSection s;
    uint64_t at = table + 40 * uint64_t(i);
    if (!r.U32(at + 8, s.VirtualSize) || !r.U32(at + 12, s.VirtualAddress) || !r.U32(at + 16, s.RawSize) ||
        !r.U32(at + 20, s.RawPointer))
      return {};
    sections.push_back(s);
  }
  uint64_t root;
  if (!RvaToOffset(sections, resRva, 16, root)) return {};
  // Three fixed levels (type, name, language): no recursion, so no loops on forged offsets.
  uint32_t typeEntry, nameEntry, langEntry;
  if (!FindEntry(r, root, 0, kRtVersion, typeEntry) || !(typeEntry & 0x80000000u)) return {};
  if (!FindEntry(r, root, typeEntry & 0x7FFFFFFFu, 0, nameEntry) || !(nameEntry & 0x80000000u)) return {};
  if (!FindEntry(r, root, nameEntry & 0x7FFFFFFFu, 0, langEntry) || (langEntry & 0x80000000u)) return {};
  uint32_t dataRva, dataSize;
  if (!r.U32(root + langEntry, dataRva) || !r.U32(root + langEntry + 4, dataSize)) return {};
  if (dataSize < 6 || dataSize > kMaxBlockSize) return {};
  uint64_t dataOffset;
  if (!RvaToOffset(sections, dataRva, dataSize, dataOffset)) return {};
  std::string block(dataSize, '\0');
  if (!r.Read(dataOffset, block.data(), dataSize)) return {};
  return block;
}

size_t Align4(size_t V) { return (V + 3) & ~size_t(3); }

// One node of the tree: [start, end) bounds, key, value bytes and where children begin.
struct TNode {
  size_t End = 0;
  std::string Key; // ASCII-folded key; other characters as '?'
  size_t ValueAt = 0, ValueLen = 0;
  bool Text = false;
  size_t ChildrenAt = 0;
};

bool ParseNode(const std::string& B, size_t At, size_t Limit, TNode& N) {
  if (At + 6 > Limit) return false;
  size_t length = ReadLE16(B, At), valueLength = ReadLE16(B, At + 2);
  N.Text = ReadLE16(B, At + 4) == 1;
  if (length < 6 || At + length > Limit) return false;
  N.End = At + length;
  size_t p = At + 6;
  N.Key.clear();
  for (;;) {
    if (p + 2 > N.End) return false;
    uint32_t c = ReadLE16(B, p);
    p += 2;
    if (c == 0) break;
    N.Key += c < 128 ? char(c) : '?';
  }
  p = Align4(p);
  N.ValueAt = p > N.End ? N.End : p;
  size_t bytes = N.Text ? valueLength * 2 : valueLength;
  N.ValueLen = N.ValueAt + bytes > N.End ? N.End - N.ValueAt : bytes;
  N.ChildrenAt = Align4(N.ValueAt + N.ValueLen);
  return true;
}

bool SameKey(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    char x = A[i], y = B[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

} // namespace

TPEVersionBlock::TPEVersionBlock(std::string Block) : FBlock(std::move(Block)) {
  TNode root;
  if (!ParseNode(FBlock, 0, FBlock.size(), root) || !SameKey(root.Key, "VS_VERSION_INFO")) FBlock.clear();
}

TPEVersionBlock TPEVersionBlock::FromImage(TStream& Stream) { return TPEVersionBlock(ReadVersionResource(Stream)); }

TPEVersionBlock TPEVersionBlock::FromImage(std::string_view Image) {
  TMemoryStream m{std::string(Image)};
  return FromImage(m);
}

std::optional<std::string> TPEVersionBlock::QueryValue(std::string_view SubBlock) const {
  TNode node;
  if (FBlock.empty() || !ParseNode(FBlock, 0, FBlock.size(), node)) return std::nullopt;
  size_t pos = 0;
  while (pos < SubBlock.size()) {
    while (pos < SubBlock.size() && SubBlock[pos] == '\\') ++pos;
    if (pos >= SubBlock.size()) break;
    size_t end = SubBlock.find('\\', pos);
    if (end == std::string_view::npos) end = SubBlock.size();
    std::string_view key = SubBlock.substr(pos, end - pos);
    pos = end;
    bool found = false;
    // Children strictly advance, so the walk ends within the block.
    for (size_t at = node.ChildrenAt; at + 6 <= node.End;) {
      TNode child;
      if (!ParseNode(FBlock, at, node.End, child)) break;
      if (SameKey(child.Key, key)) {
        node = child;
        found = true;
        break;
      }
      at = Align4(child.End);
    }
    if (!found) return std::nullopt;
  }
  std::string value = FBlock.substr(node.ValueAt, node.ValueLen);
  if (node.Text) {
    size_t n = 0;
    while (n + 1 < value.size() && (value[n] || value[n + 1])) n += 2;
    value.resize(n);
  }
  return value;
}

std::optional<std::string> TPEVersionBlock::QueryString(std::string_view SubBlock) const {
  auto raw = QueryValue(SubBlock);
  if (!raw) return std::nullopt;
  std::string out;
  for (size_t i = 0; i + 1 < raw->size(); i += 2) {
    uint32_t c = ReadLE16(*raw, i);
    out += c < 256 ? char(c) : '?';
  }
  return out;
}

} // namespace qnl
