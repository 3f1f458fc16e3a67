// The parts of the report: each writes one JSON value, the caller names it.
// A part that could not be read says so inside its object (writeFailure).
#pragma once

#include <windows.h>
// After windows.h, which leaves it out under WIN32_LEAN_AND_MEAN.
#include <winspool.h>

#include <cstdint>
#include <string>
#include <vector>

#include "json/Json.h"

namespace prefixstate {

using testjson::JsonWriter;

// The environments every spooler list and directory is read for.
inline constexpr const char* kEnvironments[] = {"Windows NT x86", "Windows 4.0"};

// Members of the current object: "ok": false, the call that failed and its
// GetLastError code.
void writeFailure(JsonWriter& json, const char* call, DWORD error);

void writeWindowsVersion(JsonWriter& json);
void writeErrorTexts(JsonWriter& json, const std::vector<std::uint32_t>& codes);

void writePrinters(JsonWriter& json);
void writeDrivers(JsonWriter& json);
void writeMonitors(JsonWriter& json);
void writePrintProcessors(JsonWriter& json);
void writeSpoolerDirectories(JsonWriter& json);

// The Status value of the printer's own key, which Wine's EnumPrinters does not report.
void writeStoredPrinterStatus(JsonWriter& json, const char* printerName);
void writeUninstallEntry(JsonWriter& json);

void writeDirectoryListings(JsonWriter& json, const std::vector<std::string>& directories);

}  // namespace prefixstate
