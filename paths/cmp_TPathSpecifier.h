// Path specifiers: components that name a location symbolically and give its absolute path.
#pragma once

#include <functional>
#include <string>

#include "common/exceptions_Quenloft.h"
#include "paths/IInstallComponent.h"
#include "rtl/Classes.h"

namespace qnl {

QNL_IEXCEPTION(IEPathSpecifier, IException);
QNL_IEXCEPTION(IEPathSpecifierList, IException);
QNL_IEXCEPTION(IEPathSpecifierClassList, IException);

// OnGetPath: the client component asking, and the path to give it (in/out).
using TGetPathEvent = std::function<void(TComponent* Component, std::string& Path)>;

// A named location. Every instance is in the process-wide list of path specifiers
// from its construction to its destruction. Paths it returns have no trailing backslash.
class TCustomPathSpecifier : public TComponent {
  QNL_CLASS(TCustomPathSpecifier, TComponent)
public:
  explicit TCustomPathSpecifier(TComponent* AOwner);
  ~TCustomPathSpecifier() override;

  // Raises IEPathSpecifier when Component may not use this specifier; the base allows all.
  virtual void Validate(TComponent* Component) const;
  virtual std::string GetDescription() const;
  virtual std::string GetDescriptionFor(TComponent* Component) const;
  // The absolute path for Component; the base gives an empty text passed through OnGetPath.
  virtual std::string GetPath(TComponent* Component) const;
  virtual std::string GetShortName() const;
  virtual std::string GetShortNameFor(TComponent* Component) const;

  // The name a standard instance gets when it is created automatically.
  const std::string& DefaultName() const { return FDefaultName; }
  const TGetPathEvent& OnGetPath() const { return FOnGetPath; }
  void SetOnGetPath(TGetPathEvent Value) { FOnGetPath = std::move(Value); }

protected:
  std::string FDefaultName;

private:
  TGetPathEvent FOnGetPath;
};

// A built-in specifier; every instance is also in the list of standard specifiers.
class TStandardPathSpecifier : public TCustomPathSpecifier {
  QNL_CLASS(TStandardPathSpecifier, TCustomPathSpecifier)
public:
  explicit TStandardPathSpecifier(TComponent* AOwner);
  ~TStandardPathSpecifier() override;
};

} // namespace qnl
