// Helpers of the form-streaming tests: fixtures converted by Free Pascal when it is
// installed, and a small builder for binary resources no text form can express.
#pragma once

#include <cstdint>
#include <string>

namespace qnl::test {

// The path of the Free Pascal reference converter built for the tests, or "" when fpc
// is not installed.
std::string FpcConverter();
// Runs the reference converter ("tobin" or "totext") on Input; returns its output.
std::string RunFpcConverter(const std::string& Mode, const std::string& Input);
// The binary form of Text as Free Pascal writes it (our converter when fpc is missing).
std::string FpcBinary(const std::string& Text);

// Builds a binary form resource byte by byte.
class TBinBuilder {
public:
  TBinBuilder& Signature() { return Raw("TPF0"); }
  TBinBuilder& Byte(uint8_t B) {
    Bytes.push_back(static_cast<char>(B));
    return *this;
  }
  TBinBuilder& Le(uint64_t V, int N) {
    for (int i = 0; i < N; ++i) Byte(static_cast<uint8_t>(V >> (8 * i)));
    return *this;
  }
  TBinBuilder& Short(const std::string& S) { return Byte(static_cast<uint8_t>(S.size())).Raw(S); }
  TBinBuilder& Raw(const std::string& S) {
    Bytes += S;
    return *this;
  }
  // "object Name: Class" without prefix.
  TBinBuilder& Object(const std::string& Class, const std::string& Name) { return Short(Class).Short(Name); }
  TBinBuilder& Prop(const std::string& Name) { return Short(Name); }
  TBinBuilder& End() { return Byte(0); }
  std::string Bytes;
};

} // namespace qnl::test
