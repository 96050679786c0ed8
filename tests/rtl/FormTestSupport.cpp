// Helpers of the form-streaming tests.
#include "tests/rtl/FormTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

#include "rtl/FormText.h"

namespace qnl::test {

std::string FpcConverter() {
#ifdef QNL_FPC_FORMCONV
  if (std::ifstream(QNL_FPC_FORMCONV).good()) return QNL_FPC_FORMCONV;
#endif
  return "";
}

namespace {
// Unique per test: ctest runs every test in a process of its own, possibly in parallel.
std::string TempPath(const char* Tag) {
  static int counter = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string test = info ? std::string(info->test_suite_name()) + "." + info->name() : "global";
  return ::testing::TempDir() + "qnl_fpc_" + test + "_" + std::to_string(++counter) + "_" + Tag;
}
} // namespace

std::string RunFpcConverter(const std::string& Mode, const std::string& Input) {
  std::string in = TempPath("in"), out = TempPath("out");
  std::ofstream(in, std::ios::binary) << Input;
  std::string cmd = FpcConverter() + " " + Mode + " '" + in + "' '" + out + "'";
  std::string log = TempPath("log");
  int rc = std::system((cmd + " > '" + log + "' 2>&1").c_str());
  std::ifstream l(log);
  std::string messages((std::istreambuf_iterator<char>(l)), std::istreambuf_iterator<char>());
  std::remove(log.c_str());
  std::ifstream f(out, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  std::remove(in.c_str());
  std::remove(out.c_str());
  if (rc != 0) ADD_FAILURE() << "fpc converter failed: " << messages;
  return ss.str();
}

std::string FpcBinary(const std::string& Text) {
  if (FpcConverter().empty()) return ObjectTextToBinary(Text);
  return RunFpcConverter("tobin", Text);
}

} // namespace qnl::test
