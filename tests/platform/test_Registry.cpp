// Registry keys and values on a real machine folder.
#include <gtest/gtest.h>

#include "platform/registry/RegFileExport.h"
#include "platform/registry/Registry.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/MachineTest.h"
#include "tests/support/TestFiles.h"

namespace qnl {
namespace {

using test::ReadFile;
using test::WriteFile;

class RegistryTest : public test::TMachineTest {
protected:
  TRegKey Create(std::string_view Path, TRootKey Root = TRootKey::rkLocalMachine) {
    return TRegKey::Create(Machine(), Root, Path);
  }
  std::optional<TRegKey> Open(std::string_view Path, TRootKey Root = TRootKey::rkLocalMachine) {
    return TRegKey::Open(Machine(), Root, Path);
  }
};

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndKeepTheirCase) {
  TRegKey key = Create("Software\\MyCompany\\Product");
  key.WriteString("InstallDir", "C:\\App");
  auto again = Open("SOFTWARE\\mycompany\\PRODUCT");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->ReadString("installdir"), "C:\\App");
  EXPECT_EQ(again->ValueNames(), std::vector<std::string>{"InstallDir"});
  auto parent = Open("software\\MYCOMPANY");
  ASSERT_TRUE(parent);
  EXPECT_EQ(parent->SubKeyNames(), std::vector<std::string>{"Product"});
  again->WriteString("INSTALLDIR", "D:\\App"); // replaces, keeps one value
  EXPECT_EQ(key.Values().size(), 1u);
  EXPECT_EQ(key.ReadString("InstallDir"), "D:\\App");
}

TEST_F(RegistryTest, EveryValueTypeReadsBackByteForByte) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes.push_back(char(b));
  std::string text;
  for (int b = 1; b < 256; ++b) text.push_back(char(b)); // any ANSI byte but NUL
  {
    TRegKey key = Create("Software\\Types");
    key.WriteString("", "default value");
    key.WriteString("sz", text);
    key.WriteExpandString("expand", "%SystemRoot%\\system32");
    key.WriteMultiString("multi", {"first", "", "third \"quoted\""});
    key.WriteDWord("dword", 0xDEADBEEF);
    key.WriteQWord("qword", 0x0123456789ABCDEFULL);
    key.WriteBinary("binary", allBytes);
    key.WriteBinary("empty", "");
    key.WriteValue("bigendian", TRegType::rtDWordBigEndian, std::string("\x12\x34\x56\x78", 4));
    key.WriteValue("type 1234", TRegType(0x1234), "raw");
    key.WriteValue("short dword", TRegType::rtDWord, "\x01\x02");
  }
  CloseMachine(); // compacts into system.reg; the next machine object reads only the file
  ASSERT_EQ(ReadFile(FDir + "/system.reg.journal").size(), 16u);
  auto key = Open("Software\\Types");
  ASSERT_TRUE(key);
  auto value = [&](const char* Name) {
    auto v = key->ReadValue(Name);
    EXPECT_TRUE(v) << Name;
    return v ? *v : TRegValue{};
  };
  EXPECT_EQ(value("").Data, "default value");
  EXPECT_EQ(value("sz").Data, text);
  EXPECT_EQ(value("sz").Type, TRegType::rtString);
  EXPECT_EQ(value("expand").Type, TRegType::rtExpandString);
  EXPECT_EQ(value("expand").Data, "%SystemRoot%\\system32");
  EXPECT_EQ(value("multi").Data, std::string("first\0\0third \"quoted\"\0", 22));
  EXPECT_EQ(value("dword").AsDWord(), 0xDEADBEEFu);
  EXPECT_EQ(value("qword").Data, std::string("\xEF\xCD\xAB\x89\x67\x45\x23\x01", 8));
  EXPECT_EQ(value("binary").Data, allBytes);
  EXPECT_EQ(value("empty").Data, "");
  EXPECT_EQ(value("bigendian").Type, TRegType::rtDWordBigEndian);
  EXPECT_EQ(value("type 1234").Type, TRegType(0x1234));
  EXPECT_EQ(value("type 1234").Data, "raw");
  EXPECT_EQ(value("short dword").Data, "\x01\x02");
  std::string file = ReadFile(FDir + "/system.reg");
  EXPECT_NE(file.find("\"dword\"=dword:deadbeef\n"), std::string::npos);
  EXPECT_NE(file.find("\"expand\"=str(2):\"%SystemRoot%\\\\system32\"\n"), std::string::npos);
  EXPECT_NE(file.find("\"qword\"=hex(b):ef,cd,ab,89,67,45,23,01\n"), std::string::npos);
  EXPECT_NE(file.find("\"short dword\"=hex(4):01,02\n"), std::string::npos);
  EXPECT_NE(file.find("@=\"default value\"\n"), std::string::npos);
}

