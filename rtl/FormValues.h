// The value codes of binary form resources and the reading of their primitive values.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qnl {

// One type byte precedes every value of a form resource.
enum class TValueType : uint8_t {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64, // written by other tools for integers beyond 32 bits; no property reads it
};

inline constexpr std::string_view kFormSignature = "TPF0";
// Objects, collections and lists nest no deeper than this; a deeper resource is corrupt.
inline constexpr int kMaxFormNesting = 64;

// Reads the primitives of a form resource held in memory, little-endian. Running past the
// end raises EReadError "Stream read error"; a length is checked against what is left
// before anything is allocated.
class TFormBytes {
public:
  explicit TFormBytes(std::string_view Data, size_t Position = 0) : FData(Data), FPos(Position) {}

  size_t Position() const { return FPos; }
  size_t Remaining() const { return FData.size() - FPos; }
  uint8_t ReadByte();
  uint8_t PeekByte() const;
  TValueType ReadValueType() { return static_cast<TValueType>(ReadByte()); }
  TValueType PeekValueType() const { return static_cast<TValueType>(PeekByte()); }
  std::string ReadBytes(uint64_t Count);
  uint16_t ReadUInt16();
  uint32_t ReadUInt32();
  uint64_t ReadUInt64();
  // The payload of an integer code (vaInt8, vaInt16, vaInt32, vaInt64).
  int64_t ReadIntegerOf(TValueType Code);
  std::string ReadShortString();
  std::string ReadLongString();
  std::u16string ReadWideString();
  std::array<uint8_t, 10> ReadExtendedBytes();
  float ReadSingle();
  double ReadDouble();

private:
  std::string_view FData;
  size_t FPos;
};

bool IsIntegerCode(TValueType Code);

// 80-bit extended <-> double, bit by bit (no reliance on long double).
double ExtendedToDouble(const std::array<uint8_t, 10>& Ext);
std::array<uint8_t, 10> DoubleToExtended(double Value);
// The extended nearest to a decimal number as written in a text form; false when Text is
// not a number.
bool DecimalToExtended(const std::string& Text, std::array<uint8_t, 10>& Ext);
// The shortest decimal text that converts back to exactly these extended bits.
std::string ExtendedToDecimal(const std::array<uint8_t, 10>& Ext);

} // namespace qnl
