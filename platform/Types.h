#pragma once

#include <cstdint>

// Plain value types that mirror the Win32 ones the installer passes around.
// Handles are opaque integers so that the fake platform can hand out its own.
namespace qlx {

using Dword = std::uint32_t;
using Word = std::uint16_t;
using Long = std::int32_t;
using Handle = std::uintptr_t;
using HKey = std::uintptr_t;
using HGlobal = std::uintptr_t;
using WindowHandle = std::uintptr_t;
using PrinterHandle = std::uintptr_t;

inline constexpr Handle kInvalidHandleValue = ~static_cast<Handle>(0);
inline constexpr HKey kHKeyLocalMachine = 0x80000002u;

// Error codes the installer's own logic names.
inline constexpr Dword kErrorSuccess = 0;
inline constexpr Dword kErrorFileNotFound = 2;
inline constexpr Dword kErrorPathNotFound = 3;
inline constexpr Dword kErrorAccessDenied = 5;
inline constexpr Dword kErrorInvalidHandle = 6;
inline constexpr Dword kErrorNotEnoughMemory = 8;
inline constexpr Dword kErrorSharingViolation = 32;
inline constexpr Dword kErrorFileExists = 80;
inline constexpr Dword kErrorInvalidParameter = 87;
inline constexpr Dword kErrorCallNotImplemented = 120;
inline constexpr Dword kErrorInsufficientBuffer = 122;
inline constexpr Dword kErrorInvalidName = 123;
inline constexpr Dword kErrorProcNotFound = 127;
inline constexpr Dword kErrorAlreadyExists = 183;
inline constexpr Dword kErrorMoreData = 234;
inline constexpr Dword kErrorUserMappedFile = 1224;
inline constexpr Dword kErrorNotAllAssigned = 1300;
inline constexpr Dword kErrorPrinterDriverAlreadyInstalled = 1795;
inline constexpr Dword kErrorUnknownPrinterDriver = 1797;
inline constexpr Dword kErrorUnknownPrintProcessor = 1798;
inline constexpr Dword kErrorInvalidPrinterName = 1801;
inline constexpr Dword kErrorPrinterAlreadyExists = 1802;
inline constexpr Dword kErrorUnknownPrintMonitor = 3000;
inline constexpr Dword kErrorPrinterDriverInUse = 3001;
inline constexpr Dword kErrorPrintMonitorAlreadyInstalled = 3006;
inline constexpr Dword kErrorPrintMonitorInUse = 3008;
inline constexpr Dword kErrorPrintProcessorAlreadyInstalled = 3005;

// Registry results are the error codes themselves.
inline constexpr Long kRegSuccess = 0;

}  // namespace qlx
