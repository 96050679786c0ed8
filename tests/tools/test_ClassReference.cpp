// The component reference: it covers every class the setup program registers, and the
// checked-in docs/reference.md is the one the build makes.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "rtl/ClassRegistry.h"
#include "setup/SetupProgram.h"
#include "tests/support/TestFiles.h"

using namespace qnl;

namespace {

std::set<std::string> Headings(const std::string& Markdown) {
  std::set<std::string> names;
  std::istringstream lines(Markdown);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("## ")) names.insert(line.substr(3));
  return names;
}

TEST(ClassReference, HasAHeadingForEveryRegisteredClassAndNoOther) {
  RegisterSetupClasses();
  std::set<std::string> registered;
  for (const TClassInfo* c : RegisteredClasses()) registered.insert(c->Name);
  ASSERT_GT(registered.size(), 50u);
  registered.insert("TformMain"); // the project's root form, which no project creates by name
  EXPECT_EQ(Headings(test::ReadFile(QNL_GENERATED_REFERENCE)), registered);
}

TEST(ClassReference, TheCheckedInReferenceIsCurrent) {
  EXPECT_TRUE(test::ReadFile(QNL_GENERATED_REFERENCE) == test::ReadFile(QNL_SOURCE_REFERENCE))
      << "docs/reference.md differs from the classes; copy " QNL_GENERATED_REFERENCE " over it";
}

TEST(ClassReference, EventsNameTheirParametersAndTheNameIsNoPropertyLine) {
  std::string reference = test::ReadFile(QNL_GENERATED_REFERENCE);
  for (const char* row : {"| `OnCloseQuery` | `TCloseQueryEvent` | `Sender: TObject; var CanClose: Boolean` |",
                          "| `OnUserAbort` | `TUserAbortEvent` | `Install: TCustomInstall; var QuitOut: Boolean` |",
                          "| `Name` (not stored) | String |"})
    EXPECT_NE(reference.find(row), std::string::npos) << row;
  // Every event's type is registered, with a name for each parameter.
  std::istringstream lines(reference);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("| `On")) EXPECT_EQ(line.find("|  |"), std::string::npos) << line;
}

} // namespace
