#pragma once

#include "platform/Types.h"

// Win32 codes the fake reports beyond those the installer itself names.
namespace qlx::fake {

inline constexpr Dword kErrorInvalidLevel = 124;
inline constexpr Dword kErrorModuleNotFound = 126;
inline constexpr Dword kErrorInvalidName = 123;
inline constexpr Dword kErrorNegativeSeek = 131;
inline constexpr Dword kErrorDirNotEmpty = 145;
inline constexpr Dword kErrorDirectoryName = 267;
inline constexpr Dword kErrorNotLocked = 158;
inline constexpr Dword kErrorCanNotComplete = 1003;
inline constexpr Dword kErrorMessageNotFound = 317;  // ERROR_MR_MID_NOT_FOUND
inline constexpr Dword kErrorResourceTypeNotFound = 1813;
inline constexpr Dword kErrorNoSuchPrivilege = 1313;
inline constexpr Dword kErrorPrivilegeNotHeld = 1314;
inline constexpr Dword kErrorRpcServerUnavailable = 1722;
inline constexpr Dword kErrorInvalidUserBuffer = 1784;
inline constexpr Dword kErrorUnknownPort = 1796;
inline constexpr Dword kErrorInvalidEnvironment = 1805;
inline constexpr Dword kErrorResourceLanguageNotFound = 15100;

}  // namespace qlx::fake
