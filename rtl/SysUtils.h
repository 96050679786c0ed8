// Strings with the run-time library's semantics: byte strings, ASCII case rules.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "rtl/Exceptions.h"

namespace qnl {

std::string Trim(std::string_view S); // drops characters <= ' ' at both ends
std::string TrimLeft(std::string_view S);
std::string TrimRight(std::string_view S);
std::string UpperCase(std::string_view S); // ASCII letters only, as the library does
std::string LowerCase(std::string_view S);
int CompareText(std::string_view A, std::string_view B); // ASCII case-insensitive, <0/0/>0
int CompareStr(std::string_view A, std::string_view B);
bool SameText(std::string_view A, std::string_view B);
bool StartsText(std::string_view Prefix, std::string_view S);
bool EndsText(std::string_view Suffix, std::string_view S);

std::string IntToStr(int64_t Value);
std::string IntToHex(uint64_t Value, int Digits);
int64_t StrToInt(std::string_view S); // EConvertError "'%s' is not a valid integer value"
int64_t StrToIntDef(std::string_view S, int64_t Def);
bool TryStrToInt(std::string_view S, int64_t& Value);
std::string FloatToStr(double Value);
bool IsValidIdent(std::string_view S);
std::string StringReplaceAll(std::string_view S, std::string_view From, std::string_view To);

// Windows path strings, taken apart and joined by their backslashes; no file is touched.
// A non-empty path that lacks a trailing backslash gets one.
std::string AddBackSlash(std::string_view Path);
// One trailing backslash is removed when present.
std::string RemoveBackSlash(std::string_view Path);
// The directory part of a Windows path, without trailing backslash ("C:\a\b.txt" -> "C:\a").
std::string ExtractFileDir(std::string_view Path);
// The name part of a Windows path ("C:\a\b.txt" -> "b.txt"); "/" counts as a separator too.
std::string ExtractFileName(std::string_view Path);
// The extension with its dot ("b.txt" -> ".txt"), empty when none.
std::string ExtractFileExt(std::string_view Path);
std::string ChangeFileExt(std::string_view Path, std::string_view Ext);

// One argument of Format: an integer, a float or a string.
class TVarRec {
public:
  TVarRec(int V) : FValue(int64_t(V)) {}
  TVarRec(long V) : FValue(int64_t(V)) {}
  TVarRec(long long V) : FValue(int64_t(V)) {}
  TVarRec(unsigned V) : FValue(int64_t(V)) {}
  TVarRec(unsigned long V) : FValue(int64_t(V)) {}
  TVarRec(unsigned long long V) : FValue(int64_t(V)) {}
  TVarRec(double V) : FValue(V) {}
  TVarRec(const char* V) : FValue(std::string(V ? V : "")) {}
  TVarRec(std::string V) : FValue(std::move(V)) {}
  TVarRec(std::string_view V) : FValue(std::string(V)) {}
  const std::variant<int64_t, double, std::string>& Value() const { return FValue; }

private:
  std::variant<int64_t, double, std::string> FValue;
};

// Format with the library's placeholders: %[index:][-][width][.prec]type, type one of
// d u x s f g e n and %% for a percent sign. A placeholder without a matching argument
// raises EConvertError "Format '%s' invalid or incompatible with argument".
std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args);
std::string Format(std::string_view Fmt, const TVarRec* Args, size_t Count);

} // namespace qnl
