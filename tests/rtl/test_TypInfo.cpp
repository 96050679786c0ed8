// Published properties found by name and written through the class's own setters.
#include <gtest/gtest.h>

#include "rtl/Collection.h"
#include "rtl/Strings.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

using namespace qnl;

namespace {

QNL_ENUM(TColourish, clRed, clGreen, clBlue)
using TColourSet = TSet<TColourish>;

class TItem : public TCollectionItem {
  QNL_CLASS(TItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  int32_t FValue = 0;
};
QNL_BEGIN_CLASS(TItem).Prop("Value", &C::FValue);
QNL_END_CLASS

class TSample : public TComponent {
  QNL_CLASS(TSample, TComponent)
public:
  explicit TSample(TComponent* Owner) : TComponent(Owner) { FLines.Add("constructor"); }
  int SetterCalls = 0;
  int32_t Count() const { return FCount; }
  void SetCount(int32_t V) {
    ++SetterCalls;
    FCount = V;
  }
  int32_t FCount = 7;
  bool FFlag = false;
  TColourish FColour = clGreen;
  TColourSet FColours{clRed};
  std::string FText = "x";
  double FRatio = 1.5;
  std::string FData;
  TSample* FOther = nullptr;
  TStringList FLines;
  TOwnedCollection<TItem> FItems;
  std::function<void(TSample*)> FOnPing;
  void Pinged(TSample* S) { Pings++; }
  int Pings = 0;
};
QNL_BEGIN_CLASS(TSample)
    .Prop("Count", &C::Count, &C::SetCount)
    .Prop("Flag", &C::FFlag)
    .Prop("Colour", &C::FColour)
    .Prop("Colours", &C::FColours)
    .Prop("Text", &C::FText)
    .Prop("Ratio", &C::FRatio)
    .Binary("Data", &C::FData, &C::FData)
    .Ref<TSample>("Other", &C::FOther)
    .Sub("Lines", &C::FLines)
    .Sub("Items", &C::FItems)
    .Prop("OnPing", &C::FOnPing)
    .Method("Pinged", &C::Pinged);
QNL_END_CLASS

} // namespace

TEST(TypInfo, PropertiesHaveTheKindOfTheirValueType) {
  const TClassInfo& ci = TSample::StaticClassInfo();
  EXPECT_EQ(ci.FindProp("count")->Kind, TTypeKind::tkInteger);
  EXPECT_EQ(ci.FindProp("Flag")->Kind, TTypeKind::tkBoolean);
  EXPECT_EQ(ci.FindProp("Colour")->Kind, TTypeKind::tkEnumeration);
  EXPECT_EQ(ci.FindProp("Colours")->Kind, TTypeKind::tkSet);
  EXPECT_EQ(ci.FindProp("Text")->Kind, TTypeKind::tkString);
  EXPECT_EQ(ci.FindProp("Ratio")->Kind, TTypeKind::tkFloat);
  EXPECT_EQ(ci.FindProp("Data")->Kind, TTypeKind::tkBinary);
  EXPECT_EQ(ci.FindProp("Other")->Kind, TTypeKind::tkComponent);
  EXPECT_EQ(ci.FindProp("Lines")->Kind, TTypeKind::tkStrings);
  EXPECT_EQ(ci.FindProp("Items")->Kind, TTypeKind::tkCollection);
  EXPECT_EQ(ci.FindProp("OnPing")->Kind, TTypeKind::tkMethod);
  EXPECT_EQ(ci.FindProp("Name")->Kind, TTypeKind::tkString); // inherited
  EXPECT_EQ(ci.FindProp("Nope"), nullptr);
}

TEST(TypInfo, SettersAreTheClassesOwn) {
  TComponent owner(nullptr);
  auto* s = new TSample(&owner);
  const TClassInfo& ci = s->ClassInfo();
  ci.FindProp("Count")->SetOrd(s, 42);
  EXPECT_EQ(s->SetterCalls, 1);
  EXPECT_EQ(ci.FindProp("Count")->GetOrd(s), 42);
  ci.FindProp("Colour")->SetOrd(s, ci.FindProp("Colour")->Enum->IndexOf("CLBLUE"));
  EXPECT_EQ(s->FColour, clBlue);
  ci.FindProp("Colours")->SetOrd(s, 0b110);
  EXPECT_TRUE(s->FColours.Contains(clGreen) && s->FColours.Contains(clBlue) && !s->FColours.Contains(clRed));
  ci.FindProp("Other")->SetObj(s, s);
  EXPECT_EQ(s->FOther, s);
  auto m = ci.FindMethod("pinged");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Signature, ci.FindProp("OnPing")->EventType);
  ci.FindProp("OnPing")->SetMethod(s, m->Bind(s));
  s->FOnPing(s);
  EXPECT_EQ(s->Pings, 1);
}

TEST(TypInfo, RegistryCreatesByNameCaseInsensitively) {
  RegisterClass(TSample::StaticClassInfo());
  TComponent owner(nullptr);
  const TClassInfo* c = FindClass("tsample");
  ASSERT_NE(c, nullptr);
  TComponent* made = c->CreateComponent(&owner);
  EXPECT_EQ(made->ClassName(), "TSample");
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_THROW(GetClass("TMissing"), EClassNotFound);
}

TEST(SysUtils, IntegerConversionRefusesNumbersThatDoNotFit) {
  int64_t v = 0;
  EXPECT_TRUE(TryStrToInt("9223372036854775807", v));
  EXPECT_EQ(v, INT64_MAX);
  EXPECT_FALSE(TryStrToInt("99999999999999999999", v));
  EXPECT_FALSE(TryStrToInt("$1FFFFFFFFFFFFFFFF", v));
  EXPECT_TRUE(TryStrToInt("$ff", v));
  EXPECT_EQ(v, 255);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
}

TEST(SysUtils, FormatPlaceholders) {
  EXPECT_EQ(Format("%s has %d files, 100%%", {"Disk", 3}), "Disk has 3 files, 100%");
  EXPECT_EQ(Format("%1:s %0:s", {"a", "b"}), "b a");
  EXPECT_EQ(Format("[%5d|%-3s]", {42, "x"}), "[   42|x  ]");
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s %s", {"one"}), EConvertError);
}
