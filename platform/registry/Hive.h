// One registry hive file of the machine, shared safely between processes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/registry/HiveJournal.h"
#include "platform/registry/HiveTree.h"

namespace qnl {

// A hive (system.reg or user.reg) open in this process. Its tree is always the .reg
// file plus the records of "<file>.journal", brought up to date under the journal's lock
// before every read and every change, so this process sees what others wrote. Every change
// made through this class, by any process, first counts up a number shared in
// "<file>.changes" (mapped into memory): while it stays what this object last saw, the tree
// is current and a read costs no system call. A hive file replaced some other way (an editor,
// a copy) is noticed once that number moves, or when the hive is opened again.
// A change is appended to the journal before the call returns, so that it outlives this
// process even when it is killed right after; like Windows' registry it reaches the disk
// lazily unless flushed (Flush, RegFlushKey). The cost does not depend on the hive's size.
// The journal is compacted into the .reg file (written aside, then renamed over it) when it
// grows past twice the hive's size, on Flush, and when a hive object that changed the hive
// closes. A hive object that only read never writes.
class THive {
public:
  enum class TKind { hkSystem, hkUser };

  // Loads the hive; EHiveDamaged when the .reg file cannot be parsed, ERegistry on OS errors.
  THive(std::string FileName, TKind Kind);
  // Compacts the journal into the .reg file when this object changed the hive; errors are
  // swallowed (a later open replays the journal).
  ~THive();
  THive(const THive&) = delete;
  THive& operator=(const THive&) = delete;

  const std::string& FileName() const { return FFileName; }

  // Calls `inspect` with the up-to-date tree (under a shared lock).
  void Read(const std::function<void(const TKeyNode& Root)>& Inspect);
  // Calls `decide` with the up-to-date tree (under the exclusive lock); the record it
  // returns is made durable and applied. Returns whether a record was written.
  bool Change(const std::function<std::optional<TJournalRecord>(const TKeyNode& Root)>& Decide);
  // Calls `edit` with the up-to-date tree under the exclusive lock. Each record it passes to
  // its second argument is applied before that call returns, so the rest of `edit` sees it;
  // the records are made durable together when `edit` ends (also by an exception), and no
  // other process changes the hive in between: a read and the writes that depend on it are
  // one step.
  using TAppend = std::function<void(const TJournalRecord& Record)>;
  void Edit(const std::function<void(const TKeyNode& Root, const TAppend& Append)>& Fn);
  // Compacts the journal into the .reg file now.
  void Flush();
  // A number that grows with every change of the tree this object has seen: its own, another
  // process's (once a Read or Change brought it in) and a reload. Equal numbers, equal trees;
  // two hive objects of one process never share a number.
  uint64_t Version() const { return FVersion; }
  // At EndBatch the changes made since BeginBatch are synced to the disk together.
  void BeginBatch() { ++FBatchDepth; }
  void EndBatch();

private:
  struct TFileId {
    bool Exists = false;
    dev_t Dev = 0;
    ino_t Ino = 0;
    off_t Size = 0;
    int64_t MTimeNs = 0;
    bool operator==(const TFileId&) const = default;
  };

  TFileId StatHive() const;
  bool UpToDate() const;
  void OpenChanges();
  // Whether the shared change count is the one seen when the tree was last brought up to date.
  bool CountUnchanged() const;
  void SyncCounted(bool Exclusive);
  void CountChange();
  void OpenJournal();
  void Sync(bool Exclusive);
  void FullReload(const TFileId& Id, uint64_t Generation, off_t JournalSize);
  void ReadJournal(off_t From, off_t To);
  void Append(const TJournalRecord& Record);
  void WriteGathered();
  void CompactIfLong();
  void Compact();
  [[noreturn]] void Fail(const std::string& Operation, const std::string& File) const;

  std::string FFileName;
  std::string FJournalName;
  TKind FKind;
  int FJournalFd = -1;
  std::unique_ptr<TKeyNode> FRoot;
  std::vector<std::string> FHeaderLines;
  TFileId FHiveId;
  uint64_t FGeneration = 0;
  off_t FOffset = 0; // end of the last good journal record applied to FRoot
  bool FLoaded = false;
  int FBatchDepth = 0;
  bool FUnsynced = false;
  bool FChanged = false;   // this object appended to the journal
  bool FGathering = false; // inside Edit: records wait in FGathered, applied, for one write
  std::string FGathered;
  uint64_t FVersion = 0;
  off_t FJournalSize = 0;       // the journal's size as last seen under the exclusive lock
  uint64_t* FChanges = nullptr; // the shared change count; nullptr: look at the files instead
  uint64_t FSeenChanges = 0;    // the count FRoot is current for
  bool FSeenValid = false;
};

} // namespace qnl
