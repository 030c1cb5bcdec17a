#pragma once
// Scope objects for state that must come back however a block is left: a flag set for the
// length of an operation, or a value restored after a step that may raise, or a step taken
// back when the block fails.

#include <exception>
#include <type_traits>
#include <utility>

namespace zelvar {

// Sets a variable for the lifetime of the scope and restores its previous value at the end,
// also when the scope is left by an exception.
template <class T>
class TRestore {
 public:
  TRestore(T& target, T value) : FTarget(target), FSaved(std::exchange(target, std::move(value))) {}
  ~TRestore() { FTarget = std::move(FSaved); }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

 private:
  T& FTarget;
  T FSaved;
};

// Runs a callable when the scope is left, however it is left. The callable runs during
// unwinding too, where a second exception would end the program: it must be noexcept.
template <class F>
class TScopeExit {
  static_assert(std::is_nothrow_invocable_v<F&>, "a scope exit action must be noexcept");

 public:
  explicit TScopeExit(F action) : FAction(std::move(action)) {}
  ~TScopeExit() { FAction(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F FAction;
};

// Runs a callable only when the scope is left by an exception: takes back a step that must not
// outlive a failure. An exception already in flight when the guard was made does not count, so
// the guard works in a destructor that runs during unwinding.
template <class F>
class TOnFailure {
  static_assert(std::is_nothrow_invocable_v<F&>, "a take-back action must be noexcept");

 public:
  explicit TOnFailure(F action)
      : FAction(std::move(action)), FExceptions(std::uncaught_exceptions()) {}
  ~TOnFailure() {
    if (std::uncaught_exceptions() > FExceptions) FAction();
  }
  TOnFailure(const TOnFailure&) = delete;
  TOnFailure& operator=(const TOnFailure&) = delete;

 private:
  F FAction;
  const int FExceptions;
};

}  // namespace zelvar
