// The journal of a hive: encoding, decoding and replay of its records.
#include "platform/registry/HiveJournal.h"

#include <array>

#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr char kMagic[8] = {'Q', 'N', 'L', 'J', 'R', 'N', 'L', '1'};
constexpr uint32_t kMaxRecord = 64u << 20;

void PutName(std::string& out, const TRegName& name) {
  AppendLE32(out, uint32_t(name.size()));
  AppendUtf16LE(out, name);
}

// Reads the fields of a payload; any overrun marks it bad.
class TPayloadReader {
public:
  explicit TPayloadReader(std::string_view bytes) : FBytes(bytes) {}
  bool Ok() const { return FOk; }
  bool AtEnd() const { return FPos == FBytes.size(); }
  uint64_t Uint(int bytes) {
    if (!Need(size_t(bytes))) return 0;
    uint64_t v = ReadLE(FBytes.data() + FPos, bytes);
    FPos += size_t(bytes);
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
  bool Need(uint64_t n) {
    if (FOk && n <= FBytes.size() - FPos) return true;
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

uint32_t Crc32(std::string_view bytes) {
  // Built at compile time: hives are flushed at exit, after function-local statics are gone.
  static constexpr auto table = MakeCrcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void TJournalRecord::ApplyTo(TKeyNode& root) const {
  switch (Op) {
  case TOp::CreateKey:
    EnsureKey(root, Path, Time);
    break;
  case TOp::SetValue: {
    TKeyNode* key = EnsureKey(root, Path, Time);
    TValueNode& value = key->Values[FoldRegName(Name)];
    value.Name = Name;
    value.Type = Type;
    value.Data = Data;
    key->Modified = Time;
    break;
  }
  case TOp::DeleteValue:
    if (TKeyNode* key = FindKey(root, Path)) {
      key->Values.erase(FoldRegName(Name));
      key->Modified = Time;
    }
    break;
  case TOp::DeleteKey: {
    if (Path.empty()) break;
    TRegPath parentPath(Path.begin(), Path.end() - 1);
    if (TKeyNode* parent = FindKey(root, parentPath)) {
      if (parent->SubKeys.erase(FoldRegName(Path.back()))) parent->Modified = Time;
    }
    break;
  }
  }
}

std::string EncodeJournalHeader(uint64_t generation) {
  std::string out(kMagic, 8);
  AppendLE64(out, generation);
  return out;
}

std::optional<uint64_t> DecodeJournalHeader(std::string_view bytes) {
  if (bytes.size() < kJournalHeaderSize || bytes.substr(0, 8) != std::string_view(kMagic, 8)) return std::nullopt;
  TPayloadReader reader(bytes.substr(8, 8));
  return reader.Uint(8);
}

std::string EncodeJournalRecord(const TJournalRecord& record) {
  std::string payload;
  payload.push_back(char(record.Op));
  AppendLE64(payload, record.Time);
  AppendLE32(payload, uint32_t(record.Path.size()));
  for (const auto& name : record.Path) PutName(payload, name);
  if (record.Op == TJournalRecord::TOp::SetValue || record.Op == TJournalRecord::TOp::DeleteValue) PutName(payload, record.Name);
  if (record.Op == TJournalRecord::TOp::SetValue) {
    AppendLE32(payload, record.Type);
    AppendLE32(payload, uint32_t(record.Data.size()));
    payload += record.Data;
  }
  std::string out;
  AppendLE32(out, uint32_t(payload.size()));
  AppendLE32(out, Crc32(payload));
  return out + payload;
}

std::optional<TJournalRecord> DecodeJournalRecord(std::string_view bytes, size_t& size) {
  if (bytes.size() < 8) return std::nullopt;
  TPayloadReader head(bytes.substr(0, 8));
  uint32_t length = uint32_t(head.Uint(4));
  uint32_t crc = uint32_t(head.Uint(4));
  if (length > kMaxRecord || bytes.size() - 8 < length) return std::nullopt;
  std::string_view payload = bytes.substr(8, length);
  if (Crc32(payload) != crc) return std::nullopt;
  TPayloadReader reader(payload);
  TJournalRecord record;
  uint64_t op = reader.Uint(1);
  if (op < 1 || op > 4) return std::nullopt;
  record.Op = TJournalRecord::TOp(op);
  record.Time = reader.Uint(8);
  uint64_t components = reader.Uint(4);
  for (uint64_t i = 0; i < components && reader.Ok(); ++i) record.Path.push_back(reader.Name());
  if (record.Op == TJournalRecord::TOp::SetValue || record.Op == TJournalRecord::TOp::DeleteValue) record.Name = reader.Name();
  if (record.Op == TJournalRecord::TOp::SetValue) {
    record.Type = uint32_t(reader.Uint(4));
    record.Data = reader.Bytes();
  }
  if (!reader.Ok() || !reader.AtEnd()) return std::nullopt;
  size = 8 + length;
  return record;
}

} // namespace qnl
