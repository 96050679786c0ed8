// Unpacking the setup archive with the archive component.
#include "tools/loader/SetupArchiveUnpack.h"

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"
#include "tools/loader/TempSetupDirectory.h"

namespace qnl {

namespace {

std::string Described(const TSetupArchiveSource& Source) {
  return Source.SelfExtracting ? "the setup archive inside " + Source.File : "the setup archive " + Source.File;
}

// The archive's members by name, each file name once and never the directory's marker;
// checks that every member's data lies within the setup archive's bytes.
std::vector<std::string> MembersToUnpack(const TFileHeaders& Headers, const TSetupArchiveSource& Source) {
  if (Headers.Spanned != 0) throw ELoadProgram(Described(Source) + " is spread over disks; it must be one file");
  if (Headers.Count() == 0) throw ELoadProgram(Described(Source) + " holds no installation program");
  std::vector<std::string> names;
  TStringList written; // file names, compared ignoring case as the machine's files are
  written.Add(kSetupDirectoryMarker);
  for (int i = 0; i < Headers.Count(); ++i) {
    const TFileHeader& header = Headers.FileHeaders(i);
    int64_t first = int64_t(Source.Offset) + header.DataStart();
    int64_t last = int64_t(Source.Offset) + header.LastByte();
    if (header.DataStart() <= 0 || last < first || last > Source.LastByte)
      throw ELoadProgram(Format("%s is damaged: the data of its member %s lies outside the archive",
                                {Described(Source), header.FileName()}));
    std::string fileName = ExtractFileName(header.FileName());
    if (written.IndexOf(fileName) >= 0) continue;
    written.Add(fileName);
    names.push_back(header.FileName());
  }
  return names;
}

} // namespace

std::vector<std::string> UnpackSetupArchive(const TSetupArchiveSource& Source, const std::string& Dir) {
  TQnlfCompress archive(nullptr);
  archive.SetCompressedFile(Source.File);
  archive.SetOffset(Source.Offset);
  archive.SetExtractDirectory(Dir);
  archive.SetOverwrite(owAlways);
  std::vector<std::string> targets;
  try {
    archive.OpenArchive();
    for (const std::string& name : MembersToUnpack(archive.FileHeaders(), Source)) {
      archive.FilesToProcess().Add(name);
      targets.push_back(AddBackSlash(Dir) + ExtractFileName(name));
    }
    archive.Extract();
  } catch (const ELoadProgram&) {
    throw;
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot unpack %s: %s", {Described(Source), e.Message()}));
  }
  return targets;
}

} // namespace qnl
