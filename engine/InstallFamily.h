#pragma once

#include "engine/InstallTexts.h"
#include "engine/OsKind.h"
#include "platform/Types.h"

namespace qlx {

// What the common install frame does differently on each platform family.
struct FamilySettings {
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
inline constexpr FamilySettings kWin9xFamily{.checkText = text::kCheckDriver,
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

// The family whose procedure a platform runs.
const FamilySettings& familyFor(OsKind kind);

inline constexpr char kNtEnvironment[] = "Windows NT x86";
inline constexpr char k9xEnvironment[] = "Windows 4.0";

}  // namespace qlx
