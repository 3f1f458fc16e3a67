#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/Types.h"

namespace qlx::fake::detail {

// Global memory blocks and the system's FormatMessage buffers, held in real
// heap memory so that AddressSanitizer sees every overrun and use after free.
class MemoryHeap {
 public:
  enum class Unlock { StillLocked, Released, NotLocked, Invalid };

  HGlobal allocGlobal(Dword flags, std::size_t bytes);
  void* lockGlobal(HGlobal memory);  // null when not a live block
  Unlock unlockGlobal(HGlobal memory);
  HGlobal handleOf(const void* pointer) const;  // 0 when not a block's memory
  bool freeGlobal(HGlobal memory);

  char* allocLocalText(const std::string& text);  // NUL-terminated copy
  bool freeLocal(void* memory);

  int liveCount() const { return static_cast<int>(globals_.size() + locals_.size()); }

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    bool fixed = false;  // GMEM_FIXED: the handle is the pointer and there is no lock count
    int locks = 0;
  };
  std::map<HGlobal, Block> globals_;
  std::map<const void*, std::unique_ptr<char[]>> locals_;
  HGlobal nextMoveable_ = 0x10000;
};

}  // namespace qlx::fake::detail
