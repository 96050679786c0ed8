// What an author needs to know of each registered class, read from the class registry: its
// ancestor, its published properties with the values a new instance has, and its events.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qnl {

class TComponent;
struct TClassInfo;

namespace tool {

struct TPropertyEntry {
  std::string Name; // nested objects' properties by their dotted path (Font.Name)
  std::string Type;
  std::string Default;               // as written in a text form; empty when a new instance could not be made
  std::vector<std::string> Values;   // an enumeration's or a set's members, an integer's identifiers
  bool ValuesAreIdentifiers = false; // an integer that also takes these names (clBtnFace)
  bool Stored = true;                // a form written from a new instance carries it
};

// One parameter of an event's handler, as an author writes it: "var CanClose: Boolean".
struct TEventParameter {
  std::string Mode; // "var" for one the handler may change, "const", or empty
  std::string Name; // empty when the event type is not registered
  std::string Type;
};

struct TEventEntry {
  std::string Name;
  std::string Type; // the registered event type (TNotifyEvent); empty when unknown
  std::vector<TEventParameter> Parameters;
};

// "Sender: TObject; var CanClose: Boolean".
std::string ParameterList(const TEventEntry& Event);

struct TClassEntry {
  std::string Name;
  std::string Ancestor;
  bool Creatable = false; // a form can name it in an object line
  std::vector<TPropertyEntry> Properties;
  std::vector<TEventEntry> Events;
};

// Makes a new instance of a class to read its defaults (null when it cannot).
using TInstanceFactory = std::function<TComponent*(const TClassInfo&)>;

// Classes in the given order; every published property including the ancestors'.
std::vector<TClassEntry> DescribeClasses(const std::vector<const TClassInfo*>& Classes,
                                         const TInstanceFactory& CreateInstance);

// The three forms the tool prints: plain text, JSON and the Markdown reference.
std::string ReferenceText(const std::vector<TClassEntry>& Classes);
std::string ReferenceJson(const std::vector<TClassEntry>& Classes);
std::string ReferenceMarkdown(const std::vector<TClassEntry>& Classes);

} // namespace tool
} // namespace qnl
