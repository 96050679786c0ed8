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

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string SetText(const TPropInfo& p, int64_t mask) {
  std::string out = "[";
  for (int i = 0; i < 32; ++i) {
    if (!((mask >> i) & 1)) continue;
    if (out.size() > 1) out += ", ";
    std::string name = p.Enum ? p.Enum->NameOf(i) : std::string();
    out += name.empty() ? std::to_string(i) : name;
  }
  return out + "]";
}

// The value of one property worth showing, or empty.
std::string ValueText(const TObject& obj, const TPropInfo& p, bool isRoot) {
  switch (p.Kind) {
    case TTypeKind::tkString: {
      std::string v = p.GetStr(&obj);
      return v.empty() ? std::string() : Quoted(v);
    }
    case TTypeKind::tkInteger: {
      int64_t v = p.GetOrd(&obj);
      if (v == 0) return std::string();
      std::string ident;
      if (p.Idents && p.Idents->IntToIdent(v, ident)) return ident;
      return std::to_string(v);
    }
    case TTypeKind::tkEnumeration: return p.Enum->NameOf(static_cast<int>(p.GetOrd(&obj)));
    case TTypeKind::tkSet: return SetText(p, p.GetOrd(&obj));
    case TTypeKind::tkComponent: {
      auto* ref = dynamic_cast<TComponent*>(p.GetObj(&obj));
      return ref ? ref->Name() : std::string();
    }
    case TTypeKind::tkStrings: {
      auto* list = dynamic_cast<TStrings*>(p.GetObj(&obj));
      if (!list || list->Count() == 0) return std::string();
      return "(" + std::to_string(list->Count()) + (list->Count() == 1 ? " line)" : " lines)");
    }
    default: return std::string();
  }
}

std::string Line(const TComponent& c, bool isRoot) {
  std::string line = c.Name() + ": " + c.ClassName();
  for (const TPropInfo* p : c.ClassInfo().AllProps()) {
    const std::string& n = p->Name;
    // The name is shown already, the container by the indentation; a non-visual
    // component's design position means nothing at run time.
    if (n == "Name" || n == "Container") continue;
    if (!isRoot && (n == "Left" || n == "Top")) continue;
    if (isRoot && p->Kind == TTypeKind::tkEnumeration) continue; // window styles: noise
    std::string v = ValueText(c, *p, isRoot);
    if (!v.empty()) line += " " + n + "=" + v;
  }
  return line + "\n";
}

TComponent* ContainerOf(const TComponent& root, const TComponent& c) {
  const TPropInfo* p = c.ClassInfo().FindProp("Container");
  if (!p || p->Kind != TTypeKind::tkComponent) return nullptr;
  auto* container = dynamic_cast<TComponent*>(p->GetObj(&c));
  return container && container->Owner() == &root ? container : nullptr;
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
  std::function<void(const TComponent*, int)> walk = [&](const TComponent* c, int depth) {
    if (!shown.insert(c).second) return;
    out += std::string(2 * depth, ' ') + Line(*c, false);
    for (const TComponent* child : children[c]) walk(child, depth + 1);
  };
  for (const TComponent* c : top) walk(c, 1);
  // Components caught in a circle of containers have no way up to the root: list them too.
  for (int i = 0; i < Root.ComponentCount(); ++i) walk(Root.Components(i), 1);
  return out;
}

} // namespace qnl
