// The spooler's two-call enumeration: ask for the size, then fill a buffer of
// exactly that size, asking again while the list keeps growing in between.
#pragma once

#include <windows.h>

#include <vector>

namespace prefixstate {

struct Enumerated {
  bool ok = false;
  DWORD error = ERROR_SUCCESS;  // GetLastError of the failed call
  DWORD count = 0;
  std::vector<BYTE> buffer;  // the records and the strings they point to

  template <typename Record>
  const Record* records() const {
    return reinterpret_cast<const Record*>(buffer.data());
  }
  const char* end() const { return reinterpret_cast<const char*>(buffer.data() + buffer.size()); }
};

// `call(buffer, size, &needed, &returned)` is one Enum...A call with its other
// arguments bound.
template <typename Call>
Enumerated enumerate(Call call) {
  Enumerated result;
  DWORD needed = 0;
  for (int attempt = 0; attempt < 5; ++attempt) {
    result.buffer.assign(needed, 0);
    const DWORD size = needed;
    DWORD returned = 0;
    SetLastError(ERROR_SUCCESS);
    if (call(size ? result.buffer.data() : nullptr, size, &needed, &returned)) {
      result.ok = true;
      result.count = size ? returned : 0;
      return result;
    }
    result.error = GetLastError();
    if (result.error != ERROR_INSUFFICIENT_BUFFER || needed <= size) return result;
  }
  return result;
}

}  // namespace prefixstate
