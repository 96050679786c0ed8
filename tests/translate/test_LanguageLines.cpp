// The line format of a language and when its lines are parsed again.
#include <gtest/gtest.h>

#include "LanguageTestHelpers.h"
#include "platform/files/FileStream.h"
#include "rtl/Streams.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class LanguageLines : public ::testing::Test {
protected:
  TTranslator FTranslator{nullptr};
  TLanguage& FGerman = *FTranslator.LanguageByIdent(qlGerman);
};

const char* const kGermanExample[] = {"* Deutsche Texte", "5;Weiter >", "6;Abbrechen", "#300;", "Erste Zeile",
                                      "Zweite Zeile",     "#"};

void AddGermanExample(TLanguage& L) {
  for (const char* line : kGermanExample) L.Strings()->Add(line);
}

TEST_F(LanguageLines, GermanExampleGivesTwoStringsAndOneMemo) {
  AddGermanExample(FGerman);
  EXPECT_EQ(StringEntries(FGerman), "5@1:Weiter >|6@2:Abbrechen");
  EXPECT_EQ(MemoEntries(FGerman), "300@3:[Erste Zeile/Zweite Zeile]");
  EXPECT_EQ(FGerman.FindMemoByGLID(300)->Language(), &FGerman);
}

TEST_F(LanguageLines, TextEndsAtSecondSemicolonAndKeepsLeadingBlanks) {
  AddLines(FGerman, {"12;Hello;World", "13; Hello", "  14;Padded line  "});
  EXPECT_EQ(StringEntries(FGerman), "12@0:Hello|13@1: Hello|14@2:Padded line");
}

TEST_F(LanguageLines, IdentifiersFollowTheLibraryIntegerConversion) {
  AddLines(FGerman, {"$1F;hex", "-5;negative", "+7;plus", "5;first", "5;second", "$FFFFFFFF;all bits"});
  EXPECT_EQ(FGerman.FindStringByGLID(-1)->Text(), "all bits");
  EXPECT_EQ(FGerman.FindStringByGLID(31)->Text(), "hex");
  EXPECT_EQ(FGerman.FindStringByGLID(-5)->Text(), "negative");
  EXPECT_EQ(FGerman.FindStringByGLID(7)->Text(), "plus");
  EXPECT_EQ(FGerman.FindStringByGLID(5)->Text(), "first"); // duplicates: the first wins
}

TEST_F(LanguageLines, MissingTextFailsWithGlidTextMessage) {
  struct Case {
    const char* Line;
    const char* Message;
  } cases[] = {
      {"12", "The 0'th string (12) does not have the proper format of GLID;Text"},
      {"12;", "The 0'th string (12;) does not have the proper format of GLID;Text"},
      {"12;   ", "The 0'th string (12;) does not have the proper format of GLID;Text"},
      {";Hello", "The 0'th string (;Hello) does not have the proper format of GLID;Text"},
      {"12;;World", "The 0'th string (12;;World) does not have the proper format of GLID;Text"},
      {"#;memo", "The 0'th string (#;memo) does not have the proper format of GLID;Text"},
  };
  for (const Case& c : cases) {
    TTranslator t(nullptr);
    TLanguage& l = *t.LanguageByIdent(qlGerman);
    EXPECT_EQ(ErrorOf([&] { l.Strings()->Add(c.Line); }), c.Message) << c.Line;
    EXPECT_EQ(l.StringEntryCount(), 0) << c.Line;
  }
}

TEST_F(LanguageLines, IdentifierThatIsNoIntegerFailsWithDotGlidMessage) {
  struct Case {
    const char* Line;
    const char* Message;
  } cases[] = {
      {"abc;Hello", "The 0'th string (abc;Hello) does not have the proper format of GLID;Text or .GLID;"},
      {"12 ;Hello", "The 0'th string (12 ;Hello) does not have the proper format of GLID;Text or .GLID;"},
      {"99999999999;Big", "The 0'th string (99999999999;Big) does not have the proper format of GLID;Text or .GLID;"},
      {"#abc;", "The 0'th string (#abc;) does not have the proper format of GLID;Text or .GLID;"},
  };
  for (const Case& c : cases) {
    TTranslator t(nullptr);
    EXPECT_EQ(ErrorOf([&] { t.LanguageByIdent(qlGerman)->Strings()->Add(c.Line); }), c.Message) << c.Line;
  }
}

