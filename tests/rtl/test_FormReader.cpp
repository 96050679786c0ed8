// Reading binary form resources into components: fixtures converted by Free Pascal.
#include <gtest/gtest.h>

#include <memory>

#include "rtl/FormReader.h"
#include "rtl/FormText.h"
#include "rtl/FormValues.h"
#include "tests/rtl/FormFixtureClasses.h"
#include "tests/rtl/FormTestSupport.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class FormReader : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormTestClasses();
    StreamLog().clear();
    FOrm = std::make_unique<TTestForm>();
  }
  // Reads Binary into Form.
  void Read(const std::string& Binary) {
    TMemoryStream stream(Binary);
    ReadRootComponent(stream, FOrm.get());
  }
  void ReadText(const std::string& Text) { Read(FpcBinary(Text)); }
  TTestComp* Comp(const char* Name) { return dynamic_cast<TTestComp*>(FOrm->FindComponent(Name)); }
  // The message of the error that reading Binary raises, which must be of class E.
  template <class E>
  std::string ErrorOf(const std::string& Binary) {
    try {
      Read(Binary);
    } catch (const E& e) {
      return e.Message();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "wrong exception class: " << e.what();
      return e.what();
    }
    ADD_FAILURE() << "no error";
    return "";
  }
  std::unique_ptr<TTestForm> FOrm;
};

const char* kFullForm = R"(object Form1: TTestForm
  Caption = 'Main window'
  object Comp1: TTestComp
    Count = 300
    Flag = True
    Kind = tkThird
    Kinds = [tkFirst, tkThird]
    Text = 'It''s'#13#10'here'
    Ratio = 1.25
    Color = clBtnFace
    Big = 70000
    Data = {
      00FF10}
    Other = Comp2
    Lines.Strings = (
      'one'
      'two')
    Items = <
      item
        Value = 1
        Text = 'first'
        Other = Comp2
      end
      item
        Value = -2
        Sub = <
          item
            Text = 'inner'
          end>
      end>
    Font.Name = 'Arial'
    Font.Size = 10
    Font.Color = clWhite
    Font.Style = [tkSecond]
    OnChange = Comp1Change
    OnValue = Comp1Value
    object Comp3: TTestComp
      Count = -5
    end
  end
  object Comp2: TTestComp
    Other = Comp1
    Wide = [we0, we31, we33]
    Kinds = []
  end
end
)";

} // namespace

TEST_F(FormReader, ReadsEveryPropertyKindFromFpcOutput) {
  ReadText(kFullForm);
  EXPECT_EQ(FOrm->Name(), "Form1");
  EXPECT_EQ(FOrm->FCaption, "Main window");
  TTestComp* c1 = Comp("Comp1");
  ASSERT_NE(c1, nullptr);
  EXPECT_EQ(c1->FCount, 300);
  EXPECT_TRUE(c1->FFlag);
  EXPECT_EQ(c1->FKind, tkThird);
  EXPECT_EQ(c1->FKinds, (TTestKinds{tkFirst, tkThird}));
  EXPECT_EQ(c1->FText, "It's\r\nhere");
  EXPECT_DOUBLE_EQ(c1->FRatio, 1.25);
  EXPECT_EQ(c1->FColor, -16777201);
  EXPECT_EQ(c1->FBig, 70000);
  EXPECT_EQ(c1->FData, std::string("\x00\xFF\x10", 3));
  EXPECT_EQ(c1->FOther, Comp("Comp2"));
  ASSERT_EQ(c1->FLines.Count(), 2); // the constructor's line is replaced
  EXPECT_EQ(c1->FLines[1], "two");
  ASSERT_EQ(c1->FItems.Count(), 2);
  EXPECT_EQ(c1->FItems.Items(0)->FText, "first");
  EXPECT_EQ(c1->FItems.Items(0)->FOther, Comp("Comp2"));
  EXPECT_EQ(c1->FItems.Items(1)->FValue, -2);
  EXPECT_EQ(c1->FItems.Items(1)->FSub.Items(0)->FText, "inner");
  EXPECT_EQ(c1->FFont.FName, "Arial");
  EXPECT_EQ(c1->FFont.FSize, 10);
  EXPECT_EQ(c1->FFont.FColor, 0xFFFFFF);
  EXPECT_EQ(c1->FFont.FStyle, TTestKinds{tkSecond});
  ASSERT_TRUE(c1->FOnChange && c1->FOnValue);
  c1->FOnChange(c1);
  c1->FOnValue(c1, 42);
  EXPECT_EQ(FOrm->ChangeCalls, 1);
  EXPECT_EQ(FOrm->LastValue, 42);
  EXPECT_EQ(Comp("Comp3")->FCount, -5);
  EXPECT_EQ(Comp("Comp3")->Owner(), FOrm.get()); // the root owns every component read
  EXPECT_TRUE(Comp("Comp2")->FKinds.Empty());
}

