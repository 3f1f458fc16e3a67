// demo_probe.exe PACKAGE_DIR UNIDRV_VERSION: loads every binary of the demo
// package the way the spooler does and calls its entry points with the
// arguments the spooler passes. Prints PASS/FAIL lines and "N passed, M
// failed"; exits 1 when a check fails. Run it under Wine.

// The print headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>
#include <winddiui.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void expect(bool ok, const std::wstring& what) {
  std::printf("%s %ls\n", ok ? "PASS" : "FAIL", what.c_str());
  (ok ? passed : failed)++;
}

// As documented for printer interface DLLs; declared here on its own so that a
// layout mistake in the DLL shows up.
struct PropertyHeader {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  DEVMODEW* pdmIn;
  DEVMODEW* pdmOut;
  DWORD cbOut;
  DWORD fMode;
};

using InitMonitor = LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE);
using PropertySheets = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using DriverEvent = BOOL(WINAPI*)(DWORD, DWORD, LPBYTE, LPARAM);
using EnumDatatypes = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
using OpenProcessor = HANDLE(WINAPI*)(LPWSTR, PPRINTPROCESSOROPENDATA);

class Library {
 public:
  explicit Library(const std::wstring& path) : path_(path), module_(LoadLibraryW(path.c_str())) {
    expect(module_ != nullptr, path + L" loads (error " + std::to_wstring(GetLastError()) + L")");
  }
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  template <typename F>
  F entry(const char* name) const {
    FARPROC found = module_ ? GetProcAddress(module_, name) : nullptr;
    std::wstring wide(name, name + std::strlen(name));
    expect(found != nullptr, path_ + L" exports " + wide);
    return reinterpret_cast<F>(reinterpret_cast<void*>(found));
  }

 private:
  std::wstring path_;
  HMODULE module_;
};

void probeMonitor(const std::wstring& path) {
  Library library(path);
  auto init = library.entry<InitMonitor>("InitializePrintMonitor2");
  if (!init) return;
  HANDLE monitor = nullptr;
  SetLastError(0);
  expect(!init(nullptr, &monitor) && GetLastError() == ERROR_INVALID_PARAMETER,
         path + L": no MONITORINIT is refused with 87");
  MONITORINIT info = {};
  info.cbSize = sizeof(info);
  info.bLocal = TRUE;
  MONITOR2* table = init(&info, &monitor);
  expect(table && monitor, path + L": a table and a handle");
  if (!table) return;
  // Everything up to pfnShutdown is the Windows 2000 table every spooler reads.
  const DWORD minimum = offsetof(MONITOR2, pfnShutdown) + sizeof(void*);
  bool complete = table->cbSize >= minimum;
  auto* slots =
      reinterpret_cast<void* const*>(reinterpret_cast<const char*>(table) + sizeof(DWORD));
  for (DWORD i = 0; complete && sizeof(DWORD) + (i + 1) * sizeof(void*) <= table->cbSize; ++i)
    complete = slots[i] != nullptr;
  expect(complete, path + L": cbSize " + std::to_wstring(table->cbSize) +
                       L" covers the Windows 2000 table and every slot is filled");
  if (!complete) return;
  DWORD needed = 99, returned = 99;
  expect(table->pfnEnumPorts(monitor, nullptr, 1, nullptr, 0, &needed, &returned) && needed == 0 &&
             returned == 0,
         path + L": EnumPorts lists no port");
  HANDLE port = nullptr;
  expect(!table->pfnOpenPort(monitor, const_cast<LPWSTR>(L"LPT1:"), &port),
         path + L": OpenPort is refused");
  table->pfnShutdown(monitor);
}

