// The registry class, helpers, RunOnce registration and install records.
#include <gtest/gtest.h>

#include "rtl/TypInfo.h"
#include "settings/cmp_TInstallInformation.h"
#include "settings/cmp_TQnlfRegistry.h"
#include "settings/routines_Components.h"
#include "settings/routines_Registry.h"
#include "tests/support/MachineTest.h"
#include "tests/support/TestFiles.h"

namespace qnl {
namespace {

// Settings go through TMachine::Current(), which follows WINEPREFIX of each test.
class SettingsTest : public test::TMachineTest {
protected:
  void SetUp() override {
    test::TMachineTest::SetUp();
    TMachine::Current();
  }
};

TEST_F(SettingsTest, RootKeyCodesBothWays) {
  EXPECT_EQ(RootKeyFromCode(0), TRootKey::rkClassesRoot);
  EXPECT_EQ(RootKeyFromCode(4), TRootKey::rkLocalMachine);
  EXPECT_EQ(RootKeyFromCode(6), std::nullopt);
  EXPECT_EQ(RootKeyToCode(TRootKey::rkUsers, -1), 5);
  EXPECT_EQ(RootKeyToCode(std::nullopt, 99), 99);
  TqnlfRegistry reg;
  SetRootKeyCode(reg, 17);
  EXPECT_EQ(reg.RootKey(), TRootKey::rkCurrentUser);
  SetRootKeyCode(reg, 4);
  EXPECT_EQ(reg.RootKey(), TRootKey::rkLocalMachine);
}

TEST_F(SettingsTest, RelativePathIsResolvedBelowTheCurrentKey) {
  TqnlfRegistry reg;
  reg.SetRootKey(TRootKey::rkLocalMachine);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Outer", true));
  ASSERT_TRUE(reg.OpenKey("Inner", true));
  EXPECT_EQ(reg.CurrentPath(), "\\Software\\Outer\\Inner");
  reg.WriteString("v", "x");
  reg.CloseKey();
  EXPECT_EQ(TRegKey::Open(TRootKey::rkLocalMachine, "Software\\Outer\\Inner")->ReadString("v"), "x");
  ASSERT_TRUE(reg.OpenKey("\\Software", false));
  EXPECT_TRUE(reg.KeyExists("Outer\\Inner"));
  EXPECT_TRUE(reg.KeyExists("\\Software\\Outer"));
  EXPECT_FALSE(reg.KeyExists("Inner"));
}

TEST_F(SettingsTest, DeletingAKeyRemovesTheWholeTree) {
  TRegKey::Create(TRootKey::rkLocalMachine, "Software\\Tree\\A\\B\\C").WriteDWord("x", 1);
  TRegKey::Create(TRootKey::rkLocalMachine, "Software\\Tree\\D");
  TqnlfRegistry reg;
  reg.SetRootKey(TRootKey::rkLocalMachine);
  EXPECT_TRUE(reg.DeleteKey("\\Software\\Tree"));
  EXPECT_FALSE(TRegKey::Exists(TRootKey::rkLocalMachine, "Software\\Tree"));
  EXPECT_FALSE(reg.DeleteKey("\\Software\\Tree"));
}

TEST_F(SettingsTest, ValuesKeepTheirTypes) {
  TqnlfRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Types", true));
  reg.WriteString("s", "text");
  reg.WriteInteger("i", -5);
  reg.WriteFloat("f", 45000.25);
  EXPECT_EQ(reg.ReadString("s"), "text");
  EXPECT_EQ(reg.ReadInteger("i"), -5);
  EXPECT_EQ(reg.ReadFloat("f"), 45000.25);
  EXPECT_EQ(reg.CurrentKey()->ReadValue("f")->Type, TRegType::rtBinary);
  reg.WriteBinaryData("short", "1234");
  EXPECT_THROW(reg.ReadFloat("short"), ERegistryException); // a float needs exactly 8 bytes
  EXPECT_THROW(reg.ReadInteger("s"), ERegistryException);
}

TEST_F(SettingsTest, ReadOnlyKeysRefuseWrites) {
  TRegKey::Create(TRootKey::rkCurrentUser, "Software\\RO");
  TqnlfRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\RO"));
  EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
}

TEST_F(SettingsTest, HelpersUseDefaultsAndRaiseOnWriteFailure) {
  RegWriteString(2, "\\Software\\Helpers", "Name", "Value");
  RegWriteInteger(4, "\\Software\\Helpers", "Count", 42);
  EXPECT_EQ(RegReadString(2, "\\Software\\Helpers", "Name", "def"), "Value");
  EXPECT_EQ(RegReadString(2, "\\Software\\Helpers", "Missing", "def"), "def");
  EXPECT_EQ(RegReadString(2, "\\Software\\Nowhere", "Name", "def"), "def");
  EXPECT_EQ(RegReadInteger(4, "\\Software\\Helpers", "Count", 0), 42);
  EXPECT_EQ(RegReadInteger(2, "\\Software\\Helpers", "Name", 7), 7); // wrong type: the default
  try {
    RegWriteString(3, "\\Dyn", "Ident", "Val"); // HKEY_DYN_DATA is not emulated
    FAIL() << "no error";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_STREQ(e.what(), "Cannot install into registry. Key: \\Dyn Ident: Ident Value Val");
  }
  try {
    RegWriteInteger(3, "\\Dyn", "Ident", 1);
    FAIL() << "no error";
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_STREQ(e.what(), "\\Dyn");
  }
  RegDeleteKeyTree(2, "\\Software\\Helpers");
  EXPECT_FALSE(TRegKey::Exists(TRootKey::rkCurrentUser, "Software\\Helpers"));
  RegDeleteKeyTree(3, "\\Whatever"); // failures are ignored
}

TEST_F(SettingsTest, RunOnceWithUniqueTakesTheNextFreeNumber) {
  auto runOnce = TRegKey::Create(TRootKey::rkLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
  runOnce.WriteString("QuenloftUnfinished", "first");
  runOnce.WriteString("QuenloftUnfinished1", "second");
  EXPECT_TRUE(RegisterRunOnce("QuenloftUnfinished", "third", true));
  EXPECT_EQ(runOnce.ReadString("QuenloftUnfinished2"), "third");
  EXPECT_TRUE(RegisterRunOnce("QuenloftUnfinished", "over", false));
  EXPECT_EQ(runOnce.ReadString("QuenloftUnfinished"), "over");
  // Written through to the hive file at once (lazy writing off).
  EXPECT_NE(test::ReadFile(FDir + "/system.reg").find("\"QuenloftUnfinished2\"=\"third\""), std::string::npos);
}

TFileFacts gFacts;
TFileFacts FakeFacts(const std::string&) { return gFacts; }

TEST_F(SettingsTest, InstallRecordsMatchByDateAndSize) {
  gFacts = {45000.5, 1000};
  TInstallRecordQuery query{"C:\\a\\setup.exe", 45001.0, ""};
  EXPECT_EQ(FindInstallRecord(false, query, FakeFacts), "");
  std::string first = FindInstallRecord(true, query, FakeFacts);
  EXPECT_EQ(first, "\\SOFTWARE\\Quenloft\\Install\\Install0");
  // Same size, other date: a second record.
  gFacts = {45000.75, 1000};
  EXPECT_EQ(FindInstallRecord(true, query, FakeFacts), "\\SOFTWARE\\Quenloft\\Install\\Install1");
  // The first program copied elsewhere finds its record and updates Path.
  gFacts = {45000.5 + 5e-8, 1000};
  TInstallRecordQuery moved{"D:\\copy\\setup.exe", 45002.0, ""};
  EXPECT_EQ(FindInstallRecord(true, moved, FakeFacts), first);
  EXPECT_EQ(RegReadString(4, first, "Path", ""), "D:\\copy\\setup.exe");
  TqnlfRegistry reg;
  reg.SetRootKey(TRootKey::rkLocalMachine);
  ASSERT_TRUE(reg.OpenKey(first, false));
  EXPECT_EQ(reg.ReadDateTime("LastRunDate"), 45002.0);
  EXPECT_EQ(reg.ReadDateTime("CreationDate"), 45000.5);
  EXPECT_EQ(reg.ReadInteger("Size"), 1000);
  EXPECT_FALSE(reg.ValueExists("SelfExtract"));
}

TEST_F(SettingsTest, NewRecordTakesTheSmallestFreeNumber) {
  TRegKey::Create(TRootKey::rkLocalMachine, "SOFTWARE\\Quenloft\\Install\\Install0");
  TRegKey::Create(TRootKey::rkLocalMachine, "SOFTWARE\\Quenloft\\Install\\Install2");
  gFacts = {1.0, 5};
  TInstallRecordQuery query{"C:\\s.exe", 2.0, "C:\\src\\setup.exe"};
  std::string path = FindInstallRecord(true, query, FakeFacts);
  EXPECT_EQ(path, "\\SOFTWARE\\Quenloft\\Install\\Install1");
  EXPECT_EQ(RegReadString(4, path, "SelfExtract", ""), "C:\\src\\setup.exe");
}

TEST_F(SettingsTest, MissingExecutableGivesNoRecord) {
  TInstallRecordQuery query{"C:\\does\\not\\exist.exe", 1.0, ""};
  EXPECT_EQ(FindInstallRecord(true, query), "");
}

TEST(InstallInformation, DefaultsAndPublishedProperties) {
  TInstallInformation info;
  EXPECT_EQ(info.FCompanyName, "My Company");
  EXPECT_EQ(info.FProductName, "My product");
  EXPECT_EQ(info.FVersion, "1.0");
  const TClassInfo& cls = TInstallInformation::StaticClassInfo();
  for (const char* name : {"CompanyName", "ProductName", "Version"}) EXPECT_NE(cls.FindProp(name), nullptr) << name;
  TInstallInformation other;
  other.FProductName = "Other";
  info.Assign(&other);
  EXPECT_EQ(info.FProductName, "Other");
}

TEST(UniqueComponentName, AppendsTheFirstFreeNumber) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  auto* c = new TComponent(&owner);
  UniqueComponentName(a, "Item");
  UniqueComponentName(b, "Item");
  UniqueComponentName(c, "Item");
  EXPECT_EQ(a->Name(), "Item");
  EXPECT_EQ(b->Name(), "Item1");
  EXPECT_EQ(c->Name(), "Item2");
}

} // namespace
} // namespace qnl
