#include "platform/win32/RecordLayout.h"
#include "platform/win32/Win32Adapters.h"

namespace qlx::win32 {

bool Win32Security::openProcessToken(Handle process, Dword access, Handle* token) {
  HANDLE native = token ? toNative<HANDLE>(*token) : nullptr;
  const BOOL opened =
      OpenProcessToken(toNative<HANDLE>(process), access, token ? &native : nullptr);
  if (token) *token = fromNative(native);
  return opened != FALSE;
}

bool Win32Security::lookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) {
  return LookupPrivilegeValueA(systemName, name, reinterpret_cast<LUID*>(luid)) != FALSE;
}

bool Win32Security::adjustTokenPrivileges(Handle token, bool disableAll,
                                          const TokenPrivileges* state, Dword bufferLength,
                                          TokenPrivileges* previous, Dword* returnLength) {
  // The last error of this call is what tells whether the privilege was granted.
  return AdjustTokenPrivileges(
             toNative<HANDLE>(token), disableAll ? TRUE : FALSE,
             const_cast<TOKEN_PRIVILEGES*>(reinterpret_cast<const TOKEN_PRIVILEGES*>(state)),
             bufferLength, reinterpret_cast<TOKEN_PRIVILEGES*>(previous),
             dwordOut(returnLength)) != FALSE;
}

}  // namespace qlx::win32
