#pragma once

#include "platform/Types.h"

// Plain structs laid out like the published Win32 records of the same name,
// so that the Windows adapter can hand them to the system unchanged.
namespace qlx {

struct OsVersionInfo {  // OSVERSIONINFOA
  Dword dwOSVersionInfoSize;
  Dword dwMajorVersion;
  Dword dwMinorVersion;
  Dword dwBuildNumber;
  Dword dwPlatformId;
  char szCSDVersion[128];
};
static_assert(sizeof(OsVersionInfo) == 148);

inline constexpr Dword kVerPlatformWin32Windows = 1;
inline constexpr Dword kVerPlatformWin32Nt = 2;

struct FileTime {  // FILETIME
  Dword dwLowDateTime;
  Dword dwHighDateTime;
};

struct SystemTime {  // SYSTEMTIME
  Word wYear;
  Word wMonth;
  Word wDayOfWeek;
  Word wDay;
  Word wHour;
  Word wMinute;
  Word wSecond;
  Word wMilliseconds;
};
static_assert(sizeof(SystemTime) == 16);

struct VsFixedFileInfo {  // VS_FIXEDFILEINFO
  Dword dwSignature;
  Dword dwStrucVersion;
  Dword dwFileVersionMS;
  Dword dwFileVersionLS;
  Dword dwProductVersionMS;
  Dword dwProductVersionLS;
  Dword dwFileFlagsMask;
  Dword dwFileFlags;
  Dword dwFileOS;
  Dword dwFileType;
  Dword dwFileSubtype;
  Dword dwFileDateMS;
  Dword dwFileDateLS;
};
inline constexpr Dword kVsFixedFileInfoSignature = 0xFEEF04BD;

struct MonitorInfo2 {  // MONITOR_INFO_2A
  const char* pName;
  const char* pEnvironment;
  const char* pDLLName;
};

struct DriverInfo3 {  // DRIVER_INFO_3A
  Dword cVersion;
  const char* pName;
  const char* pEnvironment;
  const char* pDriverPath;
  const char* pDataFile;
  const char* pConfigFile;
  const char* pHelpFile;
  const char* pDependentFiles;  // names, each NUL-terminated, then one more NUL
  const char* pMonitorName;
  const char* pDefaultDataType;
};

struct DriverInfo4 {  // DRIVER_INFO_4A
  Dword cVersion;
  const char* pName;
  const char* pEnvironment;
  const char* pDriverPath;
  const char* pDataFile;
  const char* pConfigFile;
  const char* pHelpFile;
  const char* pDependentFiles;
  const char* pMonitorName;
  const char* pDefaultDataType;
  const char* pszzPreviousNames;
};

struct PrinterInfo2 {  // PRINTER_INFO_2A
  const char* pServerName;
  const char* pPrinterName;
  const char* pShareName;
  const char* pPortName;
  const char* pDriverName;
  const char* pComment;
  const char* pLocation;
  void* pDevMode;
  const char* pSepFile;
  const char* pPrintProcessor;
  const char* pDatatype;
  const char* pParameters;
  void* pSecurityDescriptor;
  Dword Attributes;
  Dword Priority;
  Dword DefaultPriority;
  Dword StartTime;
  Dword UntilTime;
  Dword Status;
  Dword cJobs;
  Dword AveragePPM;
};

struct PrinterDefaults {  // PRINTER_DEFAULTSA
  const char* pDatatype;
  void* pDevMode;
  Dword DesiredAccess;
};

// MONITOR_INFO_1A, PRINTPROCESSOR_INFO_1A and PORT_INFO_1A: a name alone.
struct NameInfo1 {
  const char* pName;
};

struct Luid {  // LUID
  Dword LowPart;
  Long HighPart;
};

struct LuidAndAttributes {  // LUID_AND_ATTRIBUTES
  qlx::Luid Luid;           // qualified: the member shares the type's name
  Dword Attributes;
};

struct TokenPrivileges {  // TOKEN_PRIVILEGES with its one-element array
  Dword PrivilegeCount;
  LuidAndAttributes Privileges[1];
};

}  // namespace qlx
