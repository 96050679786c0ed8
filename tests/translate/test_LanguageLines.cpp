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
  TTranslator translator{nullptr};
  TLanguage& german = *translator.LanguageByIdent(qlGerman);
};

const char* const kGermanExample[] = {"* Deutsche Texte", "5;Weiter >", "6;Abbrechen", "#300;",
                                      "Erste Zeile", "Zweite Zeile", "#"};

void AddGermanExample(TLanguage& L) {
  for (const char* line : kGermanExample) L.Strings()->Add(line);
}

TEST_F(LanguageLines, GermanExampleGivesTwoStringsAndOneMemo) {
  AddGermanExample(german);
  EXPECT_EQ(StringEntries(german), "5@1:Weiter >|6@2:Abbrechen");
  EXPECT_EQ(MemoEntries(german), "300@3:[Erste Zeile/Zweite Zeile]");
  EXPECT_EQ(german.FindMemoByGLID(300)->Language(), &german);
}

TEST_F(LanguageLines, TextEndsAtSecondSemicolonAndKeepsLeadingBlanks) {
  AddLines(german, {"12;Hello;World", "13; Hello", "  14;Padded line  "});
  EXPECT_EQ(StringEntries(german), "12@0:Hello|13@1: Hello|14@2:Padded line");
}

TEST_F(LanguageLines, IdentifiersFollowTheLibraryIntegerConversion) {
  AddLines(german, {"$1F;hex", "-5;negative", "+7;plus", "5;first", "5;second", "$FFFFFFFF;all bits"});
  EXPECT_EQ(german.FindStringByGLID(-1)->Text(), "all bits");
  EXPECT_EQ(german.FindStringByGLID(31)->Text(), "hex");
  EXPECT_EQ(german.FindStringByGLID(-5)->Text(), "negative");
  EXPECT_EQ(german.FindStringByGLID(7)->Text(), "plus");
  EXPECT_EQ(german.FindStringByGLID(5)->Text(), "first"); // duplicates: the first wins
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
  EXPECT_EQ(ErrorOf([&] { german.Strings()->Add("#"); }),
            "Found the end of memo marker # at line 0. Was not in a memo however");
  TTranslator t(nullptr);
  TLanguage& l = *t.LanguageByIdent(qlFrench);
  AddLines(l, {"1;Un", "  "});
  EXPECT_EQ(ErrorOf([&] { l.Strings()->Add("  #  "); }),
            "Found the end of memo marker # at line 2. Was not in a memo however");
}

TEST_F(LanguageLines, MemoDropsBlankAndCommentLinesAndIndentation) {
  AddLines(german, {"#300", "   indented", "", "* a remark", "#not an end", "  last  ", "#"});
  EXPECT_EQ(MemoEntries(german), "300@0:[indented/#not an end/last]");
}

TEST_F(LanguageLines, MemoStillOpenAtTheEndIsDroppedWithoutError) {
  AddLines(german, {"1;Eins", "#400;", "line"});
  EXPECT_EQ(MemoEntries(german), "");
  EXPECT_EQ(StringEntries(german), "1@0:Eins");
  german.Strings()->Add("#");
  EXPECT_EQ(MemoEntries(german), "400@1:[line]");
}

TEST_F(LanguageLines, LongTextIsCutTo255Characters) {
  german.Strings()->Add("1;" + std::string(300, 'x'));
  EXPECT_EQ(german.FindStringByGLID(1)->Text(), std::string(255, 'x'));
}

