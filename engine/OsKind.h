#pragma once

#include <cstdint>

namespace qlx {

// The supported platforms; any value outside 2000..2007 is unrecognised.
using OsKind = std::int32_t;
inline constexpr OsKind kWindows95 = 2000;
inline constexpr OsKind kWindows98 = 2001;
inline constexpr OsKind kWindowsMe = 2002;
inline constexpr OsKind kWindowsNt4 = 2003;
inline constexpr OsKind kWindows2000 = 2004;
inline constexpr OsKind kWindowsXp = 2005;
inline constexpr OsKind kWindowsServer2003 = 2006;
// Vista, Server 2008, 7, 8, 8.1 and 10: installed as Server 2003 is.
inline constexpr OsKind kWindowsVistaOrLater = 2007;
inline constexpr OsKind kOsUnrecognised = 0;

inline constexpr bool isWindows9x(OsKind kind) { return kind >= kWindows95 && kind <= kWindowsMe; }

// 1000 + the index of the port button: COM1..COM4, LPT1, LPT2.
using PortCode = int;
inline constexpr PortCode kPortCom1 = 1000;
inline constexpr PortCode kPortLpt1 = 1004;
inline constexpr PortCode kPortLpt2 = 1005;

// Selection index of the overwrite combo box; other values act as "never".
using OverwriteMode = std::int32_t;
inline constexpr OverwriteMode kOverwriteByVersion = 0;
inline constexpr OverwriteMode kOverwriteByDate = 1;
inline constexpr OverwriteMode kOverwriteAlways = 2;
inline constexpr OverwriteMode kOverwriteNever = 3;

}  // namespace qlx
