// Benchmark driver for bench/archive_bench.sh: adds a list of files to an archive or
// extracts every member of one, through the archive component, on Unix paths.
//   bench_archive add max|default ARCHIVE LISTFILE
//   bench_archive extract ARCHIVE OUTDIR
#include <cstdio>
#include <iostream>
#include <string>

#include "archive/TQnlfCompress.h"
#include "platform/files/FileStream.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"

using namespace qnl;

int main(int argc, char** argv) {
  try {
    std::string cmd = argc > 1 ? argv[1] : "";
    TQnlfCompress zip(nullptr);
    if (cmd == "add" && argc == 5) {
      zip.SetCompressionLevel(std::string(argv[2]) == "max" ? colMax : colDefault);
      zip.SetCompressedFile(WindowsPathOf(argv[3]));
      TFileStream list(WindowsPathOf(argv[4]), fmOpenRead);
      TStringList lines, files;
      lines.SetText(list.ReadString(list.Size()));
      for (int i = 0; i < lines.Count(); ++i) files.Add(WindowsPathOf(lines[i]));
      zip.SetFilesToProcess(files);
      zip.Add(lzcOverwrite, 0);
      std::cout << "added " << files.Count() << " files\n";
    } else if (cmd == "extract" && argc == 4) {
      zip.SetCompressedFile(WindowsPathOf(argv[2]));
      zip.SetExtractDirectory(WindowsPathOf(argv[3]));
      TStringList names;
      for (int i = 0, n = zip.GetFileCount(); i < n; ++i) names.Add(zip.FileHeaders().FileHeaders(i).FileName());
      int counter = 0;
      // Members share base names; numbered targets keep every one.
      zip.OnBeforeExtracting = [&](TQnlfCompress* Z, const TlzhFileStats&) { Z->ExtractName = IntToStr(counter++); };
      zip.SetFilesToProcess(names);
      zip.Extract();
      std::cout << "extracted " << counter << " files\n";
    } else {
      std::cerr << "usage: bench_archive add max|default ARCHIVE LISTFILE | extract ARCHIVE OUTDIR\n";
      return 2;
    }
  } catch (const std::exception& e) {
    std::cerr << "bench_archive: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
