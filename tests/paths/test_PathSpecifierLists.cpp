// The specifier lists, Find, CreateMissing and the descriptions of the built-in classes.
#include "engine/BuiltInPathSpecifiers.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "rtl/Forms.h"
#include "tests/paths/PathsTestSupport.h"

using namespace qnl;

namespace {
const char* const BuiltInOrder[] = {"TpsBDEDLL",           "TpsCommonFiles",  "TpsContainerArchiveFile",
                                    "TpsContainerDestDir", "TpsDesktopMenu",  "TpsInstallSource",
                                    "TpsMainInstall",      "TpsProgramFiles", "TpsProgramMenu",
                                    "TpsStartMenu",        "TpsStartupMenu",  "TpsSystem",
                                    "TpsMainArchiveFile",  "TpsWindow"};
} // namespace

TEST(PathSpecifierLists, TheClassListHoldsTheFourteenBuiltInsInOrder) {
  TPathSpecifierClassList& classes = PathSpecifierClasses();
  ASSERT_EQ(classes.Count(), 14);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(classes.Items(i)->Name, BuiltInOrder[i]);
}

TEST(PathSpecifierLists, EverySpecifierIsListedWhileItLives) {
  int all = PathSpecifiers().Count(), standard = StandardPathSpecifiers().Count();
  {
    TComponent owner(nullptr);
    auto* custom = new TCustomPathSpecifier(&owner);
    new TpsSystem(&owner);
    EXPECT_EQ(PathSpecifiers().Count(), all + 2);
    EXPECT_EQ(StandardPathSpecifiers().Count(), standard + 1);
    EXPECT_EQ(PathSpecifiers().Items(all), custom);
  }
  EXPECT_EQ(PathSpecifiers().Count(), all);
  EXPECT_EQ(StandardPathSpecifiers().Count(), standard);
}

TEST(PathSpecifierLists, NilEntriesAreRefused) {
  QNL_EXPECT_THROW_MESSAGE(PathSpecifiers().Add(nullptr), IEPathSpecifierList,
                           "Tried to add a nil object to the path specifier list");
  QNL_EXPECT_THROW_MESSAGE(StandardPathSpecifiers().Add(nullptr), IEPathSpecifierList,
                           "Tried to add a nil object to the path specifier list");
  TPathSpecifierClassList classes;
  QNL_EXPECT_THROW_MESSAGE(classes.Add(nullptr), IEPathSpecifierClassList,
                           "Tried to add a nil object to the path specifier list");
}

TEST(PathSpecifierLists, FindWithoutAnInstanceFails) {
  QNL_EXPECT_THROW_MESSAGE(StandardPathSpecifiers().Find<TpsMainArchiveFile>(), IEPathSpecifier,
                           "Could not find the path specifier");
}

TEST(PathSpecifierLists, FindGivesTheFirstInstanceOfTheClassOrADescendant) {
  TComponent owner(nullptr);
  auto* first = new TpsWindow(&owner);
  new TpsWindow(&owner);
  EXPECT_EQ(StandardPathSpecifiers().Find<TpsWindow>(), first);
  EXPECT_EQ(StandardPathSpecifiers().Find(TStandardPathSpecifier::StaticClassInfo()), first);
}

TEST(PathSpecifierLists, CreateMissingMakesOneNamedInstanceOfEachClassInOrder) {
  TCustomForm form(nullptr);
  CreateMissing(&form, true);
  ASSERT_EQ(form.ComponentCount(), 14);
  for (int i = 0; i < 14; ++i) {
    auto* s = dynamic_cast<TCustomPathSpecifier*>(form.Components(i));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ClassName(), BuiltInOrder[i]);
    EXPECT_EQ(s->Name(), std::string(BuiltInOrder[i]).substr(1));
    EXPECT_EQ(s->DefaultName(), s->Name());
  }
  EXPECT_EQ(form.FindComponent("psMainArchiveFile")->ClassName(), "TpsMainArchiveFile");
}

TEST(PathSpecifierLists, CreateMissingOnlyMissingCreatesNothingWhenAllExist) {
  TCustomForm form(nullptr);
  CreateMissing(&form, true);
  CreateMissing(&form, true);
  EXPECT_EQ(form.ComponentCount(), 14);
  TCustomForm other(nullptr);
  CreateMissing(&other, true); // the instances of the first form count
  EXPECT_EQ(other.ComponentCount(), 0);
}

