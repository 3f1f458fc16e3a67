#pragma once

#include "platform/Records.h"

namespace qlx {

// ADVAPI32 token calls used to obtain the shutdown privilege.
class Security {
 public:
  virtual ~Security() = default;
  virtual bool openProcessToken(Handle process, Dword access,
                                Handle* token) = 0;  // OpenProcessToken
  virtual bool lookupPrivilegeValue(const char* systemName, const char* name,
                                    Luid* luid) = 0;  // LookupPrivilegeValueA
  // AdjustTokenPrivileges: sets the last error to 0 when every privilege was
  // assigned and to ERROR_NOT_ALL_ASSIGNED when one is not held.
  virtual bool adjustTokenPrivileges(Handle token, bool disableAll, const TokenPrivileges* state,
                                     Dword bufferLength, TokenPrivileges* previous,
                                     Dword* returnLength) = 0;
};

inline constexpr Dword kTokenAdjustPrivilegesQuery = 0x28;
inline constexpr Dword kSePrivilegeEnabled = 2;

}  // namespace qlx
