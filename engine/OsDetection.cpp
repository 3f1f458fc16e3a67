#include "engine/OsDetection.h"

#include <cstring>

namespace qlx {

OsKind classifyOsVersion(Dword platformId, Dword majorVersion, Dword minorVersion) {
  if (platformId == kVerPlatformWin32Windows) {
    if (majorVersion != 4) return kOsUnrecognised;
    switch (minorVersion) {
      case 0:
        return kWindows95;
      case 10:
        return kWindows98;
      case 90:
        return kWindowsMe;
      default:
        return kOsUnrecognised;
    }
  }
  if (platformId == kVerPlatformWin32Nt) {
    if (majorVersion <= 4) return kWindowsNt4;  // NT 3.x counts as NT 4.0
    if (majorVersion != 5) return kOsUnrecognised;
    switch (minorVersion) {
      case 0:
        return kWindows2000;
      case 1:
        return kWindowsXp;
      case 2:
        return kWindowsServer2003;
      default:
        return kOsUnrecognised;
    }
  }
  return kOsUnrecognised;
}

DetectedOs detectOsKind(Platform& platform) {
  OsVersionInfo info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!platform.kernel.getVersionEx(info)) {
    info.dwOSVersionInfoSize = sizeof info;
    // Some systems refuse the first query; a second failure leaves no platform.
    if (!platform.kernel.getVersionEx(info)) return {};
  }
  return {classifyOsVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion),
          ReportedVersion{true, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                          info.dwBuildNumber}};
}

}  // namespace qlx
