#pragma once

namespace qlx::msi {

// Empty files that pass a fact from one of the package's actions to another:
// a deferred action cannot ask Windows Installer for the restart, so it
// leaves a note for the immediate action after InstallFinalize; a newer
// package leaves one for the older package's removal that it starts.
namespace note_file {

bool leave(const char* path);
bool exists(const char* path);
// True when the note was there; it is gone afterwards.
bool take(const char* path);
void clear(const char* path);

}  // namespace note_file

}  // namespace qlx::msi
