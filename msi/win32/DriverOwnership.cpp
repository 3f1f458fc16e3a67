#include "msi/win32/DriverOwnership.h"

#include <windows.h>
#include <winspool.h>

#include <string_view>

#include "engine/Names.h"

namespace qlx::msi::ownership {
namespace {

constexpr char kDriverName[] = "DALVERA QLX-957";
constexpr char kKey[] = "SOFTWARE\\DALVERA\\QLX-957 deployment package";
constexpr char kValue[] = "InstalledTheDriver";

// No heap in the actions: the list goes into a fixed buffer, far larger
// than a till's drivers need; a longer list cannot be told.
alignas(8) BYTE gDrivers[256 * 1024];

}  // namespace

Listed driverListed(unsigned long& error) {
  DWORD needed = 0;
  DWORD count = 0;
  error = ERROR_SUCCESS;
  if (!EnumPrinterDriversA(nullptr, nullptr, 1, gDrivers, sizeof gDrivers, &needed, &count)) {
    error = GetLastError();
    return Listed::Unknown;
  }
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_1A*>(gDrivers);
  for (DWORD i = 0; i < count; ++i) {
    if (drivers[i].pName != nullptr && sameName(drivers[i].pName, kDriverName)) return Listed::Yes;
  }
  return Listed::No;
}

bool recorded() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  const bool there =
      RegQueryValueExA(key, kValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return there;
}

bool record() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  static const BYTE kOne[] = "1";
  const bool written = RegSetValueExA(key, kValue, 0, REG_SZ, kOne, sizeof kOne) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

void forget() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, kValue);
    RegCloseKey(key);
  }
  // The key is the package's alone.
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
}

}  // namespace qlx::msi::ownership