TEST_F(FormReader, SetMembersAbove31AreIgnored) {
  ReadText(kFullForm);
  EXPECT_EQ(Comp("Comp2")->FWide.Mask(), (1u << 0) | (1u << 31));
}

TEST_F(FormReader, ChildrenAreToldTheComponentWhoseRecordHoldsThem) {
  ReadText(kFullForm);
  EXPECT_EQ(Comp("Comp1")->FParent, FOrm.get());
  EXPECT_EQ(Comp("Comp3")->FParent, Comp("Comp1"));
}

TEST_F(FormReader, IntegersReadTheSameWhateverTheirSize) {
  for (int code : {2, 3, 4}) {
    SCOPED_TRACE(code);
    TBinBuilder b;
    b.Signature().Object("TTestForm", "F").End().Object("TTestComp", "C").Prop("Count").Byte(code);
    b.Le(static_cast<uint64_t>(-7), code == 2 ? 1 : code == 3 ? 2 : 4).End().End().End();
    FOrm = std::make_unique<TTestForm>();
    Read(b.Bytes);
    EXPECT_EQ(Comp("C")->FCount, -7);
  }
}

TEST_F(FormReader, ReadsCodesNoTextFormWrites) {
  TBinBuilder b;
  b.Signature().Object("TTestForm", "F").End().Object("TTestComp", "C");
  b.Prop("Ratio").Byte(15).Le(0x3FC00000, 4); // single 1.5
  b.Prop("Big").Byte(2).Byte(1);
  b.Prop("Text").Byte(18).Le(3, 4).Le('a', 2).Le(0x20AC, 2).Le(0xE9, 2); // wide string
  b.Prop("Kind").Byte(7).Short("tkFirst");
  b.Prop("Other").Byte(0);     // Null: a name never found
  b.Prop("OnChange").Byte(13); // nil: no handler
  b.End().End().End();
  Read(b.Bytes);
  TTestComp* c = Comp("C");
  EXPECT_DOUBLE_EQ(c->FRatio, 1.5);
  EXPECT_EQ(c->FText, "a\x80\xE9"); // in the code page, 1252 here
  EXPECT_EQ(c->FKind, tkFirst);
  EXPECT_EQ(c->FOther, nullptr);
  EXPECT_FALSE(c->FOnChange);

  TBinBuilder cur;
  cur.Signature().Object("TTestForm", "F").End().Object("TTestComp", "C");
  cur.Prop("Ratio").Byte(16).Le(static_cast<uint64_t>(-123456), 8).End().End().End(); // currency
  FOrm = std::make_unique<TTestForm>();
  Read(cur.Bytes);
  EXPECT_DOUBLE_EQ(Comp("C")->FRatio, -12.3456);

  TBinBuilder date;
  date.Signature().Object("TTestForm", "F").End().Object("TTestComp", "C");
  date.Prop("Ratio").Byte(17).Le(0x40E5F90000000000ull, 8).End().End().End(); // 45000.0
  FOrm = std::make_unique<TTestForm>();
  Read(date.Bytes);
  EXPECT_DOUBLE_EQ(Comp("C")->FRatio, 45000.0);
}

