// Deflating into a destination stream, one zlib stream per object.
#include "archive/TCompressionStream.h"

#include <zlib.h>

#include "archive/DeflateChunks.h"

namespace qnl {

QNL_BEGIN_CLASS(TCompressionStream);
QNL_END_CLASS

int ZlibLevel(TCompressionLevel Level) {
  switch (Level) {
    case colNone: return Z_NO_COMPRESSION;
    case colFastest: return Z_BEST_SPEED;
    case colDefault: return Z_DEFAULT_COMPRESSION;
    case colMax: return Z_BEST_COMPRESSION;
  }
  return Z_DEFAULT_COMPRESSION;
}

TCompressionStream::TCompressionStream(TCompressionLevel Level, TStream& Dest, std::function<void()> OnProgress)
    : FLevel(Level), FWriter(std::make_unique<TZlibChunkWriter>(Level, Dest, std::move(OnProgress))) {
  FInput.reserve(size_t(kDeflateWindow + kDeflateChunk));
}

TCompressionStream::~TCompressionStream() {
  if (!FFinished) {
    // A destructor must not throw; callers that need to see write errors call Finish.
    try {
      Finish();
    } catch (...) {}
  }
}

void TCompressionStream::DeflateBuffered(bool Last) {
  std::string_view all(FInput);
  FWriter->Add(DeflateChunk(FLevel, all.substr(0, FWindow), all.substr(FWindow), Last));
  size_t keep = std::min(FInput.size(), size_t(kDeflateWindow));
  FInput.erase(0, FInput.size() - keep);
  FWindow = keep;
}

int64_t TCompressionStream::Write(const void* Buffer, int64_t Count) {
  if (FFinished) throw EStreamError("Invalid stream operation");
  const char* p = static_cast<const char*>(Buffer);
  int64_t left = Count;
  while (left > 0) {
    int64_t room = kDeflateChunk - int64_t(FInput.size() - FWindow);
    int64_t n = std::min(left, room);
    FInput.append(p, size_t(n));
    p += n;
    left -= n;
    FTotalIn += n;
    if (n == room) DeflateBuffered(false);
  }
  return Count;
}

void TCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  DeflateBuffered(true);
  FWriter->Finish();
}

int64_t TCompressionStream::Read(void*, int64_t) { throw EStreamError("Invalid stream operation"); }

int64_t TCompressionStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent) return FTotalIn;
  throw EStreamError("Invalid stream operation");
}

} // namespace qnl
