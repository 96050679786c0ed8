// A temporary directory an environment variable points at for one run.
#pragma once

#include <optional>
#include <string>

namespace qnl {

// Points the environment variable Name at a new temporary directory; restores it and removes
// the directory, with what the run left there, at the end. Program names the program in the
// message of a directory that cannot be removed.
class TScratchVariable {
public:
  TScratchVariable(const std::string& Name, const std::string& Program);
  ~TScratchVariable();
  TScratchVariable(const TScratchVariable&) = delete;
  TScratchVariable& operator=(const TScratchVariable&) = delete;

private:
  std::string FName;
  std::string FProgram;
  std::optional<std::string> FOldValue;
  std::string FDirectory;
};

// A program that only looks at a project runs on the user's machine when it exists (it only
// reads it); without one, loading would create it, so a temporary machine stands in, and a
// session without a runtime directory gets a temporary one rather than one Qt leaves behind.
class TLookOnlyEnvironment {
public:
  explicit TLookOnlyEnvironment(const std::string& Program);

private:
  std::optional<TScratchVariable> FMachine;
  std::optional<TScratchVariable> FRuntime;
};

} // namespace qnl
