// Component classes for the form-streaming tests.
#include "tests/rtl/FormFixtureClasses.h"

#include "rtl/TypInfo.h"

namespace qnl::test {

std::vector<std::string>& StreamLog() {
  static std::vector<std::string> log;
  return log;
}

static const TIdentMap& ColorIdents() {
  static const TIdentMap map{{{"clBlack", 0}, {"clWhite", 0xFFFFFF}, {"clBtnFace", -16777201}}};
  return map;
}

QNL_BEGIN_CLASS(TTestFont)
    .Prop("Name", &C::FName)
    .Prop("Size", &C::FSize)
    .Prop("Color", &C::FColor)
    .WithIdents(ColorIdents())
    .Prop("Style", &C::FStyle);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTestItem)
    .Prop("Value", &C::FValue)
    .Prop("Text", &C::FText)
    .Ref<TTestComp>("Other", &C::FOther)
    .Sub("Sub", &C::FSub);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTestComp)
    .Prop("Count", &C::Count, &C::SetCount)
    .Prop("Flag", &C::FFlag)
    .Prop("Kind", &C::FKind)
    .Prop("Kinds", &C::FKinds)
    .Prop("Wide", &C::FWide)
    .Prop("Text", &C::FText)
    .Prop("Ratio", &C::FRatio)
    .Prop("Color", &C::FColor)
    .WithIdents(ColorIdents())
    .Prop("Big", &C::FBig)
    .Binary("Data", &C::FData, &C::FData)
    .Ref<TTestComp>("Other", &C::FOther)
    .Sub("Lines", &C::FLines)
    .Sub("Items", &C::FItems)
    .Sub("Font", &C::FFont)
    .Prop("OnChange", &C::FOnChange)
    .Prop("OnValue", &C::FOnValue);
QNL_END_CLASS

TTestComp::~TTestComp() { Destroying(); }

void TTestComp::SetCount(int32_t V) {
  ++CountSetterCalls;
  CountSetWhileLoading = IsLoading();
  FCount = V;
}

void TTestComp::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FOther) FOther = nullptr;
}

void TTestComp::Loaded() {
  StateAtLoaded = IsLoading();
  StreamLog().push_back("Loaded " + Name());
  TComponent::Loaded();
}

QNL_BEGIN_CLASS(TTestOther);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTestForm)
    .Prop("Caption", &C::FCaption)
    .Method("Comp1Change", &C::Comp1Change)
    .Method("Comp1Value", &C::Comp1Value);
QNL_END_CLASS

void TTestForm::Loaded() {
  StreamLog().push_back("Loaded " + Name());
  TComponent::Loaded();
}

void RegisterFormTestClasses() {
  RegisterClass(TTestComp::StaticClassInfo());
  RegisterClass(TTestOther::StaticClassInfo());
  RegisterClass(TTestForm::StaticClassInfo());
}

} // namespace qnl::test
