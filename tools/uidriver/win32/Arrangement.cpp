#include "win32/Arrangement.h"

#include <windows.h>
#include <winspool.h>

#include "win32/Controls.h"

namespace uidriver {
namespace {

// A printer that is not there counts as deleted.
std::string deletePrinter(const std::string& name) {
  std::wstring wide = utf8ToWide(name);
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(wide.data(), &printer, &defaults)) {
    DWORD error = GetLastError();
    if (error == ERROR_INVALID_PRINTER_NAME) return {};
    return "OpenPrinter failed with " + std::to_string(error);
  }
  BOOL deleted = DeletePrinter(printer);
  DWORD error = GetLastError();
  ClosePrinter(printer);
  return deleted ? std::string() : "DeletePrinter failed with " + std::to_string(error);
}

// Deletes a key of HKLM with everything under it; absent counts as deleted.
LONG deleteTree(const std::wstring& subkey) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key);
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  std::vector<std::wstring> children;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::wstring& child : children)
    if ((status = deleteTree(subkey + L"\\" + child)) != ERROR_SUCCESS) return status;
  return RegDeleteKeyW(HKEY_LOCAL_MACHINE, subkey.c_str());
}

// The spooler refuses lasting subkeys under a volatile key: this is how a
// test makes one of its calls fail. The key replaces any of that name, and
// its missing parents are created as lasting keys.
std::string createVolatileKey(const std::string& path) {
  std::wstring subkey = utf8ToWide(path.substr(5));  // after "HKLM\"
  LONG status = deleteTree(subkey);
  if (status != ERROR_SUCCESS) return "deleting the key failed with " + std::to_string(status);
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (auto last = subkey.rfind(L'\\'); last != std::wstring::npos) {
    status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.substr(0, last).c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (status != ERROR_SUCCESS) return "creating its parent failed with " + std::to_string(status);
    RegCloseKey(key);
  }
  status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key, &disposition);
  if (status != ERROR_SUCCESS) return "RegCreateKeyEx failed with " + std::to_string(status);
  RegCloseKey(key);
  return disposition == REG_CREATED_NEW_KEY ? std::string() : "the key was not created anew";
}

}  // namespace

std::vector<std::string> arrangePrefix(const Script& script, Recorder& recorder) {
  std::vector<std::string> problems;
  auto record = [&](std::string_view what, const std::string& name, const std::string& problem) {
    JsonObject line = recorder.line("arranged");
    line.text(what, name).flag("ok", problem.empty());
    if (!problem.empty()) {
      line.text("problem", problem);
      problems.push_back(std::string(what) + " " + name + ": " + problem);
    }
    recorder.write(line);
  };
  for (const std::string& name : script.deletePrinters)
    record("deletedPrinter", name, deletePrinter(name));
  for (const std::string& path : script.volatileKeys)
    record("volatileKey", path, createVolatileKey(path));
  return problems;
}

}  // namespace uidriver
