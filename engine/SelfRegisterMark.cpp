// The self-register mark of a file's version resource.
#include "engine/SelfRegisterMark.h"

#include <cstdio>

#include "archive/TPEVersionBlock.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "rtl/ByteOrder.h"

namespace qnl {

bool HasSelfRegisterMarkSafely(const std::string& Path) {
  try {
    if (Path.empty() || !FileExists(Path)) return false;
    TFileStream stream(Path, fmOpenRead | fmShareDenyNone);
    TPEVersionBlock block = TPEVersionBlock::FromImage(stream);
    if (block.Empty()) return false;
    std::optional<std::string> translation = block.QueryValue("\\VarFileInfo\\Translation");
    if (!translation || translation->size() < 4) return false;
    auto word = [&](size_t At) { return static_cast<unsigned>(ReadLE16(*translation, At)); };
    char key[64];
    std::snprintf(key, sizeof key, "\\StringFileInfo\\%04X%04X\\OLESelfRegister", word(0), word(2));
    return block.QueryValue(key).has_value();
  } catch (const std::exception&) {
    return false;
  }
}

} // namespace qnl
