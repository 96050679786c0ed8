// The emulated Windows machine: its directory, skeleton and Wine-server check.
#include "platform/Machine.h"

#include "platform/registry/Registry.h"

namespace qnl {

std::string TMachine::DirectoryFromEnvironment() { throw ENotImplemented("TMachine::DirectoryFromEnvironment"); }
TMachine& TMachine::Current() { throw ENotImplemented("TMachine::Current"); }
TMachine::TMachine(std::string directory) : FDirectory(std::move(directory)) {}
TMachine::~TMachine() = default;
std::string TMachine::DriveCDirectory() const { return FDirectory + "/drive_c"; }
std::string TMachine::DosDevicesDirectory() const { return FDirectory + "/dosdevices"; }
std::string TMachine::SystemHiveFile() const { return FDirectory + "/system.reg"; }
std::string TMachine::UserHiveFile() const { return FDirectory + "/user.reg"; }
bool TMachine::Exists() const { throw ENotImplemented("TMachine::Exists"); }
void TMachine::Create() { throw ENotImplemented("TMachine::Create"); }
void TMachine::CheckNoWineServer() const { throw ENotImplemented("TMachine::CheckNoWineServer"); }
bool TMachine::WineServerRunning() const { throw ENotImplemented("TMachine::WineServerRunning"); }
std::string TMachine::WineServerDirectory() const { throw ENotImplemented("TMachine::WineServerDirectory"); }
TRegistryHives& TMachine::Registry() { throw ENotImplemented("TMachine::Registry"); }
void TMachine::Flush() { throw ENotImplemented("TMachine::Flush"); }

} // namespace qnl
