// Archive member headers in memory: one member header and the ordered header table.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/TFileHeaderRecord.h"
#include "archive/TlzhFileStats.h"
#include "rtl/Classes.h"
#include "rtl/Streams.h"

namespace qnl {

class TStrings;

// One member header: the 172-byte record and whether it was read from an archive.
class TFileHeader : public TObject, public TFileHeaderRecord {
  QNL_CLASS(TFileHeader, TObject)
public:
  TFileHeader() = default;
  explicit TFileHeader(const TFileHeaderRecord& Rec) : TFileHeaderRecord(Rec) {}
  bool InArchive = false;
  // The whole path the member is read from when it is added (FileName is its MemberNameOf);
  // empty for a header read from an archive.
  std::string SourcePath;
};

// The header table of one archive: owns its headers, in archive order (index = position),
// and the layout flag read and written with the table head.
class TFileHeaders : public TObject {
  QNL_CLASS(TFileHeaders, TObject)
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // EQnlfCompress "%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders".
  TFileHeader& FileHeaders(int Index) const;
  // Takes ownership; a header whose trimmed FileName is empty raises EQnlfCompress.
  int Add(std::unique_ptr<TFileHeader> Header);
  void Clear() {
    FItems.clear();
    FByName.clear();
    FSourceByName.clear();
  }
  // First header stored under MemberNameOf(Name) (ASCII case ignored); -1 when none is.
  int IndexOfName(const std::string& Name) const;
  // Headers for source files, each entry a whole path; Keep leaves the table in front. Two
  // different paths that would be stored under one name raise EQnlfCompress naming both.
  // With Opened, the first kKeptOpen files stay open there (the rest as nullptr), for the Add
  // that writes them next not to open them again.
  void AddFiles(const TStrings& Files, bool Keep, std::vector<std::unique_ptr<TStream>>* Opened = nullptr);
  static constexpr int kKeptOpen = 16;
  // Reads the table head and follows NextHeader from ArchiveStart.
  void ReadHeaders(TStream& Stream, int64_t ArchiveStart);
  // Writes the table head at 0 and, in the spanned layout, every header behind it.
  void WriteHeaders(TStream& Stream);
  // Writes one header at the stream's position; a short write raises EQnlfCompress.
  static void WriteHeader(TStream& Stream, const TFileHeaderRecord& Header);
  void ResetTotals(TlzhFileStats& Stats) const;
  // The compressed and the file sizes of the headers from From on, added up.
  struct TSums {
    int64_t Compressed = 0, Size = 0;
  };
  TSums SumFrom(int From) const;
  // ResetTotals when the sums of the headers before From are known already: a build adds one
  // file at a time, and adding up the whole table for each would make it quadratic.
  void ResetTotals(TlzhFileStats& Stats, const TSums& Before, int From) const;

  uint8_t Spanned = 0;

private:
  void CheckNewName(const std::string& SourcePath, const std::string& StoredName) const;
  std::vector<std::unique_ptr<TFileHeader>> FItems;
  // The first index of each upper-case name as added: installing looks a member up per file.
  std::unordered_map<std::string, int> FByName;
  // The first index of each upper-case name among the headers added with a source path: every
  // other one of that name came from the same path, so the clash check of a new file looks at
  // that one header instead of walking the table.
  std::unordered_map<std::string, int> FSourceByName;
};

} // namespace qnl
