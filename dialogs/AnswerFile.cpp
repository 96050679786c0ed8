// Answer files.
#include "dialogs/AnswerFile.h"

#include <memory>

#include "common/InstallLog.h"
#include "dialogs/TBaseInstallForm.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "platform/files/Files.h"
#include "platform/files/WholeFile.h"
#include "platform/files/WinPaths.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"
#include "vcl/CheckBox.h"
#include "vcl/Edit.h"
#include "vcl/Form.h"
#include "vcl/GroupBox.h"

namespace qnl {

namespace {

constexpr const char* kAnswersVariable = "QUENLOFT_ANSWERS";
constexpr const char* kSaveAnswersVariable = "QUENLOFT_SAVE_ANSWERS";

// Why Dir cannot be made a directory; empty when it can.
std::string WhyNoDirectory(const std::string& Dir) {
  if (Dir.size() < 3 || !std::isalpha(static_cast<unsigned char>(Dir[0])) || Dir[1] != ':' || Dir[2] != '\\')
    return "\"" + Dir + "\" is not a full path such as C:\\Program Files\\Product";
  if (Dir.find_first_of("<>\"|?*/", 2) != std::string::npos || Dir.find(':', 2) != std::string::npos)
    return "\"" + Dir + "\" has a character a directory name cannot have";
  // The nearest part that exists must be a directory: below it the rest can be made.
  std::string part = Dir;
  while (!part.empty() && !FileExists(part) && !DirectoryExists(part)) {
    size_t slash = part.find_last_of('\\');
    if (slash == std::string::npos || slash < 2) break;
    part.resize(slash == 2 ? 3 : slash);
  }
  if (!DirectoryExists(part)) return "\"" + part + "\" is not a directory, so \"" + Dir + "\" cannot be created";
  return "";
}

std::string WhyNoFolder(const std::string& Folder) {
  if (Trim(Folder).empty()) return "the folder name is empty";
  if (Folder.find_first_of("<>\"|?*:/") != std::string::npos)
    return "\"" + Folder + "\" has a character a folder name cannot have";
  return "";
}

std::string WhyNoYesNo(const std::string& Value) {
  return SameText(Value, "Yes") || SameText(Value, "No") ? "" : "\"" + Value + "\" is neither Yes nor No";
}

// The pages' sections and what each key takes.
struct TPageKey {
  const char* Section;
  const char* Key;
  std::string (*Why)(const std::string& Value);
};

constexpr TPageKey kPageKeys[] = {
    {"Select Destination", "Directory", WhyNoDirectory},
    {"Select Folder", "Folder", WhyNoFolder},
    {"Reboot", "Reboot", WhyNoYesNo},
};

bool IsPageSection(const std::string& Section) {
  for (const TPageKey& row : kPageKeys)
    if (SameText(row.Section, Section)) return true;
  return false;
}

const TPageKey* FindPageKey(const std::string& Section, const std::string& Key) {
  for (const TPageKey& row : kPageKeys)
    if (SameText(row.Section, Section) && SameText(row.Key, Key)) return &row;
  return nullptr;
}

// A project's own form: its class is T<name>, as the form designer names it.
bool IsFormSection(const std::string& Section) {
  const TClassInfo* cls = FindClass("T" + Section);
  const TClassInfo* form = FindClass("TForm");
  return cls && form && cls->InheritsFrom(*form);
}

std::string Lines(const std::string& Text, size_t& At) {
  size_t end = Text.find('\n', At);
  std::string line = Text.substr(At, end == std::string::npos ? std::string::npos : end - At);
  At = end == std::string::npos ? Text.size() : end + 1;
  return Trim(line);
}

// A path from the environment: Unix when it starts with "/", else Windows.
std::string FileFromVariable(const std::string& Value) { return Value.starts_with("/") ? WindowsPathOf(Value) : Value; }

} // namespace

TAnswerFile TAnswerFile::Parse(const std::string& Text, const std::string& FileName) {
  TAnswerFile file;
  file.FFileName = FileName;
  size_t at = 0;
  for (int number = 1; at < Text.size(); ++number) {
    std::string line = Lines(Text, at);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      file.FSections.push_back({Trim(line.substr(1, line.size() - 2)), {}});
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos || file.FSections.empty())
      throw EAnswerFile("answer file " + FileName + ", line " + std::to_string(number) + ": \"" + line +
                        "\" is neither a [Section] nor a Key=Value line within one");
    file.FSections.back().Entries.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }
  return file;
}

