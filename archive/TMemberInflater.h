// Inflating one member's zlib stream in the blocks extraction writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qnl {

// Owns one inflate stream for the life of one member. Each Next fills one output block whole
// unless the input or the stream ends first, so that a member inflated ahead comes out in the
// very blocks (and meets damage at the very block) that extraction meets when it inflates the
// member itself.
class TMemberInflater {
public:
  // Reads up to Count bytes of the member's compressed data into Buffer; 0 at its end.
  using TReadInput = std::function<int64_t(unsigned char* Buffer, int64_t Count)>;
  static constexpr size_t kBlock = 4096;
  static constexpr int64_t kInChunk = 64 * 1024;

  // FileName and Archive name the member in the messages of damage (EQnlfCompress).
  TMemberInflater(std::string FileName, std::string Archive);
  ~TMemberInflater();
  TMemberInflater(const TMemberInflater&) = delete;
  TMemberInflater& operator=(const TMemberInflater&) = delete;

  // The next block into Out (kBlock bytes): its length, 0 when the stream or its input ended.
  size_t Next(unsigned char* Out, const TReadInput& Read);
  bool Ended() const { return FEnded; }

private:
  struct TState;
  std::unique_ptr<TState> FState;
  std::string FFileName, FArchive;
  std::vector<unsigned char> FIn;
  bool FEnded = false;
};

} // namespace qnl
