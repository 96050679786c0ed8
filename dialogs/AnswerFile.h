// Answer files: the values an unattended run gives the pages, and those a run records.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/exceptions_Engine.h"

namespace qnl {

class TForm;
class TBaseInstallForm;

// One value a page was answered with; Secret when the control hides what was typed.
struct TAnswer {
  std::string Section;
  std::string Key;
  std::string Value;
  bool Secret = false;
};
// Where a page's answers go: the recorded answer file, or the install log.
using TAnswerSink = std::function<void(const TAnswer&)>;

// An INI text of answers: a section per page ("Select Destination", "Select Folder", "Reboot")
// or per form of the project (by the form's name, keys by control name). Sections and keys
// are found without regard to case.
class TAnswerFile {
public:
  // Reads Text; FileName names the file in errors. EAnswerFile for a line that is no
  // section, no "Key=Value" and no comment.
  static TAnswerFile Parse(const std::string& Text, const std::string& FileName);

  // Every section must be a page's (with its keys and values such a page takes) or name a
  // form class of the program (T<section>); the first that is not raises EAnswerFile naming
  // the section and key.
  void Validate() const;
  // The value of Key in Section, checked as the page takes it; nullopt when not given.
  std::optional<std::string> Take(const std::string& Section, const std::string& Key) const;
  bool HasSection(const std::string& Section) const { return FindSection(Section) != nullptr; }
  // The keys of Section in file order.
  std::vector<std::pair<std::string, std::string>> Entries(const std::string& Section) const;

  void Set(const std::string& Section, const std::string& Key, const std::string& Value);
  std::string Text() const;

  // An error naming this file, Section and Key.
  EAnswerFile Error(const std::string& Section, const std::string& Key, const std::string& Why) const;

private:
  struct TSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Entries;
  };
  const TSection* FindSection(const std::string& Name) const;
  std::string FFileName;
  std::vector<TSection> FSections;
};

// The answers named by QUENLOFT_ANSWERS (a Windows path, or a Unix path starting with "/"),
// read and validated once; null without the variable. EAnswerFile when the file cannot be read
// or has a value no page takes.
const TAnswerFile* GivenAnswers();
// Puts the recorded values into the file named by QUENLOFT_SAVE_ANSWERS, replaced whole each
// time; nothing without the variable.
void RecordAnswer(const TAnswer& Answer);
bool RecordingAnswers();
// A page left forward (Next, OK, Install; also unattended): its answers into the install log,
// one line each, the values of secrets left out.
void LogPageAnswers(TBaseInstallForm& Page);

// Makes the unattended forms take the given answers and the forms that end with OK record
// theirs and log them (hooks of TForm).
void InstallAnswerHooks();

} // namespace qnl
