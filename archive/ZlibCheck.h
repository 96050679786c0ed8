// zlib's return codes turned into the archive's plain "error".
#pragma once

#include "rtl/Exceptions.h"

namespace qnl {

// A negative zlib result raises the framework's plain exception "error"; others pass.
inline int ZlibCheck(int rc) {
  if (rc < 0) throw Exception("error");
  return rc;
}

} // namespace qnl
