// setup: the generic setup program (a project without code of its own).
#include "main/formMain.h"
#include "setup/SetupProgram.h"

int main(int argc, char** argv) {
  return qnl::RunSetupProgram(argc, argv, [](qnl::TComponent* Owner) { return new qnl::TformMain(Owner); });
}
