// The install component's loaded notification, run modes, activation hook and exception handler.
#include "common/routines_API.h"
#include "common/routines_Strings.h"
#include "platform/files/WinPaths.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MessageOf.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qnl;
using qnl::test::InstallTest;
using qnl::test::TRecordlessInstall;

namespace {
std::string LoadError(TComponent* Component, std::vector<std::string> Args) {
  return qnl::test::MessageOf([&] { InstallTest::Load(Component, std::move(Args)); });
}

const char* ForgotBuildDirectory =
    "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My Build\"";
} // namespace

class InstallStartUp : public InstallTest {};

TEST_F(InstallStartUp, WithoutArgumentsTheInstallationWaitsForActivation) {
  TRecordlessInstall* install = NewInstall();
  Load(install, {});
  EXPECT_TRUE(install->CommandLine().Switches().Empty());
  EXPECT_EQ(install->MainForm(), FForm.get());
  EXPECT_TRUE(static_cast<bool>(FForm->OnActivate));
  EXPECT_EQ(install->ProcessCalls, 0);
  EXPECT_EQ(install->InstallSource(), ExtractFileDir(GetModuleName()));
}

TEST_F(InstallStartUp, TheSourceSwitchGivesTheInstallSource) {
  TRecordlessInstall* install = NewInstall();
  Load(install, {"*TODISK", "-sC:\\Dist"});
  EXPECT_EQ(install->InstallSource(), "C:\\Dist");
  EXPECT_EQ(install->SetupProgramPath(), "C:\\Dist\\setup.exe"); // a switch names no program
}

TEST_F(InstallStartUp, DebugNeedsASourceDirectory) {
  EXPECT_EQ(LoadError(NewInstall(), {"-d"}), ForgotBuildDirectory);
  EXPECT_EQ(LoadError(NewInstall(), {"-d", "-s   "}), ForgotBuildDirectory);
  EXPECT_EQ(LoadError(NewInstall(), {"-d", "-sC:\\Build"}), "(no exception)");
}

TEST_F(InstallStartUp, AnInvalidArgumentFailsTheLoad) {
  EXPECT_EQ(LoadError(NewInstall(), {"-x"}),
            "Invalid parameter <-x>. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to "
            "floppies), -e (Called by self-extractor), -r (After reboot)");
}

TEST_F(InstallStartUp, RunModesAreChosenInOrder) {
  auto modeOf = [this](std::vector<std::string> Args) {
    TRecordlessInstall* install = NewInstall();
    InstallTest::Load(install, std::move(Args));
    return install->ChosenMode;
  };
  EXPECT_EQ(modeOf({"-f", "-b"}), "build");
  EXPECT_EQ(modeOf({"*b"}), "build");
  EXPECT_EQ(modeOf({"-r", "-f"}), "floppies a:");
  EXPECT_EQ(modeOf({"-r", "-sC:\\x"}), "continue");
  EXPECT_EQ(modeOf({"-sC:\\x"}), "");
}

TEST_F(InstallStartUp, WithoutAMainFormTheInstallationCannotRunAutomatically) {
  TDataModule module(nullptr);
  auto* install = new TRecordlessInstall(&module);
  EXPECT_EQ(LoadError(install, {}),
            "Application.MainForm is undefined and the TInstall is not on a form. Therefore, therefore the TInstall "
            "can't run the installation automatically");
  delete install;
  install = new TRecordlessInstall(&module);
  install->SetRunAutomatic(false);
  EXPECT_EQ(LoadError(install, {}), "(no exception)");
  delete install;
}

TEST_F(InstallStartUp, TheApplicationsMainFormIsPreferred) {
  TCustomForm main(nullptr);
  FApp->SetMainForm(&main);
  TDataModule module(nullptr);
  auto* install = new TRecordlessInstall(&module);
  Load(install, {});
  EXPECT_EQ(install->MainForm(), &main);
  EXPECT_TRUE(static_cast<bool>(main.OnActivate));
  delete install;
  EXPECT_FALSE(static_cast<bool>(main.OnActivate)); // the saved (empty) handler is back
  FApp->SetMainForm(nullptr);
}

TEST_F(InstallStartUp, TheCurrentInstallTypeFollowsTheOfferedTypes) {
  struct Row {
    TInstallTypeSet Offered;
    TInstallType Current;
  };
  for (Row row : {Row{{itFull}, itFull}, Row{{itFull, itCompact}, itCompact}, Row{{itCompact, itDefault}, itDefault},
                  Row{{itCustom}, itFull}}) {
    TRecordlessInstall* install = NewInstall();
    auto* directory = new TFileContainer(FForm.get());
    directory->SetContainer(install);
    install->SetInstallTypes(row.Offered);
    Load(install, {});
    EXPECT_EQ(install->CurrentInstallType(), row.Current);
    EXPECT_EQ(directory->CurrentInstallType(), row.Current);
  }
}