TEST(PathSpecifierLists, CreateMissingOnlyMissingAddsJustTheAbsentClasses) {
  TCustomForm form(nullptr);
  auto* own = new TpsSystem(&form);
  own->SetName("MySystem");
  CreateMissing(&form, true);
  EXPECT_EQ(form.ComponentCount(), 14);
  EXPECT_EQ(form.FindComponent("psSystem"), nullptr);
}

TEST(PathSpecifierLists, CreateMissingWithAllOnAFormThatHasThemFailsOnTheNameAndLeavesNoOrphan) {
  TCustomForm form(nullptr);
  CreateMissing(&form, true);
  EXPECT_THROW(CreateMissing(&form, false), Exception);
  EXPECT_EQ(form.ComponentCount(), 14);
}

TEST(PathSpecifierLists, NewContainersEnsureTheStandardInstancesOnFormsAndDataModulesOnly) {
  TComponent plain(nullptr);
  EnsureStandardPathSpecifiers(&plain);
  EnsureStandardPathSpecifiers(nullptr);
  EXPECT_EQ(plain.ComponentCount(), 0);
  TDataModule module(nullptr);
  EnsureStandardPathSpecifiers(&module);
  EXPECT_EQ(module.ComponentCount(), 14);
  EnsureStandardPathSpecifiers(&module);
  EXPECT_EQ(module.ComponentCount(), 14);
}

TEST(PathSpecifierLists, TheBaseSpecifierIsUnspecifiedAndAsksItsHandler) {
  TComponent owner(nullptr);
  auto* s = new TCustomPathSpecifier(&owner);
  EXPECT_EQ(s->GetDescription(), "Unspecified");
  EXPECT_EQ(s->GetShortName(), "Unspecified");
  EXPECT_EQ(s->GetDescriptionFor(&owner), "Unspecified");
  EXPECT_EQ(s->GetShortNameFor(&owner), "Unspecified");
  EXPECT_EQ(s->GetPath(&owner), "");
  s->SetOnGetPath([&](TComponent* Client, std::string& Path) { Path = "D:\\For\\" + Client->ClassName(); });
  EXPECT_EQ(s->GetPath(&owner), "D:\\For\\TComponent");
  EXPECT_NO_THROW(s->Validate(nullptr));
}

TEST(PathSpecifierLists, BuiltInsHaveTheirDescriptionsAndShortNames) {
  struct Row {
    const char* Name;
    const char* Description;
    const char* ShortName;
  };
  const Row rows[] = {
      {"TpsBDEDLL", "Borland Database Engine DLL Path", "BDE DLL"},
      {"TpsCommonFiles", "Path of the common files directory under the program files directory", "Common files"},
      {"TpsContainerArchiveFile", "Path to the archive file of the container", "Container archive file"},
      {"TpsContainerDestDir", "Path of the group (container)", "Path of the group (container)"},
      {"TpsDesktopMenu", "Path of the Desktop", "Desktop"},
      {"TpsInstallSource", "Path from which the user ran the install", "Install source"},
      {"TpsMainInstall", "Main installation directory", "Main install dir"},
      {"TpsProgramFiles", "Path of the program files directory", "Program files"},
      {"TpsProgramMenu", "Path of the Programs folder under the Start Menu", "Program menu"},
      {"TpsStartMenu", "Path of Start Menu", "Start menu"},
      {"TpsStartupMenu", "Path of the Startup folder in the Programs folder under the Start Menu", "Startup menu"},
      {"TpsSystem", "Path of system directory", "System dir"},
      {"TpsMainArchiveFile", "Archive containing most or all non-internet installation files", "Main archive"},
      {"TpsWindow", "Path of the Windows directory", "Windows dir"},
  };
  RegisterPathSpecifierClasses();
  TComponent owner(nullptr);
  for (const Row& row : rows) {
    auto* s = static_cast<TCustomPathSpecifier*>(GetClass(row.Name).CreateComponent(&owner));
    EXPECT_EQ(s->GetDescription(), row.Description) << row.Name;
    EXPECT_EQ(s->GetShortName(), row.ShortName) << row.Name;
    EXPECT_EQ(s->DefaultName(), std::string(row.Name).substr(1));
  }
}
