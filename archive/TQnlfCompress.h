// The archive component: adds files to an archive, extracts members, copies files and
// spreads an archive over disks.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "archive/ArchiveFiles.h"
#include "archive/TCompressionStream.h"
#include "archive/TFileHeaders.h"
#include "archive/TlzhFileStats.h"
#include "common/types_Quenloft.h"
#include "rtl/Classes.h"
#include "rtl/Strings.h"

namespace qnl {

class TQnlfCompress;
class TDeflatePipeline;
class TInflateAhead;
struct TDeflatedMember;
struct TInflatedMember;
struct TMemberPlace;
// Progress and member events; the record is the component's own and read-only for handlers.
using TlzhFileStatsEvent = std::function<void(TQnlfCompress* QnlfCompress, const TlzhFileStats& FileStats)>;
// A disk file is needed; Path is the directory where it is expected and may be changed.
using TlzhNewDiskEvent = std::function<void(TQnlfCompress* QnlfCompress, int DiskNumber, std::string& Path)>;

constexpr int kMaxUniqueID = 1999;

// Works on one archive named by CompressedFile. It never shows anything: disks, progress
// and replacements go out through its events. Every operation resets Abort when it starts,
// ends with FilesToProcess empty and every file it opened closed, and sets Abort when it fails.
class TQnlfCompress : public TComponent {
  QNL_CLASS(TQnlfCompress, TComponent)
public:
  explicit TQnlfCompress(TComponent* AOwner);
  ~TQnlfCompress() override;

  bool Abort() const { return FAbort; }
  void SetAbort(bool Value) { FAbort = Value; }
  const std::string& CompressedFile() const { return FCompressedFile; }
  // A name that differs other than in its extension marks the table not open.
  void SetCompressedFile(const std::string& Value);
  TCompressionLevel CompressionLevel() const { return FCompressionLevel; }
  void SetCompressionLevel(TCompressionLevel Value) { FCompressionLevel = Value; }
  const std::string& ExtractDirectory() const { return FExtractDirectory; }
  void SetExtractDirectory(const std::string& Value) { FExtractDirectory = Value; }
  TStrings& FilesToProcess() { return FFilesToProcess; }
  const TStrings& FilesToProcess() const { return FFilesToProcess; }
  // Copies Value without its blank entries.
  void SetFilesToProcess(const TStrings& Value);
  int32_t Offset() const { return FOffset; }
  void SetOffset(int32_t Value);
  TOverwriteType Overwrite() const { return FOverwrite; }
  void SetOverwrite(TOverwriteType Value) { FOverwrite = Value; }

  TNotifyEvent OnAborted;
  TlzhFileStatsEvent OnAfterAdding, OnBeforeAdding, OnAfterExtracting, OnBeforeExtracting, OnListing, OnReplace,
      OnStatus;
  TNotifyEvent OnFullDisk;
  TlzhNewDiskEvent OnNewDisk;

  // The destination name of the next member Extract writes; blank: the member's own name.
  std::string ExtractName;

  void Add(TlzhCommand Command, int32_t UniqueID);
  // The source files that later Add calls are about to take, in order: they may be deflated
  // ahead on the other cores. A hint: a file that changed since, or is not added, costs nothing
  // but the work done ahead. Forget drops what is expected and what was done ahead, and closes
  // the archive the Add calls kept open.
  void ExpectSources(const std::vector<std::string>& Paths);
  void ForgetExpectedSources();
  void Extract();
  // Where the members of Archive named in Dirs (member name, target directory) will be
  // extracted: from the first Extract on, they are written ahead on the other cores into
  // partial files there. A hint: a member that goes elsewhere at its turn, or is not extracted,
  // costs nothing but the work done ahead.
  void ExpectDestinations(const std::string& Archive, const std::vector<std::pair<std::string, std::string>>& Dirs);
  // A single-file archive stays open between members. Forget closes it, ends the work ahead,
  // removes what was written ahead and not taken, and drops the destinations expected (an
  // installation's pass ends).
  void ForgetReadAhead();
  // The members put in place from what was written ahead, since the component was made.
  int InflatedAhead() const { return FInflatedAhead; }
  void CopyFile(const std::string& Source, const std::string& Dest);
  void SpanToDisks(const std::string& Directory, const std::string& FileName);
  int GetFileCount();
  TlzhFileStats GetFileStats(int Index);
  int IndexOfUniqueID(int32_t ID) const;
  void OpenArchive();
  // A destination accepted fewer bytes than were written.
  virtual void DiskFull();
  // The progress routine of Add.
  void AddStatus();

  bool IsOpen() const { return FOpen; }
  int CurrentDisk() const { return FCurrentDisk; }
  const TFileHeaders& FileHeaders() const { return FHeaders; }
  const TlzhFileStats& Stats() const { return FStats; }

