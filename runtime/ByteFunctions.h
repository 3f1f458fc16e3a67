#pragma once

#include <cstddef>

// The memory and string primitives of the C library, as plain loops. The
// Windows program has no C runtime DLL: its memcpy and friends are these.
namespace qlx::runtime {

inline void* copyBytes(void* target, const void* source, std::size_t count) {
  auto* to = static_cast<unsigned char*>(target);
  const auto* from = static_cast<const unsigned char*>(source);
  while (count-- > 0) *to++ = *from++;
  return target;
}

// Overlapping ranges allowed: copies backwards when the target lies above the source.
inline void* moveBytes(void* target, const void* source, std::size_t count) {
  auto* to = static_cast<unsigned char*>(target);
  const auto* from = static_cast<const unsigned char*>(source);
  if (to == from || count == 0) return target;
  if (to < from || to >= from + count) return copyBytes(target, source, count);
  to += count;
  from += count;
  while (count-- > 0) *--to = *--from;
  return target;
}

inline void* fillBytes(void* target, int value, std::size_t count) {
  auto* to = static_cast<unsigned char*>(target);
  while (count-- > 0) *to++ = static_cast<unsigned char>(value);
  return target;
}

inline int compareBytes(const void* first, const void* second, std::size_t count) {
  const auto* a = static_cast<const unsigned char*>(first);
  const auto* b = static_cast<const unsigned char*>(second);
  for (; count > 0; --count, ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
  }
  return 0;
}

inline const void* findByte(const void* block, int value, std::size_t count) {
  const auto* at = static_cast<const unsigned char*>(block);
  const auto wanted = static_cast<unsigned char>(value);
  for (; count > 0; --count, ++at) {
    if (*at == wanted) return at;
  }
  return nullptr;
}

inline std::size_t stringLength(const char* text) {
  const char* end = text;
  while (*end != '\0') ++end;
  return static_cast<std::size_t>(end - text);
}

// The length of `text`, but at most `limit`: never reads past `limit` bytes.
inline std::size_t boundedStringLength(const char* text, std::size_t limit) {
  std::size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  return length;
}

}  // namespace qlx::runtime
