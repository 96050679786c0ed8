// A readable listing of a loaded project.
#include "setup/DebugTree.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "rtl/Strings.h"
#include "rtl/TypInfo.h"

namespace qnl {

namespace {

std::string Quoted(const std::string& S) {
  std::string out = "'";
  for (char c : S) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string SetText(const TPropInfo& P, int64_t Mask) {
  std::string out = "[";
  for (int i = 0; i < 32; ++i) {
    if (!((Mask >> i) & 1)) continue;
    if (out.size() > 1) out += ", ";
    std::string name = P.Enum ? P.Enum->NameOf(i) : std::string();
    out += name.empty() ? std::to_string(i) : name;
  }
  return out + "]";
}

// The value of one property worth showing, or empty.
std::string ValueText(const TObject& Obj, const TPropInfo& P, bool IsRoot) {
  switch (P.Kind) {
    case TTypeKind::tkString: {
      std::string v = P.GetStr(&Obj);
      return v.empty() ? std::string() : Quoted(v);
    }
    case TTypeKind::tkInteger: {
      int64_t v = P.GetOrd(&Obj);
      if (v == 0) return std::string();
      std::string ident;
      if (P.Idents && P.Idents->IntToIdent(v, ident)) return ident;
      return std::to_string(v);
    }
    case TTypeKind::tkEnumeration: return P.Enum->NameOf(static_cast<int>(P.GetOrd(&Obj)));
    case TTypeKind::tkSet: return SetText(P, P.GetOrd(&Obj));
    case TTypeKind::tkComponent: {
      auto* ref = dynamic_cast<TComponent*>(P.GetObj(&Obj));
      return ref ? ref->Name() : std::string();
    }
    case TTypeKind::tkStrings: {
      auto* list = dynamic_cast<TStrings*>(P.GetObj(&Obj));
      if (!list || list->Count() == 0) return std::string();
      return "(" + std::to_string(list->Count()) + (list->Count() == 1 ? " line)" : " lines)");
    }
    default: return std::string();
  }
}

std::string Line(const TComponent& C, bool IsRoot) {
  std::string line = C.Name() + ": " + C.ClassName();
  for (const TPropInfo* p : C.ClassInfo().AllProps()) {
    const std::string& n = p->Name;
    // The name is shown already, the container by the indentation; a non-visual
    // component's design position means nothing at run time.
    if (n == "Name" || n == "Container") continue;
    if (!IsRoot && (n == "Left" || n == "Top")) continue;
    if (IsRoot && p->Kind == TTypeKind::tkEnumeration) continue; // window styles: noise
    std::string v = ValueText(C, *p, IsRoot);
    if (!v.empty()) line += " " + n + "=" + v;
  }
  return line + "\n";
}

TComponent* ContainerOf(const TComponent& Root, const TComponent& C) {
  const TPropInfo* p = C.ClassInfo().FindProp("Container");
  if (!p || p->Kind != TTypeKind::tkComponent) return nullptr;
  auto* container = dynamic_cast<TComponent*>(p->GetObj(&C));
  return container && container->Owner() == &Root ? container : nullptr;
}

} // namespace

std::string DescribeComponentTree(const TComponent& Root) {
  std::map<const TComponent*, std::vector<const TComponent*>> children;
  std::vector<const TComponent*> top;
  for (int i = 0; i < Root.ComponentCount(); ++i) {
    const TComponent* c = Root.Components(i);
    if (TComponent* container = ContainerOf(Root, *c))
      children[container].push_back(c);
    else
      top.push_back(c);
  }
  std::string out = Line(Root, true);
  std::set<const TComponent*> shown;
  std::function<void(const TComponent*, int)> walk = [&](const TComponent* C, int Depth) {
    if (!shown.insert(C).second) return;
    out += std::string(2 * Depth, ' ') + Line(*C, false);
    for (const TComponent* child : children[C]) walk(child, Depth + 1);
  };
  for (const TComponent* c : top) walk(c, 1);
  // Components caught in a circle of containers have no way up to the root: list them too.
  for (int i = 0; i < Root.ComponentCount(); ++i) walk(Root.Components(i), 1);
  return out;
}

} // namespace qnl
