#pragma once
// The commands of the `zelvar` program. Each takes the words after its name and returns the
// exit status: 0 all good, 1 a failure, 2 wrong usage.

#include <string>
#include <vector>

namespace zelvar::tool {

using TArgs = std::vector<std::string>;

struct TCommand {
  const char* Name;
  const char* Usage;  // the synopsis line
  const char* Help;   // what it does, a few lines
  int (*Run)(const TArgs& args);
};

const std::vector<TCommand>& Commands();

int RunConvert(const TArgs& args);
int RunShot(const TArgs& args);  // tools/Run.cpp
int RunRun(const TArgs& args);
int RunDesign(const TArgs& args);  // tools/Design.cpp
int RunCheck(const TArgs& args);   // tools/Check.cpp

// Writes "zelvar: message" to standard error and returns the status.
int Fail(int status, const std::string& message);

}  // namespace zelvar::tool
