#pragma once
// ZELVAR_ASSERT(condition) checks the library's own invariants: what its code relies on and no
// caller or file can break. Bad input is never asserted; it raises the toolkit's exceptions.
//
// Without NDEBUG (Debug and sanitizer builds) a false condition prints file, line and the
// condition to standard error and aborts. With NDEBUG (Release) the condition is compiled but
// not evaluated: the checks sit on hot paths (ownership, the control tree), and what they
// guard is already exercised by the tests in the checking builds.

namespace zelvar::detail {

// Prints "FILE:LINE: internal check failed: CONDITION" and aborts.
[[noreturn]] void AssertFailed(const char* condition, const char* file, int line) noexcept;

}  // namespace zelvar::detail

// Variadic, so that a condition with a comma in a template argument list needs no parentheses.
#ifdef NDEBUG
#define ZELVAR_ASSERT(...) static_cast<void>(sizeof(static_cast<bool>(__VA_ARGS__)))
#else
#define ZELVAR_ASSERT(...)        \
  (static_cast<bool>(__VA_ARGS__) \
       ? static_cast<void>(0)     \
       : ::zelvar::detail::AssertFailed(#__VA_ARGS__, __FILE__, __LINE__))
#endif