EAnswerFile TAnswerFile::Error(const std::string& Section, const std::string& Key, const std::string& Why) const {
  return EAnswerFile("answer file " + FFileName + ", [" + Section + "] " + Key + ": " + Why);
}

const TAnswerFile::TSection* TAnswerFile::FindSection(const std::string& Name) const {
  for (const TSection& section : FSections)
    if (SameText(section.Name, Name)) return &section;
  return nullptr;
}

void TAnswerFile::Validate() const {
  for (const TSection& section : FSections) {
    bool page = IsPageSection(section.Name);
    if (!page && !IsFormSection(section.Name))
      throw Error(section.Name, section.Entries.empty() ? "" : section.Entries.front().first,
                  "no page and no form of this setup has that name");
    if (!page) continue; // a form's controls are known when it is shown
    for (const auto& [key, value] : section.Entries) Take(section.Name, key);
  }
}

std::optional<std::string> TAnswerFile::Take(const std::string& Section, const std::string& Key) const {
  const TSection* section = FindSection(Section);
  if (!section) return std::nullopt;
  for (const auto& [key, value] : section->Entries) {
    if (!SameText(key, Key)) continue;
    if (const TPageKey* row = FindPageKey(Section, Key))
      if (std::string why = row->Why(value); !why.empty()) throw Error(Section, Key, why);
    return value;
  }
  if (IsPageSection(Section))
    for (const auto& [key, value] : section->Entries)
      if (!FindPageKey(Section, key)) throw Error(Section, key, "the page has no value of that name");
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> TAnswerFile::Entries(const std::string& Section) const {
  const TSection* section = FindSection(Section);
  return section ? section->Entries : std::vector<std::pair<std::string, std::string>>{};
}

void TAnswerFile::Set(const std::string& Section, const std::string& Key, const std::string& Value) {
  auto section =
      std::find_if(FSections.begin(), FSections.end(), [&](const TSection& S) { return SameText(S.Name, Section); });
  if (section == FSections.end()) section = FSections.insert(FSections.end(), TSection{Section, {}});
  for (auto& [key, value] : section->Entries)
    if (SameText(key, Key)) {
      value = Value;
      return;
    }
  section->Entries.emplace_back(Key, Value);
}

std::string TAnswerFile::Text() const {
  std::string text;
  for (const TSection& section : FSections) {
    text += (text.empty() ? "[" : "\r\n[") + section.Name + "]\r\n";
    for (const auto& [key, value] : section.Entries) text += key + "=" + value + "\r\n";
  }
  return text;
}

const TAnswerFile* GivenAnswers() {
  static std::unique_ptr<TAnswerFile> answers = [] {
    std::optional<std::string> variable = GetEnvironmentVariable(kAnswersVariable);
    if (!variable || variable->empty()) return std::unique_ptr<TAnswerFile>();
    std::string name = FileFromVariable(*variable);
    std::optional<std::string> text = ReadFileContents(name);
    if (!text) throw EAnswerFile("answer file " + name + ": there is no such file");
    auto file = std::make_unique<TAnswerFile>(TAnswerFile::Parse(*text, name));
    file->Validate();
    return file;
  }();
  return answers.get();
}

bool RecordingAnswers() { return GetEnvironmentVariable(kSaveAnswersVariable).value_or("") != ""; }

void RecordAnswer(const TAnswer& Answer) {
  static TAnswerFile recorded;
  std::optional<std::string> variable = GetEnvironmentVariable(kSaveAnswersVariable);
  if (!variable || variable->empty()) return;
  recorded.Set(Answer.Section, Answer.Key, Answer.Value);
  ReplaceFileContents(FileFromVariable(*variable), recorded.Text());
}

namespace {

void LogAnswer(const TAnswer& Answer) {
  bool secret = Answer.Secret || IsSecretValueName(Answer.Key);
  InstallLog().Step("answer",
                    "[" + Answer.Section + "] " + Answer.Key + "=" + (secret ? "(secret, not logged)" : Answer.Value));
}

} // namespace

void LogPageAnswers(TBaseInstallForm& Page) {
  if (InstallLog().On()) Page.ReportAnswers(LogAnswer);
}

namespace {

// A project's own form: its controls by name.
void TakeFormAnswers(TForm& Form, const TAnswerFile& Answers) {
  for (const auto& [key, value] : Answers.Entries(Form.Name())) {
    TComponent* control = Form.FindComponent(key);
    if (auto* edit = dynamic_cast<TEdit*>(control)) {
      edit->SetText(value);
    } else if (auto* box = dynamic_cast<TCheckBox*>(control)) {
      if (value != "0" && value != "1") throw Answers.Error(Form.Name(), key, "\"" + value + "\" is neither 0 nor 1");
      box->SetChecked(value == "1");
    } else if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
      int index = group->Items()->IndexOf(value);
      if (index < 0) throw Answers.Error(Form.Name(), key, "the choice \"" + value + "\" is not offered");
      group->SetItemIndex(index);
    } else {
      throw Answers.Error(Form.Name(), key, "the form has no edit, check box or radio group of that name");
    }
  }
}

void ReportFormAnswers(TForm& Form, const TAnswerSink& Sink) {
  for (int i = 0; i < Form.ComponentCount(); ++i) {
    TComponent* control = Form.Components(i);
    if (auto* edit = dynamic_cast<TEdit*>(control))
      Sink({Form.Name(), edit->Name(), edit->Text(), !edit->PasswordChar().empty()});
    else if (auto* box = dynamic_cast<TCheckBox*>(control))
      Sink({Form.Name(), box->Name(), box->Checked() ? "1" : "0"});
    else if (auto* group = dynamic_cast<TRadioGroup*>(control); group && group->ItemIndex() >= 0)
      Sink({Form.Name(), group->Name(), group->Items()->Get(group->ItemIndex())});
  }
}

// A project's own form (the framework's own forms are no pages to answer).
bool IsProjectForm(const TForm& Form) { return !Form.Name().empty() && Form.ClassName() == "T" + Form.Name(); }

} // namespace

