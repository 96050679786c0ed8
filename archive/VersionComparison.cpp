// Comparing version strings and the five overwrite rules.
#include <memory>

#include "archive/ArchiveFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/TVersionResource.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// The i-th "."-separated field (from 0); nullopt-like flag when missing or empty.
bool VersionField(const std::string& V, int I, std::string& Field) {
  Field = GetField(V, I + 1, '.');
  return !Field.empty();
}

bool IsDecimal(const std::string& S) {
  if (S.empty()) return false;
  for (char c : S)
    if (c < '0' || c > '9') return false;
  return true;
}

// Compares decimal texts by value without overflowing on long digit runs.
int CompareDecimal(const std::string& A, const std::string& B) {
  size_t i = A.find_first_not_of('0'), j = B.find_first_not_of('0');
  std::string x = i == std::string::npos ? "" : A.substr(i), y = j == std::string::npos ? "" : B.substr(j);
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return x.compare(y) < 0 ? -1 : x.compare(y) > 0 ? 1 : 0;
}

// Opens the file for the date rule; a file that cannot be opened is the file-open error.
TDateTime DateForRule(const std::string& Path) {
  if (Trim(Path).empty() || !ArchiveFiles::Open(Path, ArchiveFiles::TOpenMode::omReadShared))
    throw EQnlfCompress("Cannot open %s in TVersionResource.IsFileNewerByName", {Path});
  TDateTime date = 0;
  ArchiveFiles::GetFileDate(Path, date);
  return date;
}

int ByOrder(int Cmp) { return Cmp > 0 ? nrNewer : Cmp == 0 ? nrSame : nrExistingNewer; }

int DateRule(const std::string* NewFile, TDateTime NewDate, const std::string& Existing) {
  try {
    TDateTime existingDate = DateForRule(Existing);
    if (NewFile) NewDate = DateForRule(*NewFile);
    return ByOrder(NewDate > existingDate ? 1 : NewDate == existingDate ? 0 : -1);
  } catch (const EQnlfCompress&) {
    return nrFailed;
  }
}

std::string VersionOf(const std::string& Path) {
  TVersionResource& reader = VersionResource();
  reader.SetFileName(Path);
  return reader.VersionInfo().FileVersion;
}

// Found false: a look just made found nothing at Existing, which has then neither a version nor a
// date that can be read.
int Decide(const std::string* NewFile, const std::string& NewVersion, const std::string& Existing, TOverwriteType Rule,
           TDateTime NewDate, bool Found) {
  switch (Rule) {
    case owAlways: return nrNewer;
    case owNever:
      return Found && !Trim(Existing).empty() && ArchiveFiles::FileExists(Existing) ? nrExistingNewer : nrNewer;
    case owVersion:
    case owVersionDate: {
      std::string existingVersion = Found ? VersionOf(Existing) : std::string();
      std::string candidate = NewFile ? VersionOf(*NewFile) : NewVersion;
      int cmp = CompareVersions(candidate, existingVersion);
      if (cmp != 0 || Rule == owVersion) return ByOrder(cmp);
      return Found ? DateRule(NewFile, NewDate, Existing) : nrFailed;
    }
    case owDate: return Found ? DateRule(NewFile, NewDate, Existing) : nrFailed;
  }
  return nrFailed;
}

} // namespace

int CompareVersions(const std::string& A, const std::string& B) {
  for (int i = 0;; ++i) {
    std::string a, b;
    bool hasA = VersionField(A, i, a), hasB = VersionField(B, i, b);
    if (!hasA || !hasB) return hasA == hasB ? 0 : hasA ? 1 : -1;
    int cmp = IsDecimal(a) && IsDecimal(b) ? CompareDecimal(a, b) : CompareStr(a, b);
    if (cmp != 0) return cmp < 0 ? -1 : 1;
  }
}

int IsFileNewerByName(const std::string& NewFile, const std::string& ExistingFile, TOverwriteType Rule) {
  return Decide(&NewFile, {}, ExistingFile, Rule, 0, true);
}

int IsFileNewerByInfo(const std::string& NewVersion, const std::string& ExistingFile, TOverwriteType Rule,
                      TDateTime NewDate, bool ExistingFound) {
  return Decide(nullptr, NewVersion, ExistingFile, Rule, NewDate, ExistingFound);
}

} // namespace qnl
