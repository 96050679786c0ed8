// The journal of a hive: encoding, decoding and replay of its records.
#include "platform/registry/HiveJournal.h"

#include <array>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr char kMagic[8] = {'Q', 'N', 'L', 'J', 'R', 'N', 'L', '1'};
constexpr uint32_t kMaxRecord = 64u << 20;

void PutName(std::string& Out, const TRegName& Name) {
  AppendLE32(Out, uint32_t(Name.size()));
  AppendUtf16LE(Out, Name);
}

// Reads the fields of a payload; any overrun marks it bad.
class TPayloadReader {
public:
  explicit TPayloadReader(std::string_view Bytes) : FBytes(Bytes) {}
  bool Ok() const { return FOk; }
  bool AtEnd() const { return FPos == FBytes.size(); }
  uint64_t Uint(int Bytes) {
    if (!Need(size_t(Bytes))) return 0;
    uint64_t v = ReadLE(FBytes.data() + FPos, Bytes);
    FPos += size_t(Bytes);
    return v;
  }
  TRegName Name() {
    uint64_t n = Uint(4);
    TRegName name;
    if (!Need(n * 2)) return name;
    for (uint64_t i = 0; i < n; ++i) name.push_back(char16_t(Uint(2)));
    return name;
  }
  std::string Bytes() {
    uint64_t n = Uint(4);
    if (!Need(n)) return {};
    std::string s(FBytes.substr(FPos, n));
    FPos += n;
    return s;
  }

private:
  bool Need(uint64_t N) {
    if (FOk && N <= FBytes.size() - FPos) return true;
    FOk = false;
    return false;
  }
  std::string_view FBytes;
  size_t FPos = 0;
  bool FOk = true;
};

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

} // namespace

uint32_t Crc32(std::string_view Bytes) {
  // Built at compile time: hives are flushed at exit, after function-local statics are gone.
  static constexpr auto table = MakeCrcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : Bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void TJournalRecord::ApplyTo(TKeyNode& Root) const {
  switch (Op) {
    case TOp::opCreateKey: EnsureKey(Root, Path, Time); break;
    case TOp::opSetValue: {
      TKeyNode* key = EnsureKey(Root, Path, Time);
      TValueNode& value = key->Values[FoldRegName(Name)];
      value.Name = Name;
      value.Type = Type;
      value.Data = Data;
      key->Modified = Time;
      break;
    }
    case TOp::opDeleteValue:
      if (TKeyNode* key = FindKey(Root, Path)) {
        key->Values.erase(FoldRegName(Name));
        key->Modified = Time;
      }
      break;
    case TOp::opDeleteKey: {
      if (Path.empty()) break;
      TRegPath parentPath(Path.begin(), Path.end() - 1);
      if (TKeyNode* parent = FindKey(Root, parentPath)) {
        if (parent->SubKeys.erase(FoldRegName(Path.back()))) parent->Modified = Time;
      }
      break;
    }
  }
}

std::string EncodeJournalHeader(uint64_t Generation) {
  std::string out(kMagic, 8);
  AppendLE64(out, Generation);
  return out;
}

std::optional<uint64_t> DecodeJournalHeader(std::string_view Bytes) {
  if (Bytes.size() < kJournalHeaderSize || Bytes.substr(0, 8) != std::string_view(kMagic, 8)) return std::nullopt;
  TPayloadReader reader(Bytes.substr(8, 8));
  return reader.Uint(8);
}

std::string EncodeJournalRecord(const TJournalRecord& Record) {
  std::string payload;
  payload.push_back(char(Record.Op));
  AppendLE64(payload, Record.Time);
  AppendLE32(payload, uint32_t(Record.Path.size()));
  for (const auto& name : Record.Path) PutName(payload, name);
  if (Record.Op == TJournalRecord::TOp::opSetValue || Record.Op == TJournalRecord::TOp::opDeleteValue)
    PutName(payload, Record.Name);
  if (Record.Op == TJournalRecord::TOp::opSetValue) {
    AppendLE32(payload, Record.Type);
    AppendLE32(payload, uint32_t(Record.Data.size()));
    payload += Record.Data;
  }
  std::string out;
  AppendLE32(out, uint32_t(payload.size()));
  AppendLE32(out, Crc32(payload));
  return out + payload;
}

std::optional<TJournalRecord> DecodeJournalRecord(std::string_view Bytes, size_t& Size) {
  if (Bytes.size() < 8) return std::nullopt;
  TPayloadReader head(Bytes.substr(0, 8));
  uint32_t length = uint32_t(head.Uint(4));
  uint32_t crc = uint32_t(head.Uint(4));
  if (length > kMaxRecord || Bytes.size() - 8 < length) return std::nullopt;
  std::string_view payload = Bytes.substr(8, length);
  if (Crc32(payload) != crc) return std::nullopt;
  TPayloadReader reader(payload);
  TJournalRecord record;
  uint64_t op = reader.Uint(1);
  if (op < 1 || op > 4) return std::nullopt;
  record.Op = TJournalRecord::TOp(op);
  record.Time = reader.Uint(8);
  uint64_t components = reader.Uint(4);
  for (uint64_t i = 0; i < components && reader.Ok(); ++i) record.Path.push_back(reader.Name());
  if (record.Op == TJournalRecord::TOp::opSetValue || record.Op == TJournalRecord::TOp::opDeleteValue)
    record.Name = reader.Name();
  if (record.Op == TJournalRecord::TOp::opSetValue) {
    record.Type = uint32_t(reader.Uint(4));
    record.Data = reader.Bytes();
  }
  if (!reader.Ok() || !reader.AtEnd()) return std::nullopt;
  Size = 8 + length;
  return record;
}

} // namespace qnl
