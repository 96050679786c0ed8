// Path and field helpers shared by every subsystem.
#pragma once

#include <string>
#include <string_view>

namespace qnl {

class TStrings;

// A non-empty path that lacks a trailing backslash gets one.
std::string AddBackSlash(std::string_view path);
// One trailing backslash is removed when present.
std::string RemoveBackSlash(std::string_view path);
// The n-th field (from 1) of text split at separator; empty when there is no such field.
std::string GetField(std::string_view text, int n, char separator = ';');
// Number of ";"-separated fields; a trailing ";" starts no empty field, "" has none.
int FieldCount(std::string_view text, char separator = ';');
// Clears list and adds the ";"-separated fields of text.
void FieldsToStrings(std::string_view text, TStrings& list, char separator = ';');
// The directory part of a Windows path, without trailing backslash ("C:\a\b.txt" -> "C:\a").
std::string ExtractFileDir(std::string_view path);
// The name part of a Windows path ("C:\a\b.txt" -> "b.txt"); "/" counts as a separator too.
std::string ExtractFileName(std::string_view path);
// The extension with its dot ("b.txt" -> ".txt"), empty when none.
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);

} // namespace qnl
