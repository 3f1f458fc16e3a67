#include "runtime/ExitHandlers.h"

namespace qlx::runtime {

bool ExitHandlers::add(Handler handler) {
  if (handler == nullptr || count_ == kCapacity) return false;
  handlers_[count_++] = handler;
  return true;
}

void ExitHandlers::runAll() {
  while (count_ > 0) {
    // Taken off before the call, so a handler that ends the program again
    // does not run twice.
    Handler handler = handlers_[--count_];
    handler();
  }
}

}  // namespace qlx::runtime
