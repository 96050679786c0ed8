// Inflating one member in blocks.
#include "archive/TMemberInflater.h"

#include <zlib.h>

#include "archive/EQnlfCompress.h"
#include "archive/ZlibErrors.h"

namespace qnl {

struct TMemberInflater::TState {
  TState() : InitResult(inflateInit2(&Z, 15)) {}
  ~TState() {
    if (InitResult == Z_OK) inflateEnd(&Z);
  }
  z_stream Z{};
  const int InitResult;
};

TMemberInflater::TMemberInflater(std::string FileName, std::string Archive)
    : FState(std::make_unique<TState>()), FFileName(std::move(FileName)), FArchive(std::move(Archive)), FIn(kInChunk) {
  if (FState->InitResult != Z_OK)
    throw EQnlfCompress("Cannot decompress the file %s from the archive %s: %s",
                        {FFileName, FArchive, ZlibReason(FState->InitResult, FState->Z)});
}

TMemberInflater::~TMemberInflater() = default;

size_t TMemberInflater::Next(unsigned char* Out, const TReadInput& Read) {
  z_stream& z = FState->Z;
  z.next_out = Out;
  z.avail_out = kBlock;
  while (z.avail_out > 0 && !FEnded) {
    if (z.avail_in == 0) {
      int64_t n = Read(FIn.data(), kInChunk);
      z.next_in = FIn.data();
      z.avail_in = static_cast<uInt>(n > 0 ? n : 0);
      if (n <= 0) break;
    }
    int rc = inflate(&z, Z_NO_FLUSH);
    if (rc == Z_STREAM_END)
      FEnded = true;
    else if (rc == Z_BUF_ERROR)
      break;
    else if (rc != Z_OK)
      throw EQnlfCompress("The compressed data of the file %s in the archive %s is damaged: %s",
                          {FFileName, FArchive, ZlibReason(rc, z)});
  }
  return kBlock - z.avail_out;
}

} // namespace qnl
