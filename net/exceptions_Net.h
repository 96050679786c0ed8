// The errors of the net locations. Their messages are not translated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/exceptions_Quenloft.h"

namespace qnl {

// The name of a WinINet error code, "Unregistered error code" for one it does not know.
std::string ErrorName(uint32_t Code);

// A host name as messages show it: without a user name or password written into it.
std::string ShownHost(std::string Hostname);

// A failed transfer: "Text. Error message NAME. Server HOST. Response from server RESPONSE",
// with the service's last error, the last-connected location's host and the server's last
// response, taken when the error is made. Code, when given, stands for the last error: a
// failure the location found itself (an HTTP status) rather than the service.
class ENIL : public ECustomQuenloftAbnormal {
public:
  explicit ENIL(const std::string& Text, std::optional<uint32_t> Code = std::nullopt);
};

QNL_EXCEPTION(ENIL_OpenSession, ENIL);
QNL_EXCEPTION(ENIL_OpenService, ENIL);
QNL_EXCEPTION(ENIL_FailDataQuery, ENIL);
QNL_EXCEPTION(ENIL_ReadFile, ENIL);
QNL_EXCEPTION(ENIL_FileNotFound, ENIL);
QNL_EXCEPTION(ENIL_FTP, ENIL);
QNL_EXCEPTION(ENIL_FTPSetDir, ENIL_FTP);
QNL_EXCEPTION(ENIL_FTPOpenFile, ENIL_FTP);
QNL_EXCEPTION(ENIL_FTPCloseFile, ENIL_FTP);
QNL_EXCEPTION(ENIL_HTTP, ENIL);
QNL_EXCEPTION(ENIL_HTTPOpenFile, ENIL_HTTP);
QNL_EXCEPTION(ENIL_HTTPSendRequest, ENIL_HTTP);
QNL_EXCEPTION(IENetList, ENIL);

// Errors outside the transfer, with their plain message.
QNL_EXCEPTION(ENIL_WriteDestFile, Exception);
QNL_EXCEPTION(ENIL_FailLoadWININET, Exception);
QNL_EXCEPTION(ENIL_FailLoadDLLProc, Exception);

} // namespace qnl
