// Strings with the run-time library's semantics: byte strings, ASCII case rules.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "rtl/Exceptions.h"

namespace qnl {

std::string Trim(std::string_view s);      // drops characters <= ' ' at both ends
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string UpperCase(std::string_view s); // ASCII letters only, as the library does
std::string LowerCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b); // ASCII case-insensitive, <0/0/>0
int CompareStr(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view s);
bool EndsText(std::string_view suffix, std::string_view s);

std::string IntToStr(int64_t value);
std::string IntToHex(uint64_t value, int digits);
int64_t StrToInt(std::string_view s);            // EConvertError "'%s' is not a valid integer value"
int64_t StrToIntDef(std::string_view s, int64_t def);
bool TryStrToInt(std::string_view s, int64_t& value);
std::string FloatToStr(double value);
bool IsValidIdent(std::string_view s);
std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Windows path strings, taken apart and joined by their backslashes; no file is touched.
// A non-empty path that lacks a trailing backslash gets one.
std::string AddBackSlash(std::string_view path);
// One trailing backslash is removed when present.
std::string RemoveBackSlash(std::string_view path);
// The directory part of a Windows path, without trailing backslash ("C:\a\b.txt" -> "C:\a").
std::string ExtractFileDir(std::string_view path);
// The name part of a Windows path ("C:\a\b.txt" -> "b.txt"); "/" counts as a separator too.
std::string ExtractFileName(std::string_view path);
// The extension with its dot ("b.txt" -> ".txt"), empty when none.
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// One argument of Format: an integer, a float or a string.
class TVarRec {
public:
  TVarRec(int v) : FValue(int64_t(v)) {}
  TVarRec(long v) : FValue(int64_t(v)) {}
  TVarRec(long long v) : FValue(int64_t(v)) {}
  TVarRec(unsigned v) : FValue(int64_t(v)) {}
  TVarRec(unsigned long v) : FValue(int64_t(v)) {}
  TVarRec(unsigned long long v) : FValue(int64_t(v)) {}
  TVarRec(double v) : FValue(v) {}
  TVarRec(const char* v) : FValue(std::string(v ? v : "")) {}
  TVarRec(std::string v) : FValue(std::move(v)) {}
  TVarRec(std::string_view v) : FValue(std::string(v)) {}
  const std::variant<int64_t, double, std::string>& Value() const { return FValue; }

private:
  std::variant<int64_t, double, std::string> FValue;
};

// Format with the library's placeholders: %[index:][-][width][.prec]type, type one of
// d u x s f g e n and %% for a percent sign. A placeholder without a matching argument
// raises EConvertError "Format '%s' invalid or incompatible with argument".
std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args);
std::string Format(std::string_view fmt, const TVarRec* args, size_t count);

} // namespace qnl