TEST_F(RegistryTest, DeletingAKeyWithSubkeysFails) {
  Create("Software\\Tree\\Leaf");
  EXPECT_FALSE(TRegKey::Delete(Machine(), TRootKey::rkLocalMachine, "Software\\Tree"));
  EXPECT_TRUE(Open("Software\\Tree\\Leaf"));
  EXPECT_TRUE(TRegKey::Delete(Machine(), TRootKey::rkLocalMachine, "Software\\Tree\\Leaf"));
  EXPECT_TRUE(TRegKey::Delete(Machine(), TRootKey::rkLocalMachine, "Software\\Tree"));
  EXPECT_FALSE(Open("Software\\Tree"));
  EXPECT_FALSE(TRegKey::Delete(Machine(), TRootKey::rkLocalMachine, "Software\\Tree"));
}

TEST_F(RegistryTest, ADeletedKeyFindsNothingAndRefusesWrites) {
  TRegKey key = Create("Software\\Gone");
  key.WriteDWord("a", 1);
  ASSERT_TRUE(TRegKey::Delete(Machine(), TRootKey::rkLocalMachine, "Software\\Gone"));
  EXPECT_FALSE(key.StillExists());
  EXPECT_FALSE(key.ReadValue("a"));
  EXPECT_THROW(key.WriteDWord("a", 2), ERegistry);
}

TEST_F(RegistryTest, DeleteValueReportsWhetherItExisted) {
  TRegKey key = Create("Software\\V");
  key.WriteDWord("x", 1);
  EXPECT_TRUE(key.DeleteValue("X"));
  EXPECT_FALSE(key.DeleteValue("x"));
  EXPECT_FALSE(key.ValueExists("x"));
}

TEST_F(RegistryTest, ClassesRootIsTheViewOfSoftwareClasses) {
  TRegKey cls = Create(".txt", TRootKey::rkClassesRoot);
  cls.WriteString("", "txtfile");
  EXPECT_EQ(cls.FullName(), "HKEY_CLASSES_ROOT\\.txt");
  auto viaMachine = Open("Software\\Classes\\.TXT");
  ASSERT_TRUE(viaMachine);
  EXPECT_EQ(viaMachine->ReadString(""), "txtfile");
  EXPECT_EQ(TRegKey::ReadStringAt(Machine(), TRootKey::rkClassesRoot, ".TXT", ""), "txtfile");
  EXPECT_EQ(TRegKey::ReadStringAt(Machine(), TRootKey::rkClassesRoot, ".none", ""), std::nullopt);
  EXPECT_FALSE(TRegKey::Delete(Machine(), TRootKey::rkClassesRoot, "")); // never the view itself
}

TEST_F(RegistryTest, UnemulatedRootsCannotBeOpened) {
  EXPECT_FALSE(TRegKey::Open(Machine(), TRootKey::rkDynData, ""));
  EXPECT_THROW(TRegKey::Create(Machine(), TRootKey::rkUsers, "x"), ERegistry);
}

TEST_F(RegistryTest, CurrentUserLivesInUserReg) {
  Create("Software\\Mine", TRootKey::rkCurrentUser).WriteDWord("n", 7);
  CloseMachine();
  EXPECT_NE(ReadFile(FDir + "/user.reg").find("[Software\\\\Mine]"), std::string::npos);
  EXPECT_EQ(ReadFile(FDir + "/system.reg").find("[Software\\\\Mine]"), std::string::npos);
}

