// Streams of bytes: the abstract TStream and the in-memory TMemoryStream. File streams
// belong to the platform layer.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/Classes.h"

namespace qnl {

QNL_ENUM(TSeekOrigin, soBeginning, soCurrent, soEnd)

class TStream : public TObject {
  QNL_CLASS(TStream, TObject)
public:
  // Reads up to Count bytes; returns how many were read.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  // Writes up to Count bytes; returns how many were written.
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual int64_t Size() const;
  virtual void SetSize(int64_t NewSize);

  int64_t Position() const { return const_cast<TStream*>(this)->Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  // Exactly Count bytes or EReadError "Stream read error".
  void ReadBuffer(void* Buffer, int64_t Count);
  // Exactly Count bytes or EWriteError "Stream write error".
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source (all of it from the start when Count is 0).
  int64_t CopyFrom(TStream& Source, int64_t Count);
  std::string ReadString(int64_t Count);
};

// A stream over a growable byte buffer.
class TMemoryStream : public TStream {
  QNL_CLASS(TMemoryStream, TStream)
public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string Data) : FData(std::move(Data)) {}
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() const override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();
  const std::string& Data() const { return FData; }
  std::string& Data() { return FData; }

private:
  std::string FData;
  int64_t FPosition = 0;
};

} // namespace qnl
