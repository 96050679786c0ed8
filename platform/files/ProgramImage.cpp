// The extent of an ELF program within its file, from its own headers.
#include "platform/files/ProgramImage.h"

#include <elf.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/OSError.h"
#include "platform/files/FileStream.h"

namespace qnl {

namespace {

// Reads the ELF file's headers and widens End to every part they place in the file.
class TImageExtent {
public:
  TImageExtent(TFileStream& File, int64_t FileSize) : FFile(File), FFileSize(FileSize) {}

  [[noreturn]] void Invalid() const { RaiseFileError("read the program headers of", FFile.FileName(), ENOEXEC); }

  // Offset + Count * Size, refused when it overflows.
  uint64_t EndOf(uint64_t Offset, uint64_t Count, uint64_t Size) const {
    constexpr uint64_t limit = uint64_t(1) << 62;
    if (Offset > limit || Size > limit || (Size != 0 && Count > (limit - Offset) / Size)) Invalid();
    return Offset + Count * Size;
  }
  void Include(uint64_t End) { FEnd = std::max(FEnd, End); }

  template <class T>
  T ReadAt(uint64_t Offset) {
    T value{};
    FFile.Seek(static_cast<int64_t>(Offset), soBeginning);
    if (FFile.Read(&value, sizeof value) != sizeof value) Invalid();
    return value;
  }

  // The tables first: when one lies beyond the end of the file, the file was cut inside the
  // program and its entries cannot be read.
  template <class Ehdr, class Phdr, class Shdr>
  int64_t Measure() {
    auto header = ReadAt<Ehdr>(0);
    Include(sizeof(Ehdr));
    uint64_t sectionCount = header.e_shnum;
    if (header.e_phnum != 0 && header.e_phentsize < sizeof(Phdr)) Invalid();
    if (header.e_shoff != 0 && header.e_shentsize < sizeof(Shdr)) Invalid();
    Include(EndOf(header.e_phoff, header.e_phnum, header.e_phentsize));
    Include(EndOf(header.e_shoff, sectionCount, header.e_shentsize));
    if (FEnd > uint64_t(FFileSize)) return static_cast<int64_t>(FEnd);
    // Many sections: the count is kept in the first section header.
    if (sectionCount == 0 && header.e_shoff != 0) {
      sectionCount = ReadAt<Shdr>(header.e_shoff).sh_size;
      Include(EndOf(header.e_shoff, sectionCount, header.e_shentsize));
      if (FEnd > uint64_t(FFileSize)) return static_cast<int64_t>(FEnd);
    }
    for (uint64_t i = 0; i < header.e_phnum; ++i) {
      auto segment = ReadAt<Phdr>(header.e_phoff + i * header.e_phentsize);
      Include(EndOf(segment.p_offset, 1, segment.p_filesz));
    }
    for (uint64_t i = 0; i < sectionCount; ++i) {
      auto section = ReadAt<Shdr>(header.e_shoff + i * header.e_shentsize);
      if (section.sh_type != SHT_NOBITS) Include(EndOf(section.sh_offset, 1, section.sh_size));
    }
    return static_cast<int64_t>(FEnd);
  }

private:
  TFileStream& FFile;
  int64_t FFileSize;
  uint64_t FEnd = 0;
};

bool HostIsLittleEndian() {
  const uint16_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1;
}

} // namespace

int64_t ProgramImageSize(std::string_view FileName) {
  TFileStream file(std::string(FileName), fmOpenRead | fmShareDenyNone);
  TImageExtent extent(file, file.Size());
  unsigned char ident[EI_NIDENT] = {};
  if (file.Read(ident, EI_NIDENT) != EI_NIDENT || std::string_view(reinterpret_cast<char*>(ident), SELFMAG) != ELFMAG ||
      ident[EI_DATA] != (HostIsLittleEndian() ? ELFDATA2LSB : ELFDATA2MSB))
    extent.Invalid();
  if (ident[EI_CLASS] == ELFCLASS64) return extent.Measure<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>();
  if (ident[EI_CLASS] == ELFCLASS32) return extent.Measure<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>();
  extent.Invalid();
}

} // namespace qnl
