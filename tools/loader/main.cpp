// QuenloftLoadProgram: the setup.exe of a distribution, which unpacks and starts the installation.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/system/CodePage.h"
#include "tools/loader/LoadProgram.h"
#include "tools/loader/LoadProgramErrors.h"
#include "tools/loader/LoaderOptions.h"

namespace {

// Messages carry the machine's ANSI text; the terminal wants UTF-8.
std::string TerminalText(const char* Text) {
  try {
    return qnl::AnsiToUtf8(Text);
  } catch (const std::exception&) {
    return Text;
  }
}

} // namespace

int main(int argc, char** argv) {
  try {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string out;
    int status = qnl::RunLoadProgram(arguments, out);
    std::fputs(out.c_str(), stdout);
    return status;
  } catch (const qnl::EUsage& e) {
    std::fprintf(stderr, "QuenloftLoadProgram: %s\n\n%s", e.what(), qnl::LoaderHelpText().c_str());
    return qnl::kUsageError;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "QuenloftLoadProgram: %s\n", TerminalText(e.what()).c_str());
    return qnl::kInstallFailed;
  }
}
