#include "platform/core/Assert.h"

#include <cstdio>
#include <cstdlib>

namespace zelvar::detail {

// Defined in every build, so that a program checking its own code (no NDEBUG) links against a
// Release library.
void AssertFailed(const char* condition, const char* file, int line) noexcept {
  std::fprintf(stderr, "%s:%d: internal check failed: %s\n", file, line, condition);
  std::fflush(stderr);
  std::abort();
}

}  // namespace zelvar::detail
