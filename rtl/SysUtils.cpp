// Strings with the run-time library's semantics.
#include "rtl/SysUtils.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qnl {

namespace {
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareStr(std::string_view a, std::string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && SameText(prefix, s.substr(0, prefix.size()));
}

bool EndsText(std::string_view suffix, std::string_view s) {
  return s.size() >= suffix.size() && SameText(suffix, s.substr(s.size() - suffix.size()));
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(uint64_t value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(value));
  return buf;
}

bool TryStrToInt(std::string_view text, int64_t& value) {
  std::string s = Trim(text);
  if (s.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  unsigned long long acc = 0;
  for (; i < s.size(); ++i) {
    int d;
    char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    // Checked before the step, so that a long number fails instead of wrapping.
    if (acc > (static_cast<unsigned long long>(INT64_MAX) - d) / base) return false;
    acc = acc * base + d;
  }
  value = negative ? -static_cast<int64_t>(acc) : static_cast<int64_t>(acc);
  return true;
}

int64_t StrToInt(std::string_view s) {
  int64_t v;
  if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

int64_t StrToIntDef(std::string_view s, int64_t def) {
  int64_t v;
  return TryStrToInt(s, v) ? v : def;
}

std::string FloatToStr(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

bool IsValidIdent(std::string_view s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(s[0])) return false;
  for (char c : s.substr(1))
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string r;
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(from, pos);
    if (hit == std::string_view::npos) break;
    r.append(s.substr(pos, hit - pos));
    r.append(to);
    pos = hit + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args) {
  return Format(fmt, args.begin(), args.size());
}

std::string Format(std::string_view fmt, const TVarRec* args, size_t count) {
  auto invalid = [&]() -> EConvertError {
    return EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
  };
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= fmt.size()) throw invalid();
    if (fmt[i] == '%') {
      out += '%';
      continue;
    }
    // %[index:][-][width][.prec]type
    auto readNumber = [&](int& n) {
      bool any = false;
      n = 0;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
        n = n * 10 + (fmt[i++] - '0');
        any = true;
        if (n > 100000) throw invalid();
      }
      return any;
    };
    int num = 0;
    size_t start = i;
    if (readNumber(num) && i < fmt.size() && fmt[i] == ':') {
      next = static_cast<size_t>(num);
      ++i;
    } else {
      i = start;
    }
    bool left = false;
    if (i < fmt.size() && fmt[i] == '-') {
      left = true;
      ++i;
    }
    int width = 0, prec = -1;
    readNumber(width);
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      readNumber(prec);
    }
    if (i >= fmt.size()) throw invalid();
    char type = AsciiLower(fmt[i]);
    if (next >= count) throw invalid();
    const auto& v = args[next++].Value();
    std::string piece;
    char buf[512];
    switch (type) {
    case 'd':
    case 'u':
    case 'x': {
      if (!std::holds_alternative<int64_t>(v)) throw invalid();
      int64_t n = std::get<int64_t>(v);
      if (type == 'd') std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(n));
      else if (type == 'u') std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(uint32_t(n)));
      else std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(n < 0 ? uint32_t(n) : uint64_t(n)));
      piece = buf;
      // the precision of an integer is its minimum number of digits
      if (prec > 0) {
        bool neg = !piece.empty() && piece[0] == '-';
        std::string digits = neg ? piece.substr(1) : piece;
        if (static_cast<int>(digits.size()) < prec) digits.insert(0, prec - digits.size(), '0');
        piece = (neg ? "-" : "") + digits;
      }
      break;
    }
    case 'f':
    case 'g':
    case 'e':
    case 'n': {
      double d;
      if (std::holds_alternative<double>(v)) d = std::get<double>(v);
      else if (std::holds_alternative<int64_t>(v)) d = double(std::get<int64_t>(v));
      else throw invalid();
      char conv = type == 'n' ? 'f' : type;
      int p = prec < 0 ? (type == 'g' ? 15 : 2) : prec;
      char f[8] = {'%', '.', '*', conv, 0};
      std::snprintf(buf, sizeof buf, f, p, d);
      piece = buf;
      break;
    }
    case 's': {
      if (!std::holds_alternative<std::string>(v)) throw invalid();
      piece = std::get<std::string>(v);
      if (prec >= 0 && static_cast<size_t>(prec) < piece.size()) piece.resize(prec);
      break;
    }
    default:
      throw invalid();
    }
    if (static_cast<int>(piece.size()) < width) {
      std::string pad(width - piece.size(), ' ');
      piece = left ? piece + pad : pad + piece;
    }
    out += piece;
  }
  return out;
}

namespace {
// Windows path strings: a backslash or a slash separates, a colon ends the drive.
bool IsSep(char c) { return c == '\\' || c == '/'; }
size_t LastSep(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsSep(path[i - 1]) || path[i - 1] == ':') return i - 1;
  return std::string_view::npos;
}
} // namespace

std::string AddBackSlash(std::string_view path) {
  std::string r(path);
  if (!r.empty() && r.back() != '\\') r += '\\';
  return r;
}

std::string RemoveBackSlash(std::string_view path) {
  std::string r(path);
  if (!r.empty() && r.back() == '\\') r.pop_back();
  return r;
}

std::string ExtractFileDir(std::string_view path) {
  size_t p = LastSep(path);
  if (p == std::string_view::npos) return {};
  if (path[p] == ':') return std::string(path.substr(0, p + 1));
  // keep the root backslash of "C:\"
  if (p == 2 && path[1] == ':') return std::string(path.substr(0, 3));
  return std::string(path.substr(0, p));
}

std::string ExtractFileName(std::string_view path) {
  size_t p = LastSep(path);
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  std::string base(path);
  if (dot != std::string::npos) base.resize(base.size() - (name.size() - dot));
  return base + std::string(ext);
}

} // namespace qnl
