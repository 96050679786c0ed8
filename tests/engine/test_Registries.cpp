// The typed lists, the install session and the parameter objects.
#include <gtest/gtest.h>

#include "EngineTestClasses.h"
#include "engine/InstallSession.h"
#include "engine/RegisterEngineClasses.h"

using namespace qnl;
using namespace qnl::test;

namespace {

TEST(TypedLists, ABlankEntryIsRefusedWithTheListsOwnMessage) {
  TInstallContainerList containers;
  TCustomInstallFileList files;
  try {
    containers.Add(nullptr);
    FAIL();
  } catch (const IEContainerList& e) {
    EXPECT_STREQ(e.what(), "Cannot add a blank entry to the TInstallContainerList object");
  }
  try {
    files.Insert(0, nullptr);
    FAIL();
  } catch (const IECustomInstallFileList& e) {
    EXPECT_STREQ(e.what(), "Cannot add a blank entry to the TCustomInstallFileList object");
  }
  EXPECT_EQ(containers.Count(), 0);
}

TEST(TypedLists, EntriesKeepTheirOrderAndLeaveByIdentity) {
  TTestFile a(nullptr, "A", 1), b(nullptr, "B", 2);
  TCustomInstallFileList files;
  files.Add(&a);
  files.Insert(0, &b);
  EXPECT_EQ(files[0], &b);
  EXPECT_EQ(files.IndexOf(&a), 1);
  EXPECT_EQ(files.Remove(&b), 0);
  EXPECT_EQ(files.Remove(&b), -1);
  EXPECT_FALSE(files.Contains(&b));
  EXPECT_THROW(files.Items(1), EListError);
  // An entry held twice is still there until its last copy leaves, whichever way it goes.
  files.Add(&a);
  files.Delete(0);
  EXPECT_TRUE(files.Contains(&a));
  EXPECT_EQ(files.RemoveLast(&a), 0);
  EXPECT_FALSE(files.Contains(&a));
  files.Add(&b);
  files.Clear();
  EXPECT_FALSE(files.Contains(&b));
}

TEST(InstallSession, ResetForgetsTheRunButKeepsTheObjectsThatStillExist) {
  TInstallSession& session = InstallSession();
  TTestFile file(nullptr, "kept", 10);
  int32_t id = file.UniqueID();
  session.InstallRecordKey = "SOFTWARE\\Quenloft\\Install\\Install0";
  session.RunState.RunActive = true;
  session.DeferRegistrationFailures = true;
  session.FailedRegistrations.Add(&file);
  session.NameClashCounter = 3;
  session.Reset();
  EXPECT_EQ(session.InstallRecordKey, "");
  EXPECT_FALSE(session.RunState.RunActive);
  EXPECT_FALSE(session.DeferRegistrationFailures);
  EXPECT_EQ(session.FailedRegistrations.Count(), 0);
  EXPECT_EQ(session.NameClashCounter, 0);
  EXPECT_FALSE(session.UniqueIDs.Used(id));
  // The file still exists, so it stays registered and can leave the registry when it goes.
  EXPECT_NE(session.InstallFiles.IndexOf(&file), -1);
}

TEST(Parameters, StartEmptyAndCarryACopyOfTheArchiveProgress) {
  TFileStatusParameter status;
  EXPECT_EQ(status.BytesDone, 0);
  EXPECT_EQ(status.TotalPercentDone, 0);
  EXPECT_FALSE(status.Stats.Finished);
  TlzhFileStats stats;
  stats.FileName = "a.txt";
  stats.FileSize = 12;
  stats.Finished = true;
  status.Stats = stats;
  stats.FileSize = 99;
  EXPECT_EQ(status.Stats.FileSize, 12);
  EXPECT_EQ(status.Stats.FileName, "a.txt");
  EXPECT_EQ(TDiskParameter().NewDisk, 0);
  EXPECT_EQ(TDownloadStatusParameter().PercentDone, 0);
  EXPECT_EQ(TMessageParameter().ClassName(), "TMessageParameter");
}

TEST(Defaults, ConstructorsSetTheInitialValues) {
  TComponent owner(nullptr);
  auto* obj = new TTestObject(&owner, "Obj", 1000);
  EXPECT_FALSE(obj->ProcessWithContainer());
  EXPECT_TRUE(obj->Include());
  EXPECT_FALSE(obj->Processed());
  EXPECT_EQ(obj->CurrentInstallType(), itFull);
  EXPECT_TRUE(obj->Uninstall());
  EXPECT_EQ(obj->DestDir(), "");
  EXPECT_EQ(obj->DestDirType(), nullptr);
  EXPECT_EQ(obj->Order(), -1);
  EXPECT_EQ(obj->Container(), nullptr);
  auto* dir = new TFileContainer(&owner);
  EXPECT_TRUE(dir->ProcessWithContainer());
  EXPECT_TRUE(dir->Net());
  EXPECT_EQ(dir->AddToArchive(), lzcOverwrite);
  EXPECT_FALSE(dir->InfoRead());
  EXPECT_EQ(dir->NetLocation(), nullptr);
  EXPECT_EQ(dir->PassState(), TPassState::pstNone);
  EXPECT_TRUE(dir->FireAfterInstallObjects());
  EXPECT_EQ(dir->PassTotalSize(), 0);
  auto* file = new TTestFile(&owner, "File", 0);
  EXPECT_FALSE(file->Net());
  EXPECT_TRUE(file->ProcessWithContainer());
}

TEST(Defaults, TheFileContainerPublishesItsDescription) {
  const TPropInfo* prop = TFileContainer::StaticClassInfo().FindProp("Description");
  ASSERT_NE(prop, nullptr);
  TFileContainer dir(nullptr);
  prop->SetStr(&dir, "Demos");
  EXPECT_EQ(dir.Description(), "Demos");
  RegisterEngineClasses(); // may run more than once
  RegisterEngineClasses();
}

} // namespace
