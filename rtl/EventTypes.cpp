// The event types.
#include "rtl/EventTypes.h"

#include <map>

#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

namespace qnl {

namespace {

std::map<std::string, TEventTypeInfo>& EventTypes() {
  static std::map<std::string, TEventTypeInfo> types; // by upper-case name
  return types;
}

} // namespace

void RegisterEventType(const std::string& Name, std::type_index Signature, std::vector<std::string> ParameterNames) {
  EventTypes().insert_or_assign(UpperCase(Name), TEventTypeInfo{Name, Signature, std::move(ParameterNames)});
}

const TEventTypeInfo* EventTypeOf(const TPropInfo& Prop) {
  if (Prop.Kind != TTypeKind::tkMethod) return nullptr;
  if (!Prop.EventTypeName.empty()) {
    auto it = EventTypes().find(UpperCase(Prop.EventTypeName));
    return it != EventTypes().end() && it->second.Signature == Prop.EventType ? &it->second : nullptr;
  }
  const TEventTypeInfo* found = nullptr;
  for (const auto& [key, type] : EventTypes()) {
    if (type.Signature != Prop.EventType) continue;
    if (found) return nullptr; // several: the property must name its own
    found = &type;
  }
  return found;
}

} // namespace qnl
