// How the batch interpreter reads a command's arguments: its words and the paths among them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qnl {

// The words of a command's arguments, separated by blanks and tabs; a word in double quotes
// keeps its blanks ("C:\my  temp\x" is one word). nullopt when a quote stands inside a word
// or is never closed: the engine writes no such line, and any reading of it would be a guess.
std::optional<std::vector<std::string>> SplitBatchWords(std::string_view Args);

// Why Path cannot name a file for a batch command, empty when it can: it must be a full path
// (a drive, then a backslash), hold no control character and none of "<>|, and may have
// wildcards only in its last part. A relative path would depend on the directory the
// detached interpreter happens to run in.
std::string BatchPathError(std::string_view Path);

// True when the last part of Path holds a wildcard ("*" or "?").
bool HasWildcard(std::string_view Path);

} // namespace qnl
