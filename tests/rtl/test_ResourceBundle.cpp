// Resources appended to a program file, found again from its end.
#include <gtest/gtest.h>

#include "rtl/ResourceBundle.h"

using namespace qnl;

namespace {

std::string Trailer(const char* Marker, uint32_t SetupStart) {
  std::string t(56, '\0');
  t[0] = 14;
  t.replace(1, 14, Marker);
  for (int i = 0; i < 4; ++i) t[16 + i] = static_cast<char>(SetupStart >> (8 * i));
  return t;
}

std::string Program() {
  return std::string("\x7F"
                     "ELF program bytes",
                     18);
}

std::string EntryText(TMemoryStream& File, const char* Name) {
  auto bundle = TResourceBundle::Open(File);
  if (!bundle) return "<no bundle>";
  const TResourceEntry* e = bundle->Find(Name);
  return e ? bundle->Read(File, *e) : "<no entry>";
}

} // namespace

TEST(ResourceBundle, FindsResourcesByNameIgnoringCase) {
  TMemoryStream file(Program() + BuildResourceBundle({{"TFORMMAIN", "TPF0 form"}, {"TWELCOMEFORM", ""}}));
  auto bundle = TResourceBundle::Open(file);
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->Start(), static_cast<int64_t>(Program().size()));
  ASSERT_EQ(bundle->Entries().size(), 2u);
  EXPECT_EQ(EntryText(file, "tformmain"), "TPF0 form");
  EXPECT_EQ(EntryText(file, "TWelcomeForm"), "");
  EXPECT_EQ(bundle->Find("TOTHER"), nullptr);
}

TEST(ResourceBundle, FoundBeforeASelfExtractTrailer) {
  std::string withResources = Program() + BuildResourceBundle({{"TFORMMAIN", "form"}});
  TMemoryStream notSelf(withResources + Trailer("NOTSELFEXTRACT", 0));
  EXPECT_EQ(EntryText(notSelf, "TFORMMAIN"), "form");
  // Self-extracting: the archives lie between the program and the trailer.
  std::string archives = "setup.1 and files.1 data";
  TMemoryStream self(withResources + archives + Trailer("SELFEXTRACTING", static_cast<uint32_t>(withResources.size())));
  EXPECT_EQ(EntryText(self, "TFORMMAIN"), "form");
}

TEST(ResourceBundle, AProgramWithoutResourcesHasNone) {
  TMemoryStream bare(Program());
  EXPECT_FALSE(TResourceBundle::Open(bare));
  TMemoryStream empty;
  EXPECT_FALSE(TResourceBundle::Open(empty));
}

TEST(ResourceBundle, DamagedDirectoriesAreClearErrors) {
  std::string good = Program() + BuildResourceBundle({{"TFORMMAIN", "form"}});
  size_t footer = good.size() - 32;
  struct {
    const char* Label;
    size_t Offset;
    char Value;
  } rows[] = {
      {"bundle size beyond the file", footer + 23, '\x7F'},
      {"count beyond the directory", footer + 9, '\x10'},
      {"entry beyond the data", footer - 16 + 7, '\x7F'},
      {"directory size wrong", footer + 12, '\x01'},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    std::string bad = good;
    bad[row.Offset] = row.Value;
    TMemoryStream file(bad);
    try {
      TResourceBundle::Open(file);
      ADD_FAILURE() << "no error";
    } catch (const EResourceError& e) {
      EXPECT_NE(std::string(e.what()).find("resource directory at the end of the program is damaged"),
                std::string::npos)
          << e.what();
    }
  }
}

TEST(ResourceBundle, NamesMustBeUniqueAndShort) {
  EXPECT_THROW(BuildResourceBundle({{"A", "1"}, {"a", "2"}}), EResourceError);
  EXPECT_THROW(BuildResourceBundle({{"", "1"}}), EResourceError);
  EXPECT_THROW(BuildResourceBundle({{std::string(256, 'N'), "1"}}), EResourceError);
}
