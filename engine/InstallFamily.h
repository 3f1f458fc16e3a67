#pragma once

#include "engine/InstallTexts.h"
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
};

inline constexpr Dword kAttributesRawOnlyBidi = 0x1800;
inline constexpr Dword kAttributesBidiCompleteFirst = 0x0A00;
inline constexpr Dword kAttributesBidiLocal = 0x0840;
inline constexpr Dword kPrinterStatusOffline = 0x80;

inline constexpr FamilySettings kWin2000Family{
    text::kCheckDrivers,          4,    kAttributesRawOnlyBidi,
    kAttributesBidiCompleteFirst, 1,    0,
    kPrinterStatusOffline,        true, 2000};
inline constexpr FamilySettings kWinNtFamily{text::kCheckDrivers,
                                             3,
                                             kAttributesRawOnlyBidi,
                                             kAttributesBidiCompleteFirst,
                                             1,
                                             0,
                                             0,
                                             true,
                                             2000};
inline constexpr FamilySettings kWin9xFamily{
    text::kCheckDriver, 3, kAttributesRawOnlyBidi, kAttributesBidiLocal, 1, 1, 0, false, 500};

inline constexpr char kNtEnvironment[] = "Windows NT x86";
inline constexpr char k9xEnvironment[] = "Windows 4.0";

}  // namespace qlx
