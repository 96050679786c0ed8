// Component classes that the form-streaming tests and the reader's fuzz target read into.
#pragma once

#include <string>
#include <vector>

#include "rtl/Classes.h"
#include "rtl/Collection.h"
#include "rtl/Strings.h"

namespace qnl::test {

QNL_ENUM(TTestKind, tkFirst, tkSecond, tkThird)
using TTestKinds = TSet<TTestKind>;
// More members than a set can hold: those above 31 are dropped when read.
QNL_ENUM(TWideEnum, we0, we1, we2, we3, we4, we5, we6, we7, we8, we9, we10, we11, we12, we13, we14, we15, we16, we17,
         we18, we19, we20, we21, we22, we23, we24, we25, we26, we27, we28, we29, we30, we31, we32, we33)
using TWideSet = TSet<TWideEnum>;

// What the components did while being read, in order ("Loaded Comp1", ...).
std::vector<std::string>& StreamLog();

// A nested persistent object reached by a dotted path (Font.Name).
class TTestFont : public TPersistent {
  QNL_CLASS(TTestFont, TPersistent)
public:
  std::string FName = "Default";
  int32_t FSize = 8;
  int32_t FColor = 0;
  TTestKinds FStyle;
};

class TTestComp;

class TTestItem : public TCollectionItem {
  QNL_CLASS(TTestItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  int32_t FValue = 0;
  std::string FText;
  TTestComp* FOther = nullptr;
  TOwnedCollection<TTestItem> FSub; // collections inside collection items
};

// A component with a published property of every kind.
class TTestComp : public TComponent {
  QNL_CLASS(TTestComp, TComponent)
public:
  explicit TTestComp(TComponent* AOwner) : TComponent(AOwner) { FLines.Add("constructor line"); }
  ~TTestComp() override;

  int32_t Count() const { return FCount; }
  void SetCount(int32_t V);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void SetParentComponent(TComponent* Value) override { FParent = Value; }

  int32_t FCount = 7;
  int CountSetterCalls = 0;
  bool CountSetWhileLoading = false;
  bool FFlag = false;
  TTestKind FKind = tkSecond;
  TTestKinds FKinds{tkFirst};
  TWideSet FWide;
  std::string FText = "constructor text";
  double FRatio = 0.5;
  int32_t FColor = 0;
  int64_t FBig = 0;
  std::string FData;
  TTestComp* FOther = nullptr;
  TStringList FLines;
  TOwnedCollection<TTestItem> FItems;
  TTestFont FFont;
  TNotifyEvent FOnChange;
  std::function<void(TObject*, int)> FOnValue;
  TComponent* FParent = nullptr;
  bool StateAtLoaded = false; // csLoading was still set when Loaded ran
};

// A component of another class, for references of the wrong class.
class TTestOther : public TComponent {
  QNL_CLASS(TTestOther, TComponent)
public:
  using TComponent::TComponent;
};

// The root form of the tests, with its published event handlers.
class TTestForm : public TComponent {
  QNL_CLASS(TTestForm, TComponent)
public:
  explicit TTestForm(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  void Loaded() override;
  void Comp1Change(TObject* Sender) { ++ChangeCalls; }
  void Comp1Value(TObject* Sender, int Value) { LastValue = Value; }
  std::string FCaption;
  int ChangeCalls = 0;
  int LastValue = 0;
};

// Registers the classes above with the class registry (idempotent).
void RegisterFormTestClasses();

} // namespace qnl::test
