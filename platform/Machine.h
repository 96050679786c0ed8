// The emulated Windows machine: a directory laid out like a Wine prefix.
#pragma once

#include <memory>
#include <string>

#include "rtl/Exceptions.h"

namespace qnl {

class TDirectoryLock;

// The machine directory cannot be used (missing and not creatable, or in use by Wine).
QNL_EXCEPTION(EMachine, EOSError);
// A Wine server runs on the machine directory; it would overwrite our registry writes.
QNL_EXCEPTION(EMachineBusy, EMachine);

class TRegistryHives;

// One Windows machine stored in a Wine-prefix directory. Always an absolute directory;
// its registry hives are opened lazily and shared by every key of this process.
// Objects with identity: not copyable.
class TMachine {
public:
  // $WINEPREFIX when set, else $HOME/.wine (made absolute). EMachine for an empty
  // WINEPREFIX, which Wine refuses too.
  static std::string DirectoryFromEnvironment();

  // The machine this process works on, chosen by the environment. The first use (and
  // the first use after WINEPREFIX changed, as tests do) checks that no Wine server runs
  // on it and creates the skeleton when the directory has none.
  static TMachine& Current();

  // Refers to the machine in `directory` without touching the disk.
  explicit TMachine(std::string Directory);
  ~TMachine();
  TMachine(const TMachine&) = delete;
  TMachine& operator=(const TMachine&) = delete;

  const std::string& Directory() const { return FDirectory; }
  std::string DriveCDirectory() const;     // <machine>/drive_c
  std::string DosDevicesDirectory() const; // <machine>/dosdevices
  std::string SystemHiveFile() const;      // <machine>/system.reg (HKEY_LOCAL_MACHINE)
  std::string UserHiveFile() const;        // <machine>/user.reg (HKEY_CURRENT_USER)

  // True when the directory holds a whole machine: both registry hives, which creation writes
  // last.
  bool Exists() const;

  // Creates what is missing of the skeleton (windows, system32, temp, Program Files,
  // Common Files, users' folders, dosdevices c: and z:) and adds the default registry
  // values that are missing. Idempotent: values already present are left as they are.
  // Throws EMachineBusy when a Wine server runs on the directory, EMachine on OS errors.
  void Create();
  // Creates the machine unless it exists, as one step against other processes: one that finds
  // it being created waits until it is whole.
  void EnsureCreated();

  // Throws EMachineBusy naming the directory when a Wine server runs on it.
  void CheckNoWineServer() const;
  // True when a Wine server runs on this directory (its socket answers, or a wineserver
  // process works in the server directory of this prefix).
  bool WineServerRunning() const;
  // The server directory Wine uses for this prefix: /tmp/.wine-<uid>/server-<dev>-<inode>.
  std::string WineServerDirectory() const;
  // The claim of the installation running on this machine, held while it lives (a killed
  // holder gives it up); null while another process holds it.
  std::unique_ptr<TDirectoryLock> ClaimForInstallation() const;

  // The registry of this machine (opened on first use).
  TRegistryHives& Registry();

  // Flushes the hives into their .reg files (also done when the machine is destroyed).
  void Flush();

private:
  std::string FDirectory;
  std::unique_ptr<TRegistryHives> FRegistry;
};

} // namespace qnl
