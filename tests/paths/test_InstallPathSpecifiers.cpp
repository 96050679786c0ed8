// The specifiers that ask the install component: install source, main directory, main archive.
#include "paths/StandardPathSpecifiers.h"
#include "tests/paths/PathsTestSupport.h"

using namespace qnl;
using qnl::test::TFakeInstall;

TEST(InstallPathSpecifiers, WithoutAnInstallComponentEveryComponentIsRefused) {
  TComponent owner(nullptr);
  auto* client = new TComponent(&owner);
  client->SetName("File1");
  const char* message = "There is no TInstall component so the path specifier could not be expanded for File1";
  TStandardPathSpecifier* specifiers[] = {new TpsInstallSource(&owner), new TpsMainInstall(&owner),
                                          new TpsMainArchiveFile(&owner)};
  for (TStandardPathSpecifier* s : specifiers) {
    QNL_EXPECT_THROW_MESSAGE(s->Validate(client), IEPathSpecifier, message);
    QNL_EXPECT_THROW_MESSAGE(s->GetPath(client), IEPathSpecifier, message);
  }
}

TEST(InstallPathSpecifiers, InstallSourceIsTheInstallComponentsSource) {
  TComponent owner(nullptr);
  TFakeInstall install(&owner);
  install.Source = "C:\\Dist";
  EXPECT_EQ(TpsInstallSource(&owner).GetPath(&owner), "C:\\Dist");
}

TEST(InstallPathSpecifiers, MainInstallIsTheInstallComponentsDestination) {
  TComponent owner(nullptr);
  TFakeInstall install(&owner);
  TpsMainInstall main(&owner);
  EXPECT_EQ(main.GetPath(&owner), "C:\\Program Files\\MyApplication");
}

TEST(InstallPathSpecifiers, MainInstallRefusesTheInstallComponentItself) {
  TComponent owner(nullptr);
  TFakeInstall install(&owner);
  TpsMainInstall main(&owner);
  QNL_EXPECT_THROW_MESSAGE(main.Validate(&install), IEPathSpecifier,
                           "Cannot use the ddMainInstallDir path specifier for a TInstall component");
  QNL_EXPECT_THROW_MESSAGE(main.GetPath(&install), IEPathSpecifier,
                           "Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

TEST(InstallPathSpecifiers, MainArchiveIsFilesDot1BesideTheSource) {
  TComponent owner(nullptr);
  TFakeInstall install(&owner);
  EXPECT_EQ(TpsMainArchiveFile(&owner).GetPath(&install), "C:\\Dist\\files.1");
}

TEST(InstallPathSpecifiers, MainArchiveIsTheSelfExtractingFileWithMinusE) {
  TComponent owner(nullptr);
  TFakeInstall install(&owner);
  install.SelfExtractor = "Setup.exe";
  EXPECT_EQ(TpsMainArchiveFile(&owner).GetPath(&install), "C:\\Dist\\Setup.exe");
}

TEST(InstallPathSpecifiers, ABlankSelfExtractorNameFails) {
  TComponent owner(nullptr);
  TFakeInstall install(&owner);
  install.SelfExtractor = "  ";
  QNL_EXPECT_THROW_MESSAGE(TpsMainArchiveFile(&owner).GetPath(&install), IEInstall,
                           "You forgot to pass in the name of the self-extracting executable. Usage example: "
                           "\"-eSetup.exe\"");
}
