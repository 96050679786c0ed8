// The event types: for each, its name and the names of its handler's parameters, registered
// once per type, so that an author learns what a handler receives.
#pragma once

#include <string>
#include <typeindex>
#include <vector>

namespace qnl {

struct TPropInfo;

// One event type. Signature is the typeid of its std::function; ParameterNames follow its
// parameters in order.
struct TEventTypeInfo {
  std::string Name;
  std::type_index Signature = typeid(void);
  std::vector<std::string> ParameterNames;
};

void RegisterEventType(const std::string& Name, std::type_index Signature, std::vector<std::string> ParameterNames);
// Registers the event type F (a std::function) as Name.
template <class F>
void RegisterEventType(const std::string& Name, std::vector<std::string> ParameterNames) {
  RegisterEventType(Name, typeid(F), std::move(ParameterNames));
}

// The event type of an event property: the one its registration names, else the only one
// registered with its signature; null when there is none, or several and it names none.
const TEventTypeInfo* EventTypeOf(const TPropInfo& Prop);

} // namespace qnl
