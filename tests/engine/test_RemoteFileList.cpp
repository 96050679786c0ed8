// "filelist.lst": the sizes, dates and versions of a network distribution's files.
#include "tests/engine/SequenceTestSupport.h"

#include "engine/FileListRecord.h"
#include "engine/RemoteFileList.h"
#include "engine/TCustomInstallFile.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const char* const kList = "C:\\windows\\temp\\filelist.lst";

std::string Count(uint32_t Value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((Value >> shift) & 0xFF);
  return bytes;
}

std::string Unreadable(const std::string& Path) { return "Cannot read the remote list of files: " + Path; }

class RemoteFileList : public SequenceTest {
protected:
  TCustomInstallFile* AddFile(const std::string& Name, int32_t Size, uint8_t Archived = 1) {
    auto* file = new TCustomInstallFile(FOrm.get());
    file->SetName(Name);
    file->SetSourceSize(Size);
    file->SetSourceDate(40000.25);
    file->SetSourceVersion("1.0");
    file->SetArchived(Archived);
    return file;
  }
};

TEST_F(RemoteFileList, RecordsGoToTheFilesOfTheirNamesIgnoringCase) {
  TCustomInstallFile* readme = AddFile("Readme", 5);
  TCustomInstallFile* program = AddFile("Program", 7);
  WriteMachineFile(kList, Count(2) + EncodeFileListRecord({1234, 45000.5, "README", "2.1.0"}) +
                              EncodeFileListRecord({99, 1.0, "Unknown", "9"}));
  ReadRemoteFileList(kList);
  EXPECT_EQ(readme->SourceSize(), 1234);
  EXPECT_DOUBLE_EQ(readme->SourceDate(), 45000.5);
  EXPECT_EQ(readme->SourceVersion(), "2.1.0");
  EXPECT_EQ(program->SourceSize(), 7);
  EXPECT_EQ(program->SourceVersion(), "1.0");
}

TEST_F(RemoteFileList, AListCutShortCannotBeRead) {
  std::string record = EncodeFileListRecord({1, 2.0, "Readme", "1"});
  ASSERT_EQ(record.size(), kFileListRecordSize);
  for (const std::string& bytes :
       {std::string("\1\0\0", 3), Count(2) + record, Count(1) + record.substr(0, 71), std::string()}) {
    WriteMachineFile(kList, bytes);
    QNL_EXPECT_THROW_MESSAGE(ReadRemoteFileList(kList), IEInstall, Unreadable(kList));
  }
  QNL_EXPECT_THROW_MESSAGE(ReadRemoteFileList("C:\\missing.lst"), IEInstall, Unreadable("C:\\missing.lst"));
}

TEST_F(RemoteFileList, ANegativeCountReadsNoRecord) {
  TCustomInstallFile* readme = AddFile("Readme", 5);
  WriteMachineFile(kList, Count(0xFFFFFFFFu) + EncodeFileListRecord({1234, 45000.5, "Readme", "2"}));
  EXPECT_NO_THROW(ReadRemoteFileList(kList));
  EXPECT_EQ(readme->SourceSize(), 5);
}

TEST_F(RemoteFileList, TheWrittenListReadsBackForTheArchivedFiles) {
  std::vector<TCustomInstallFile*> files{AddFile("Readme", 11, 1), AddFile("Program", 22, 2), AddFile("Local", 33, 0)};
  EXPECT_EQ(WriteRemoteFileList(kList), 2);
  std::string bytes = ReadMachineFile(kList);
  EXPECT_EQ(bytes.size(), 4 + 2 * kFileListRecordSize);
  EXPECT_EQ(bytes.substr(0, 4), Count(2));
  for (TCustomInstallFile* file : files) {
    file->SetSourceSize(0);
    file->SetSourceVersion("");
  }
  ReadRemoteFileList(kList);
  EXPECT_EQ(files[0]->SourceSize(), 11);
  EXPECT_EQ(files[1]->SourceSize(), 22);
  EXPECT_EQ(files[1]->SourceVersion(), "1.0");
  EXPECT_EQ(files[2]->SourceSize(), 0);
}

} // namespace
