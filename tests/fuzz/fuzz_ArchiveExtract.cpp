// libFuzzer target: any bytes read as an archive (its header table, then every member
// extracted) end in one of the archive's errors, never in a crash or a hang, and nothing
// is written outside the extract directory. Run with WINEPREFIX pointing at a scratch machine.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/EQnlfCompress.h"
#include "archive/TQnlfCompress.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"

using namespace qnl;

namespace {
const std::string kRoot = "C:\\fuzz-archive";
const std::string kArchive = kRoot + "\\archive.1";
const std::string kOut = kRoot + "\\out";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    TMemoryStream m(bytes);
    TFileHeaders headers;
    try {
      headers.ReadHeaders(m, 0);
    } catch (const EQnlfCompress&) {}
  }
  DeleteTree(kRoot);
  ForceDirectories(kOut);
  {
    TFileStream f(kArchive, fmCreate);
    f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  TQnlfCompress zip(nullptr);
  zip.SetCompressedFile(kArchive);
  zip.SetExtractDirectory(kOut);
  try {
    int count = zip.GetFileCount();
    for (int i = 0; i < count && i < 16; ++i) {
      TStringList names;
      names.Add(zip.FileHeaders().FileHeaders(i).FileName());
      zip.SetFilesToProcess(names);
      try {
        zip.Extract();
      } catch (const Exception&) {}
    }
  } catch (const Exception&) {}
  for (const TDirEntry& e : ListDirectory(kRoot))
    if (!SameText(e.Name, "archive.1") && !SameText(e.Name, "out")) std::abort(); // escaped the directory
  return 0;
}
