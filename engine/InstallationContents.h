#pragma once

#include <string>
#include <vector>

#include "platform/Records.h"

namespace qlx {

// The directory a spooler or system query gives for a file, or the
// uninstaller's own folder under the Windows directory.
enum class Place {
  SystemDirectory,
  PrintProcessorDirectory,
  PrinterDriverDirectory,
  UninstallerFolder
};

// Whether a file is this product's alone or shared with other printers'
// drivers (the universal driver files, the USB monitor), which a removal
// must leave in place.
enum class Ownership { Product, Shared };

// One file an installation places: its name in the package and at its
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

// The printer driver's record, as AddPrinterDriverA takes it.
struct DriverDescription {
  Dword version = 0;
  std::string name, driverPath, dataFile, configFile, helpFile;
  std::string dependentFiles;  // names, each NUL-terminated, then one more NUL
};

// Everything an installation of one platform family places on the machine,
// in the order it places it. One description, read by the installation, the
// check of the package before it, the check for a complete installation,
// the update and the removal.
struct InstallationContents {
  const char* sourceFolder = "";  // relative to the current directory, with its backslash
  const char* environment = "";
  std::vector<PlacedFile> files;
  std::vector<PlacedMonitor> monitors;
  std::string processorName;  // empty without a print processor
  std::string processorFile;
  DriverDescription driver;
  // Names deleted from the printer-driver directory once the driver is
  // added: what the spooler no longer needs there (NT and 2000 families).
  std::vector<std::string> stagedFiles;

  bool windows9x() const;
  std::vector<std::string> namesIn(Place place) const;
  // Where the installation reads a file: "driverNT\\NAME", or beside the
  // program for the uninstaller's files.
  std::string sourcePath(const PlacedFile& file) const;
  // Every package file the installation reads.
  std::vector<std::string> sourcePaths() const;
  // The language monitor the driver names.
  const std::string& requiredMonitor() const;
  // The record for AddPrinterDriverA; it points into this description.
  DriverInfo3 driverInfo() const;
};

}  // namespace qlx