TEST_F(LanguageLines, ErrorSurfacesWhenFaultyLineIsAddedAndLeavesNoEntries) {
  AddLines(german, {"1;Eins", "#300", "a", "#"});
  EXPECT_EQ(ErrorOf([&] { german.Strings()->Add("zwei;Zwei"); }),
            "The 4'th string (zwei;Zwei) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(german.StringEntryCount(), 0);
  EXPECT_EQ(german.MemoEntryCount(), 0);
  EXPECT_EQ(german.Strings()->Count(), 5);
  // Every longer list fails at the same line again.
  EXPECT_EQ(ErrorOf([&] { german.Strings()->Add("3;Drei"); }),
            "The 4'th string (zwei;Zwei) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(german.StringEntryCount(), 0);
}

TEST_F(LanguageLines, DeleteShiftsStringIndexesWithoutParsing) {
  AddGermanExample(german);
  german.Strings()->Delete(0);
  EXPECT_EQ(StringEntries(german), "5@0:Weiter >|6@1:Abbrechen");
  EXPECT_EQ(MemoEntries(german), "300@3:[Erste Zeile/Zweite Zeile]"); // memos keep theirs
  german.Strings()->Delete(1);                                      // "6;Abbrechen" goes
  EXPECT_EQ(StringEntries(german), "5@0:Weiter >|6@1:Abbrechen");   // ... but stays an entry
  german.Strings()->Add("7;Sieben");                                // the next change parses all
  EXPECT_EQ(StringEntries(german), "5@0:Weiter >|7@5:Sieben");
  EXPECT_EQ(MemoEntries(german), "300@1:[Erste Zeile/Zweite Zeile]");
}

TEST_F(LanguageLines, ReplacingALineDoesNotParse) {
  AddGermanExample(german);
  german.Strings()->Put(1, "5;Vor");
  EXPECT_EQ(german.FindStringByGLID(5)->Text(), "Weiter >");
  german.Strings()->Put(1, "broken");
  EXPECT_EQ(german.StringEntryCount(), 2);
  german.Strings()->Put(1, "5;Vor");
  german.Strings()->Add("8;Acht");
  EXPECT_EQ(german.FindStringByGLID(5)->Text(), "Vor");
}

TEST_F(LanguageLines, InsertMoveClearAndAddStringsParse) {
  AddLines(german, {"1;Eins", "2;Zwei"});
  german.Strings()->Insert(0, "0;Null");
  EXPECT_EQ(StringEntries(german), "0@0:Null|1@1:Eins|2@2:Zwei");
  german.Strings()->Move(0, 2);
  EXPECT_EQ(StringEntries(german), "1@0:Eins|2@1:Zwei|0@2:Null");
  TStringList more;
  more.Add("3;Drei");
  more.Add("#9");
  german.Strings()->AddStrings(more);
  EXPECT_EQ(StringEntries(german), "1@0:Eins|2@1:Zwei|0@2:Null|3@3:Drei");
  german.Strings()->Clear();
  EXPECT_EQ(german.StringEntryCount(), 0);
  EXPECT_EQ(ErrorOf([&] { german.Strings()->Insert(0, "#"); }),
            "Found the end of memo marker # at line 0. Was not in a memo however");
}

TEST_F(LanguageLines, AssignParsesOnceAndKeepsParsingEnabledAfterFailure) {
  TStringList source;
  source.Add("1;Eins");
  source.Add("bad");
  source.Add("2;Zwei");
  EXPECT_EQ(ErrorOf([&] { german.SetStrings(&source); }),
            "The 1'th string (bad) does not have the proper format of GLID;Text");
  EXPECT_EQ(german.Strings()->Count(), 3); // every line was copied before the one parse
  EXPECT_EQ(german.StringEntryCount(), 0);
  EXPECT_TRUE(german.ParseEnabled());
  source.Put(1, "* fixed");
  german.SetStrings(&source);
  EXPECT_EQ(StringEntries(german), "1@0:Eins|2@2:Zwei");
}

TEST_F(LanguageLines, AssignOfAnotherKindFailsAndReenablesParsing) {
  TFont font;
  EXPECT_THROW(german.Strings()->Assign(&font), EConvertError);
  EXPECT_TRUE(german.ParseEnabled());
}

TEST_F(LanguageLines, DisabledParsingLeavesEntriesUntilNextParse) {
  AddLines(german, {"1;Eins"});
  german.SetParseEnabled(false);
  AddLines(german, {"2;Zwei", "bad"});
  german.ParseStrings(); // does nothing while disabled
  EXPECT_EQ(StringEntries(german), "1@0:Eins");
  german.SetParseEnabled(true);
  EXPECT_EQ(ErrorOf([&] { german.Strings()->Add("3;Drei"); }),
            "The 2'th string (bad) does not have the proper format of GLID;Text");
}

TEST_F(LanguageLines, LoadFromStreamSplitsLinesAndParses) {
  TMemoryStream stream("5;Weiter >\r\n#300\nZeile\r#\r\n");
  german.Strings()->LoadFromStream(stream);
  EXPECT_EQ(StringEntries(german), "5@0:Weiter >");
  EXPECT_EQ(MemoEntries(german), "300@1:[Zeile]");
  TMemoryStream faulty("1;Eins\nabc;x\n2;Zwei\n");
  EXPECT_EQ(ErrorOf([&] { german.Strings()->LoadFromStream(faulty); }),
            "The 1'th string (abc;x) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(german.StringEntryCount(), 0);
}

TEST_F(LanguageLines, LoadFromFileReadsAMachineFileAndParsesOnce) {
  const std::string path = "C:\\windows\\temp\\qnliGerman.txt";
  {
    TFileStream file(path, fmCreate);
    const std::string text = "* file\r\n5;Weiter >\r\n6;Abbrechen\r\n";
    file.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }
  german.Strings()->LoadFromFile(path);
  EXPECT_EQ(StringEntries(german), "5@1:Weiter >|6@2:Abbrechen");
  EXPECT_ANY_THROW(german.Strings()->LoadFromFile("C:\\windows\\temp\\missing.txt"));
  EXPECT_TRUE(german.ParseEnabled());
}

// Appending parses only the new line; the entries must still be exactly those of parsing
// the whole list after every line.
TEST_F(LanguageLines, AppendingMatchesAFullParseAfterEveryLine) {
  const char* lines[] = {"* c", "1;a", "#10", "x", "", "* in memo", "#20;", "#", "2; b;c", "#30", "y",
                         "3;z", "$10;hex", "#", "4;w", "#40", "open"};
  TTranslator reference(nullptr);
  TLanguage& full = *reference.LanguageByIdent(qlGerman);
  for (const char* line : lines) {
    german.Strings()->Add(line);
    full.SetParseEnabled(false);
    full.Strings()->Add(line);
    full.SetParseEnabled(true);
    full.ParseStrings();
    ASSERT_EQ(StringEntries(german), StringEntries(full)) << line;
    ASSERT_EQ(MemoEntries(german), MemoEntries(full)) << line;
  }
  EXPECT_EQ(MemoEntries(german), "10@2:[x/#20;]|30@9:[y/3;z/$10;hex]");
}

} // namespace
