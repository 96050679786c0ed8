// One registry hive file: load, journal, compaction and the locks between processes.
#include "platform/registry/Hive.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

namespace qnl {

namespace {

constexpr off_t kMinCompactJournal = 1 << 20;

// Holds flock on the journal for one operation.
class TJournalLock {
public:
  TJournalLock(int Fd, bool Exclusive, const std::string& File) : FFd(Fd) {
    while (flock(Fd, Exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno != EINTR) throw ERegistry("Cannot lock registry journal \"" + File + "\": " + std::strerror(errno));
    }
  }
  ~TJournalLock() { flock(FFd, LOCK_UN); }
  TJournalLock(const TJournalLock&) = delete;
  TJournalLock& operator=(const TJournalLock&) = delete;

private:
  int FFd;
};

std::vector<std::string> DefaultHeader(THive::TKind Kind) {
  if (Kind == THive::TKind::hkSystem) return {";; All keys relative to REGISTRY\\\\Machine", "#arch=win64"};
  return {";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", "#arch=win64"};
}

bool ReadAt(int Fd, std::string& Out, off_t From, off_t To) {
  Out.resize(size_t(To - From));
  size_t done = 0;
  while (done < Out.size()) {
    ssize_t n = pread(Fd, Out.data() + done, Out.size() - done, From + off_t(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    done += size_t(n);
  }
  Out.resize(done);
  return true;
}

bool WriteAt(int Fd, std::string_view Bytes, off_t At) {
  size_t done = 0;
  while (done < Bytes.size()) {
    ssize_t n = pwrite(Fd, Bytes.data() + done, Bytes.size() - done, At + off_t(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& File) {
  size_t slash = File.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : File.substr(0, slash);
}

} // namespace

THive::THive(std::string FileName, TKind Kind)
    : FFileName(std::move(FileName)), FJournalName(FFileName + ".journal"), FKind(Kind) {
  static std::atomic<uint64_t> hives{0};
  FVersion = ++hives << 32;
  OpenJournal();
  TJournalLock lock(FJournalFd, true, FJournalName);
  OpenChanges();
  SyncCounted(true);
}

THive::~THive() {
  try {
    if (FLoaded && FChanged) Flush();
  } catch (...) {
    // The journal stays; the next open replays it.
  }
  if (FChanges) munmap(FChanges, sizeof(uint64_t));
  if (FJournalFd >= 0) close(FJournalFd);
}

void THive::OpenChanges() {
  // Under the journal's exclusive lock: no other process counts while the file is made.
  std::string name = FFileName + ".changes";
  int fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return; // without the count, every read looks at the files
  struct stat st;
  void* map = MAP_FAILED;
  if (fstat(fd, &st) == 0 && (st.st_size >= off_t(sizeof(uint64_t)) || ftruncate(fd, sizeof(uint64_t)) == 0))
    map = mmap(nullptr, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  if (map != MAP_FAILED) FChanges = static_cast<uint64_t*>(map);
}

bool THive::CountUnchanged() const {
  return FChanges && FLoaded && FSeenValid &&
         std::atomic_ref<uint64_t>(*FChanges).load(std::memory_order_acquire) == FSeenChanges;
}

void THive::SyncCounted(bool Exclusive) {
  // Writers count under the exclusive lock, so under either lock the count and the files agree.
  uint64_t seen = FChanges ? std::atomic_ref<uint64_t>(*FChanges).load(std::memory_order_acquire) : 0;
  FSeenValid = false;
  Sync(Exclusive);
  FSeenChanges = seen;
  FSeenValid = FChanges != nullptr;
}

void THive::CountChange() {
  // Counted before the bytes are written: a reader that sees the new count takes the lock and
  // so waits for them; a writer killed after writing has counted already.
  if (!FChanges) return;
  FSeenChanges = std::atomic_ref<uint64_t>(*FChanges).fetch_add(1, std::memory_order_acq_rel) + 1;
}

void THive::Fail(const std::string& Operation, const std::string& File) const {
  throw ERegistry("Cannot " + Operation + " \"" + File + "\": " + std::strerror(errno));
}

THive::TFileId THive::StatHive() const {
  struct stat st;
  TFileId id;
  if (stat(FFileName.c_str(), &st) != 0) {
    if (errno != ENOENT) Fail("read registry file", FFileName);
    return id;
  }
  id.Exists = true;
  id.Dev = st.st_dev;
  id.Ino = st.st_ino;
  id.Size = st.st_size;
  id.MTimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return id;
}

void THive::OpenJournal() {
  if (FJournalFd >= 0) close(FJournalFd);
  bool existed = access(FJournalName.c_str(), F_OK) == 0;
  FJournalFd = open(FJournalName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (FJournalFd < 0) Fail("open registry journal", FJournalName);
  if (!existed) { // the new journal's directory entry must survive a crash too
    int dir = open(DirectoryOf(FJournalName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  }
  FLoaded = false;
}

void THive::Sync(bool Exclusive) {
  // A journal replaced behind our back (deleted and created again) is opened afresh.
  struct stat byName, byFd;
  if (stat(FJournalName.c_str(), &byName) != 0 || fstat(FJournalFd, &byFd) != 0 || byName.st_ino != byFd.st_ino ||
      byName.st_dev != byFd.st_dev) {
    if (!Exclusive) throw ERegistry("The registry journal \"" + FJournalName + "\" was replaced while in use");
    OpenJournal();
    if (fstat(FJournalFd, &byFd) != 0) Fail("read registry journal", FJournalName);
  }
  std::string header;
  if (!ReadAt(FJournalFd, header, 0, kJournalHeaderSize)) Fail("read registry journal", FJournalName);
  auto generation = DecodeJournalHeader(header);
  if (!generation) {
    if (byFd.st_size != 0) throw EHiveDamaged("Damaged registry journal \"" + FJournalName + "\": bad header");
    generation = 0;
  }
  TFileId id = StatHive();
  off_t size = byFd.st_size;
  FJournalSize = size;
  if (!FLoaded || id != FHiveId || *generation != FGeneration || size < FOffset) {
    FullReload(id, *generation, size);
  } else if (size > FOffset) {
    ReadJournal(FOffset, size);
  }
}

void THive::FullReload(const TFileId& Id, uint64_t Generation, off_t JournalSize) {
  FLoaded = false;
  std::unique_ptr<TKeyNode> root;
  std::vector<std::string> header;
  if (Id.Exists) {
    int fd = open(FFileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("open registry file", FFileName);
    struct stat st;
    std::string text;
    bool ok = fstat(fd, &st) == 0 && ReadAt(fd, text, 0, st.st_size);
    int savedErrno = errno;
    close(fd);
    errno = savedErrno;
    if (!ok) Fail("read registry file", FFileName);
    THiveText parsed = ParseHiveText(text, FFileName);
    root = std::move(parsed.Root);
    header = std::move(parsed.HeaderLines);
  } else {
    root = std::make_unique<TKeyNode>();
    header = DefaultHeader(FKind);
  }
  FRoot = std::move(root);
  ++FVersion;
  FHeaderLines = std::move(header);
  FHiveId = Id;
  FGeneration = Generation;
  FOffset = JournalSize >= off_t(kJournalHeaderSize) ? off_t(kJournalHeaderSize) : 0;
  if (JournalSize > FOffset && FOffset > 0) ReadJournal(FOffset, JournalSize);
  FLoaded = true;
}

void THive::ReadJournal(off_t From, off_t To) {
  std::string bytes;
  if (!ReadAt(FJournalFd, bytes, From, To)) Fail("read registry journal", FJournalName);
  std::string_view rest(bytes);
  size_t size = 0;
  while (auto record = DecodeJournalRecord(rest, size)) {
    record->ApplyTo(*FRoot);
    ++FVersion;
    rest.remove_prefix(size);
    FOffset += off_t(size);
  }
  // Bytes after the last good record are the torn tail of a killed writer; a writer
  // cuts them off before it appends (see Append).
}

void THive::Read(const std::function<void(const TKeyNode& Root)>& Inspect) {
  if (FChanges ? CountUnchanged() : UpToDate()) {
    Inspect(*FRoot);
    return;
  }
  TJournalLock lock(FJournalFd, false, FJournalName);
  SyncCounted(false);
  Inspect(*FRoot);
}

bool THive::UpToDate() const {
  // Without the shared count: nothing was appended since the tree was brought up to date, the journal is the same file
  // and the hive file was not replaced: the tree holds all there is, as a read under the lock
  // at this moment would have found it. Half the system calls of a locked look, and reads are
  // most of the registry's work.
  struct stat byFd, byName;
  if (!FLoaded || fstat(FJournalFd, &byFd) != 0 || byFd.st_size != FOffset) return false;
  if (stat(FJournalName.c_str(), &byName) != 0 || byName.st_ino != byFd.st_ino || byName.st_dev != byFd.st_dev)
    return false;
  return StatHive() == FHiveId;
}

bool THive::Change(const std::function<std::optional<TJournalRecord>(const TKeyNode& Root)>& Decide) {
  TJournalLock lock(FJournalFd, true, FJournalName);
  if (!CountUnchanged()) SyncCounted(true);
  auto record = Decide(*FRoot);
  if (!record) return false;
  Append(*record);
  CompactIfLong();
  return true;
}

void THive::Edit(const std::function<void(const TKeyNode& Root, const TAppend& Append)>& Fn) {
  TJournalLock lock(FJournalFd, true, FJournalName);
  if (!CountUnchanged()) SyncCounted(true);
  // The records of one edit go out in one write at its end, still under the lock: nobody
  // sees the hive in between, and a killed process leaves the first records of the edit at
  // worst, as one write per record would.
  FGathering = true;
  try {
    Fn(*FRoot, [this](const TJournalRecord& Record) { Append(Record); });
  } catch (...) {
    FGathering = false;
    try {
      WriteGathered();
    } catch (...) {}
    throw;
  }
  FGathering = false;
  WriteGathered();
  CompactIfLong();
}

void THive::WriteGathered() {
  if (FGathered.empty()) return;
  std::string bytes = std::move(FGathered);
  FGathered.clear();
  if (!WriteAt(FJournalFd, bytes, FOffset)) {
    int savedErrno = errno;
    if (ftruncate(FJournalFd, FOffset) != 0) { /* the torn records are cut off by the next writer */
    }
    errno = savedErrno;
    // The tree holds records the journal lacks, and the journal's size is unknown: both are
    // read afresh before their next use.
    FLoaded = false;
    FSeenValid = false;
    Fail("write registry journal", FJournalName);
  }
  FUnsynced = true;
  FOffset += off_t(bytes.size());
  FJournalSize = FOffset;
}

void THive::CompactIfLong() {
  off_t journalBytes = FOffset - off_t(kJournalHeaderSize);
  if (journalBytes > kMinCompactJournal && journalBytes > 2 * FHiveId.Size) Compact();
}

void THive::Append(const TJournalRecord& Record) {
  // Under the exclusive lock, with the tree current: FJournalSize is the journal's size, as
  // nobody else wrote since it was seen.
  CountChange();
  if (FOffset < off_t(kJournalHeaderSize)) {
    if (!WriteAt(FJournalFd, EncodeJournalHeader(FGeneration), 0)) Fail("write registry journal", FJournalName);
    FOffset = kJournalHeaderSize;
  }
  if (FJournalSize > FOffset) {
    if (ftruncate(FJournalFd, FOffset) != 0) Fail("repair registry journal", FJournalName);
    FJournalSize = FOffset;
  }
  FGathered += EncodeJournalRecord(Record);
  Record.ApplyTo(*FRoot);
  ++FVersion;
  FChanged = true;
  // Written, the record survives the death of this process at once; it reaches the disk
  // itself lazily, as Windows writes its registry, unless a key is flushed (RegFlushKey).
  // An edit's records are written together when it ends.
  if (!FGathering) WriteGathered();
}

void THive::EndBatch() {
  if (--FBatchDepth > 0 || !FUnsynced) return;
  FUnsynced = false;
  if (fdatasync(FJournalFd) != 0) Fail("write registry journal", FJournalName);
}

void THive::Flush() {
  TJournalLock lock(FJournalFd, true, FJournalName);
  // Looked at in full, never trusted to the count: the compaction writes the tree over the file.
  SyncCounted(true);
  if (FOffset > off_t(kJournalHeaderSize) || !FHiveId.Exists) Compact();
  FUnsynced = false;
}

void THive::Compact() {
  std::string text = FormatHiveText(*FRoot, FHeaderLines);
  std::string tmpName = FFileName + ".XXXXXX";
  int fd = mkstemp(tmpName.data());
  if (fd < 0) Fail("create registry file", tmpName);
  bool ok = WriteAt(fd, text, 0) && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
  int savedErrno = errno;
  close(fd);
  if (!ok || rename(tmpName.c_str(), FFileName.c_str()) != 0) {
    if (ok) savedErrno = errno;
    unlink(tmpName.c_str());
    errno = savedErrno;
    Fail("write registry file", FFileName);
  }
  int dir = open(DirectoryOf(FFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  CountChange();
  // The generation goes up before the journal is emptied: a process that still has the
  // old records applied reloads instead of reading new records at a stale offset.
  uint64_t generation = FGeneration + 1;
  if (!WriteAt(FJournalFd, EncodeJournalHeader(generation), 0) || fdatasync(FJournalFd) != 0 ||
      ftruncate(FJournalFd, kJournalHeaderSize) != 0 || fdatasync(FJournalFd) != 0)
    Fail("reset registry journal", FJournalName);
  FGeneration = generation;
  FOffset = kJournalHeaderSize;
  FJournalSize = FOffset;
  FHiveId = StatHive();
}

} // namespace qnl
