#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/InstallationContents.h"

namespace qlx {

// What tells two copies of a file apart: its version record (all four
// numbers) and its last-write time.
struct FileStamp {
  bool present = false;
  std::optional<std::uint64_t> version;    // dwFileVersionMS in the high half
  std::optional<std::uint64_t> lastWrite;  // FILETIME ticks
  // "3.1.1.0", else the date, else "missing".
  std::string text() const;
};

// The one rule for every file placed outside the user's overwrite policy,
// in the installation and the update alike: where both copies carry a
// version, the higher wins; where only the installed one does, it stays;
// where only the package's does, it wins; where neither does, the later
// last-write time wins. Swapped, it tells whether the installed copy is the
// newer one, which a placement keeps. Without both copies there is nothing
// to compare.
bool packageIsNewer(const FileStamp& installed, const FileStamp& package);

// One file of the installation, its package copy against the installed one.
struct ComparedFile {
  PlacedFile file;
  std::string installed;  // full path of the copy in use
  std::string package;    // where the installation reads it
  FileStamp installedStamp, packageStamp;
  bool packageNewer = false;
  bool installedNewer = false;
};

// What a run finds when the installation is complete: the files of the
// package newer than the installed ones make it an update; an installed
// file newer than the package's is never replaced.
struct UpdatePlan {
  std::vector<ComparedFile> files;

  // A shared file newer in the package counts too: it is what the spooler
  // would take in, and a run cut short before it must be completed.
  bool any() const {
    for (const ComparedFile& compared : files) {
      if (compared.packageNewer) return true;
    }
    return false;
  }
  const ComparedFile* find(const std::string& name, Place place) const;
};

}  // namespace qlx
