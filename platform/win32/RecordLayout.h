#pragma once

#include <windows.h>
#include <winspool.h>
#include <winver.h>

#include <cstddef>

#include "platform/Records.h"

// The adapters hand our records and buffers to Windows with a cast, so each one
// must have exactly the published layout; a difference would corrupt memory
// silently, so it stops the build instead.
#define QLX_SAME_FIELD(Ours, Theirs, field)                         \
  static_assert(offsetof(Ours, field) == offsetof(Theirs, field) && \
                    sizeof(Ours::field) == sizeof(Theirs::field),   \
                #Ours "::" #field " differs from " #Theirs)
#define QLX_SAME_SIZE(Ours, Theirs) \
  static_assert(sizeof(Ours) == sizeof(Theirs), #Ours " differs in size from " #Theirs)

namespace qlx::win32 {

static_assert(sizeof(Dword) == sizeof(DWORD) && sizeof(Long) == sizeof(LONG));
static_assert(sizeof(Handle) == sizeof(HANDLE) && sizeof(HKey) == sizeof(HKEY));
// HKEY_LOCAL_MACHINE is the sign-extended LONG 0x80000002, which our constant
// matches only where pointers are 32 bits wide.
static_assert(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002)) == kHKeyLocalMachine);

QLX_SAME_SIZE(OsVersionInfo, OSVERSIONINFOA);
QLX_SAME_FIELD(OsVersionInfo, OSVERSIONINFOA, dwOSVersionInfoSize);
QLX_SAME_FIELD(OsVersionInfo, OSVERSIONINFOA, dwMajorVersion);
QLX_SAME_FIELD(OsVersionInfo, OSVERSIONINFOA, dwMinorVersion);
QLX_SAME_FIELD(OsVersionInfo, OSVERSIONINFOA, dwBuildNumber);
QLX_SAME_FIELD(OsVersionInfo, OSVERSIONINFOA, dwPlatformId);
QLX_SAME_FIELD(OsVersionInfo, OSVERSIONINFOA, szCSDVersion);

QLX_SAME_SIZE(FileTime, FILETIME);
QLX_SAME_FIELD(FileTime, FILETIME, dwLowDateTime);
QLX_SAME_FIELD(FileTime, FILETIME, dwHighDateTime);

QLX_SAME_SIZE(SystemTime, SYSTEMTIME);
QLX_SAME_FIELD(SystemTime, SYSTEMTIME, wYear);
QLX_SAME_FIELD(SystemTime, SYSTEMTIME, wDay);
QLX_SAME_FIELD(SystemTime, SYSTEMTIME, wSecond);
QLX_SAME_FIELD(SystemTime, SYSTEMTIME, wMilliseconds);

QLX_SAME_SIZE(VsFixedFileInfo, VS_FIXEDFILEINFO);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwSignature);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwStrucVersion);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileVersionMS);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileVersionLS);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwProductVersionMS);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwProductVersionLS);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileFlagsMask);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileFlags);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileOS);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileType);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileSubtype);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileDateMS);
QLX_SAME_FIELD(VsFixedFileInfo, VS_FIXEDFILEINFO, dwFileDateLS);

QLX_SAME_SIZE(MonitorInfo2, MONITOR_INFO_2A);
QLX_SAME_FIELD(MonitorInfo2, MONITOR_INFO_2A, pName);
QLX_SAME_FIELD(MonitorInfo2, MONITOR_INFO_2A, pEnvironment);
QLX_SAME_FIELD(MonitorInfo2, MONITOR_INFO_2A, pDLLName);

QLX_SAME_SIZE(DriverInfo3, DRIVER_INFO_3A);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, cVersion);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pName);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pEnvironment);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pDriverPath);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pDataFile);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pConfigFile);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pHelpFile);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pDependentFiles);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pMonitorName);
QLX_SAME_FIELD(DriverInfo3, DRIVER_INFO_3A, pDefaultDataType);

QLX_SAME_SIZE(DriverInfo4, DRIVER_INFO_4A);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, cVersion);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pName);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pEnvironment);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pDriverPath);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pDataFile);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pConfigFile);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pHelpFile);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pDependentFiles);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pMonitorName);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pDefaultDataType);
QLX_SAME_FIELD(DriverInfo4, DRIVER_INFO_4A, pszzPreviousNames);

QLX_SAME_SIZE(PrinterInfo2, PRINTER_INFO_2A);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pServerName);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pPrinterName);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pShareName);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pPortName);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pDriverName);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pComment);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pLocation);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pDevMode);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pSepFile);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pPrintProcessor);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pDatatype);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pParameters);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, pSecurityDescriptor);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, Attributes);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, Priority);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, DefaultPriority);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, StartTime);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, UntilTime);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, Status);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, cJobs);
QLX_SAME_FIELD(PrinterInfo2, PRINTER_INFO_2A, AveragePPM);

QLX_SAME_SIZE(PrinterDefaults, PRINTER_DEFAULTSA);
QLX_SAME_FIELD(PrinterDefaults, PRINTER_DEFAULTSA, pDatatype);
QLX_SAME_FIELD(PrinterDefaults, PRINTER_DEFAULTSA, pDevMode);
QLX_SAME_FIELD(PrinterDefaults, PRINTER_DEFAULTSA, DesiredAccess);
QLX_SAME_SIZE(NameInfo1, MONITOR_INFO_1A);
QLX_SAME_FIELD(NameInfo1, MONITOR_INFO_1A, pName);
QLX_SAME_SIZE(NameInfo1, PRINTPROCESSOR_INFO_1A);
QLX_SAME_FIELD(NameInfo1, PRINTPROCESSOR_INFO_1A, pName);
QLX_SAME_SIZE(NameInfo1, PORT_INFO_1A);
QLX_SAME_FIELD(NameInfo1, PORT_INFO_1A, pName);

QLX_SAME_SIZE(Luid, LUID);
QLX_SAME_FIELD(Luid, LUID, LowPart);
QLX_SAME_FIELD(Luid, LUID, HighPart);
QLX_SAME_SIZE(LuidAndAttributes, LUID_AND_ATTRIBUTES);
QLX_SAME_FIELD(LuidAndAttributes, LUID_AND_ATTRIBUTES, Luid);
QLX_SAME_FIELD(LuidAndAttributes, LUID_AND_ATTRIBUTES, Attributes);
QLX_SAME_SIZE(TokenPrivileges, TOKEN_PRIVILEGES);
QLX_SAME_FIELD(TokenPrivileges, TOKEN_PRIVILEGES, PrivilegeCount);
QLX_SAME_FIELD(TokenPrivileges, TOKEN_PRIVILEGES, Privileges);

// Conversions at the Win32 boundary. Our handles are integers of pointer size.
template <typename Native>
Native toNative(std::uintptr_t handle) {
  return reinterpret_cast<Native>(handle);
}
template <typename Native>
std::uintptr_t fromNative(Native handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}
// DWORD is unsigned long, Dword unsigned int: same size, so an out-parameter passes through.
inline DWORD* dwordOut(Dword* value) { return reinterpret_cast<DWORD*>(value); }
// The ANSI spooler entry points take non-const strings that they only read.
inline char* inString(const char* text) { return const_cast<char*>(text); }

}  // namespace qlx::win32

#undef QLX_SAME_FIELD
#undef QLX_SAME_SIZE
