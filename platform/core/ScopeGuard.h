#pragma once
// Scope objects for state that must come back however a block is left: a flag set for the
// length of an operation, or a value restored after a step that may raise.

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

}  // namespace zelvar
