// Small files named by Windows paths, read whole and replaced in one step.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qnl {

// Writes Data as the whole file FileName, whose directory must exist. A reader sees the old
// file or the complete new one, never a part: the bytes go to a temporary file beside it, are
// made durable, and take FileName's place by a rename. On any failure the temporary file is
// removed and FileName is as it was. Errors name FileName: EDiskFull for a full disk,
// EFileInUse while another program holds the file, else EInOutError (ErrorCode keeps errno).
void ReplaceFileContents(std::string_view FileName, std::string_view Data);

// The bytes of FileName; nullopt when there is no such file. EInOutError when it cannot be read.
std::optional<std::string> ReadFileContents(std::string_view FileName);

} // namespace qnl
