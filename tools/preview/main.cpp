// quenloft-preview (run by "quenloft preview") PROJECT [--form NAME | --page DIALOG] -o FILE.png
// [--language LANG]: one window of a project drawn offscreen to a PNG, without installing
// anything.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/exceptions_Quenloft.h"
#include "main/formMain.h"
#include "platform/HostFiles.h"
#include "platform/system/Environment.h"
#include "rtl/FormText.h"
#include "rtl/FormValues.h"
#include "rtl/ResourceBundle.h"
#include "rtl/SysUtils.h"
#include "setup/ProjectPreview.h"
#include "setup/ScratchVariable.h"
#include "tools/quenloft/ToolFiles.h"

namespace {

using namespace qnl;
using qnl::tool::CompileFormFile;

const char* const kUsage =
    "usage: quenloft preview PROJECT [--form NAME | --page DIALOG] -o FILE.png [--language LANG]";

// The project's binary form resource from a text form, a binary form resource or a setup
// program.
std::string ProjectResource(const std::string& Path) {
  if (SameText(ExtractFileExt(Path), ".txt")) return CompileFormFile(Path);
  host::THostFileStream file(Path);
  if (file.ReadString(file.Size() < 4 ? file.Size() : 4) == kFormSignature) {
    file.SetPosition(0);
    return file.ReadString(file.Size());
  }
  auto bundle = TResourceBundle::Open(file);
  const TResourceEntry* entry = bundle ? bundle->Find(kProjectResourceName) : nullptr;
  if (!entry)
    throw Exception(Path + " is neither a text form, a binary form resource nor a setup program carrying a project");
  return bundle->Read(file, *entry);
}

int Preview(const std::vector<std::string>& Args) {
  std::string project, output;
  TPreviewRequest request;
  for (size_t i = 0; i < Args.size(); ++i) {
    bool hasValue = i + 1 < Args.size();
    if (Args[i] == "-o" && hasValue)
      output = Args[++i];
    else if (Args[i] == "--form" && hasValue && request.DialogName.empty())
      request.FormName = Args[++i];
    else if (Args[i] == "--page" && hasValue && request.FormName.empty())
      request.DialogName = Args[++i];
    else if (Args[i] == "--language" && hasValue)
      request.Language = Args[++i];
    else if (project.empty() && !Args[i].starts_with("-"))
      project = Args[i];
    else
      throw Exception(kUsage);
  }
  if (project.empty() || output.empty()) throw Exception(kUsage);

  // The windows are drawn, never shown, unless the caller chose a platform.
  if (!GetEnvironmentVariable("QT_QPA_PLATFORM")) SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  TLookOnlyEnvironment environment("quenloft preview");
  request.Project = ProjectResource(project);
  std::string png = PreviewProject(request, [](TComponent* Owner) { return new TformMain(Owner); });
  host::WriteWholeFile(output, png);
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  try {
    return Preview(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quenloft preview: %s\n", e.what());
    return 1;
  }
}
