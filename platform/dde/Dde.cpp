// DDE: the services that answer a client's connection.
#include "platform/dde/Dde.h"

#include "platform/dde/ProgmanServer.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"

namespace qnl {

std::unique_ptr<TDdeConversation> TDdeConversation::Connect(std::string_view Service, std::string_view Topic) {
  if (GetEnvironmentVariable("QNL_NO_PROGMAN").value_or("") == "1") return nullptr;
  if (SameText(Service, "PROGMAN") && SameText(Topic, "PROGMAN")) return std::make_unique<dde::TProgmanConversation>();
  return nullptr;
}

} // namespace qnl
