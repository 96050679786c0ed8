// Primitive values of binary form resources.
#include "rtl/FormValues.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rtl/ByteOrder.h"
#include "rtl/Exceptions.h"

namespace qnl {

namespace {
[[noreturn]] void Truncated() { throw EReadError("Stream read error"); }
} // namespace

uint8_t TFormBytes::ReadByte() {
  if (FPos >= FData.size()) Truncated();
  return static_cast<uint8_t>(FData[FPos++]);
}

uint8_t TFormBytes::PeekByte() const {
  if (FPos >= FData.size()) Truncated();
  return static_cast<uint8_t>(FData[FPos]);
}

std::string TFormBytes::ReadBytes(uint64_t Count) {
  if (Count > Remaining()) Truncated();
  std::string s(FData.substr(FPos, static_cast<size_t>(Count)));
  FPos += static_cast<size_t>(Count);
  return s;
}

uint16_t TFormBytes::ReadUInt16() {
  if (Remaining() < 2) Truncated();
  uint16_t v = ReadLE16(FData, FPos);
  FPos += 2;
  return v;
}

uint32_t TFormBytes::ReadUInt32() {
  if (Remaining() < 4) Truncated();
  uint32_t v = ReadLE32(FData, FPos);
  FPos += 4;
  return v;
}

uint64_t TFormBytes::ReadUInt64() {
  if (Remaining() < 8) Truncated();
  uint64_t v = ReadLE64(FData, FPos);
  FPos += 8;
  return v;
}

int64_t TFormBytes::ReadIntegerOf(TValueType Code) {
  switch (Code) {
    case TValueType::vaInt8: return static_cast<int8_t>(ReadByte());
    case TValueType::vaInt16: return static_cast<int16_t>(ReadUInt16());
    case TValueType::vaInt32: return static_cast<int32_t>(ReadUInt32());
    case TValueType::vaInt64: return static_cast<int64_t>(ReadUInt64());
    default: throw EReadError("Invalid integer value type " + std::to_string(int(Code)));
  }
}

std::string TFormBytes::ReadShortString() { return ReadBytes(ReadByte()); }

std::string TFormBytes::ReadLongString() { return ReadBytes(ReadUInt32()); }

std::u16string TFormBytes::ReadWideString() {
  uint64_t count = ReadUInt32();
  if (count * 2 > Remaining()) Truncated();
  std::u16string s(static_cast<size_t>(count), u'\0');
  for (auto& c : s) c = static_cast<char16_t>(ReadUInt16());
  return s;
}

std::array<uint8_t, 10> TFormBytes::ReadExtendedBytes() {
  std::array<uint8_t, 10> e{};
  if (Remaining() < 10) Truncated();
  std::memcpy(e.data(), FData.data() + FPos, 10);
  FPos += 10;
  return e;
}

float TFormBytes::ReadSingle() { return std::bit_cast<float>(ReadUInt32()); }

double TFormBytes::ReadDouble() { return std::bit_cast<double>(ReadUInt64()); }

bool IsIntegerCode(TValueType Code) {
  return Code == TValueType::vaInt8 || Code == TValueType::vaInt16 || Code == TValueType::vaInt32;
}

double ExtendedToDouble(const std::array<uint8_t, 10>& Ext) {
  uint64_t mant = ReadLE64(Ext.data());
  int exp = ReadLE16(Ext.data() + 8) & 0x7FFF;
  bool negative = (Ext[9] & 0x80) != 0;
  double value;
  if (exp == 0x7FFF)
    value = (mant << 1) == 0 ? INFINITY : NAN;
  else if (exp == 0 && mant == 0)
    value = 0.0;
  else
    // mantissa carries its leading bit explicitly: value = mant * 2^(exp - 16383 - 63)
    value = std::ldexp(static_cast<double>(mant), exp - 16383 - 63);
  return negative ? -value : value;
}

std::array<uint8_t, 10> DoubleToExtended(double Value) {
  std::array<uint8_t, 10> e{};
  uint64_t bits = std::bit_cast<uint64_t>(Value);
  uint64_t mant = (bits & 0x000FFFFFFFFFFFFFull) << 11;
  int exp = static_cast<int>((bits >> 52) & 0x7FF);
  bool negative = (bits >> 63) != 0;
  if (exp == 0) {
    if (mant != 0) { // subnormal: normalise, the leading bit is explicit in extended
      exp = 16383 - 1022;
      while ((mant & 0x8000000000000000ull) == 0) {
        mant <<= 1;
        --exp;
      }
    }
  } else if (exp == 0x7FF) {
    exp = 0x7FFF;
    mant |= 0x8000000000000000ull;
  } else {
    exp += 16383 - 1023;
    mant |= 0x8000000000000000ull;
  }
  WriteLE64(e.data(), mant);
  WriteLE16(e.data() + 8, static_cast<uint16_t>((exp & 0x7FFF) | (negative ? 0x8000 : 0)));
  return e;
}

#if LDBL_MANT_DIG == 64
// long double is the x87 extended type here: its first 10 bytes are the stored format.
static std::array<uint8_t, 10> LongDoubleBytes(long double V) {
  std::array<uint8_t, 10> e{};
  std::memcpy(e.data(), &V, 10);
  return e;
}
#endif

bool DecimalToExtended(const std::string& Text, std::array<uint8_t, 10>& Ext) {
  if (Text.empty()) return false;
  char* end = nullptr;
#if LDBL_MANT_DIG == 64
  long double v = std::strtold(Text.c_str(), &end);
  if (end != Text.c_str() + Text.size()) return false;
  Ext = LongDoubleBytes(v);
#else
  double v = std::strtod(Text.c_str(), &end);
  if (end != Text.c_str() + Text.size()) return false;
  Ext = DoubleToExtended(v);
#endif
  return true;
}

namespace {
// "d.dddE+xx" written as plain decimals when the exponent is moderate: 45000.0, 0.001.
std::string PlainDecimal(const std::string& Sci) {
  size_t e = Sci.find('E');
  bool negative = Sci[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < e; ++i)
    if (Sci[i] != '.') digits.push_back(Sci[i]);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exp = std::atoi(Sci.c_str() + e + 1);
  if (exp < -5 || exp > 20) return Sci;
  std::string out = negative ? "-" : "";
  if (exp < 0) return out + "0." + std::string(static_cast<size_t>(-exp - 1), '0') + digits;
  size_t intLen = static_cast<size_t>(exp) + 1;
  if (digits.size() <= intLen) return out + digits + std::string(intLen - digits.size(), '0') + ".0";
  return out + digits.substr(0, intLen) + "." + digits.substr(intLen);
}
} // namespace

std::string ExtendedToDecimal(const std::array<uint8_t, 10>& Ext) {
  char buf[64];
#if LDBL_MANT_DIG == 64
  long double v = 0;
  std::memcpy(&v, Ext.data(), 10);
  if (std::isnan(v) || std::isinf(v)) return "0.0"; // not expressible in a text form
  for (int prec = 0; prec <= 20; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*LE", prec, v);
    if (LongDoubleBytes(std::strtold(buf, nullptr)) == Ext) break;
  }
#else
  double v = ExtendedToDouble(Ext);
  if (std::isnan(v) || std::isinf(v)) return "0.0";
  for (int prec = 0; prec <= 16; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*E", prec, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
#endif
  return PlainDecimal(buf);
}

} // namespace qnl