TEST_F(LanguageLines, EndOfMemoOutsideMemoFails) {
  EXPECT_EQ(ErrorOf([&] { FGerman.Strings()->Add("#"); }),
            "Found the end of memo marker # at line 0. Was not in a memo however");
  TTranslator t(nullptr);
  TLanguage& l = *t.LanguageByIdent(qlFrench);
  AddLines(l, {"1;Un", "  "});
  EXPECT_EQ(ErrorOf([&] { l.Strings()->Add("  #  "); }),
            "Found the end of memo marker # at line 2. Was not in a memo however");
}

TEST_F(LanguageLines, MemoDropsBlankAndCommentLinesAndIndentation) {
  AddLines(FGerman, {"#300", "   indented", "", "* a remark", "#not an end", "  last  ", "#"});
  EXPECT_EQ(MemoEntries(FGerman), "300@0:[indented/#not an end/last]");
}

TEST_F(LanguageLines, MemoStillOpenAtTheEndIsDroppedWithoutError) {
  AddLines(FGerman, {"1;Eins", "#400;", "line"});
  EXPECT_EQ(MemoEntries(FGerman), "");
  EXPECT_EQ(StringEntries(FGerman), "1@0:Eins");
  FGerman.Strings()->Add("#");
  EXPECT_EQ(MemoEntries(FGerman), "400@1:[line]");
}

TEST_F(LanguageLines, LongTextIsCutTo255Characters) {
  FGerman.Strings()->Add("1;" + std::string(300, 'x'));
  EXPECT_EQ(FGerman.FindStringByGLID(1)->Text(), std::string(255, 'x'));
}

