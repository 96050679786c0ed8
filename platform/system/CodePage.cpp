// The machine's ANSI code page and conversions through iconv.
#include "platform/system/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/Machine.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::string IconvName(int codePage) {
  switch (codePage) {
    case 932: return "CP932";
    case 936: return "GBK";
    case 949: return "CP949";
    case 950: return "BIG5";
    case 65001: return "UTF-8";
    default: return "CP" + std::to_string(codePage);
  }
}

// Converts with iconv; an unconvertible input sequence becomes "?" and is skipped.
std::string Convert(std::string_view text, const std::string& from, const std::string& to) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // An unknown code page: the bytes are passed as they are rather than failing a file name.
    return std::string(text);
  }
  std::string out;
  out.resize(text.size() * 4 + 16);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    // EILSEQ / EINVAL: one bad byte.
    if (outLeft < 1) {
      size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    }
    *outPtr++ = '?';
    --outLeft;
    ++in;
    --inLeft;
  }
  out.resize(out.size() - outLeft);
  iconv_close(cd);
  return out;
}

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
  int codePage = 1252;
  auto key = TRegKey::Open(TRootKey::LocalMachine, "System\\CurrentControlSet\\Control\\Nls\\CodePage");
  if (key) {
    if (auto acp = key->ReadString("ACP")) codePage = static_cast<int>(StrToIntDef(Trim(*acp), 1252));
  }
  if (codePage <= 0) codePage = 1252;
  std::lock_guard<std::mutex> guard(lock);
  cache[dir] = codePage;
  return codePage;
}

std::string AnsiToUtf8(std::string_view Text, int CodePage) {
  if (IsAscii(Text) || CodePage == 65001) return std::string(Text);
  return Convert(Text, IconvName(CodePage), "UTF-8");
}

std::string Utf8ToAnsi(std::string_view Text, int CodePage) {
  if (IsAscii(Text) || CodePage == 65001) return std::string(Text);
  return Convert(Text, "UTF-8", IconvName(CodePage));
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
