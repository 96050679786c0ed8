// The folder browser.
#include "dialogs/routines_FileSystem.h"

#include "rtl/Exceptions.h"

namespace qnl {

QNL_BEGIN_CLASS(TOpenFolderDialog);
QNL_END_CLASS

TOpenFolderDialog::TOpenFolderDialog(TComponent* AOwner) : TComponent(AOwner) {}

TOpenFolderDialog::~TOpenFolderDialog() = default;

bool TOpenFolderDialog::Execute() { throw Exception("The folder browser is not implemented yet"); }

std::string NearestExistingDirectory(const std::string&) {
  throw Exception("NearestExistingDirectory is not implemented yet");
}

std::string LoadLibraryString(const std::string&, int) { return {}; }

} // namespace qnl