TEST_F(RegistryTest, RootNamesBothWays) {
  EXPECT_EQ(RootKeyFromName("hklm"), TRootKey::rkLocalMachine);
  EXPECT_EQ(RootKeyFromName("HKEY_CURRENT_USER"), TRootKey::rkCurrentUser);
  EXPECT_EQ(RootKeyFromName("HKX"), std::nullopt);
  EXPECT_STREQ(RootKeyName(TRootKey::rkClassesRoot), "HKEY_CLASSES_ROOT");
}

TEST_F(RegistryTest, ADamagedHiveIsReportedAndNeverOverwritten) {
  Machine();
  CloseMachine();
  std::string damaged = "WINE REGISTRY Version 2\n\n[Software] 1\n\"a\"=hex:zz\n";
  WriteFile(FDir + "/system.reg", damaged);
  TMachine machine(FDir);
  try {
    TRegKey::Create(machine, TRootKey::rkLocalMachine, "Software\\X");
    FAIL() << "no error";
  } catch (const EHiveDamaged& e) {
    EXPECT_NE(std::string(e.what()).find("system.reg\", line 4"), std::string::npos) << e.what();
  }
  machine.Flush();
  EXPECT_EQ(ReadFile(FDir + "/system.reg"), damaged);
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeen) {
  TRegKey key = Create("Software\\Shared");
  key.WriteString("mine", "1");
  uint64_t version = key.HiveVersion();
  std::string output;
  ASSERT_EQ(
      test::RunProgram({test::TestBinDir() + "/test_RegistryChild", "write", "Software\\Shared", "child", "3"}, output),
      0);
  EXPECT_EQ(output, "done\n");
  EXPECT_NE(key.HiveVersion(), version);
  EXPECT_EQ(key.ReadString("child2"), "2");
  EXPECT_EQ(key.ValueNames().size(), 4u);
}

TEST_F(RegistryTest, AHiveWrittenHereLoadsInAFreshProcess) {
  TRegKey key = Create("Software\\Fresh");
  key.WriteBinary("bin", std::string("\x00\xff\x7f", 3));
  key.WriteString("text", "caf\xe9");
  CloseMachine();
  std::string output;
  ASSERT_EQ(test::RunProgram({test::TestBinDir() + "/test_RegistryChild", "dump", "Software\\Fresh"}, output), 0);
  EXPECT_EQ(output, "bin=3:00ff7f\ntext=1:636166e9\n");
}

} // namespace
} // namespace qnl

namespace qnl {
namespace {

class RegistryExportTest : public test::TMachineTest {};

TEST_F(RegistryExportTest, ExportWritesWhatRegeditImports) {
  TRegKey key = TRegKey::Create(Machine(), TRootKey::rkLocalMachine, "Software\\Exp");
  key.WriteString("", "d");
  key.WriteString("s", "a\\b\"c");
  key.WriteDWord("n", 42);
  key.WriteExpandString("e", "%X%");
  key.CreateSubKey("Sub").WriteBinary("b", "\x01\x02");
  EXPECT_EQ(ExportRegFile(key, TRegFileFormat::rfRegedit4),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Exp]\r\n@=\"d\"\r\n\"e\"=hex(2):25,58,25,00\r\n"
            "\"n\"=dword:0000002a\r\n\"s\"=\"a\\\\b\\\"c\"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Exp\\Sub]\r\n"
            "\"b\"=hex:01,02\r\n\r\n");
  std::string v5 = ExportRegFile(key, TRegFileFormat::rfVersion5);
  EXPECT_EQ(v5.substr(0, 4), std::string("\xff\xfeW\0", 4));
  std::string narrow; // every character of this export is ASCII
  for (size_t i = 2; i + 1 < v5.size(); i += 2) narrow.push_back(v5[i]);
  EXPECT_NE(narrow.find("Windows Registry Editor Version 5.00\r\n"), std::string::npos);
  EXPECT_NE(narrow.find("\"e\"=hex(2):25,00,58,00,25,00,00,00\r\n"), std::string::npos);
}

} // namespace
} // namespace qnl
