#include "engine/OsDetection.h"

#include <cstring>

#include "engine/Families.h"

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
    // Vista 6.0 to 8.1 6.3, and 10.0 (Windows 11 reports it too).
    if (majorVersion == 6) return minorVersion <= 3 ? kWindowsVistaOrLater : kOsUnrecognised;
    if (majorVersion == 10) return minorVersion == 0 ? kWindowsVistaOrLater : kOsUnrecognised;
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

const char* windowsName(OsKind kind, const ReportedVersion& version) {
  if (kind != kWindowsVistaOrLater) return platformName(kind);
  if (version.major == 6) {
    static constexpr const char* kSix[] = {"Windows Vista", "Windows 7", "Windows 8",
                                           "Windows 8.1"};
    return version.minor < 4 ? kSix[version.minor] : "Windows";
  }
  return version.build >= 22000 ? "Windows 11" : "Windows 10";
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
