// The version-information block of a PE file and queries on it, as version.dll answers them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rtl/Streams.h"

namespace qnl {

// The raw VS_VERSIONINFO block (the 32-bit, UTF-16 form) of one PE image, 32- or 64-bit.
// Always either empty (no resource) or a block whose root node fits in its bytes.
class TPEVersionBlock {
public:
  // Reads the first RT_VERSION resource of the image in Stream; damaged or foreign data
  // yields an empty block, never an error.
  static TPEVersionBlock FromImage(TStream& Stream);
  static TPEVersionBlock FromImage(std::string_view Image);
  // A block given as its bytes (a resource already extracted).
  explicit TPEVersionBlock(std::string Block = {});

  bool Empty() const { return FBlock.empty(); }
  const std::string& Bytes() const { return FBlock; }

  // The value of the node at a path such as "\" or "\StringFileInfo\040904E4\CompanyName"
  // (keys compared without regard to ASCII case); nullopt when there is no such node.
  // Text values come back as UTF-16LE bytes without their terminator.
  std::optional<std::string> QueryValue(std::string_view SubBlock) const;
  // A text value converted to the ANSI code page (characters outside it become '?').
  std::optional<std::string> QueryString(std::string_view SubBlock) const;

private:
  std::string FBlock;
};

} // namespace qnl
