// Strings with the run-time library's semantics.
#include "rtl/SysUtils.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qnl {

namespace {
char AsciiUpper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; }
char AsciiLower(char C) { return (C >= 'A' && C <= 'Z') ? char(C + 32) : C; }
bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }
} // namespace

std::string Trim(std::string_view S) { return TrimRight(TrimLeft(S)); }

std::string TrimLeft(std::string_view S) {
  size_t i = 0;
  while (i < S.size() && IsBlank(S[i])) ++i;
  return std::string(S.substr(i));
}

std::string TrimRight(std::string_view S) {
  size_t n = S.size();
  while (n > 0 && IsBlank(S[n - 1])) --n;
  return std::string(S.substr(0, n));
}

std::string UpperCase(std::string_view S) {
  std::string r(S);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

std::string LowerCase(std::string_view S) {
  std::string r(S);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

int CompareText(std::string_view A, std::string_view B) {
  size_t n = A.size() < B.size() ? A.size() : B.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(AsciiUpper(A[i]));
    unsigned char y = static_cast<unsigned char>(AsciiUpper(B[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (A.size() == B.size()) return 0;
  return A.size() < B.size() ? -1 : 1;
}

int CompareStr(std::string_view A, std::string_view B) {
  int c = A.compare(B);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool SameText(std::string_view A, std::string_view B) { return A.size() == B.size() && CompareText(A, B) == 0; }

bool StartsText(std::string_view Prefix, std::string_view S) {
  return S.size() >= Prefix.size() && SameText(Prefix, S.substr(0, Prefix.size()));
}

bool EndsText(std::string_view Suffix, std::string_view S) {
  return S.size() >= Suffix.size() && SameText(Suffix, S.substr(S.size() - Suffix.size()));
}

std::string IntToStr(int64_t Value) { return std::to_string(Value); }

std::string IntToHex(uint64_t Value, int Digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", Digits, static_cast<unsigned long long>(Value));
  return buf;
}

bool TryStrToInt(std::string_view Text, int64_t& Value) {
  std::string s = Trim(Text);
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
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    // Checked before the step, so that a long number fails instead of wrapping.
    if (acc > (static_cast<unsigned long long>(INT64_MAX) - d) / base) return false;
    acc = acc * base + d;
  }
  Value = negative ? -static_cast<int64_t>(acc) : static_cast<int64_t>(acc);
  return true;
}

int64_t StrToInt(std::string_view S) {
  int64_t v;
  if (!TryStrToInt(S, v)) throw EConvertError("'" + std::string(S) + "' is not a valid integer value");
  return v;
}

int64_t StrToIntDef(std::string_view S, int64_t Def) {
  int64_t v;
  return TryStrToInt(S, v) ? v : Def;
}

std::string FloatToStr(double Value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", Value);
  return buf;
}

bool IsValidIdent(std::string_view S) {
  if (S.empty()) return false;
  auto alpha = [](char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_'; };
  if (!alpha(S[0])) return false;
  for (char c : S.substr(1))
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::string StringReplaceAll(std::string_view S, std::string_view From, std::string_view To) {
  if (From.empty()) return std::string(S);
  std::string r;
  size_t pos = 0;
  for (;;) {
    size_t hit = S.find(From, pos);
    if (hit == std::string_view::npos) break;
    r.append(S.substr(pos, hit - pos));
    r.append(To);
    pos = hit + From.size();
  }
  r.append(S.substr(pos));
  return r;
}

std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args) {
  return Format(Fmt, Args.begin(), Args.size());
}

std::string Format(std::string_view Fmt, const TVarRec* Args, size_t Count) {
  auto invalid = [&]() -> EConvertError {
    return EConvertError("Format '" + std::string(Fmt) + "' invalid or incompatible with argument");
  };
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < Fmt.size(); ++i) {
    char c = Fmt[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= Fmt.size()) throw invalid();
    if (Fmt[i] == '%') {
      out += '%';
      continue;
    }
    // %[index:][-][width][.prec]type
    auto readNumber = [&](int& N) {
      bool any = false;
      N = 0;
      while (i < Fmt.size() && Fmt[i] >= '0' && Fmt[i] <= '9') {
        N = N * 10 + (Fmt[i++] - '0');
        any = true;
        if (N > 100000) throw invalid();
      }
      return any;
    };
    int num = 0;
    size_t start = i;
    if (readNumber(num) && i < Fmt.size() && Fmt[i] == ':') {
      next = static_cast<size_t>(num);
      ++i;
    } else {
      i = start;
    }
    bool left = false;
    if (i < Fmt.size() && Fmt[i] == '-') {
      left = true;
      ++i;
    }
    int width = 0, prec = -1;
    readNumber(width);
    if (i < Fmt.size() && Fmt[i] == '.') {
      ++i;
      readNumber(prec);
    }
    if (i >= Fmt.size()) throw invalid();
    char type = AsciiLower(Fmt[i]);
    if (next >= Count) throw invalid();
    const auto& v = Args[next++].Value();
    std::string piece;
    char buf[512];
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        if (!std::holds_alternative<int64_t>(v)) throw invalid();
        int64_t n = std::get<int64_t>(v);
        if (type == 'd')
          std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(n));
        else if (type == 'u')
          std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(uint32_t(n)));
        else
          std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(n < 0 ? uint32_t(n) : uint64_t(n)));
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
        if (std::holds_alternative<double>(v))
          d = std::get<double>(v);
        else if (std::holds_alternative<int64_t>(v))
          d = double(std::get<int64_t>(v));
        else
          throw invalid();
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
      default: throw invalid();
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
bool IsSep(char C) { return C == '\\' || C == '/'; }
size_t LastSep(std::string_view Path) {
  for (size_t i = Path.size(); i > 0; --i)
    if (IsSep(Path[i - 1]) || Path[i - 1] == ':') return i - 1;
  return std::string_view::npos;
}
} // namespace

std::string AddBackSlash(std::string_view Path) {
  std::string r(Path);
  if (!r.empty() && r.back() != '\\') r += '\\';
  return r;
}

std::string RemoveBackSlash(std::string_view Path) {
  std::string r(Path);
  if (!r.empty() && r.back() == '\\') r.pop_back();
  return r;
}

std::string ExtractFileDir(std::string_view Path) {
  size_t p = LastSep(Path);
  if (p == std::string_view::npos) return {};
  if (Path[p] == ':') return std::string(Path.substr(0, p + 1));
  // keep the root backslash of "C:\"
  if (p == 2 && Path[1] == ':') return std::string(Path.substr(0, 3));
  return std::string(Path.substr(0, p));
}

std::string ExtractFileName(std::string_view Path) {
  size_t p = LastSep(Path);
  return std::string(p == std::string_view::npos ? Path : Path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view Path) {
  std::string name = ExtractFileName(Path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view Path, std::string_view Ext) {
  std::string name = ExtractFileName(Path);
  size_t dot = name.rfind('.');
  std::string base(Path);
  if (dot != std::string::npos) base.resize(base.size() - (name.size() - dot));
  return base + std::string(Ext);
}

} // namespace qnl
