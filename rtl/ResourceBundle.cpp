// Named resources appended to a program file.
#include "rtl/ResourceBundle.h"

#include "rtl/ByteOrder.h"
#include "rtl/FormValues.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr std::string_view kMagic = "QNLRSRC1";
constexpr int64_t kFooterSize = 32;
constexpr uint32_t kMaxEntries = 4096;

std::string ReadAt(TStream& Stream, int64_t Pos, int64_t Count) {
  Stream.SetPosition(Pos);
  return Stream.ReadString(Count);
}

// Where a bundle could end: the file's end, or before a self-extract trailer, or (for a
// self-extracting program) where the appended archives start.
std::vector<int64_t> CandidateEnds(TStream& Stream, int64_t Size) {
  std::vector<int64_t> ends{Size};
  if (Size < kSelfExtractTrailerSize) return ends;
  std::string trailer = ReadAt(Stream, Size - kSelfExtractTrailerSize, kSelfExtractTrailerSize);
  std::string_view marker = std::string_view(trailer).substr(1, 14);
  if (trailer[0] != 14 || (marker != "SELFEXTRACTING" && marker != "NOTSELFEXTRACT")) return ends;
  ends.push_back(Size - kSelfExtractTrailerSize);
  TFormBytes fields(std::string_view(trailer).substr(16, 4));
  int64_t archiveStart = static_cast<int32_t>(fields.ReadUInt32());
  if (marker == "SELFEXTRACTING" && archiveStart > 0 && archiveStart < Size - kSelfExtractTrailerSize)
    ends.push_back(archiveStart);
  return ends;
}

} // namespace

std::optional<TResourceBundle> TResourceBundle::Open(TStream& Stream) {
  int64_t size = Stream.Size();
  for (int64_t end : CandidateEnds(Stream, size)) {
    if (end < kFooterSize) continue;
    std::string footer = ReadAt(Stream, end - kFooterSize, kFooterSize);
    if (std::string_view(footer).substr(0, 8) != kMagic) continue;
    TFormBytes f(footer, 8);
    uint32_t count = f.ReadUInt32();
    uint32_t dirSize = f.ReadUInt32();
    uint64_t bundleSize = f.ReadUInt64();
    auto corrupt = [&](const std::string& Why) {
      return EResourceError("The resource directory at the end of the program is damaged: " + Why);
    };
    if (bundleSize < static_cast<uint64_t>(kFooterSize) + dirSize || bundleSize > static_cast<uint64_t>(end))
      throw corrupt("bundle size " + std::to_string(bundleSize) + " does not fit the file");
    if (count > kMaxEntries || static_cast<uint64_t>(count) * 17 > dirSize)
      throw corrupt(std::to_string(count) + " resources cannot be listed in " + std::to_string(dirSize) + " bytes");
    TResourceBundle bundle;
    bundle.FStart = end - static_cast<int64_t>(bundleSize);
    int64_t dataSize = static_cast<int64_t>(bundleSize) - kFooterSize - dirSize;
    std::string dir = ReadAt(Stream, end - kFooterSize - dirSize, dirSize);
    TFormBytes d(dir);
    try {
      for (uint32_t i = 0; i < count; ++i) {
        TResourceEntry e;
        e.Name = d.ReadShortString();
        uint64_t offset = d.ReadUInt64();
        uint64_t length = d.ReadUInt64();
        if (e.Name.empty() || offset > static_cast<uint64_t>(dataSize) ||
            length > static_cast<uint64_t>(dataSize) - offset)
          throw corrupt("resource " + std::to_string(i + 1) + " (" + e.Name + ") lies outside the bundle");
        e.Offset = bundle.FStart + static_cast<int64_t>(offset);
        e.Size = static_cast<int64_t>(length);
        bundle.FEntries.push_back(std::move(e));
      }
    } catch (const EResourceError&) {
      throw;
    } catch (const EReadError&) {
      throw corrupt("the directory is shorter than its " + std::to_string(count) + " entries");
    }
    if (d.Remaining() != 0) throw corrupt("the directory is longer than its entries");
    return bundle;
  }
  return std::nullopt;
}

const TResourceEntry* TResourceBundle::Find(std::string_view Name) const {
  for (const auto& e : FEntries)
    if (SameText(e.Name, Name)) return &e;
  return nullptr;
}

std::string TResourceBundle::Read(TStream& Stream, const TResourceEntry& Entry) const {
  return ReadAt(Stream, Entry.Offset, Entry.Size);
}

std::string BuildResourceBundle(const std::vector<std::pair<std::string, std::string>>& Resources) {
  if (Resources.size() > kMaxEntries) throw EResourceError("Too many resources: " + std::to_string(Resources.size()));
  std::string data, dir;
  for (size_t i = 0; i < Resources.size(); ++i) {
    const auto& [name, bytes] = Resources[i];
    if (name.empty() || name.size() > 255) throw EResourceError("Invalid resource name \"" + name + "\"");
    for (size_t j = 0; j < i; ++j)
      if (SameText(Resources[j].first, name)) throw EResourceError("Duplicate resource name \"" + name + "\"");
    dir.push_back(static_cast<char>(name.size()));
    dir += name;
    AppendLE64(dir, data.size());
    AppendLE64(dir, bytes.size());
    data += bytes;
  }
  std::string out = data + dir;
  out += kMagic;
  AppendLE32(out, static_cast<uint32_t>(Resources.size()));
  AppendLE32(out, static_cast<uint32_t>(dir.size()));
  // The bundle size counts everything written, the footer included.
  AppendLE64(out, out.size() + 16);
  AppendLE64(out, 0);
  return out;
}

} // namespace qnl
