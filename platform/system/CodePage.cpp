// The machine's ANSI code page and conversions through iconv.
#include "platform/system/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <map>
#include <mutex>

#include "platform/Machine.h"
#include "platform/registry/AnsiText.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "rtl/Unicode.h"

namespace qnl {

namespace {

bool IsAscii(std::string_view Text) {
  for (unsigned char c : Text)
    if (c >= 0x80) return false;
  return true;
}

std::string IconvName(int CodePage) {
  switch (CodePage) {
    case 932: return "CP932";
    case 936: return "GBK";
    case 949: return "CP949";
    case 950: return "BIG5";
    case 65001: return "UTF-8";
    default: return "CP" + std::to_string(CodePage);
  }
}

const char* const kWideName = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv conversion descriptor, closed with the object.
class TIconv {
public:
  TIconv(const std::string& To, const std::string& From) : FCd(iconv_open(To.c_str(), From.c_str())) {}
  ~TIconv() {
    if (Valid()) iconv_close(FCd);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;
  bool Valid() const { return FCd != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of In as it can into Out; returns false, with In at the offending
  // input, when the input cannot be converted there.
  bool Convert(std::string_view& In, std::string& Out) {
    iconv(FCd, nullptr, nullptr, nullptr, nullptr);
    char buffer[1024];
    while (!In.empty()) {
      char* in = const_cast<char*>(In.data());
      size_t inLeft = In.size();
      char* out = buffer;
      size_t outLeft = sizeof buffer;
      size_t r = iconv(FCd, &in, &inLeft, &out, &outLeft);
      int error = errno;
      Out.append(buffer, sizeof buffer - outLeft);
      In.remove_prefix(In.size() - inLeft);
      if (r == static_cast<size_t>(-1) && error != E2BIG) return false;
    }
    return true;
  }

private:
  iconv_t FCd;
};

std::string_view Bytes(std::u16string_view Text) {
  return {reinterpret_cast<const char*>(Text.data()), Text.size() * sizeof(char16_t)};
}

// A code page iconv knows.
class TIconvCodePage : public TAnsiCodePage {
public:
  explicit TIconvCodePage(int Number) : FNumber(Number), FName(IconvName(Number)) {}
  int Number() const override { return FNumber; }

  std::u16string ToWide(std::string_view Text) const override {
    TIconv cd(kWideName, FName);
    std::string wide;
    while (!cd.Convert(Text, wide)) {
      char16_t c = StandIn(static_cast<unsigned char>(Text[0]));
      wide.append(reinterpret_cast<const char*>(&c), sizeof c);
      Text.remove_prefix(1);
    }
    return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size() / sizeof(char16_t));
  }

  std::string FromWide(std::u16string_view Text, TUnmappable Unmappable) const override {
    TIconv cd(FName, kWideName);
    std::string bytes;
    std::string_view in = Bytes(Text);
    while (!cd.Convert(in, bytes)) {
      size_t pos = Text.size() - in.size() / sizeof(char16_t);
      size_t length;
      char32_t c = CodePointAt(Text, pos, length);
      if (c < 0x100 && ToWide(std::string(1, static_cast<char>(c))) == std::u16string(1, static_cast<char16_t>(c))) {
        bytes.push_back(static_cast<char>(c)); // the way back for a byte without a character
      } else if (c >= StandIn(0xA0) && c <= StandIn(0xFF)) {
        bytes.push_back(static_cast<char>(c & 0xFF));
      } else if (Unmappable == TUnmappable::umDefaultChar) {
        bytes.push_back('?');
      } else {
        CannotHold(Text, pos);
      }
      in.remove_prefix(length * sizeof(char16_t));
    }
    return bytes;
  }

private:
  // What a byte without a character (alone or cut short) stands for: below 0xA0 the control
  // character of its number, as Windows maps the holes of 1252; above, a lone surrogate,
  // which no code page holds, so that it cannot be taken for a character of the code page.
  static char16_t StandIn(unsigned char B) { return B < 0xA0 ? char16_t(B) : char16_t(0xDC00 + B); }

  int FNumber;
  std::string FName;
};

} // namespace

int MachineCodePage() {
  static std::mutex lock;
  static std::map<std::string, int> cache; // machine directory -> code page
  std::string dir = TMachine::DirectoryFromEnvironment();
  {
    std::lock_guard<std::mutex> guard(lock);
    auto it = cache.find(dir);
    if (it != cache.end()) return it->second;
  }
  if (!TMachine(dir).Exists()) return 1252;
  int codePage = 1252;
  auto key = TRegKey::Open(TRootKey::rkLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\CodePage");
  if (key) {
    if (auto acp = key->ReadString("ACP")) codePage = static_cast<int>(StrToIntDef(Trim(*acp), 1252));
  }
  if (codePage <= 0) codePage = 1252;
  std::lock_guard<std::mutex> guard(lock);
  cache[dir] = codePage;
  return codePage;
}

std::shared_ptr<const TAnsiCodePage> CodePageByNumber(int Number) {
  static std::mutex lock;
  static std::map<int, std::shared_ptr<const TAnsiCodePage>> known;
  std::lock_guard<std::mutex> guard(lock);
  auto& codePage = known[Number];
  if (!codePage) {
    if (!TIconv(kWideName, IconvName(Number)).Valid())
      throw ECodePageError("The ANSI code page " + std::to_string(Number) + " is not known to this system's iconv");
    codePage = std::make_shared<TIconvCodePage>(Number);
  }
  return codePage;
}

namespace {

class TMachineCodePage : public TAnsiCodePage {
public:
  int Number() const override { return MachineCodePage(); }
  std::u16string ToWide(std::string_view Text) const override {
    if (IsAscii(Text)) return std::u16string(Text.begin(), Text.end());
    return CodePageByNumber(MachineCodePage())->ToWide(Text);
  }
  std::string FromWide(std::u16string_view Text, TUnmappable Unmappable) const override {
    bool ascii = std::all_of(Text.begin(), Text.end(), [](char16_t C) { return C < 0x80; });
    if (ascii) return std::string(Text.begin(), Text.end());
    return CodePageByNumber(MachineCodePage())->FromWide(Text, Unmappable);
  }
};

} // namespace

const TAnsiCodePage& MachineAnsiCodePage() {
  static const TMachineCodePage codePage;
  return codePage;
}

std::string AnsiToUtf8(std::string_view Text, int CodePage) {
  if (IsAscii(Text) || CodePage == 65001) return std::string(Text);
  try {
    return WideToUtf8(CodePageByNumber(CodePage)->ToWide(Text));
  } catch (const ECodePageError&) {
    return std::string(Text);
  }
}

std::string Utf8ToAnsi(std::string_view Text, int CodePage) {
  if (IsAscii(Text) || CodePage == 65001) return std::string(Text);
  try {
    return CodePageByNumber(CodePage)->FromWide(Utf8ToWide(Text), TUnmappable::umDefaultChar);
  } catch (const ECodePageError&) {
    return std::string(Text);
  }
}

std::string AnsiToUtf8(std::string_view Text) {
  if (IsAscii(Text)) return std::string(Text);
  return AnsiToUtf8(Text, MachineCodePage());
}

std::string Utf8ToAnsi(std::string_view Text) {
  if (IsAscii(Text)) return std::string(Text);
  return Utf8ToAnsi(Text, MachineCodePage());
}

} // namespace qnl
