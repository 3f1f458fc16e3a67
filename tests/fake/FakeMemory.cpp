#include "FakeMemory.h"

#include <cstring>

namespace qlx::fake::detail {
namespace {

constexpr Dword kGmemMoveable = 0x2;
constexpr Dword kGmemZeroInit = 0x40;
constexpr std::uint8_t kUninitialisedByte = 0xCD;  // so that a missing GMEM_ZEROINIT shows

}  // namespace

HGlobal MemoryHeap::allocGlobal(Dword flags, std::size_t bytes) {
  Block block{std::make_unique_for_overwrite<std::uint8_t[]>(bytes), (flags & kGmemMoveable) == 0};
  std::memset(block.bytes.get(), (flags & kGmemZeroInit) != 0 ? 0 : kUninitialisedByte, bytes);
  HGlobal handle = reinterpret_cast<HGlobal>(block.bytes.get());
  if (!block.fixed) {
    handle = nextMoveable_;
    nextMoveable_ += 8;
  }
  globals_.emplace(handle, std::move(block));
  return handle;
}

void* MemoryHeap::lockGlobal(HGlobal memory) {
  const auto found = globals_.find(memory);
  if (found == globals_.end()) return nullptr;
  if (!found->second.fixed) ++found->second.locks;
  return found->second.bytes.get();
}

MemoryHeap::Unlock MemoryHeap::unlockGlobal(HGlobal memory) {
  const auto found = globals_.find(memory);
  if (found == globals_.end()) return Unlock::Invalid;
  Block& block = found->second;
  if (block.fixed) return Unlock::StillLocked;
  if (block.locks == 0) return Unlock::NotLocked;
  return --block.locks > 0 ? Unlock::StillLocked : Unlock::Released;
}

HGlobal MemoryHeap::handleOf(const void* pointer) const {
  for (const auto& [handle, block] : globals_) {
    if (block.bytes.get() == pointer) return handle;
  }
  return 0;
}

bool MemoryHeap::freeGlobal(HGlobal memory) { return globals_.erase(memory) == 1; }

char* MemoryHeap::allocLocalText(const std::string& text) {
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
  char* pointer = buffer.get();
  locals_.emplace(pointer, std::move(buffer));
  return pointer;
}

bool MemoryHeap::freeLocal(void* memory) { return locals_.erase(memory) == 1; }

}  // namespace qlx::fake::detail
