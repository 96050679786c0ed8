// The setup program as a user runs it: compiled from a text form, started on a new machine.
#include <filesystem>

#include "tests/support/SetupProcess.h"

using namespace qnl::test;

class SetupProgram : public SetupProcessTest {};

TEST_F(SetupProgram, TheCompiledSampleLoadsAndEndsByItself) {
  std::string setup = CompileSetup(Source("examples/sample/formMain.txt"));
  TProcessResult r = Run("env QNL_DEBUG_TREE=1 " + Quote(setup));
  // Started without the loading program, the installation stops at its first step.
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_EQ(r.Out.rfind("formMain: TformMain", 0), 0u) << r.Out;
  EXPECT_NE(r.Out.find("Caption='Sample Application Setup'"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("  psProgramFiles: TpsProgramFiles"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Err.find("Error"), r.Err.find("Error: The path of the loading program was not passed correctly."))
      << r.Err;
}

TEST_F(SetupProgram, WithoutTheDebugTreeItPrintsNothing) {
  std::string setup = CompileSetup(Source("examples/sample/formMain.txt"));
  TProcessResult r = Run(Quote(setup));
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_EQ(r.Out, "");
}

TEST_F(SetupProgram, ASetupWithoutAProjectFailsCleanly) {
  std::filesystem::copy_file(Bin("setup"), FDir / "bare-setup");
  TProcessResult r = Run("./bare-setup");
  EXPECT_NE(r.ExitStatus, 0);
  EXPECT_LT(r.ExitStatus, 128) << "the program crashed";
  EXPECT_NE(r.Err.find("Error: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("carries no project (no TFORMMAIN resource)"), std::string::npos) << r.Err;
}

TEST_F(SetupProgram, AProjectNamingAMissingHandlerFailsNamingIt) {
  std::string form = WriteFile("formMain.txt", R"(object formMain: TformMain
  Caption = 'Needs code'
  OnActivate = formMainActivate
end
)");
  std::string setup = CompileSetup(form);
  TProcessResult r = Run(Quote(setup));
  EXPECT_NE(r.ExitStatus, 0);
  EXPECT_LT(r.ExitStatus, 128) << "the program crashed";
  EXPECT_NE(r.Err.find("formMainActivate"), std::string::npos) << r.Err;
}

TEST_F(SetupProgram, AnUnknownClassFailsNamingIt) {
  std::string form = WriteFile("formMain.txt", R"(object formMain: TformMain
  object Gizmo1: TGizmo
  end
end
)");
  std::string setup = CompileSetup(form);
  TProcessResult r = Run(Quote(setup));
  EXPECT_NE(r.ExitStatus, 0);
  EXPECT_LT(r.ExitStatus, 128) << "the program crashed";
  EXPECT_NE(r.Err.find("TGizmo"), std::string::npos) << r.Err;
}
