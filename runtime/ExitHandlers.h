#pragma once

#include <cstddef>

namespace qlx::runtime {

// The clean-up registered while the program runs (static objects' destructors,
// atexit), run once in reverse order of registration when the program ends.
// Fixed storage: registering must work before the heap is touched and must
// never allocate.
class ExitHandlers {
 public:
  using Handler = void (*)();
  static constexpr std::size_t kCapacity = 64;

  // False, and nothing registered, when the table is full.
  bool add(Handler handler);
  // Latest first; a handler may register more, which run in turn.
  void runAll();

 private:
  Handler handlers_[kCapacity] = {};
  std::size_t count_ = 0;
};

}  // namespace qlx::runtime
