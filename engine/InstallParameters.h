// The parameter objects that travel with the codes of the upward and downward message paths.
#pragma once

#include <cstdint>
#include <string>

#include "archive/TlzhFileStats.h"
#include "rtl/Classes.h"

namespace qnl {

// Each parameter object belongs to its sender and lives only for the call that carries it;
// a receiver copies what it wants to keep.

// A status text (code -974).
class TMessageParameter : public TObject {
  QNL_CLASS(TMessageParameter, TObject)
public:
  std::string Text;
};

// The disk an install file needs next and where its archive is expected (in/out).
class TDiskParameter : public TObject {
  QNL_CLASS(TDiskParameter, TObject)
public:
  int32_t NewDisk = 0;
  std::string Path;
};

// Progress of one file; the totals are rewritten by each container on the way up.
class TFileStatusParameter : public TObject {
  QNL_CLASS(TFileStatusParameter, TObject)
public:
  int32_t BytesDone = 0;
  int32_t FilePercentDone = 0;
  std::string FileName;
  TlzhFileStats Stats;
  int32_t TotalBytesDone = 0;
  int32_t TotalPercentDone = 0;
};

// Progress of a download: this block, the bytes so far and the whole file's size.
class TDownloadStatusParameter : public TObject {
  QNL_CLASS(TDownloadStatusParameter, TObject)
public:
  int32_t Bytes = 0;
  std::string FileName;
  int32_t FileSize = 0;
  int32_t TotalBytes = 0;
  int32_t PercentDone = 0;
};

} // namespace qnl
