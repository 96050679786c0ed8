// Resources of a PE file: the resource directory and the string tables.
#include "archive/PEResources.h"

#include <vector>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr uint32_t kRtString = 6;
// A string table holds 16 strings of at most 65535 characters each.
constexpr uint32_t kMaxStringTable = 16 * (2 + 2 * 65535);

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

} // namespace

std::string ReadPEResource(TStream& Stream, uint32_t Type, uint32_t Id, uint32_t MaxSize) {
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
  if (!FindEntry(r, root, 0, Type, typeEntry) || !(typeEntry & 0x80000000u)) return {};
  if (!FindEntry(r, root, typeEntry & 0x7FFFFFFFu, Id, nameEntry) || !(nameEntry & 0x80000000u)) return {};
  if (!FindEntry(r, root, nameEntry & 0x7FFFFFFFu, 0, langEntry) || (langEntry & 0x80000000u)) return {};
  uint32_t dataRva, dataSize;
  if (!r.U32(root + langEntry, dataRva) || !r.U32(root + langEntry + 4, dataSize)) return {};
  if (dataSize == 0 || dataSize > MaxSize) return {};
  uint64_t dataOffset;
  if (!RvaToOffset(sections, dataRva, dataSize, dataOffset)) return {};
  std::string block(dataSize, '\0');
  if (!r.Read(dataOffset, block.data(), dataSize)) return {};
  return block;
}

std::optional<std::string> ReadPEString(TStream& Stream, uint32_t Number) {
  // Strings are stored sixteen to a table; table n + 1 holds the numbers 16n to 16n + 15.
  std::string table = ReadPEResource(Stream, kRtString, Number / 16 + 1, kMaxStringTable);
  size_t at = 0;
  for (uint32_t i = 0;; ++i) {
    if (at + 2 > table.size()) return std::nullopt;
    size_t length = ReadLE16(table, at);
    at += 2;
    if (at + 2 * length > table.size()) return std::nullopt;
    if (i == Number % 16) {
      if (length == 0) return std::nullopt; // an empty slot is a missing string
      std::string out;
      for (size_t k = 0; k < length; ++k) {
        uint32_t c = ReadLE16(table, at + 2 * k);
        out += c < 256 ? char(c) : '?';
      }
      return out;
    }
    at += 2 * length;
  }
}

} // namespace qnl
