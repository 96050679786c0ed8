// How much of a native program file is the program itself.
#pragma once

#include <cstdint>
#include <string_view>

namespace qnl {

// The number of bytes at the start of the program file FileName that belong to the program:
// the furthest end of its file header, its segments, its sections and their tables. Bytes
// appended after them (archives, a trailer) are not counted. A result larger than the file
// means the file was cut short inside the program. EInOutError when the file cannot be read
// or is no native program (an ELF file of this machine's byte order).
int64_t ProgramImageSize(std::string_view FileName);

} // namespace qnl
