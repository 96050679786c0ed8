// Deflating a member in chunks that concatenate into one zlib stream.
#include "archive/DeflateChunks.h"

#include <zlib.h>

#include "archive/EQnlfCompress.h"
#include "archive/ZlibErrors.h"

namespace qnl {

namespace {
constexpr size_t kBlockSize = 64 * 1024;

// The header zlib itself writes for a 32 KiB window at Level, so that a member of one chunk is
// what a plain zlib stream of it would be.
std::string ZlibHeader(TCompressionLevel Level) {
  int level = ZlibLevel(Level);
  if (level == Z_DEFAULT_COMPRESSION) level = 6;
  unsigned levelFlags = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
  unsigned header = (0x78u << 8) | (levelFlags << 6);
  header += 31 - header % 31;
  return {static_cast<char>(header >> 8), static_cast<char>(header & 0xff)};
}

struct TRawDeflate {
  z_stream Z{};
  explicit TRawDeflate(TCompressionLevel Level) {
    Check(deflateInit2(&Z, ZlibLevel(Level), Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY));
  }
  ~TRawDeflate() { deflateEnd(&Z); }
  TRawDeflate(const TRawDeflate&) = delete;
  TRawDeflate& operator=(const TRawDeflate&) = delete;
  int Check(int Rc) const {
    if (Rc < 0 && Rc != Z_BUF_ERROR)
      throw EQnlfCompress("Cannot compress the data for the archive: %s", {ZlibReason(Rc, Z)});
    return Rc;
  }
};
} // namespace

TDeflatedChunk DeflateChunk(TCompressionLevel Level, std::string_view Window, std::string_view Data, bool Last) {
  TRawDeflate deflater(Level);
  z_stream& z = deflater.Z;
  if (!Window.empty())
    deflater.Check(deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(Window.data()), uInt(Window.size())));
  TDeflatedChunk chunk;
  chunk.Length = static_cast<int64_t>(Data.size());
  chunk.Last = Last;
  chunk.Adler = uint32_t(adler32(1, reinterpret_cast<const Bytef*>(Data.data()), uInt(Data.size())));
  // Room for the worst case and the flush marker, so that one call does it all: the output then
  // does not depend on how the caller's buffers were cut.
  chunk.Data.resize(deflateBound(&z, uLong(Data.size())) + 16);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
  z.avail_in = uInt(Data.size());
  z.next_out = reinterpret_cast<Bytef*>(chunk.Data.data());
  z.avail_out = uInt(chunk.Data.size());
  int flush = Last ? Z_FINISH : Z_SYNC_FLUSH;
  for (;;) {
    int rc = deflater.Check(deflate(&z, flush));
    if (Last ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0)) break;
    if (z.avail_out == 0) { // deflateBound was short after all: grow and go on
      size_t used = chunk.Data.size();
      chunk.Data.resize(used * 2);
      z.next_out = reinterpret_cast<Bytef*>(chunk.Data.data() + used);
      z.avail_out = uInt(chunk.Data.size() - used);
    }
  }
  chunk.Data.resize(chunk.Data.size() - z.avail_out);
  return chunk;
}

TZlibChunkWriter::TZlibChunkWriter(TCompressionLevel Level, TStream& Dest, std::function<void()> OnBlock)
    : FDest(Dest), FDestPos(Dest.Position()), FOnBlock(std::move(OnBlock)) {
  FBlock.reserve(kBlockSize);
  std::string header = ZlibHeader(Level);
  Put(header.data(), header.size(), true);
}

void TZlibChunkWriter::Add(const TDeflatedChunk& Chunk) {
  FAdler = uint32_t(adler32_combine(FAdler, Chunk.Adler, z_off_t(Chunk.Length)));
  Put(Chunk.Data.data(), Chunk.Data.size(), true);
}

void TZlibChunkWriter::Finish() {
  const char trailer[4] = {char(FAdler >> 24), char(FAdler >> 16), char(FAdler >> 8), char(FAdler)};
  // The stream's end makes no progress call, as the member is then reported finished.
  Put(trailer, sizeof trailer, false);
  if (!FBlock.empty()) Flush();
}

void TZlibChunkWriter::Put(const char* Data, size_t Count, bool Progress) {
  while (Count > 0) {
    size_t n = std::min(Count, kBlockSize - FBlock.size());
    FBlock.append(Data, n);
    Data += n;
    Count -= n;
    if (FBlock.size() == kBlockSize) {
      Flush();
      if (Progress && FOnBlock) FOnBlock();
    }
  }
}

void TZlibChunkWriter::Flush() {
  // Someone may have moved the destination between two blocks (a header rewritten in place).
  if (FDest.Position() != FDestPos) FDest.Seek(FDestPos, soBeginning);
  FDest.WriteBuffer(FBlock.data(), static_cast<int64_t>(FBlock.size()));
  FDestPos = FDest.Position();
  FBlock.clear();
}

} // namespace qnl