TEST_F(LanguageLines, ErrorSurfacesWhenFaultyLineIsAddedAndLeavesNoEntries) {
  AddLines(FGerman, {"1;Eins", "#300", "a", "#"});
  EXPECT_EQ(ErrorOf([&] { FGerman.Strings()->Add("zwei;Zwei"); }),
            "The 4'th string (zwei;Zwei) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(FGerman.StringEntryCount(), 0);
  EXPECT_EQ(FGerman.MemoEntryCount(), 0);
  EXPECT_EQ(FGerman.Strings()->Count(), 5);
  // Every longer list fails at the same line again.
  EXPECT_EQ(ErrorOf([&] { FGerman.Strings()->Add("3;Drei"); }),
            "The 4'th string (zwei;Zwei) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(FGerman.StringEntryCount(), 0);
}

TEST_F(LanguageLines, DeleteShiftsStringIndexesWithoutParsing) {
  AddGermanExample(FGerman);
  FGerman.Strings()->Delete(0);
  EXPECT_EQ(StringEntries(FGerman), "5@0:Weiter >|6@1:Abbrechen");
  EXPECT_EQ(MemoEntries(FGerman), "300@3:[Erste Zeile/Zweite Zeile]"); // memos keep theirs
  FGerman.Strings()->Delete(1);                                        // "6;Abbrechen" goes
  EXPECT_EQ(StringEntries(FGerman), "5@0:Weiter >|6@1:Abbrechen");     // ... but stays an entry
  FGerman.Strings()->Add("7;Sieben");                                  // the next change parses all
  EXPECT_EQ(StringEntries(FGerman), "5@0:Weiter >|7@5:Sieben");
  EXPECT_EQ(MemoEntries(FGerman), "300@1:[Erste Zeile/Zweite Zeile]");
}

TEST_F(LanguageLines, ReplacingALineDoesNotParse) {
  AddGermanExample(FGerman);
  FGerman.Strings()->Put(1, "5;Vor");
  EXPECT_EQ(FGerman.FindStringByGLID(5)->Text(), "Weiter >");
  FGerman.Strings()->Put(1, "broken");
  EXPECT_EQ(FGerman.StringEntryCount(), 2);
  FGerman.Strings()->Put(1, "5;Vor");
  FGerman.Strings()->Add("8;Acht");
  EXPECT_EQ(FGerman.FindStringByGLID(5)->Text(), "Vor");
}

TEST_F(LanguageLines, InsertMoveClearAndAddStringsParse) {
  AddLines(FGerman, {"1;Eins", "2;Zwei"});
  FGerman.Strings()->Insert(0, "0;Null");
  EXPECT_EQ(StringEntries(FGerman), "0@0:Null|1@1:Eins|2@2:Zwei");
  FGerman.Strings()->Move(0, 2);
  EXPECT_EQ(StringEntries(FGerman), "1@0:Eins|2@1:Zwei|0@2:Null");
  TStringList more;
  more.Add("3;Drei");
  more.Add("#9");
  FGerman.Strings()->AddStrings(more);
  EXPECT_EQ(StringEntries(FGerman), "1@0:Eins|2@1:Zwei|0@2:Null|3@3:Drei");
  FGerman.Strings()->Clear();
  EXPECT_EQ(FGerman.StringEntryCount(), 0);
  EXPECT_EQ(ErrorOf([&] { FGerman.Strings()->Insert(0, "#"); }),
            "Found the end of memo marker # at line 0. Was not in a memo however");
}

TEST_F(LanguageLines, AssignParsesOnceAndKeepsParsingEnabledAfterFailure) {
  TStringList source;
  source.Add("1;Eins");
  source.Add("bad");
  source.Add("2;Zwei");
  EXPECT_EQ(ErrorOf([&] { FGerman.SetStrings(&source); }),
            "The 1'th string (bad) does not have the proper format of GLID;Text");
  EXPECT_EQ(FGerman.Strings()->Count(), 3); // every line was copied before the one parse
  EXPECT_EQ(FGerman.StringEntryCount(), 0);
  EXPECT_TRUE(FGerman.ParseEnabled());
  source.Put(1, "* fixed");
  FGerman.SetStrings(&source);
  EXPECT_EQ(StringEntries(FGerman), "1@0:Eins|2@2:Zwei");
}

TEST_F(LanguageLines, AssignOfAnotherKindFailsAndReenablesParsing) {
  TFont font;
  EXPECT_THROW(FGerman.Strings()->Assign(&font), EConvertError);
  EXPECT_TRUE(FGerman.ParseEnabled());
}

TEST_F(LanguageLines, DisabledParsingLeavesEntriesUntilNextParse) {
  AddLines(FGerman, {"1;Eins"});
  FGerman.SetParseEnabled(false);
  AddLines(FGerman, {"2;Zwei", "bad"});
  FGerman.ParseStrings(); // does nothing while disabled
  EXPECT_EQ(StringEntries(FGerman), "1@0:Eins");
  FGerman.SetParseEnabled(true);
  EXPECT_EQ(ErrorOf([&] { FGerman.Strings()->Add("3;Drei"); }),
            "The 2'th string (bad) does not have the proper format of GLID;Text");
}

TEST_F(LanguageLines, LoadFromStreamSplitsLinesAndParses) {
  TMemoryStream stream("5;Weiter >\r\n#300\nZeile\r#\r\n");
  FGerman.Strings()->LoadFromStream(stream);
  EXPECT_EQ(StringEntries(FGerman), "5@0:Weiter >");
  EXPECT_EQ(MemoEntries(FGerman), "300@1:[Zeile]");
  TMemoryStream faulty("1;Eins\nabc;x\n2;Zwei\n");
  EXPECT_EQ(ErrorOf([&] { FGerman.Strings()->LoadFromStream(faulty); }),
            "The 1'th string (abc;x) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(FGerman.StringEntryCount(), 0);
}

TEST_F(LanguageLines, LoadFromFileReadsAMachineFileAndParsesOnce) {
  const std::string path = "C:\\windows\\temp\\qnliGerman.txt";
  {
    TFileStream file(path, fmCreate);
    const std::string text = "* file\r\n5;Weiter >\r\n6;Abbrechen\r\n";
    file.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }
  FGerman.Strings()->LoadFromFile(path);
  EXPECT_EQ(StringEntries(FGerman), "5@1:Weiter >|6@2:Abbrechen");
  EXPECT_ANY_THROW(FGerman.Strings()->LoadFromFile("C:\\windows\\temp\\missing.txt"));
  EXPECT_TRUE(FGerman.ParseEnabled());
}

// Appending parses only the new line; the entries must still be exactly those of parsing
// the whole list after every line.
TEST_F(LanguageLines, AppendingMatchesAFullParseAfterEveryLine) {
  const char* lines[] = {"* c", "1;a", "#10", "x",       "",  "* in memo", "#20;", "#",   "2; b;c",
                         "#30", "y",   "3;z", "$10;hex", "#", "4;w",       "#40",  "open"};
  TTranslator reference(nullptr);
  TLanguage& full = *reference.LanguageByIdent(qlGerman);
  for (const char* line : lines) {
    FGerman.Strings()->Add(line);
    full.SetParseEnabled(false);
    full.Strings()->Add(line);
    full.SetParseEnabled(true);
    full.ParseStrings();
    ASSERT_EQ(StringEntries(FGerman), StringEntries(full)) << line;
    ASSERT_EQ(MemoEntries(FGerman), MemoEntries(full)) << line;
  }
  EXPECT_EQ(MemoEntries(FGerman), "10@2:[x/#20;]|30@9:[y/3;z/$10;hex]");
}

} // namespace
