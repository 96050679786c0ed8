// The rules of shortcut folders and shortcuts: one main folder first, the names their setters
// derive, the location type they accept, and their lifetime.
#include <gtest/gtest.h>

#include "LinksTestSupport.h"
#include "engine/ContainerPathSpecifiers.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"

using namespace qnl;
using namespace qnl::test;

namespace {

using ShellLinkRules = LinksTest;

TEST_F(ShellLinkRules, TheMainFolderComesFirstAndOnlyOnce) {
  EXPECT_EQ(ErrorOf([&] { Add<TInstallMainLink>("Early"); }),
            "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
  EXPECT_EQ(ErrorOf([&] { Add<TSubLinkGroup>("EarlyFolder"); }),
            "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
  auto* main = Add<TMainLinkGroup>("ProgramFolder");
  EXPECT_EQ(main->DestDir(), "\\Tool");
  EXPECT_TRUE(main->DestDirType()->InheritsFrom(TpsProgramMenu::StaticClassInfo()));
  EXPECT_EQ(ErrorOf([&] { Add<TMainLinkGroup>("Second"); }),
            "You can only have one TMainLinkGroup component in your project");
  EXPECT_EQ(ErrorOf([&] { Add<TInstallSubLink>("NoSubFolder"); }),
            "To create a TInstallSubLink you must first have at least one TSubLinkGroup component in your project");
  auto* sub = Add<TSubLinkGroup>("Docs");
  EXPECT_EQ(sub->Container(), main);
  EXPECT_EQ(sub->DestDir(), "\\ASubGroup");
  auto* link = Add<TInstallSubLink>("Manual");
  EXPECT_EQ(link->Container(), sub);
  EXPECT_EQ(ErrorOf([&] { link->SetContainer(main); }),
            "A TSubLinkGroup component must be the Container for TInstallSubLink components");
  EXPECT_EQ(ErrorOf([&] { sub->SetContainer(FInstall); }),
            "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
  // The failed creations left nothing behind; the folder's type cannot be changed.
  EXPECT_EQ(AllShellLinks().Count(), 1);
  sub->SetDestDirType(nullptr);
  EXPECT_TRUE(sub->DestDirType()->InheritsFrom(TpsContainerDestDir::StaticClassInfo()));
  EXPECT_EQ(sub->GetDestDir(), main->GetDestDir() + "\\ASubGroup");
  delete main; // takes its folders and shortcuts along
  EXPECT_EQ(MainLinkGroup(), nullptr);
  EXPECT_EQ(SubLinkGroups().Count(), 0);
  EXPECT_EQ(AllShellLinks().Count(), 0);
  delete FInstall;
  EXPECT_EQ(Add<TMainLinkGroup>("Again")->DestDir(), "\\MainFolderName");
}

TEST_F(ShellLinkRules, TheLocationNamesTheShortcutUnlessTheAuthorDid) {
  Add<TMainLinkGroup>("ProgramFolder");
  struct TRow {
    const char* OldName;
    const char* Location; // nullptr: only LinkName is set, to NewName
    const char* NewName;
    const char* Expected;
  } rows[] = {
      {"Readme.lnk", nullptr, "Manual.txt", "Manual.LNK"},
      {"", nullptr, "Manual", "Manual.LNK"},
      {"Old.URL", nullptr, "New.htm", "New.URL"},
      {"", "C:\\Tools\\App.exe", nullptr, "App.LNK"},
      {".lnk", "C:\\Tools\\App.exe", nullptr, "App.LNK"},
      {"Mine.lnk", "C:\\Tools\\App.exe", nullptr, "Mine.lnk"},
      {"", "HtTp://www.example.com", nullptr, "www.example.com.URL"},
      {"", "http://www.example.com/docs/page", nullptr, "www.example.com_docs_page.URL"},
      {"", "ftp://ftp.example.com/pub", nullptr, "ftp.example.com_pub.URL"},
      {"", "https://www.example.com", nullptr, "www.example.com.URL"},
  };
  for (const TRow& row : rows) {
    auto* link = Add<TInstallMainLink>("Row");
    link->SetLinkName(row.OldName);
    if (row.Location)
      link->SetObjectLocation(row.Location);
    else
      link->SetLinkName(row.NewName);
    EXPECT_EQ(link->LinkName(), row.Expected) << row.OldName << " " << (row.Location ? row.Location : row.NewName);
    delete link;
  }
}

TEST_F(ShellLinkRules, ALinkedComponentGivesTheNameAndTheObjectLinkSpecifier) {
  Add<TMainLinkGroup>("ProgramFolder");
  auto* docs = Add<TInstallDirectory>("DocsDir");
  docs->SetDescription("Documents");
  auto* app = new TInstallFile(FModule, FInstall, "C:\\src\\app.exe");
  app->SetName("App");
  auto* link = Add<TInstallMainLink>("AppLink");
  auto* objectLink = StandardPathSpecifiers().FindInstance(TpsObjectLink::StaticClassInfo());
  ASSERT_NE(objectLink, nullptr);
  EXPECT_EQ(ErrorOf([&] { link->SetObjectLocationType(objectLink); }),
            "Cannot use ddObjectLink for AppLink unless you assign a value to ObjectLink");
  EXPECT_EQ(ErrorOf([&] { objectLink->GetPath(app); }),
            "App must be a TCustomInstallShellLink to use the psObjectLink path specifier");
  link->SetObjectLocation("C:\\elsewhere.exe");
  link->SetObjectLink(app);
  EXPECT_EQ(link->LinkName(), "app.lnk");
  EXPECT_EQ(link->ObjectLocationType(), objectLink);
  EXPECT_EQ(link->ObjectLocation(), "");
  EXPECT_EQ(link->GetTargetPath(), "C:\\Apps\\Tool\\app.exe");
  link->SetObjectLink(docs);
  EXPECT_EQ(link->LinkName(), "Documents.lnk");
  link->SetObjectLink(nullptr);
  EXPECT_EQ(link->ObjectLocationType(), nullptr);
  link->SetObjectLink(FInstall);
  EXPECT_EQ(link->LinkName(), "Install1.lnk");
  link->SetLinkName("Web.url");
  EXPECT_EQ(link->ObjectLink(), nullptr);
  // A shortcut goes with its linked component.
  auto* appLink = Add<TInstallMainLink>("AppLink2");
  appLink->SetObjectLink(app);
  delete app;
  EXPECT_EQ(AllShellLinks().IndexOf(appLink), -1);
  EXPECT_EQ(AllShellLinks().Count(), 1);
}

} // namespace