TEST_F(FormReader, LongStringsAndIntegerFloats) {
  std::string text(300, 'x');
  ReadText("object F: TTestForm\n object C: TTestComp\n  Text = '" + text + "'\n  Ratio = 3\n end\nend\n");
  EXPECT_EQ(Comp("C")->FText, text);
  EXPECT_DOUBLE_EQ(Comp("C")->FRatio, 3.0);
}

TEST_F(FormReader, ReferenceToALaterComponentIsResolved) {
  ReadText(kFullForm);
  EXPECT_EQ(Comp("Comp1")->FOther, Comp("Comp2")); // Comp2 comes after Comp1
  EXPECT_EQ(Comp("Comp2")->FOther, Comp("Comp1"));
}

TEST_F(FormReader, ReferencesResolveCaseInsensitivelyAndToTheRoot) {
  ReadText("object F: TTestForm\n object C: TTestComp\n  Other = c\n end\n object D: TTestComp\n  Other = NOPE\n "
           "end\nend\n");
  EXPECT_EQ(Comp("C")->FOther, Comp("C"));
  EXPECT_EQ(Comp("D")->FOther, nullptr); // unresolved: left empty
}

TEST_F(FormReader, ReferenceToAComponentOfTheWrongClassIsAValueError) {
  std::string msg = ErrorOf<EPropertyError>(
      FpcBinary("object F: TTestForm\n object C: TTestComp\n  Other = O\n end\n object O: TTestOther\n end\nend\n"));
  EXPECT_EQ(msg, "Error reading C.Other: Invalid property value 'O'");
  EXPECT_EQ(FOrm->ComponentCount(), 0);
}

TEST_F(FormReader, AbsentPropertyKeepsTheConstructorValue) {
  ReadText("object F: TTestForm\n object C: TTestComp\n end\nend\n");
  TTestComp* c = Comp("C");
  EXPECT_EQ(c->FCount, 7);
  EXPECT_EQ(c->CountSetterCalls, 0);
  EXPECT_EQ(c->FText, "constructor text");
  EXPECT_EQ(c->FLines.Count(), 1);
  EXPECT_EQ(c->FFont.FName, "Default");
}

TEST_F(FormReader, PresentPropertyGoesThroughItsSetterWhileLoading) {
  ReadText("object F: TTestForm\n object C: TTestComp\n  Count = 7\n end\nend\n"); // equals the default
  TTestComp* c = Comp("C");
  EXPECT_EQ(c->CountSetterCalls, 1);
  EXPECT_TRUE(c->CountSetWhileLoading);
  EXPECT_FALSE(c->IsLoading());
  EXPECT_FALSE(c->ComponentState().Contains(csReading));
  EXPECT_FALSE(FOrm->IsLoading());
}

TEST_F(FormReader, LoadedRunsRootFirstThenInStreamOrderWhileStillLoading) {
  ReadText(kFullForm);
  EXPECT_EQ(StreamLog(), (std::vector<std::string>{"Loaded Form1", "Loaded Comp1", "Loaded Comp3", "Loaded Comp2"}));
  EXPECT_TRUE(Comp("Comp1")->StateAtLoaded);
  EXPECT_FALSE(Comp("Comp1")->IsLoading());
}

TEST_F(FormReader, WrongSignatureIsAnInvalidStreamFormat) {
  EXPECT_EQ(ErrorOf<EReadError>("TPF1\x05TForm\x01"
                                "F\0\0"),
            "Invalid stream format");
  EXPECT_EQ(ErrorOf<EReadError>("TP"), "Invalid stream format");
  EXPECT_EQ(ErrorOf<EReadError>(""), "Invalid stream format");
}