void probeInterface(const std::wstring& path) {
  Library library(path);
  auto sheets = library.entry<PropertySheets>("DrvDocumentPropertySheets");
  auto event = library.entry<DriverEvent>("DrvDriverEvent");
  if (event) expect(event(DRIVER_EVENT_INITIALIZE, 3, nullptr, 0), path + L": DrvDriverEvent");
  if (!sheets) return;
  expect(sheets(nullptr, 0) < 0, path + L": no header is refused");
  PROPSHEETUI_INFO sheet = {};
  expect(sheets(&sheet, 0) < 0, path + L": no property pages are offered");

  wchar_t name[] = L"DALVERA QLX-957(#12) with a name longer than a device name";
  PropertyHeader header = {sizeof(PropertyHeader), 0, nullptr, name, nullptr, nullptr, 0, 0};
  LONG size = sheets(nullptr, reinterpret_cast<LPARAM>(&header));
  expect(size == static_cast<LONG>(sizeof(DEVMODEW)) && header.cbOut == sizeof(DEVMODEW),
         path + L": the size question gives sizeof(DEVMODEW) = " + std::to_wstring(size));

  std::vector<unsigned char> buffer(sizeof(DEVMODEW) + 16, 0xCC);
  auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
  header.pdmOut = mode;
  header.cbOut = sizeof(DEVMODEW) - 1;
  header.fMode = DM_OUT_BUFFER;
  expect(sheets(nullptr, reinterpret_cast<LPARAM>(&header)) < 0 && buffer[0] == 0xCC,
         path + L": a buffer one byte short is refused and left alone");

  header.cbOut = sizeof(DEVMODEW);
  LONG done = sheets(nullptr, reinterpret_cast<LPARAM>(&header));
  expect(done == 1 && mode->dmSize == sizeof(DEVMODEW) && mode->dmDriverExtra == 0 &&
             mode->dmSpecVersion == DM_SPECVERSION && buffer[sizeof(DEVMODEW)] == 0xCC,
         path + L": the default mode fills exactly one DEVMODEW");
  expect(std::wcsncmp(mode->dmDeviceName, name, CCHDEVICENAME - 1) == 0 &&
             mode->dmDeviceName[CCHDEVICENAME - 1] == 0,
         path + L": the device name is the printer's, cut to 31 characters");

  // The caller's settings survive when the same mode goes in and out.
  mode->dmFields = DM_ORIENTATION | DM_COPIES;
  mode->dmOrientation = DMORIENT_LANDSCAPE;
  mode->dmCopies = 3;
  header.pdmIn = mode;
  header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER;
  expect(sheets(nullptr, reinterpret_cast<LPARAM>(&header)) == 1 &&
             mode->dmOrientation == DMORIENT_LANDSCAPE && mode->dmCopies == 3,
         path + L": orientation and copies are taken over from the input mode");
}

void probeProcessor(const std::wstring& path) {
  Library library(path);
  auto datatypes = library.entry<EnumDatatypes>("EnumPrintProcessorDatatypesW");
  auto open = library.entry<OpenProcessor>("OpenPrintProcessor");
  if (open) expect(open(nullptr, nullptr) == nullptr, path + L": no job is opened");
  if (!datatypes) return;
  DWORD needed = 0, returned = 99;
  SetLastError(0);
  expect(!datatypes(nullptr, nullptr, 1, nullptr, 0, &needed, &returned) &&
             GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > 0 && returned == 0,
         path + L": the size question gives 122 and the size");
  expect(!datatypes(nullptr, nullptr, 2, nullptr, 0, &needed, &returned) &&
             GetLastError() == ERROR_INVALID_LEVEL,
         path + L": level 2 is refused");
  std::vector<unsigned char> buffer(needed);
  expect(datatypes(nullptr, nullptr, 1, buffer.data(), needed, &needed, &returned) &&
             returned == 1 &&
             std::wcscmp(reinterpret_cast<DATATYPES_INFO_1W*>(buffer.data())->pName, L"RAW") == 0,
         path + L": one data type, RAW, inside the caller's buffer");
}

void probeVersion(const std::wstring& path, const std::wstring& expected) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<unsigned char> data(size ? size : 1);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  bool read = size && GetFileVersionInfoW(path.c_str(), 0, size, data.data()) &&
              VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length);
  std::wstring found = L"none";
  if (read && info)
    found = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
            std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
            std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
            std::to_wstring(LOWORD(info->dwFileVersionLS));
  expect(found == expected, path + L" has version " + found + L", expected " + expected);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo_probe.exe PACKAGE_DIR UNIDRV_VERSION(a.b.c.d)\n");
    return 2;
  }
  const std::wstring root = std::wstring(argv[1]) + L"\\";
  for (const wchar_t* file : {L"driver2k\\QLMON957.DLL", L"driverNT\\QLMON957.DLL",
                              L"driver9x\\QLMON957.DLL", L"driver9x\\usbmon.dll"})
    probeMonitor(root + file);
  for (const wchar_t* file :
       {L"driver2k\\UNIDRVUI.DLL", L"driver2k\\QLUI957.DLL", L"driverNT\\RASDDUI.DLL",
        L"driverNT\\QLUI957.DLL", L"driver9x\\QLX957E.DRV"})
    probeInterface(root + file);
  for (const wchar_t* file :
       {L"driver2k\\QLPRO957.DLL", L"driverNT\\QLPRO957.DLL", L"driver9x\\QLPRO957.DLL"})
    probeProcessor(root + file);
  // The rest only has to load.
  for (const wchar_t* file :
       {L"driver2k\\UNIDRV.DLL", L"driver2k\\UNIRES.DLL", L"driver2k\\QLX957E.DLL",
        L"driverNT\\RASDD.DLL", L"driverNT\\QLX957E.DLL", L"driver9x\\dmcolor.dll",
        L"driver9x\\iconlib.dll", L"driver9x\\vantrix.dll", L"driver9x\\merlowe.dll",
        L"driver9x\\unidrv.dll", L"Uninstall_2k.dll", L"Uninstall_98.dll"})
    Library loaded(root + file);
  probeVersion(root + L"driver9x\\unidrv.dll", argv[2]);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
