// Undoing the self-registration of an installed ActiveX server.
#include "uninstall/ActiveXServers.h"

#include "platform/process/Library.h"
#include "platform/process/Process.h"
#include "rtl/SysUtils.h"

namespace qnl {

std::string UnregisterActiveX(const std::string& Path, bool Program) {
  if (Program) {
    try {
      // Unlike the registration, the removal that follows needs the program to be done.
      int status = RunAndWait("\"" + Path + "\" /UNREGSERVER");
      return status == 0 ? std::string() : "\"" + Path + " /UNREGSERVER\" ended with status " + IntToStr(status);
    } catch (const Exception& e) {
      return e.Message();
    }
  }
  std::unique_ptr<TLibrary> library = TLibrary::Load(Path);
  if (!library) return "the library " + Path + " could not be loaded: " + LibraryLastErrorText();
  TEntryPoint entry = library->ProcAddress("DllUnregisterServer");
  if (!entry) return "the library " + Path + " has no DllUnregisterServer";
  int32_t result = entry();
  return result == 0 ? std::string() : "DllUnregisterServer of " + Path + " returned " + IntToStr(result);
}

} // namespace qnl