TEST_F(FormReader, ErrorsNameComponentPropertyAndValue) {
  struct {
    const char* Label;
    const char* Props;
    const char* Message;
  } rows[] = {
      {"string for integer", "Count = 'abc'", "Error reading C.Count: Invalid property value 'abc'"},
      {"integer for string", "Text = 5", "Error reading C.Text: Invalid property value '5'"},
      {"unknown enum identifier", "Kind = tkFourth", "Error reading C.Kind: Invalid property value 'tkFourth'"},
      {"integer for enum", "Kind = 1", "Error reading C.Kind: Invalid property value '1'"},
      {"unknown set member", "Kinds = [tkFirst, tkNone]", "Error reading C.Kinds: Invalid property value 'tkNone'"},
      {"unknown colour identifier", "Color = clPurple", "Error reading C.Color: Invalid property value 'clPurple'"},
      {"boolean identifier", "Flag = Maybe", "Error reading C.Flag: Invalid property value 'Maybe'"},
      {"set for binary", "Data = []", "Error reading C.Data: Invalid property value"},
      {"unknown property", "Foo = 1", "Error reading C.Foo: Property Foo does not exist"},
      {"unknown nested property", "Font.Foo = 1", "Error reading C.Font.Foo: Property Font.Foo does not exist"},
      {"path through a scalar", "Count.X = 1", "Error reading C.Count.X: Property Count has no properties of its own"},
      {"item property", "Items = <item Nope = 1 end>", "Error reading C.Items[0].Nope: Property Nope does not exist"},
      {"non-string line", "Lines.Strings = ('a' 1)", "Error reading C.Lines.Strings: Invalid property value '1'"},
      {"character the code page lacks", "Text = 'a'#20013",
       "Error reading C.Text: The character U+4E2D is not in the ANSI code page 1252"},
      {"line the code page lacks", "Lines.Strings = ('a' #1044)",
       "Error reading C.Lines.Strings: The character U+0414 is not in the ANSI code page 1252"},
      {"missing method", "OnChange = Comp1Gone",
       "Error reading C.OnChange: Method Comp1Gone is not a published method of TTestForm"},
      {"method of another type", "OnChange = Comp1Value",
       "Error reading C.OnChange: Method Comp1Value of TTestForm does not match the type of event OnChange"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    FOrm = std::make_unique<TTestForm>();
    std::string text = std::string("object F: TTestForm\n object C: TTestComp\n  ") + row.Props + "\n end\nend\n";
    EXPECT_EQ(ErrorOf<EPropertyError>(FpcBinary(text)), row.Message);
    EXPECT_EQ(FOrm->ComponentCount(), 0);
  }
}

TEST_F(FormReader, UnknownClassIsNamed) {
  std::string msg = ErrorOf<EClassNotFound>(FpcBinary("object F: TTestForm\n object X: TFoo\n end\nend\n"));
  EXPECT_EQ(msg, "Class TFoo not found");
}

TEST_F(FormReader, DuplicateOrInvalidNamesAreReadErrors) {
  ErrorOf<EReadError>(FpcBinary("object F: TTestForm\n object C: TTestComp\n end\n object c: TTestComp\n end\nend\n"));
  EXPECT_EQ(FOrm->ComponentCount(), 0);
  TBinBuilder b;
  b.Signature().Object("TTestForm", "F").End().Object("TTestComp", "1 bad").End().End().End();
  ErrorOf<EReadError>(b.Bytes);
}

TEST_F(FormReader, FailureFreesWhatTheReadCreatedAndKeepsTheRest) {
  auto* existing = new TTestComp(FOrm.get());
  existing->SetName("Existing");
  // The error comes after references into the new components were recorded.
  std::string text = R"(object F: TTestForm
  object A: TTestComp
    Other = B
    Items = <item Other = A end>
  end
  object B: TTestComp
    Other = A
  end
  object Z: TTestComp
    Kind = Bogus
  end
end
)";
  ErrorOf<EPropertyError>(FpcBinary(text));
  ASSERT_EQ(FOrm->ComponentCount(), 1);
  EXPECT_EQ(FOrm->Components(0), existing);
  EXPECT_FALSE(FOrm->IsLoading());
  EXPECT_FALSE(FOrm->ComponentState().Contains(csReading));
  EXPECT_TRUE(StreamLog().empty()); // nothing was told it had loaded
  // A second read into the same root works: nothing of the first stayed pending.
  ReadText("object F: TTestForm\n object A: TTestComp\n  Other = Existing\n end\nend\n");
  EXPECT_EQ(Comp("A")->FOther, existing);
}

