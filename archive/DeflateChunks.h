// A member's zlib stream made of independent chunks, so that the chunks of one large member can
// be deflated on several cores and still come out byte for byte as one thread makes them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "archive/TCompressionStream.h"
#include "rtl/Streams.h"

namespace qnl {

// A member's input is cut every kDeflateChunk bytes whatever the number of threads; the last
// chunk holds the rest (empty when the size is a multiple). Each chunk is primed with the
// kDeflateWindow bytes before it, so matches still reach across the cut.
constexpr int64_t kDeflateChunk = 256 * 1024;
constexpr int64_t kDeflateWindow = 32 * 1024;

struct TDeflatedChunk {
  std::string Data;   // raw deflate: ends in a sync flush, or in the final block when Last
  uint32_t Adler = 1; // adler32 of the chunk's input
  int64_t Length = 0; // the chunk's input bytes
  bool Last = false;
};

// Deflates Data, preceded in the member by Window (at most kDeflateWindow bytes).
TDeflatedChunk DeflateChunk(TCompressionLevel Level, std::string_view Window, std::string_view Data, bool Last);

// Writes one member's zlib stream (RFC 1950) from its chunks in order: the header, the chunks,
// the adler32 of the whole input. Output goes to Dest in 64 KiB blocks, each full block
// followed by OnBlock.
class TZlibChunkWriter {
public:
  TZlibChunkWriter(TCompressionLevel Level, TStream& Dest, std::function<void()> OnBlock);
  void Add(const TDeflatedChunk& Chunk);
  // Writes the trailer and what is left; call once, after the Last chunk.
  void Finish();

private:
  void Put(const char* Data, size_t Count, bool Progress);
  void Flush();

  TStream& FDest;
  int64_t FDestPos;
  std::function<void()> FOnBlock;
  std::string FBlock;
  uint32_t FAdler = 1;
};

} // namespace qnl
