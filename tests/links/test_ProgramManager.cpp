// The Program Manager client against the machine's Program Manager, and the shortcuts made
// through it.
#include <gtest/gtest.h>

#include "LinksTestSupport.h"
#include "common/routines_Strings.h"
#include "links/cmp_TProgramManager.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/files/Files.h"
#include "platform/shelllink/ShellLink.h"
#include "platform/system/SystemInfo.h"

using namespace qnl;
using namespace qnl::test;

namespace {

using ProgramManagerClient = LinksTest;

TEST_F(ProgramManagerClient, GroupsItemsAndTheirFields) {
  TProgramManager manager(nullptr);
  manager.AddItem("\"C:\\a.exe\" ", "A", "", 0, "", ""); // no group selected: nothing is sent
  manager.CreateGroup("");
  EXPECT_EQ(manager.CurrentGroup(), "");
  manager.CreateGroup("Tools");
  EXPECT_EQ(manager.CurrentGroup(), "Tools");
  EXPECT_EQ(manager.ItemCount(), 0);
  EXPECT_EQ(manager.IndexOfItem("Anything"), -1); // a group of one line
  // An item whose name has a comma (its link put there by another program).
  TShellLink first;
  first.Target = "C:\\Apps\\x.exe";
  SaveShellLink(GetProgramsDir() + "\\Tools\\Item, the first.lnk", first);
  manager.AddItem("\"C:\\Apps\\y.exe\" ", "Second", "C:\\Apps\\y.ico", 2, "\"C:\\Apps\"", "1601");
  ASSERT_EQ(manager.ItemCount(), 2) << manager.GroupLines()->Text();
  EXPECT_EQ(manager.ItemField(1, 1), "Item"); // split at the comma inside the name
  EXPECT_EQ(manager.ItemField(1, 2), " the first");
  EXPECT_EQ(manager.ItemField(2, 1), "Second");
  EXPECT_EQ(manager.ItemField(2, 2), "C:\\Apps\\y.exe");
  EXPECT_EQ(manager.ItemField(2, 8), "1601");
  EXPECT_EQ(manager.ItemField(0, 1), "");
  EXPECT_EQ(manager.ItemField(3, 1), "");
  EXPECT_EQ(manager.ItemField(2, 20), "");
  EXPECT_EQ(manager.IndexOfItem("SECOND"), 2);
  EXPECT_EQ(manager.GroupFolder(), GetProgramsDir() + "\\Tools");
  manager.ReplaceItem("Second");
  EXPECT_EQ(manager.IndexOfItem("Second"), -1);
  TStringList groups;
  manager.GetGroups(&groups);
  EXPECT_NE(groups.IndexOf("Tools"), -1);
}

TEST_F(ProgramManagerClient, FailuresNameWhatCouldNotBeDone) {
  setenv("QNL_NO_PROGMAN", "1", 1);
  TProgramManager absent(nullptr);
  EXPECT_EQ(ErrorOf([&] { absent.CreateGroup("Tools"); }),
            "The TProgramManager object was unable to establish a link with Program Manager");
  unsetenv("QNL_NO_PROGMAN");
  TProgramManager manager(nullptr);
  WriteMachineFile(GetProgramsDir() + "\\Blocked", "a file where the group's folder would go");
  EXPECT_EQ(ErrorOf([&] { manager.CreateGroup("Blocked"); }),
            "The TProgramManager object was unable to create the following program group: Blocked");
  manager.CreateGroup("Tools");
  ForceDirectories(GetProgramsDir() + "\\Tools\\100% Tool.lnk"); // a folder where the item's link would go
  EXPECT_EQ(ErrorOf([&] { manager.AddItem("\"C:\\t.exe\" ", "100% Tool", "", 0, "", ""); }),
            "The TProgramManager object was unable to add the following program item: 100% Tool to the following "
            "group: Tools. The arguments passed to  Program Manager were: [AddItem(\"C:\\t.exe\" ,100% Tool,,0,,,,)]");
  DeleteTree(GetProgramsDir() + "\\Tools");
  EXPECT_EQ(ErrorOf([&] { manager.ReplaceItem("Old"); }),
            "The TProgramManager object was unable to open the following program group: Tools");
}

TEST_F(ProgramManagerClient, OnWindows31AShortcutBecomesAnItemOfItsFoldersGroup) {
  SetWindowsVersionName("win31");
  auto* folder = Add<TMainLinkGroup>("ProgramFolder");
  auto* docs = Add<TSubLinkGroup>("Docs");
  docs->SetDestDir("\\Documentation");
  auto* link = Add<TInstallSubLink>("Manual");
  link->SetObjectLocation("C:\\Apps\\Tool\\manual.txt");
  link->SetParameters("%i");
  folder->Process();
  docs->Process();
  link->Process();
  link->Process(); // the item of the first run is replaced
  const std::string item = GetProgramsDir() + "\\Documentation\\manual.lnk";
  std::optional<TShellLink> made = LoadShellLink(item);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->Target, "C:\\Apps\\Tool\\manual.txt");
  EXPECT_EQ(made->Arguments, "C:\\Apps\\Tool");
  EXPECT_EQ(made->WorkingDirectory, "C:\\Apps\\Tool");
  EXPECT_EQ(link->MadeFiles(), std::vector<std::string>{item});
  EXPECT_FALSE(FileExists(link->LinkPath()));
}

} // namespace
