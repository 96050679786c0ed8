// A component's download of its net archive: the record of the file, the clean-up of a
// failed or aborted download.
#include "common/exceptions_Quenloft.h"
#include "engine/InstallSession.h"
#include "engine/TInstallDirectory.h"
#include "paths/cmp_TPathSpecifier.h"
#include "settings/routines_Registry.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* kRecord = "\\SOFTWARE\\Quenloft\\Install\\net-test";

class NetDownload : public NetTest {
protected:
  void SetUp() override {
    NetTest::SetUp();
    InstallSession().InstallRecordKey = kRecord;
    FDirectory = new TInstallDirectory(FOwner.get());
    FDirectory->SetName("Files");
    WriteFile(FServed + "/Files.1", FArchive);
  }
  void TearDown() override {
    InstallSession().InstallRecordKey.clear();
    NetTest::TearDown();
  }
  std::string StoredLocalFile() const {
    return RegReadString(static_cast<int>(TRootKey::rkLocalMachine), std::string(kRecord) + "\\Files", "LocalFile", "");
  }
  TInstallDirectory* FDirectory = nullptr;
};

} // namespace

TEST_F(NetDownload, TheArchiveIsFetchedOnceAndRecorded) {
  FDirectory->SetNetLocation(Location(ipHTTP));
  FDirectory->DownloadArchive();
  std::string local = FDirectory->LocalArchive();
  EXPECT_EQ(local.substr(local.size() - 2), ".1");
  EXPECT_TRUE(ReadMachineFile(local) == FArchive);
  EXPECT_EQ(StoredLocalFile(), local);
  // Fetched before: the stored file serves again without a download.
  FDirectory->SetLocalArchive("");
  FDirectory->SetNetLocation(Location(ipHTTP, "fault/500"));
  FDirectory->DownloadArchive();
  EXPECT_EQ(FDirectory->LocalArchive(), local);
}

TEST_F(NetDownload, AFailedDownloadLeavesNoPartAndNoRecord) {
  FDirectory->SetNetLocation(Location(ipHTTP, "fault/drop"));
  EXPECT_NE(MessageOf([&] { FDirectory->DownloadArchive(); }).find("Could not read from file Files.1"),
            std::string::npos);
  EXPECT_EQ(FDirectory->LocalArchive(), "");
  EXPECT_EQ(StoredLocalFile(), "");
  EXPECT_TRUE(TempFiles().empty()) << TempFiles();
}

TEST_F(NetDownload, AnAbortedDownloadIsTheUsersAbort) {
  TNetInstallLocation* location = Location(ipHTTP, "fault/slow");
  location->OnDataReceived = [](TObject*, const std::string&, int32_t, int32_t Total, int32_t, const void*) {
    if (Total > 20000) SetNetAbort(true);
  };
  FDirectory->SetNetLocation(location);
  EXPECT_EQ(MessageOf([&] { FDirectory->DownloadArchive(); }), "Installation aborted by the user");
  EXPECT_EQ(FDirectory->LocalArchive(), "");
  EXPECT_EQ(StoredLocalFile(), "");
  EXPECT_TRUE(TempFiles().empty()) << TempFiles();
}

TEST_F(NetDownload, ALocationWithoutAHostIsNotFilledIn) {
  TNetInstallLocation* location = Location(ipHTTP);
  location->LoginInformation()->FHostname = " ";
  FDirectory->SetNetLocation(location);
  EXPECT_EQ(MessageOf([&] { FDirectory->DownloadArchive(); }),
            "Files could not install itself because the TNetLocation component's properties, in the NetLocation "
            "property, have not been filled in");
}
