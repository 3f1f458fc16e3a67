#include "engine/SpoolerList.h"

#include <algorithm>

namespace qlx {

std::string SpoolerList::text(const char* pointer) const {
  const auto* start = reinterpret_cast<const char*>(buffer.data());
  const char* end = start + buffer.size();
  if (pointer == nullptr || pointer < start || pointer >= end) return {};
  const auto* stop = static_cast<const char*>(std::memchr(pointer, '\0', end - pointer));
  return std::string(pointer, stop == nullptr ? end : stop);
}

std::vector<std::string> SpoolerList::names(const char* pointer) const {
  std::vector<std::string> list;
  const auto* end = reinterpret_cast<const char*>(buffer.data()) + buffer.size();
  for (std::string name = text(pointer); !name.empty(); name = text(pointer)) {
    list.push_back(name);
    pointer += name.size() + 1;
    if (pointer >= end) break;
  }
  return list;
}

SpoolerList readSpoolerList(Kernel& kernel, const ListCall& call, int attempts) {
  SpoolerList list;
  Dword needed = 0;
  Dword returned = 0;
  // The size query fails by design; only what it asks for is read.
  call(nullptr, 0, &needed, &returned);
  list.firstNeeded = needed;
  while (list.attempts < attempts) {
    ++list.attempts;
    // One byte at least, so that the buffer pointer is never null.
    list.buffer.assign(std::max<Dword>(needed, 1), 0);
    const Dword size = needed;
    returned = 0;
    list.read = call(list.buffer.data(), size, &needed, &returned);
    list.error = list.read ? kErrorSuccess : kernel.getLastError();
    if (list.read) {
      list.count = returned;
      return list;
    }
    // Only a list that grew is worth another try.
    if (list.error != kErrorInsufficientBuffer || needed <= size) break;
  }
  list.buffer.clear();
  return list;
}

}  // namespace qlx
