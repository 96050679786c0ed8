// The program's command-line arguments, as the program entry received them.
#pragma once

#include <string>
#include <vector>

namespace qnl {

namespace detail {
inline std::vector<std::string>& ProgramArgumentList() {
  static std::vector<std::string> args;
  return args;
}
} // namespace detail

// Called once by a program entry with main's arguments; the program name is left out.
inline void SetProgramArguments(int Argc, char** Argv) {
  auto& args = detail::ProgramArgumentList();
  args.clear();
  for (int i = 1; i < Argc; ++i) args.emplace_back(Argv[i]);
}
inline void SetProgramArguments(std::vector<std::string> Args) { detail::ProgramArgumentList() = std::move(Args); }

// The arguments after the program name (ParamStr(1) ... ParamStr(ParamCount)).
inline const std::vector<std::string>& ProgramArguments() { return detail::ProgramArgumentList(); }
inline int ParamCount() { return static_cast<int>(ProgramArguments().size()); }
// The Index-th argument from 1; empty when there is none (ParamStr(0) is not kept here).
inline std::string ParamStr(int Index) {
  return Index >= 1 && Index <= ParamCount() ? ProgramArguments()[Index - 1] : std::string();
}

} // namespace qnl
