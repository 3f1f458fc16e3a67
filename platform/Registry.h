#pragma once

#include "platform/Types.h"

namespace qlx {

// ADVAPI32 registry calls; each returns the Win32 error code (0 on success).
class Registry {
 public:
  virtual ~Registry() = default;
  virtual Long regOpenKeyEx(HKey root, const char* subKey, Dword options, Dword access,
                            HKey* result) = 0;                                 // RegOpenKeyExA
  virtual Long regDeleteKey(HKey root, const char* subKey) = 0;                // RegDeleteKeyA
  virtual Long regCreateKey(HKey root, const char* subKey, HKey* result) = 0;  // RegCreateKeyA
  virtual Long regSetValueEx(HKey key, const char* valueName, Dword reserved, Dword type,
                             const std::uint8_t* data, Dword size) = 0;  // RegSetValueExA
  virtual Long regCloseKey(HKey key) = 0;                                // RegCloseKey
  // RegQueryValueExA: with null `data` only the size; ERROR_MORE_DATA when
  // `*size` is too small, which then holds the size needed.
  virtual Long regQueryValueEx(HKey key, const char* valueName, Dword* type, std::uint8_t* data,
                               Dword* size) = 0;
};

inline constexpr Dword kKeyReadWrite = 0x2001F;  // KEY_READ | KEY_WRITE
inline constexpr Dword kKeyRead = 0x20019;
inline constexpr Dword kRegSz = 1;
inline constexpr Dword kRegMultiSz = 7;

}  // namespace qlx