void InstallAnswerHooks() {
  FormHooks().BeforeAnswer = [](TForm& Form) {
    const TAnswerFile* answers = GivenAnswers();
    if (!answers) return;
    if (auto* wizard = dynamic_cast<TBaseFormContainer*>(&Form)) {
      if (TBaseInstallForm* page = wizard->CurrentPage()) page->TakeAnswers(*answers);
    } else if (auto* page = dynamic_cast<TBaseInstallForm*>(&Form)) {
      page->TakeAnswers(*answers);
    } else if (answers->HasSection(Form.Name())) {
      TakeFormAnswers(Form, *answers);
    }
  };
  FormHooks().AfterOk = [](TForm& Form) {
    if (RecordingAnswers()) {
      if (auto* wizard = dynamic_cast<TBaseFormContainer*>(&Form)) {
        for (int i = 0; i < wizard->PageCount(); ++i)
          if (!wizard->Pages(i)->SkipPage()) wizard->Pages(i)->ReportAnswers(RecordAnswer);
      } else if (auto* page = dynamic_cast<TBaseInstallForm*>(&Form)) {
        page->ReportAnswers(RecordAnswer);
      } else if (IsProjectForm(Form)) {
        ReportFormAnswers(Form, RecordAnswer);
      }
    }
    // A wizard's pages were logged as each was left.
    if (!InstallLog().On() || dynamic_cast<TBaseFormContainer*>(&Form)) return;
    if (auto* page = dynamic_cast<TBaseInstallForm*>(&Form))
      LogPageAnswers(*page);
    else if (IsProjectForm(Form))
      ReportFormAnswers(Form, LogAnswer);
  };
}

} // namespace qnl
