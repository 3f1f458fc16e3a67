#pragma once

#include "engine/InstallTexts.h"
#include "engine/InstallationContents.h"
#include "engine/ModelNames.h"
#include "engine/OsKind.h"
#include "platform/Types.h"

namespace qlx {

// What each family places: the driver package's folder for it, the files,
// the registrations and the driver record.
InstallationContents win2000Contents(const ModelNames& names);
InstallationContents winNtContents(const ModelNames& names);
InstallationContents win9xContents(const ModelNames& names);

// A platform family: what it places and the few ways its procedures differ.
struct FamilySettings {
  InstallationContents (*contents)(const ModelNames& names);
  const char* checkText;
  Dword enumLevel;  // DRIVER_INFO_4 on the 2000 family, DRIVER_INFO_3 elsewhere
  Dword attributesWithProcessor;
  Dword attributesWithoutProcessor;
  Dword priority;
  Dword defaultPriority;
  Dword status;
  bool restartNeedsPrivilege;  // restartComputer, or ExitWindowsEx at once (9x)
  Dword completionPauseMs;
  // The clean-up asks for the printer-driver directory again (2000 family)
  // or uses the buffer as the copies left it (NT family).
  bool cleanUpQueriesDirectory;
  // A driver the spooler refuses stops the installation; on the 2000 family
  // the printer creation that follows decides.
  bool driverFailureIsFatal;
};

inline constexpr Dword kAttributesRawOnlyBidi = 0x1800;
inline constexpr Dword kAttributesBidiCompleteFirst = 0x0A00;
inline constexpr Dword kAttributesBidiLocal = 0x0840;
inline constexpr Dword kPrinterStatusOffline = 0x80;

inline constexpr FamilySettings kWin2000Family{
    .contents = win2000Contents,
    .checkText = text::kCheckDrivers,
    .enumLevel = 4,
    .attributesWithProcessor = kAttributesRawOnlyBidi,
    .attributesWithoutProcessor = kAttributesBidiCompleteFirst,
    .priority = 1,
    .defaultPriority = 0,
    .status = kPrinterStatusOffline,
    .restartNeedsPrivilege = true,
    .completionPauseMs = 2000,
    .cleanUpQueriesDirectory = true,
    .driverFailureIsFatal = false};
inline constexpr FamilySettings kWinNtFamily{
    .contents = winNtContents,
    .checkText = text::kCheckDrivers,
    .enumLevel = 3,
    .attributesWithProcessor = kAttributesRawOnlyBidi,
    .attributesWithoutProcessor = kAttributesBidiCompleteFirst,
    .priority = 1,
    .defaultPriority = 0,
    .status = 0,
    .restartNeedsPrivilege = true,
    .completionPauseMs = 2000,
    .cleanUpQueriesDirectory = false,
    .driverFailureIsFatal = true};
inline constexpr FamilySettings kWin9xFamily{.contents = win9xContents,
                                             .checkText = text::kCheckDriver,
                                             .enumLevel = 3,
                                             .attributesWithProcessor = kAttributesRawOnlyBidi,
                                             .attributesWithoutProcessor = kAttributesBidiLocal,
                                             .priority = 1,
                                             .defaultPriority = 1,
                                             .status = 0,
                                             .restartNeedsPrivilege = false,
                                             .completionPauseMs = 500,
                                             .cleanUpQueriesDirectory = false,
                                             .driverFailureIsFatal = true};

// One supported Windows: its code, the name the log gives it, its family.
struct SupportedPlatform {
  OsKind kind;
  const char* name;
  const FamilySettings* family;
};

// The family whose procedure a platform runs; null when it is not supported.
const FamilySettings* familyFor(OsKind kind);
// "Windows XP", or "not supported".
const char* platformName(OsKind kind);
inline bool isSupported(OsKind kind) { return familyFor(kind) != nullptr; }

inline constexpr char kNtEnvironment[] = "Windows NT x86";
inline constexpr char k9xEnvironment[] = "Windows 4.0";

}  // namespace qlx
