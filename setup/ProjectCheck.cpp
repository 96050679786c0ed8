// Checking a project's text form before it is built.
#include "setup/ProjectCheck.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/InstallSession.h"
#include "engine/ProjectCheck.h"
#include "platform/HostFiles.h"
#include "platform/system/CodePage.h"
#include "platform/system/Environment.h"
#include "rtl/FormText.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"
#include "setup/ScratchVariable.h"
#include "vcl/AnsiText.h"
#include "vcl/Application.h"

namespace qnl {

namespace {

// "Line 12: message" as the text form parser words its errors.
TProjectFinding SyntaxFinding(const std::string& Message) {
  TProjectFinding finding{0, "", Message};
  if (Message.starts_with("Line ")) {
    size_t colon = Message.find(": ");
    finding.Line = std::atoi(Message.c_str() + 5);
    if (colon != std::string::npos) finding.Message = Message.substr(colon + 2);
  }
  return finding;
}

} // namespace

std::vector<TProjectFinding> CheckProjectText(const std::string& Text, const TMainFormFactory& CreateMainForm) {
  TFormTextLines lines;
  std::string binary;
  try {
    // Wide strings stay wide, so that the reader finds every text the code page cannot hold.
    binary = ObjectTextToBinary(Text, nullptr, lines);
  } catch (const EParserError& e) {
    return {SyntaxFinding(e.Message())};
  }
  std::vector<TFormProblem> problems;
  TCustomForm* form = CreateMainForm(&Application());
  TMemoryStream stream{std::move(binary)};
  ReadRootComponentNoting(stream, form, MachineAnsiCodePage(), problems);
  for (TFormProblem& problem : CheckInstallFiles()) problems.push_back(std::move(problem));

  std::vector<TProjectFinding> findings;
  for (const TFormProblem& p : problems) {
    int line = lines.LineOf(p.Component, p.Property);
    // A component may be found at fault twice for one thing (by its loading and by the build's
    // look): once, at the property's line when one of them names it.
    auto seen = std::find_if(findings.begin(), findings.end(), [&](const TProjectFinding& F) {
      return F.Component == p.Component && F.Message.ends_with(p.Message);
    });
    if (seen != findings.end()) {
      if (!p.Property.empty()) seen->Line = line;
      continue;
    }
    std::string message = p.Property.empty() || p.Message.find(p.Property) != std::string::npos
                              ? p.Message
                              : p.Property + ": " + p.Message;
    findings.push_back({line, p.Component, message});
  }
  std::stable_sort(findings.begin(), findings.end(),
                   [](const TProjectFinding& A, const TProjectFinding& B) { return A.Line < B.Line; });
  return findings;
}

int RunProjectCheck(const std::string& FormFile, int Argc, char** Argv, const TMainFormFactory& CreateMainForm) {
  std::vector<TProjectFinding> findings;
  try {
    std::string text = host::ReadWholeFile(FormFile);
    // Nothing is shown unless the caller chose a platform.
    if (!GetEnvironmentVariable("QT_QPA_PLATFORM")) SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
    TLookOnlyEnvironment environment("quenloft check");
    TApplication app(Argc, Argv);
    TScopeExit components([&app] { app.DestroyComponents(); });
    SetAnsiCodePage(MachineCodePage());
    RegisterSetupClasses();
    InstallSession().LookOnly = true;
    findings = CheckProjectText(text, CreateMainForm);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quenloft check: %s\n", e.what());
    return 2;
  }
  for (const TProjectFinding& f : findings) {
    std::string where = FormFile + ":" + std::to_string(f.Line) + ": ";
    std::string line = where + AnsiToUtf8((f.Component.empty() ? "" : f.Component + ": ") + f.Message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return findings.empty() ? 0 : 1;
}

} // namespace qnl
