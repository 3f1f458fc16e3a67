#pragma once

#include "engine/OsKind.h"
#include "platform/Platform.h"

namespace qlx {

// The Windows version as GetVersionExA reported it.
struct ReportedVersion {
  bool known = false;
  Dword platformId = 0, major = 0, minor = 0, build = 0;
};

struct DetectedOs {
  OsKind kind = kOsUnrecognised;
  ReportedVersion version;
};

// The platform code for a version triple as GetVersionExA reports it; the
// build number and service pack never matter.
OsKind classifyOsVersion(Dword platformId, Dword majorVersion, Dword minorVersion);

// The running Windows, asked of the system.
DetectedOs detectOsKind(Platform& platform);

// The name the log gives the running Windows: the platform's, and for the
// later versions, which share one code, the one its version tells.
const char* windowsName(OsKind kind, const ReportedVersion& version);

}  // namespace qlx
