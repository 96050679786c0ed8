// Resources of a PE image (32- or 64-bit): the resource directory and the string tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rtl/Streams.h"

namespace qnl {

// The bytes of the first-language resource of Type whose numeric name is Id (0: the first
// name); empty when there is none, when it is larger than MaxSize, or when the image is
// damaged or foreign, never an error.
std::string ReadPEResource(TStream& Stream, uint32_t Type, uint32_t Id, uint32_t MaxSize);
// String Number of the image's string tables in the ANSI code page (characters outside it
// become '?'); nullopt when the image has no such string.
std::optional<std::string> ReadPEString(TStream& Stream, uint32_t Number);

} // namespace qnl
