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
bool VersionField(const std::string& v, int i, std::string& field) {
  field = GetField(v, i + 1, '.');
  return !field.empty();
}

bool IsDecimal(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Compares decimal texts by value without overflowing on long digit runs.
int CompareDecimal(const std::string& a, const std::string& b) {
  size_t i = a.find_first_not_of('0'), j = b.find_first_not_of('0');
  std::string x = i == std::string::npos ? "" : a.substr(i), y = j == std::string::npos ? "" : b.substr(j);
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return x.compare(y) < 0 ? -1 : x.compare(y) > 0 ? 1 : 0;
}

// Opens the file for the date rule; a file that cannot be opened is the file-open error.
TDateTime DateForRule(const std::string& path) {
  if (Trim(path).empty() || !ArchiveFiles::Open(path, ArchiveFiles::TOpenMode::ReadShared))
    throw EQnlfCompress("Cannot open %s in TVersionResource.IsFileNewerByName", {path});
  TDateTime date = 0;
  ArchiveFiles::GetFileDate(path, date);
  return date;
}

int ByOrder(int cmp) { return cmp > 0 ? nrNewer : cmp == 0 ? nrSame : nrExistingNewer; }

int DateRule(const std::string* newFile, TDateTime newDate, const std::string& existing) {
  try {
    TDateTime existingDate = DateForRule(existing);
    if (newFile) newDate = DateForRule(*newFile);
    return ByOrder(newDate > existingDate ? 1 : newDate == existingDate ? 0 : -1);
  } catch (const EQnlfCompress&) {
    return nrFailed;
  }
}

std::string VersionOf(const std::string& path) {
  TVersionResource& reader = VersionResource();
  reader.SetFileName(path);
  return reader.VersionInfo().FileVersion;
}

int Decide(const std::string* newFile, const std::string& newVersion, const std::string& existing,
           TOverwriteType rule, TDateTime newDate) {
  switch (rule) {
  case owAlways: return nrNewer;
  case owNever: return !Trim(existing).empty() && ArchiveFiles::FileExists(existing) ? nrExistingNewer : nrNewer;
  case owVersion:
  case owVersionDate: {
    std::string existingVersion = VersionOf(existing);
    std::string candidate = newFile ? VersionOf(*newFile) : newVersion;
    int cmp = CompareVersions(candidate, existingVersion);
    if (cmp != 0 || rule == owVersion) return ByOrder(cmp);
    return DateRule(newFile, newDate, existing);
  }
  case owDate: return DateRule(newFile, newDate, existing);
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
  return Decide(&NewFile, {}, ExistingFile, Rule, 0);
}

int IsFileNewerByInfo(const std::string& NewVersion, const std::string& ExistingFile, TOverwriteType Rule,
                      TDateTime NewDate) {
  return Decide(nullptr, NewVersion, ExistingFile, Rule, NewDate);
}

} // namespace qnl
