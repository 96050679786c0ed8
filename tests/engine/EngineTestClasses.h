// Installation objects for the engine tests: any registered type, and a record of what
// each of them heard.
#pragma once

#include <string>
#include <vector>

#include "engine/cmp_TInstallContainer.h"
#include "paths/IInstallComponent.h"

namespace qnl::test {

// What the test objects did, in order ("Name:event").
std::vector<std::string>& Journal();

// An installation object of a chosen registered type that records the codes it receives,
// its processing and its uninstall key.
class TTestObject : public TInstallObject {
  QNL_CLASS(TTestObject, TInstallObject)
public:
  TTestObject(TComponent* AOwner, const std::string& AName, int32_t AType, bool WithContainer = false);
  int32_t RegisteredType() const override { return FType; }
  void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override;
  void InstallObjects() override;
  void WriteUninstallInfo(const std::string& Key) override;

  std::vector<int32_t> Codes;
  std::vector<TObject*> Parameters;
  std::string UninstallKey;

private:
  int32_t FType;
};

// Goes first in any helper list, whatever its registered type.
class TInstallBde : public TInstallObject {
  QNL_CLASS(TInstallBde, TInstallObject)
public:
  explicit TInstallBde(TComponent* AOwner) : TInstallObject(AOwner) {}
  int32_t RegisteredType() const override { return 3000; }
};

// An install file with a name and size.
class TTestFile : public TCustomInstallFile {
  QNL_CLASS(TTestFile, TCustomInstallFile)
public:
  TTestFile(TComponent* AOwner, const std::string& AName, int32_t Size);
};

// The install component as the path specifiers and Process see it, while it lives.
class TTestInstall : public IInstallComponent {
public:
  explicit TTestInstall(TComponent* Component, std::string ProductName);
  ~TTestInstall() override;
  TComponent* InstallComponent() override { return FComponent; }
  std::string InstallSource() const override { return "C:\\source"; }
  std::string MainInstallDir() override { return "C:\\main"; }
  std::optional<std::string> SelfExtractorArgument() const override { return std::nullopt; }

private:
  TComponent* FComponent;
};

// Names of the helpers of Container, in list order, joined with ",".
std::string HelperNames(const TInstallContainer& Container);

} // namespace qnl::test
