#pragma once

#include <string>
#include <vector>

namespace qlx {

// The directory a spooler or system query gives for a file.
enum class Place { SystemDirectory, PrintProcessorDirectory, PrinterDriverDirectory };

// Whether a file is this product's alone or shared with other printers'
// drivers (the universal driver files, the USB monitor), which a removal
// must leave in place.
enum class Ownership { Product, Shared };

// One file of the driver package: its name in the source folder and at its
// target, and how the installation copies it.
struct PlacedFile {
  std::string name;
  Place place;
  Ownership ownership;
  // Replaced only as the user's overwrite policy allows (the 9x universal
  // driver files); every other file is overwritten.
  bool underPolicy = false;
};

// A language monitor the installation registers. The companion USB monitor
// of Windows 9x is optional: its failure is never shown.
struct PlacedMonitor {
  std::string name;
  std::string dllName;
  Ownership ownership;
  bool required;
};

// Everything an installation of one platform family places on the machine,
// in the order it places it. One description, read by the installation, the
// check of the package before it, the check for a complete installation
// and the removal.
struct InstallationContents {
  const char* sourceFolder = "";  // relative to the current directory, with its backslash
  const char* environment = "";
  std::vector<PlacedFile> files;
  std::vector<PlacedMonitor> monitors;
  std::string processorName;  // empty without a print processor
  // Names deleted from the printer-driver directory once the driver is
  // added: what the spooler no longer needs there (NT and 2000 families).
  std::vector<std::string> stagedFiles;

  std::vector<std::string> namesIn(Place place) const;
  // Every package file the installation reads, as "driverNT\\NAME".
  std::vector<std::string> sourcePaths() const;
};

}  // namespace qlx