  // Lets pending window messages be processed at every progress point; set by the GUI.
  static void SetMessagePump(std::function<void()> Pump);

protected:
  // Every file the operations open or create goes through here (nullptr on failure).
  virtual std::unique_ptr<TStream> OpenFile(const std::string& Path, ArchiveFiles::TOpenMode Mode);

private:
  // ResetTotals of the table, from FOpenTotals while the archive is open.
  void ResetTotals(TlzhFileStats& Stats) const;
  enum class TMode { mdNone, mdAdding, mdExtracting };
  // Runs an operation's body under the failure rules shared by Add, Extract and SpanToDisks.
  void RunOperation(const std::function<void()>& Body, bool SwallowSilentAbort);
  void CloseFiles();
  void ProcessMessages();
  void CheckAbort();
  void FireStatus(const TlzhFileStatsEvent& Event);
  void OpenDiskFile(int DiskNumber, ArchiveFiles::TOpenMode Mode, std::string& Name, std::unique_ptr<TStream>& Slot);

  struct TAppendCache;
  void DoAdd(TlzhCommand Command, int32_t UniqueID, const TAppendCache& Cache, std::unique_ptr<TStream> Held);
  // Held, the archive the last Add left open, when this Add appends to it as it was left.
  std::unique_ptr<TStream> HeldDestFor(TlzhCommand Command, const TAppendCache& Cache,
                                       std::unique_ptr<TStream> Held) const;
  static std::string SourceNameOf(const TFileHeader& Header);
  void AddOneFile(int Index, int32_t UniqueID, std::unique_ptr<TStream> Opened);
  int64_t DeflateSource(const std::string& Name);
  int64_t WriteDeflated(const TDeflatedMember& Deflated);
  int64_t WriteChunks(const std::string& Name);
  std::function<std::unique_ptr<TStream>(const std::string&)> OpenSource();
  void DoExtract();
  std::string FormTarget() const;
  void ExtractMember(int Index, TFileHeader& Header, const std::string& Target);
  void WriteMember(const TFileHeader& Header, const std::string& Target);
  void PutWrittenAhead(const TFileHeader& Header, TInflatedMember& Member, const std::string& Target);
  void RemovePartialLeftovers(const std::string& Dir);
  void Decompress(const TFileHeader& Header);
  // Writes one inflated block with its progress call; false for the empty block that ends.
  bool WriteBlock(const TFileHeader& Header, const void* Data, size_t Count);
  // The checks before a block of Count bytes is written (false for the empty block that
  // ends), and the progress after Written bytes were.
  bool BeginBlock(const TFileHeader& Header, size_t Count);
  void EndBlock(int64_t Written);
  std::optional<TInflatedMember> TakeInflated(int Index);
  std::optional<TMemberPlace> PlaceOf(int Index);
  void DoSpan(const std::string& Directory, const std::string& FileName);
  bool CopySpanChunk(const TFileHeader& Header, std::string& Directory, const std::string& FileName);

  bool FAbort = false;
  std::string FCompressedFile;
  TCompressionLevel FCompressionLevel = colMax;
  std::string FExtractDirectory;
  TStringList FFilesToProcess;
  int32_t FOffset = 0;
  TOverwriteType FOverwrite = owAlways;

  TMode FMode = TMode::mdNone;
  int FCurrentDisk = 0;
  std::unique_ptr<TStream> FSource, FDest;
  // The source position progress reports while a member deflated ahead is written.
  std::optional<int64_t> FReplayPosition;
  std::unique_ptr<TDeflatePipeline> FPipeline;
  std::unique_ptr<TInflateAhead> FReadAhead;
  // The destinations expected: the archive, and the target directory by upper-case member name.
  std::string FExpectedArchive;
  std::unordered_map<std::string, std::string> FExpectedDirs;
  std::map<std::string, std::optional<std::string>> FHostDirs; // of the directories expected
  // A single-file archive stays open from one member to the next while its table does: an
  // installation extracts its members one call at a time.
  std::unique_ptr<TStream> FHeldArchive;
  std::string FHeldArchiveName;
  // The identity of the archive file FSource was opened on, looked at once per opening (the
  // held archive keeps it): an open handle names one file however long it stays open.
  std::optional<std::optional<TFileIdentity>> FSourceIdentity;
  int FInflatedAhead = 0;
  TlzhFileStats FStats;
  TFileHeaders FHeaders;
  // The table's totals as OpenArchive read it: the table does not change while the archive
  // stays open, and installing asks for them once per file.
  TlzhFileStats FOpenTotals;
  bool FOpen = false;
  std::array<int, kMaxUniqueID + 1> FUniqueIndex{};
  // The directories (upper case) whose leftover partial files were removed.
  std::set<std::string> FSweptDirectories;
  // The headers of the archive the last Add wrote, for the next Add to the same archive: a
  // project's files are added one call each, and re-reading the whole table every time
  // would make a build quadratic in the number of files.
  struct TAppendCache {
    bool Valid = false;
    std::string File;
    int64_t Size = 0;
    int Count = 0;            // headers in the table then
    TFileHeaders::TSums Sums; // their sizes added up
  } FAppendCache;
  // The archive the last Add wrote, open while FAppendCache is for it.
  std::unique_ptr<TStream> FHeldDest;
};

// The program's one archive component, created on first use and freed at exit.
TQnlfCompress& QnlfCompress();

} // namespace qnl
