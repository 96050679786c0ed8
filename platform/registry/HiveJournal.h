// The journal of a hive: changes appended to "<hive>.journal" until they are compacted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/HiveTree.h"

namespace qnl {

// One change to a hive. Applying a record again to a tree that already holds it gives
// the same tree, so a journal may be replayed over a hive file that already holds some
// of its records (a compaction interrupted between the rename and the reset of the journal).
struct TJournalRecord {
  enum class TOp : uint8_t { opCreateKey = 1, opDeleteKey = 2, opSetValue = 3, opDeleteValue = 4 };
  TOp Op = TOp::opCreateKey;
  uint64_t Time = 0; // FILETIME of the change
  TRegPath Path;
  TRegName Name; // value name
  uint32_t Type = 0;
  std::string Data;

  // Applies the change; a deleted key goes with its whole subtree (see above).
  void ApplyTo(TKeyNode& Root) const;
};

// The journal file starts with a header: 8 bytes "QNLJRNL1" and the 64-bit generation,
// which a compaction increases before it empties the journal, so that other processes
// notice and reload. Each record is its length, its CRC-32 and its payload.
constexpr size_t kJournalHeaderSize = 16;
std::string EncodeJournalHeader(uint64_t Generation);
// nullopt when the bytes are not a journal header.
std::optional<uint64_t> DecodeJournalHeader(std::string_view Bytes);

std::string EncodeJournalRecord(const TJournalRecord& Record);
// Decodes the record at the start of `bytes`; nullopt when it is incomplete or damaged
// (the torn tail of a process killed while appending). `size` gets its encoded size.
std::optional<TJournalRecord> DecodeJournalRecord(std::string_view Bytes, size_t& Size);

uint32_t Crc32(std::string_view Bytes);

} // namespace qnl
