// Installation objects for the engine tests.
#include "EngineTestClasses.h"
#include "engine/InstallSession.h"

namespace qnl::test {

std::vector<std::string>& Journal() {
  static std::vector<std::string> journal;
  return journal;
}

QNL_BEGIN_CLASS(TTestObject);
QNL_END_CLASS

TTestObject::TTestObject(TComponent* AOwner, const std::string& AName, int32_t AType, bool WithContainer)
    : TInstallObject(AOwner), FType(AType) {
  SetName(AName);
  SetProcessWithContainer(WithContainer);
}

void TTestObject::InformationEvent(TObject* Sender, int32_t Code, TObject* PO) {
  Codes.push_back(Code);
  Parameters.push_back(PO);
  Journal().push_back(Name() + ":" + std::to_string(Code));
}

void TTestObject::InstallObjects() {
  Journal().push_back(Name() + ":InstallObjects");
  inherited::InstallObjects();
}

void TTestObject::WriteUninstallInfo(const std::string& Key) { UninstallKey = Key; }

QNL_BEGIN_CLASS(TInstallBde);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTestFile);
QNL_END_CLASS

TTestFile::TTestFile(TComponent* AOwner, const std::string& AName, int32_t Size) : TCustomInstallFile(AOwner) {
  SetName(AName);
  SetFileName(AName + ".dat");
  SetSourceSize(Size);
}

TTestInstall::TTestInstall(TComponent* Component, std::string ProductName) : FComponent(Component) {
  SetCurrentInstallComponent(this);
  InstallSession().RunState.ProductName = [ProductName] { return ProductName; };
}

TTestInstall::~TTestInstall() {
  SetCurrentInstallComponent(nullptr);
  InstallSession().RunState = TInstallRunState{};
}

std::string HelperNames(const TInstallContainer& Container) {
  std::string names;
  for (int i = 0; i < Container.HelperCount(); ++i) names += (i ? "," : "") + Container.Helpers(i)->Name();
  return names;
}

} // namespace qnl::test
