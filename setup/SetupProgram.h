// The setup program's entry: application, class registration, the project's main form and
// the message loop.
#pragma once

#include <functional>
#include <string>

#include "rtl/Forms.h"

namespace qnl {

// Makes the program's main form (a TformMain) owned by Owner.
using TMainFormFactory = std::function<TCustomForm*(TComponent* Owner)>;

// The name of the resource that holds the project.
inline constexpr const char* kProjectResourceName = "TFORMMAIN";

// Runs a setup program: creates the application, registers every class a project may
// hold, creates the main form with CreateMainForm and reads the TFORMMAIN resource carried
// by this program's file into it, shows it and runs the message loop. Returns the exit
// status: 0, or non-zero when loading failed or an error ended the program (the error is
// shown first: a message box, or "Error: <message>" on stderr without a display).
//
// With QNL_DEBUG_TREE=1 the loaded component tree is printed to stdout. A project without
// an install component has nothing to run: when nobody can use its window (no display) or
// the tree is being printed, the program ends after the main form's first activation.
// With QNL_CHECK_PROJECT=FILE it checks the text form FILE instead (RunProjectCheck): the
// program knows every class and, with a main form of the project's own, its handlers.
int RunSetupProgram(int Argc, char** Argv, const TMainFormFactory& CreateMainForm);

// Registers the classes of every library linked into the setup program.
void RegisterSetupClasses();

// The TFORMMAIN resource of the program file at Windows path ProgramFile. Raises
// EResourceError "<file> carries no project (no TFORMMAIN resource) ..." when it has none.
std::string ReadProjectResource(const std::string& ProgramFile);

} // namespace qnl
