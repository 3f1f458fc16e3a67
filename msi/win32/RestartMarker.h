#pragma once

namespace qlx::msi {

// A deferred action cannot ask Windows Installer for the restart, so the
// install action leaves an empty file and the immediate action after
// InstallFinalize takes it.
namespace restart_marker {

void clear(const char* path);
bool leave(const char* path);
// True when the marker was there; it is gone afterwards.
bool take(const char* path);

}  // namespace restart_marker

}  // namespace qlx::msi
