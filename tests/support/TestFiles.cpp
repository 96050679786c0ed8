// Whole-file reads and writes of the tests.
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/files/WinPaths.h"

namespace qnl::test {

std::string ReadFile(const std::string& UnixPath) {
  std::ifstream in(UnixPath, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& UnixPath, const std::string& Bytes) {
  std::filesystem::path path(UnixPath);
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << Bytes;
}

std::string ReadMachineFile(const std::string& WindowsPath) { return ReadFile(UnixPathOf(WindowsPath)); }

void WriteMachineFile(const std::string& WindowsPath, const std::string& Bytes) {
  WriteFile(UnixPathOf(WindowsPath), Bytes);
}

std::string MachineTree(const std::string& WindowsDir) {
  std::filesystem::path root(UnixPathOf(WindowsDir));
  std::error_code ec;
  std::vector<std::string> paths;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec); !ec && it != decltype(it)(); it.increment(ec))
    paths.push_back(std::filesystem::relative(it->path(), root).string() + (it->is_directory() ? "/" : ""));
  std::sort(paths.begin(), paths.end());
  std::string tree;
  for (const std::string& path : paths) tree += path + "\n";
  return tree;
}

} // namespace qnl::test
