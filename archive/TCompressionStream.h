// A write-only stream that deflates into one zlib stream on a destination stream.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "rtl/Streams.h"

namespace qnl {

class TZlibChunkWriter;

// Level numbers handed to zlib: 0, 1, zlib's default (-1), 9.
QNL_ENUM(TCompressionLevel, colNone, colFastest, colDefault, colMax)
int ZlibLevel(TCompressionLevel Level);

// Holds one zlib stream (RFC 1950, 15-bit window, memory level 8) from construction to
// Finish or destruction, deflated in the chunks of DeflateChunks.h; output goes to the
// destination in 64 KiB blocks, each followed by the progress callback. Reads and seeks other
// than asking the position raise "Invalid stream operation".
class TCompressionStream : public TStream {
  QNL_CLASS(TCompressionStream, TStream)
public:
  TCompressionStream(TCompressionLevel Level, TStream& Dest, std::function<void()> OnProgress = {});
  ~TCompressionStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  // Position: the number of bytes written into the stream.
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  // Ends the zlib stream and writes what is left; later writes raise.
  void Finish();

private:
  void DeflateBuffered(bool Last);
  TCompressionLevel FLevel;
  std::unique_ptr<TZlibChunkWriter> FWriter;
  std::string FInput; // the window before the chunk, then the chunk's input so far
  size_t FWindow = 0; // the bytes of FInput that are the window
  int64_t FTotalIn = 0;
  bool FFinished = false;
};

} // namespace qnl
