// Loading a shell link: the header, the local path of its LinkInfo and the string data.
#include <optional>

#include "platform/files/WholeFile.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/AnsiText.h"
#include "platform/shelllink/ShellLink.h"
#include "platform/shelllink/ShellLinkFormat.h"
#include "platform/system/CodePage.h"
#include "rtl/ByteOrder.h"

namespace qnl {

using namespace shelllink;

namespace {

// Reads little-endian numbers and texts; a read past the end makes the whole load fail.
class TByteReader {
public:
  struct EOutOfRange {};
  explicit TByteReader(std::string_view Data) : FData(Data) {}
  uint32_t Number(size_t At, int Count) const {
    if (At + Count > FData.size()) throw EOutOfRange{};
    return static_cast<uint32_t>(ReadLE(FData.data() + At, Count));
  }
  std::string CString(size_t At) const {
    size_t end = At < FData.size() ? FData.find('\0', At) : std::string_view::npos;
    if (end == std::string_view::npos) throw EOutOfRange{};
    return std::string(FData.substr(At, end - At));
  }
  // One StringData entry at Position, which moves past it.
  std::string StringData(size_t& Position, bool Unicode) const {
    size_t count = Number(Position, 2);
    Position += 2;
    size_t bytes = Unicode ? 2 * count : count;
    if (Position + bytes > FData.size()) throw EOutOfRange{};
    std::string text;
    if (Unicode) {
      std::u16string wide;
      for (size_t i = 0; i < count; ++i) wide.push_back(static_cast<char16_t>(Number(Position + 2 * i, 2)));
      text = Utf8ToAnsi(WideToUtf8(wide));
    } else {
      text = std::string(FData.substr(Position, bytes));
    }
    Position += bytes;
    return text;
  }

private:
  std::string_view FData;
};

std::optional<TShellLink> Parse(std::string_view Data, const std::string& LinkPath) {
  TByteReader in(Data);
  if (in.Number(0, 4) != kHeaderSize || Data.substr(4, 16) != kLinkClsid) return std::nullopt;
  uint32_t flags = in.Number(0x14, 4);
  TShellLink link;
  link.IconIndex = static_cast<int32_t>(in.Number(0x38, 4));
  link.ShowCommand = static_cast<int32_t>(in.Number(0x3C, 4));
  link.HotKey = static_cast<uint16_t>(in.Number(0x40, 2));
  size_t position = kHeaderSize;
  if (flags & HasLinkTargetIDList) position += 2 + in.Number(position, 2);
  if (flags & HasLinkInfo) {
    uint32_t size = in.Number(position, 4);
    if (in.Number(position + 8, 4) & VolumeIDAndLocalBasePath)
      link.Target =
          in.CString(position + in.Number(position + 16, 4)) + in.CString(position + in.Number(position + 24, 4));
    position += size;
  }
  bool unicode = flags & IsUnicode;
  std::string relative;
  if (flags & HasName) in.StringData(position, unicode);
  if (flags & HasRelativePath) relative = in.StringData(position, unicode);
  if (flags & HasWorkingDir) link.WorkingDirectory = in.StringData(position, unicode);
  if (flags & HasArguments) link.Arguments = in.StringData(position, unicode);
  if (flags & HasIconLocation) link.IconLocation = in.StringData(position, unicode);
  if (link.Target.empty() && !relative.empty())
    link.Target = NormalizeWindowsPath(LinkPath.substr(0, LinkPath.rfind('\\') + 1) + relative);
  return link;
}

} // namespace

std::optional<TShellLink> LoadShellLink(const std::string& LinkPath) {
  std::optional<std::string> data = ReadFileContents(LinkPath);
  if (!data) return std::nullopt;
  try {
    return Parse(*data, LinkPath);
  } catch (const TByteReader::EOutOfRange&) {
    return std::nullopt;
  }
}

} // namespace qnl
