#pragma once

#include "engine/OsKind.h"
#include "platform/Types.h"

namespace qlx {

// The platform code for a version triple as GetVersionExA reports it; the
// build number and service pack never matter.
OsKind classifyOsVersion(Dword platformId, Dword majorVersion, Dword minorVersion);

}  // namespace qlx
