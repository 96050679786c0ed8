// Streams of bytes.
#include "rtl/Streams.h"

#include <cstring>
#include <vector>

namespace qnl {

QNL_BEGIN_CLASS(TStream);
QNL_END_CLASS

int64_t TStream::Size() const {
  auto self = const_cast<TStream*>(this);
  int64_t pos = self->Seek(0, soCurrent);
  int64_t size = self->Seek(0, soEnd);
  self->Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count < 0 || Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count < 0 || Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  std::vector<char> buf(64 * 1024);
  int64_t left = Count;
  while (left > 0) {
    int64_t n = left < int64_t(buf.size()) ? left : int64_t(buf.size());
    Source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return Count;
}

std::string TStream::ReadString(int64_t Count) {
  std::string s(static_cast<size_t>(Count), '\0');
  ReadBuffer(s.data(), Count);
  return s;
}

QNL_BEGIN_CLASS(TMemoryStream);
QNL_END_CLASS

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0 || FPosition >= Size()) return 0;
  int64_t n = Size() - FPosition;
  if (n > Count) n = Count;
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  if (FPosition + Count > Size()) FData.resize(static_cast<size_t>(FPosition + Count));
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soBeginning ? 0 : (Origin == soCurrent ? FPosition : Size());
  int64_t pos = base + Offset;
  if (pos < 0) pos = 0;
  FPosition = pos;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  FData.resize(static_cast<size_t>(NewSize < 0 ? 0 : NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

} // namespace qnl