TEST_F(InstallStartUp, HidingMovesTheFormOffTheScreen) {
  TRecordlessInstall* install = NewInstall();
  FForm->SetBounds(10, 20, 300, 200);
  install->SetComponentStateFlag(csLoading, true);
  install->SetHideMainForm(true);
  install->SetAutoMaximizeWindow(true);
  install->Loaded();
  EXPECT_EQ(FForm->Left(), -600);
  EXPECT_EQ(FForm->Top(), -400);
  install->SetRunAutomatic(false);
  FForm->Activate();
  EXPECT_EQ(FForm->WindowState(), wsMaximized); // both stay on: hidden, then maximised
}

TEST_F(InstallStartUp, TheFirstActivationRunsTheHandlerMaximisesAndStartsTheInstallation) {
  TRecordlessInstall* install = NewInstall();
  std::vector<TObject*> senders;
  FForm->OnActivate = [&](TObject* Sender) { senders.push_back(Sender); };
  Load(install, {});
  // Without a source directory the installation stops at once (the loading program's path).
  EXPECT_THROW(install->OnActivateHook(FForm.get()), IEInstall);
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0], FForm.get());
  EXPECT_EQ(FForm->WindowState(), wsMaximized);
  EXPECT_TRUE(install->Started());
  EXPECT_EQ(install->ProcessCalls, 1);
  FForm->OnActivate(FForm.get()); // the saved handler is back on the form
  EXPECT_EQ(senders.size(), 2u);
  install->OnActivateHook(FForm.get()); // once only
  EXPECT_EQ(install->ProcessCalls, 1);
}

TEST_F(InstallStartUp, WithoutRunAutomaticTheHookStopsBeforeTheInstallation) {
  TRecordlessInstall* install = NewInstall();
  install->SetRunAutomatic(false);
  install->SetAutoMaximizeWindow(false);
  Load(install, {});
  FForm->Activate();
  EXPECT_TRUE(install->Started());
  EXPECT_EQ(install->ProcessCalls, 0);
  EXPECT_EQ(FForm->WindowState(), wsNormal);
}

TEST_F(InstallStartUp, ErrorsOutsideAnInstallationAreShownAndTheProgramGoesOn) {
  TRecordlessInstall* install = NewInstall();
  std::string shown;
  FApp->MessageBoxHook = [&](const std::string& Text, const std::string&, int) {
    shown = Text;
    return 1;
  };
  ASSERT_TRUE(static_cast<bool>(FApp->OnException));
  FApp->OnException(install, IEInstall("Something failed"));
  EXPECT_FALSE(FApp->Terminated());
  EXPECT_EQ(FApp->ExitCode(), 0);
}

TEST_F(InstallStartUp, TheSetupProgramPathFollowsTheSwitches) {
  TRecordlessInstall* install = NewInstall();
  Load(install, {"-sC:\\Dist", "-eSetup.exe"});
  EXPECT_EQ(install->SetupProgramPath(), "C:\\Dist\\Setup.exe");
  EXPECT_EQ(install->SelfExtractorArgument(), std::optional<std::string>("Setup.exe"));
  install->SetUseLoadingProgram(false);
  Load(install, {"-sC:\\Dist"});
  EXPECT_EQ(install->SetupProgramPath(), GetModuleName());
}

TEST_F(InstallStartUp, TheArchiveOffsetComesFromTheSelfExtractingFile) {
  const char* prefix = std::getenv("WINEPREFIX");
  std::filesystem::path dir = std::filesystem::path(prefix ? prefix : "/tmp").parent_path() / "install-selfextract";
  std::filesystem::create_directories(dir);
  TSelfExtractInfo info;
  info.Marker = "SELFEXTRACTING";
  info.MainArchiveStart = 4000;
  std::ofstream(dir / "Setup.exe", std::ios::binary) << std::string(5000, 'M') << info.Encode();
  std::ofstream(dir / "Short.exe", std::ios::binary) << std::string(20, 'M');
  std::string source = WindowsPathOf(dir.string());

  TRecordlessInstall* install = NewInstall();
  Load(install, {"-s" + source, "-eSetup.exe"});
  install->ReadSelfExtractOffset();
  EXPECT_EQ(install->ArchiveOffset(), 4000);
  Load(install, {"-s" + source, "-eShort.exe"});
  try {
    install->ReadSelfExtractOffset();
    ADD_FAILURE() << "no error";
  } catch (const IEInstall& e) {
    EXPECT_EQ(std::string(e.what()),
              "Could not read the extraction info from the archive file " + source +
                  "\\Short.exe when trying to find the correct offset into the self extracting file");
  }
}
