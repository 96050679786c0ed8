// Reading a binary form resource into an existing root component (the main form).
#pragma once

#include <string>
#include <vector>

#include "rtl/AnsiCodePage.h"
#include "rtl/Classes.h"
#include "rtl/Streams.h"

namespace qnl {

// Reads the form resource at Stream's position into Root: the stored component name
// becomes Root's name, Root's properties are assigned, and every child record creates a
// component of the registered class with Root as its owner. References between
// components are resolved by name after the whole stream; events bind to published
// methods of Root's class; then every component read gets its loaded notification, the
// root first and the children in stream order. Byte strings keep their bytes; wide strings
// (written by other tools) become bytes of CodePage, the machine's ANSI code page.
//
// The reader raises only these errors (the message names the component, the property
// and the value where there is one):
//   EReadError      the resource is malformed ("Invalid stream format", "Stream read error", ...)
//   EClassNotFound  a child's class is not registered ("Class TFoo not found"; an EFilerError)
//   EPropertyError  an unknown property, a value of the wrong kind, an unknown identifier,
//                   a missing or mismatching event method, a wide string holding a
//                   character that CodePage cannot hold
// Errors raised by the components themselves (in constructors, setters, Loaded) pass
// unchanged. On any failure the components this read created are freed and nothing of
// the read stays pending.
void ReadRootComponent(TStream& Stream, TComponent* Root, const TAnsiCodePage& CodePage = CodePage1252());

// One thing a read could not take: the component (its name, or its class when unnamed), the
// property path where there is one ("Font.Name", "Items[0].Caption") and what is wrong.
struct TFormProblem {
  std::string Component;
  std::string Property;
  std::string Message;
};

// Reads as ReadRootComponent does, but goes on past everything but a malformed resource
// (EReadError): a property it cannot set keeps its default, a component of an unknown class
// or one that refuses to be made is left out with what it holds, a reference to a component
// the resource does not have is a problem too; each is added to Problems. The components read
// stay, for a look at the project as far as it could be read.
void ReadRootComponentNoting(TStream& Stream, TComponent* Root, const TAnsiCodePage& CodePage,
                             std::vector<TFormProblem>& Problems);

} // namespace qnl
