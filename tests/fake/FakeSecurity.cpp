// ADVAPI32 token calls: the process token and its shutdown privilege.

#include <cstddef>
#include <cstring>
#include <vector>

#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::flag;
using detail::arg::handle;
using detail::arg::number;
using detail::arg::text;

constexpr Dword kTokenAdjustPrivileges = 0x20;
constexpr Dword kTokenQuery = 0x8;
constexpr Luid kShutdownLuid{19, 0};

bool isShutdown(const Luid& luid) {
  return luid.LowPart == kShutdownLuid.LowPart && luid.HighPart == kShutdownLuid.HighPart;
}

// The caller's array may run past the declared single element.
std::vector<LuidAndAttributes> privilegesOf(const TokenPrivileges& state) {
  std::vector<LuidAndAttributes> list(state.PrivilegeCount);
  std::memcpy(list.data(),
              reinterpret_cast<const std::uint8_t*>(&state) + offsetof(TokenPrivileges, Privileges),
              list.size() * sizeof(LuidAndAttributes));
  return list;
}

// "{19,0,2}" per privilege: LUID low and high part, then the attributes.
std::string privilegesText(const TokenPrivileges* state) {
  if (state == nullptr) return "null";
  std::string text;
  for (const LuidAndAttributes& privilege : privilegesOf(*state)) {
    if (!text.empty()) text += '|';
    text += "{" + number(privilege.Luid.LowPart) + "," + number(privilege.Luid.HighPart) + "," +
            number(privilege.Attributes) + "}";
  }
  return text;
}

}  // namespace

bool FakePlatform::openProcessToken(Handle process, Dword access, Handle* token) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("OpenProcessToken", {handle(process), number(access)})) {
    return s.fail(*error);
  }
  if (s.isWindows9x()) return s.fail(kErrorCallNotImplemented);
  if (token == nullptr) return s.fail(kErrorInvalidParameter);
  if (process != kCurrentProcessPseudoHandle) return s.fail(kErrorInvalidHandle);
  *token = s.handles.open(detail::HandleKind::Token, "", access);
  return true;
}

bool FakePlatform::lookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("LookupPrivilegeValueA", {text(systemName), text(name)})) {
    return s.fail(*error);
  }
  if (s.isWindows9x()) return s.fail(kErrorCallNotImplemented);
  if (systemName != nullptr && *systemName != '\0') return s.fail(kErrorRpcServerUnavailable);
  if (name == nullptr || luid == nullptr) return s.fail(kErrorInvalidParameter);
  if (!detail::equalsIgnoreCase(name, "SeShutdownPrivilege")) {
    return s.fail(kErrorNoSuchPrivilege);
  }
  *luid = kShutdownLuid;
  return true;
}

bool FakePlatform::adjustTokenPrivileges(Handle token, bool disableAll,
                                         const TokenPrivileges* state, Dword bufferLength,
                                         TokenPrivileges* previous, Dword* returnLength) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("AdjustTokenPrivileges",
                                        {handle(token), flag(disableAll), privilegesText(state),
                                         number(bufferLength), buffer(previous)})) {
    return s.fail(*error);
  }
  if (s.isWindows9x()) return s.fail(kErrorCallNotImplemented);
  const detail::HandleTable::Entry* open = s.handles.find(token, detail::HandleKind::Token);
  if (open == nullptr) return s.fail(kErrorInvalidHandle);
  const Dword needed = kTokenAdjustPrivileges | (previous != nullptr ? kTokenQuery : 0);
  if ((open->access & needed) != needed) return s.fail(kErrorAccessDenied);
  if (!disableAll && state == nullptr) return s.fail(kErrorInvalidParameter);

  // The token holds one privilege that can change: shutdown.
  bool touchesShutdown = disableAll && s.shutdownHeld;
  bool enable = false;
  bool allAssigned = true;
  if (!disableAll) {
    for (const LuidAndAttributes& privilege : privilegesOf(*state)) {
      if (isShutdown(privilege.Luid) && s.shutdownHeld) {
        touchesShutdown = true;
        enable = (privilege.Attributes & kSePrivilegeEnabled) != 0;
      } else {
        allAssigned = false;
      }
    }
  }

  if (previous != nullptr) {
    const Dword count = touchesShutdown ? 1 : 0;
    const auto size = static_cast<Dword>(offsetof(TokenPrivileges, Privileges) +
                                         count * sizeof(LuidAndAttributes));
    if (returnLength != nullptr) *returnLength = size;
    if (bufferLength < size) return s.fail(kErrorInsufficientBuffer);
    std::memcpy(previous, &count, sizeof count);
    if (count == 1) {
      const LuidAndAttributes before{kShutdownLuid, s.shutdownEnabled ? kSePrivilegeEnabled : 0};
      std::memcpy(previous->Privileges, &before, sizeof before);
    }
  }
  if (touchesShutdown) s.shutdownEnabled = enable;
  // Success either way; the last error tells whether every privilege was assigned.
  s.lastError = allAssigned ? kErrorSuccess : kErrorNotAllAssigned;
  return true;
}

}  // namespace qlx::fake
