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

// Registers the classes form files may name (the toolkit's and the package's), adds the
// script command tables and names the package that designing a form loads: what running a
// form or a script needs (tools/Setup.cpp).
void SetUp();

// Writes "zelvar: message" to standard error and returns the status.
int Fail(int status, const std::string& message);

// The message of the exception being handled, to be called in a catch block: the toolkit's
// own, "out of memory" for an allocation that failed, or what any other exception says.
std::string CurrentErrorMessage();

}  // namespace zelvar::tool
