#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/Kernel.h"

namespace qlx {

// One of the spooler's Enum lists, read the published way: a call that asks
// for the size, then one that fills a buffer of that size. Another program
// may add to the list between the two calls; the read is then tried again.
struct SpoolerList {
  bool read = false;
  Dword error = kErrorSuccess;  // of the failing call, captured right after it
  Dword firstNeeded = 0;        // what the first size query asked for
  int attempts = 0;
  std::vector<std::uint8_t> buffer;
  Dword count = 0;

  // Entries of `Record` the buffer really holds, whatever count was reported.
  template <typename Record>
  std::size_t entries() const {
    return read ? std::min<std::size_t>(count, buffer.size() / sizeof(Record)) : 0;
  }
  // A string an entry points to, read only inside the buffer: empty for a
  // null pointer or one that points elsewhere.
  std::string text(const char* pointer) const;
  // The names of a multi-string an entry points to, the same way.
  std::vector<std::string> names(const char* pointer) const;

  // Entry `index`, copied out: the buffer need not be aligned for it.
  template <typename Record>
  Record entry(std::size_t index) const {
    Record record{};
    std::memcpy(&record, buffer.data() + index * sizeof(Record), sizeof(Record));
    return record;
  }
};

// buffer, its size, needed out, count out: one Enum call with its other
// arguments bound.
using ListCall = std::function<bool(std::uint8_t*, Dword, Dword*, Dword*)>;

inline constexpr int kListAttempts = 3;

SpoolerList readSpoolerList(Kernel& kernel, const ListCall& call, int attempts = kListAttempts);

}  // namespace qlx
