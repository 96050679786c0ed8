// Helpers of the archive tests.
#include "ArchiveTestFiles.h"

#include <cstdio>
#include <cstdlib>

#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"

namespace qnl::test {

std::string FreshDir(const std::string& Name) {
  std::string dir = "C:\\archive-tests\\" + Name;
  DeleteTree(dir);
  ForceDirectories(dir);
  return dir;
}

std::string UnixOf(const std::string& Path) { return UnixPathOf(Path); }

int RunCommand(const std::string& Command, std::string* Output) {
  FILE* p = popen((Command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int rc = pclose(p);
  if (Output) *Output = out;
  return rc;
}

std::string SampleBytes(size_t Size, unsigned Seed) {
  static const char* const kWords[] = {"archive ", "member ", "header ", "deflate ", "disk ", "setup ", "\n", "file "};
  std::string s;
  unsigned x = Seed * 2654435761u + 1;
  while (s.size() < Size) {
    x = x * 1103515245u + 12345u;
    s += kWords[(x >> 16) & 7];
    if ((x >> 8) % 5 == 0) s += char('0' + (x >> 20) % 10);
  }
  s.resize(Size);
  return s;
}

std::string NoiseBytes(size_t Size, unsigned Seed) {
  std::string s(Size, '\0');
  uint64_t x = Seed + 0x9E3779B97F4A7C15ull;
  for (char& c : s) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    c = char(x);
  }
  return s;
}

std::string SourceDir() {
  const char* src = std::getenv("QNL_SOURCE");
  if (src && *src) return std::string(src) + "/tests/archive";
  std::string here = __FILE__;
  return here.substr(0, here.rfind('/'));
}

} // namespace qnl::test
