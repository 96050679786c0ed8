// zlib's failures in words, for the archive's messages.
#pragma once

#include <zlib.h>

#include <string>

namespace qnl {

// What went wrong in the zlib call on Z that returned Rc: zlib's own message for the stream
// when it left one ("incorrect data check", "invalid block type"), else what the code means.
inline std::string ZlibReason(int Rc, const z_stream& Z) {
  if (Z.msg) return Z.msg;
  switch (Rc) {
    case Z_NEED_DICT: return "the data asks for a preset dictionary";
    case Z_DATA_ERROR: return "the data is not deflate data";
    case Z_MEM_ERROR: return "not enough memory";
    case Z_BUF_ERROR: return "no progress was possible";
    case Z_STREAM_ERROR: return "the stream is in an inconsistent state";
    case Z_VERSION_ERROR: return "the zlib library is of another version";
  }
  return "zlib result " + std::to_string(Rc);
}

} // namespace qnl
