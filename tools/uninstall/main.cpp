// QuenloftUninstall.exe: removes an installed product, as its uninstall entry names it.
#include "tools/uninstall/UninstallProgram.h"

int main(int argc, char** argv) { return qnl::RunUninstallProgram(argc, argv); }
