// Deflating into a destination stream, one zlib stream per object.
#include "archive/TCompressionStream.h"

#include <zlib.h>

#include <vector>

#include "archive/EQnlfCompress.h"
#include "archive/ZlibErrors.h"

namespace qnl {

QNL_BEGIN_CLASS(TCompressionStream);
QNL_END_CLASS

namespace {
constexpr size_t kOutBufferSize = 64 * 1024;

int DeflateCheck(int Rc, const z_stream& Z) {
  if (Rc < 0) throw EQnlfCompress("Cannot compress the data for the archive: %s", {ZlibReason(Rc, Z)});
  return Rc;
}
} // namespace

int ZlibLevel(TCompressionLevel Level) {
  switch (Level) {
    case colNone: return Z_NO_COMPRESSION;
    case colFastest: return Z_BEST_SPEED;
    case colDefault: return Z_DEFAULT_COMPRESSION;
    case colMax: return Z_BEST_COMPRESSION;
  }
  return Z_DEFAULT_COMPRESSION;
}

struct TCompressionStream::TState {
  z_stream Z{};
  std::vector<unsigned char> Out = std::vector<unsigned char>(kOutBufferSize);
};

TCompressionStream::TCompressionStream(TCompressionLevel Level, TStream& Dest, std::function<void()> OnProgress)
    : FState(std::make_unique<TState>()), FDest(Dest), FDestPos(Dest.Position()), FOnProgress(std::move(OnProgress)) {
  DeflateCheck(deflateInit2(&FState->Z, ZlibLevel(Level), Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY), FState->Z);
  FState->Z.next_out = FState->Out.data();
  FState->Z.avail_out = kOutBufferSize;
}

TCompressionStream::~TCompressionStream() {
  if (!FFinished) {
    // A destructor must not throw; callers that need to see write errors call Finish.
    try {
      Finish();
    } catch (...) {}
  }
  deflateEnd(&FState->Z);
}

void TCompressionStream::FlushBuffer(size_t Count) {
  if (FDest.Position() != FDestPos) FDest.Seek(FDestPos, soBeginning);
  FDest.WriteBuffer(FState->Out.data(), static_cast<int64_t>(Count));
  FDestPos = FDest.Position();
  FState->Z.next_out = FState->Out.data();
  FState->Z.avail_out = kOutBufferSize;
}

int64_t TCompressionStream::Write(const void* Buffer, int64_t Count) {
  if (FFinished) throw EStreamError("Invalid stream operation");
  z_stream& z = FState->Z;
  const unsigned char* p = static_cast<const unsigned char*>(Buffer);
  int64_t left = Count;
  while (left > 0) {
    uInt chunk = left > (1 << 30) ? (1u << 30) : static_cast<uInt>(left);
    z.next_in = const_cast<unsigned char*>(p);
    z.avail_in = chunk;
    while (z.avail_in > 0) {
      DeflateCheck(deflate(&z, Z_NO_FLUSH), z);
      if (z.avail_out == 0) {
        FlushBuffer(kOutBufferSize);
        if (FOnProgress) FOnProgress();
      }
    }
    p += chunk;
    left -= chunk;
  }
  return Count;
}

void TCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  z_stream& z = FState->Z;
  z.next_in = nullptr;
  z.avail_in = 0;
  for (;;) {
    int rc = DeflateCheck(deflate(&z, Z_FINISH), z);
    size_t produced = kOutBufferSize - z.avail_out;
    if (rc == Z_STREAM_END) {
      if (produced > 0) FlushBuffer(produced);
      break;
    }
    if (z.avail_out == 0) FlushBuffer(produced);
  }
}

int64_t TCompressionStream::Read(void*, int64_t) { throw EStreamError("Invalid stream operation"); }

int64_t TCompressionStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent) return static_cast<int64_t>(FState->Z.total_in);
  throw EStreamError("Invalid stream operation");
}

} // namespace qnl
