// The message of the net-location errors and the names of WinINet's error codes.
#include "net/exceptions_Net.h"

#include <utility>

#include "net/cmp_TNetInstallLocation.h"
#include "platform/inet/WinINet.h"

namespace qnl {

namespace {

const std::pair<uint32_t, const char*> kErrorNames[] = {
    {6, "ERROR_INVALID_HANDLE"},
    {12001, "ERROR_INTERNET_OUT_OF_HANDLES"},
    {12002, "ERROR_INTERNET_TIMEOUT"},
    {12003, "ERROR_INTERNET_EXTENDED_ERROR"},
    {12004, "ERROR_INTERNET_INTERNAL_ERROR"},
    {12005, "ERROR_INTERNET_INVALID_URL"},
    {12006, "ERROR_INTERNET_UNRECOGNIZED_SCHEME"},
    {12007, "ERROR_INTERNET_NAME_NOT_RESOLVED"},
    {12008, "ERROR_INTERNET_PROTOCOL_NOT_FOUND"},
    {12009, "ERROR_INTERNET_INVALID_OPTION"},
    {12010, "ERROR_INTERNET_BAD_OPTION_LENGTH"},
    {12011, "ERROR_INTERNET_OPTION_NOT_SETTABLE"},
    {12012, "ERROR_INTERNET_SHUTDOWN"},
    {12013, "ERROR_INTERNET_INCORRECT_USER_NAME"},
    {12014, "ERROR_INTERNET_INCORRECT_PASSWORD"},
    {12015, "ERROR_INTERNET_LOGIN_FAILURE"},
    {12016, "ERROR_INTERNET_INVALID_OPERATION"},
    {12017, "ERROR_INTERNET_OPERATION_CANCELLED"},
    {12018, "ERROR_INTERNET_INCORRECT_HANDLE_TYPE"},
    {12019, "ERROR_INTERNET_INCORRECT_HANDLE_STATE"},
    {12020, "ERROR_INTERNET_NOT_PROXY_REQUEST"},
    {12021, "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND"},
    {12022, "ERROR_INTERNET_BAD_REGISTRY_PARAMETER"},
    {12023, "ERROR_INTERNET_NO_DIRECT_ACCESS"},
    {12024, "ERROR_INTERNET_NO_CONTEXT"},
    {12025, "ERROR_INTERNET_NO_CALLBACK"},
    {12026, "ERROR_INTERNET_REQUEST_PENDING"},
    {12027, "ERROR_INTERNET_INCORRECT_FORMAT"},
    {12028, "ERROR_INTERNET_ITEM_NOT_FOUND"},
    {12029, "ERROR_INTERNET_CANNOT_CONNECT"},
    {12030, "ERROR_INTERNET_CONNECTION_ABORTED"},
    {12031, "ERROR_INTERNET_CONNECTION_RESET"},
    {12032, "ERROR_INTERNET_FORCE_RETRY"},
    {12036, "ERROR_INTERNET_HANDLE_EXISTS"},
    {12041, "ERROR_INTERNET_MIXED_SECURITY"},
    // The certificate errors of https:// locations.
    {12045, "ERROR_INTERNET_INVALID_CA"},
    {12110, "ERROR_FTP_TRANSFER_IN_PROGRESS"},
    {12111, "ERROR_FTP_DROPPED"},
    {12130, "ERROR_GOPHER_PROTOCOL_ERROR"},
    {12131, "ERROR_GOPHER_NOT_FILE"},
    {12132, "ERROR_GOPHER_DATA_ERROR"},
    {12133, "ERROR_GOPHER_END_OF_DATA"},
    {12134, "ERROR_GOPHER_INVALID_LOCATOR"},
    {12135, "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE"},
    {12136, "ERROR_GOPHER_NOT_GOPHER_PLUS"},
    {12137, "ERROR_GOPHER_ATTRIBUTE_NOT_FOUND"},
    {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR"},
    {12150, "ERROR_HTTP_HEADER_NOT_FOUND"},
    {12151, "ERROR_HTTP_DOWNLEVEL_SERVER"},
    {12152, "ERROR_HTTP_INVALID_SERVER_RESPONSE"},
    {12153, "ERROR_HTTP_INVALID_HEADER"},
    {12154, "ERROR_HTTP_INVALID_QUERY_REQUEST"},
    {12155, "ERROR_HTTP_HEADER_ALREADY_EXISTS"},
    {12157, "ERROR_INTERNET_SECURITY_CHANNEL_ERROR"},
};

std::string LastConnectedHost() {
  TCustomNetInstallLocation* location = LastConnectedLocation();
  return location ? ShownHost(location->LoginInformation()->FHostname) : "";
}

} // namespace

std::string ShownHost(std::string Hostname) {
  size_t scheme = Hostname.find("://");
  size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  size_t at = Hostname.find('@', start);
  if (at != std::string::npos && Hostname.find('/', start) > at) Hostname.erase(start, at + 1 - start);
  return Hostname;
}

std::string ErrorName(uint32_t Code) {
  for (const auto& [code, name] : kErrorNames)
    if (code == Code) return name;
  return "Unregistered error code";
}

ENIL::ENIL(const std::string& Text, std::optional<uint32_t> Code)
    : ECustomQuenloftAbnormal(Text + ". Error message " + ErrorName(Code.value_or(InetLastError())) + ". Server " +
                              LastConnectedHost() + ". Response from server " + LastResponseText()) {}

} // namespace qnl