TEST_F(FormReader, EveryTruncationIsAReadErrorAndLeavesNothingBehind) {
  std::string full = FpcBinary(kFullForm);
  for (size_t n = 0; n < full.size(); ++n) {
    FOrm = std::make_unique<TTestForm>();
    TMemoryStream stream(full.substr(0, n));
    try {
      ReadRootComponent(stream, FOrm.get());
      ADD_FAILURE() << "no error at length " << n;
    } catch (const EReadError&) {}
    ASSERT_EQ(FOrm->ComponentCount(), 0) << "at length " << n;
  }
}

TEST_F(FormReader, HostileLengthsAndNestingAreRefused) {
  TBinBuilder hugeString;
  hugeString.Signature().Object("TTestForm", "F").Prop("Caption").Byte(12).Le(0xFFFFFFFF, 4).Raw("abc");
  EXPECT_EQ(ErrorOf<EReadError>(hugeString.Bytes), "Error reading F.Caption: Stream read error");

  TBinBuilder deep;
  deep.Signature().Object("TTestForm", "F").End();
  for (int i = 0; i < 200; ++i) deep.Object("TTestComp", "C" + std::to_string(i)).End();
  EXPECT_NE(ErrorOf<EReadError>(deep.Bytes).find("nest too deeply"), std::string::npos);
  EXPECT_EQ(FOrm->ComponentCount(), 0);
}

TEST_F(FormReader, ACollectionReadTwiceDropsTheFirstItemsReferences) {
  ReadText("object F: TTestForm\n object C: TTestComp\n  Items = <item Other = C end>\n"
           "  Items = <item Value = 3 end item end>\n end\nend\n");
  TTestComp* c = Comp("C");
  ASSERT_EQ(c->FItems.Count(), 2);
  EXPECT_EQ(c->FItems.Items(0)->FValue, 3);
  EXPECT_EQ(c->FItems.Items(0)->FOther, nullptr);
}

TEST_F(FormReader, CollectionItemsMayCarryOrderValues) {
  // Free Pascal's parser has no syntax for order values; ours writes them.
  Read(ObjectTextToBinary("object F: TTestForm\n object C: TTestComp\n  Items = <item [5] Value = 1 end item [6] Value "
                          "= 2 end>\n end\nend\n"));
  ASSERT_EQ(Comp("C")->FItems.Count(), 2);
  EXPECT_EQ(Comp("C")->FItems.Items(1)->FValue, 2);
}

TEST_F(FormReader, PrefixedRecordsAndInheritedComponents) {
  auto* existing = new TTestComp(FOrm.get());
  existing->SetName("Made");
  ReadText(
      "object F: TTestForm\n inherited Made: TTestComp [1]\n  Count = 9\n end\n inline New: TTestComp\n end\nend\n");
  EXPECT_EQ(FOrm->ComponentCount(), 2);
  EXPECT_EQ(existing->FCount, 9);
  EXPECT_NE(Comp("New"), nullptr);
}

TEST_F(FormReader, StreamIsLeftAfterTheResource) {
  std::string bin = FpcBinary("object F: TTestForm\nend\n");
  TMemoryStream stream(bin + "tail");
  ReadRootComponent(stream, FOrm.get());
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(bin.size()));
}
