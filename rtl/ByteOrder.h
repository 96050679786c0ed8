// Little-endian numbers in byte buffers: the order of every file format this system reads
// and writes, whatever the order of the machine it runs on.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qnl {

// The Count (1..8) bytes at P as a little-endian unsigned number.
inline uint64_t ReadLE(const void* P, int Count) {
  auto* bytes = static_cast<const unsigned char*>(P);
  uint64_t v = 0;
  for (int i = Count - 1; i >= 0; --i) v = (v << 8) | bytes[i];
  return v;
}

// Stores the low Count (1..8) bytes of V at P, least significant first.
inline void WriteLE(void* P, uint64_t V, int Count) {
  auto* bytes = static_cast<unsigned char*>(P);
  for (int i = 0; i < Count; ++i) bytes[i] = static_cast<unsigned char>(V >> (8 * i));
}

inline uint16_t ReadLE16(const void* P) { return static_cast<uint16_t>(ReadLE(P, 2)); }
inline uint32_t ReadLE32(const void* P) { return static_cast<uint32_t>(ReadLE(P, 4)); }
inline uint64_t ReadLE64(const void* P) { return ReadLE(P, 8); }
inline float ReadLEFloat(const void* P) { return std::bit_cast<float>(ReadLE32(P)); }
inline double ReadLEDouble(const void* P) { return std::bit_cast<double>(ReadLE64(P)); }

// The same at offset At of a byte string; the caller has checked that the bytes are there.
inline uint16_t ReadLE16(std::string_view S, size_t At) { return ReadLE16(S.data() + At); }
inline uint32_t ReadLE32(std::string_view S, size_t At) { return ReadLE32(S.data() + At); }
inline uint64_t ReadLE64(std::string_view S, size_t At) { return ReadLE64(S.data() + At); }
inline double ReadLEDouble(std::string_view S, size_t At) { return ReadLEDouble(S.data() + At); }

inline void WriteLE16(void* P, uint16_t V) { WriteLE(P, V, 2); }
inline void WriteLE32(void* P, uint32_t V) { WriteLE(P, V, 4); }
inline void WriteLE64(void* P, uint64_t V) { WriteLE(P, V, 8); }
inline void WriteLEDouble(void* P, double V) { WriteLE64(P, std::bit_cast<uint64_t>(V)); }

// Overwrites bytes At.. of S, which the caller has sized.
inline void WriteLE16(std::string& S, size_t At, uint16_t V) { WriteLE16(S.data() + At, V); }
inline void WriteLE32(std::string& S, size_t At, uint32_t V) { WriteLE32(S.data() + At, V); }
inline void WriteLE64(std::string& S, size_t At, uint64_t V) { WriteLE64(S.data() + At, V); }

// Appends the low Count bytes of V to Out, least significant first.
inline void AppendLE(std::string& Out, uint64_t V, int Count) {
  size_t at = Out.size();
  Out.resize(at + static_cast<size_t>(Count));
  WriteLE(Out.data() + at, V, Count);
}
inline void AppendLE16(std::string& Out, uint16_t V) { AppendLE(Out, V, 2); }
inline void AppendLE32(std::string& Out, uint32_t V) { AppendLE(Out, V, 4); }
inline void AppendLE64(std::string& Out, uint64_t V) { AppendLE(Out, V, 8); }
inline void AppendLEFloat(std::string& Out, float V) { AppendLE32(Out, std::bit_cast<uint32_t>(V)); }
inline void AppendLEDouble(std::string& Out, double V) { AppendLE64(Out, std::bit_cast<uint64_t>(V)); }

// A UTF-16 string as its little-endian bytes, the way Windows stores wide text.
inline void AppendUtf16LE(std::string& Out, std::u16string_view Text) {
  for (char16_t c : Text) AppendLE16(Out, c);
}

// The UTF-16 characters of little-endian Bytes; an odd last byte is not read.
inline std::u16string ReadUtf16LE(std::string_view Bytes) {
  std::u16string text(Bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(ReadLE16(Bytes, 2 * i));
  return text;
}

} // namespace qnl
