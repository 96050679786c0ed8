// The built-in specifiers relative to the requesting object's container.
#include "engine/ContainerPathSpecifiers.h"

#include "engine/TFileContainer.h"
#include "paths/StandardPathSpecifier.h"

namespace qnl {

namespace {
constexpr int32_t GroupRegisteredType = 500;

std::string NameOf(const TComponent* Component) { return Component ? Component->Name() : "nil"; }

// The component as an installation object, or IEPathSpecifier naming the specifier.
TInstallObject& RequireInstallObject(TComponent* Component, const std::string& SpecifierName) {
  auto* object = dynamic_cast<TInstallObject*>(Component);
  if (!object)
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                          {NameOf(Component), "TInstallObject", SpecifierName});
  return *object;
}

bool IsInstallComponent(const TComponent* Component) {
  IInstallComponent* install = CurrentInstallComponent();
  return install && Component && install->InstallComponent() == Component;
}

// How a container is named in a description: the Description of a file container (groups
// included), the component name of any other container.
std::string ContainerLabel(const TInstallContainer* Container) {
  if (const auto* files = dynamic_cast<const TFileContainer*>(Container)) return files->Description();
  return Container->Name();
}

bool IsGroup(const TInstallContainer* Container) {
  const auto* files = dynamic_cast<const TFileContainer*>(Container);
  return files && files->RegisteredType() == GroupRegisteredType;
}
} // namespace

QNL_DEFINE_STANDARD_SPECIFIER(TpsContainerDestDir, "Path of the group (container)", "Path of the group (container)")

void TpsContainerDestDir::Validate(TComponent* Component) const {
  TInstallObject& object = RequireInstallObject(Component, DefaultName());
  if (!object.Container())
    throw IEPathSpecifier("Cannot use ddContainerDestDir for %s unless you assign a Container", {Component->Name()});
}

std::string TpsContainerDestDir::GetPath(TComponent* Component) const {
  Validate(Component);
  return static_cast<TInstallObject*>(Component)->Container()->GetDestDir();
}

namespace {
// The container a description names, or nullptr when the specifier cannot be used for Component
// (the description is then the specifier's own).
TInstallContainer* DescribedContainer(const TpsContainerDestDir& Specifier, TComponent* Component) {
  try {
    Specifier.Validate(Component);
  } catch (const IEPathSpecifier&) {
    return nullptr;
  }
  return static_cast<TInstallObject*>(Component)->Container();
}
} // namespace

std::string TpsContainerDestDir::GetDescriptionFor(TComponent* Component) const {
  TInstallContainer* container = DescribedContainer(*this, Component);
  if (!container) return GetDescription();
  if (IsInstallComponent(container)) return "Main installation directory";
  if (IsGroup(container)) return Format(TranslateMessage("Path of the <%s> group"), {ContainerLabel(container)});
  if (dynamic_cast<TFileContainer*>(container))
    return Format(TranslateMessage("Path of the <%s> directory"), {ContainerLabel(container)});
  return Format(TranslateMessage("Path of the <%s> group"), {container->Name()});
}

std::string TpsContainerDestDir::GetShortNameFor(TComponent* Component) const {
  TInstallContainer* container = DescribedContainer(*this, Component);
  if (!container) return GetDescription();
  if (IsInstallComponent(container)) return "Main installation directory";
  return "<" + ContainerLabel(container) + ">";
}

QNL_DEFINE_STANDARD_SPECIFIER(TpsContainerArchiveFile, "Path to the archive file of the container",
                              "Container archive file")

void TpsContainerArchiveFile::Validate(TComponent* Component) const {
  TInstallObject& object = RequireInstallObject(Component, DefaultName());
  if (!object.Container())
    throw IEPathSpecifier("Cannot use ddContainerArchiveFile for %s unless you assign a Container",
                          {Component->Name()});
  if (!dynamic_cast<TFileRelated*>(object.Container()))
    throw IEPathSpecifier("Cannot use the ddContainerArchiveFile path specifier for %s because the Container is "
                          "not a TFileRelated descendant",
                          {Component->Name()});
}

std::string TpsContainerArchiveFile::GetPath(TComponent* Component) const {
  Validate(Component);
  return static_cast<TFileRelated*>(static_cast<TInstallObject*>(Component)->Container())->GetArchivePath();
}

} // namespace qnl
