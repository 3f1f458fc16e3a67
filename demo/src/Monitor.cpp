// Demo language monitor (QLMON957.DLL, usbmon.dll). The spooler loads it into
// the process that calls AddMonitor and asks for its function table; the demo
// owns no ports, so every port operation refuses and nothing is ever printed.

// The print headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>
// clang-format on

namespace {

BOOL refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL WINAPI enumPorts(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned) {
  // No ports: an empty answer, so a spooler listing every monitor's ports goes on.
  if (needed) *needed = 0;
  if (returned) *returned = 0;
  return TRUE;
}
BOOL WINAPI openPort(HANDLE, LPWSTR, PHANDLE) { return refuse(ERROR_NOT_SUPPORTED); }
BOOL WINAPI openPortEx(HANDLE, HANDLE, LPWSTR, LPWSTR, PHANDLE, MONITOR2*) {
  return refuse(ERROR_NOT_SUPPORTED);
}
// No port can be open, so every operation on one has an invalid handle.
BOOL WINAPI startDocPort(HANDLE, LPWSTR, DWORD, DWORD, LPBYTE) {
  return refuse(ERROR_INVALID_HANDLE);
}
BOOL WINAPI writePort(HANDLE, LPBYTE, DWORD, LPDWORD written) {
  if (written) *written = 0;
  return refuse(ERROR_INVALID_HANDLE);
}
BOOL WINAPI readPort(HANDLE, LPBYTE, DWORD, LPDWORD read) {
  if (read) *read = 0;
  return refuse(ERROR_INVALID_HANDLE);
}
BOOL WINAPI endDocPort(HANDLE) { return refuse(ERROR_INVALID_HANDLE); }
BOOL WINAPI closePort(HANDLE) { return refuse(ERROR_INVALID_HANDLE); }
BOOL WINAPI addPort(HANDLE, LPWSTR, HWND, LPWSTR) { return refuse(ERROR_NOT_SUPPORTED); }
BOOL WINAPI addPortEx(HANDLE, LPWSTR, DWORD, LPBYTE, LPWSTR) { return refuse(ERROR_NOT_SUPPORTED); }
BOOL WINAPI configurePort(HANDLE, LPWSTR, HWND, LPWSTR) { return refuse(ERROR_NOT_SUPPORTED); }
BOOL WINAPI deletePort(HANDLE, LPWSTR, HWND, LPWSTR) { return refuse(ERROR_NOT_SUPPORTED); }
BOOL WINAPI getPrinterDataFromPort(HANDLE, DWORD, LPWSTR, LPWSTR, DWORD, LPWSTR, DWORD,
                                   LPDWORD returned) {
  if (returned) *returned = 0;
  return refuse(ERROR_INVALID_HANDLE);
}
BOOL WINAPI setPortTimeOuts(HANDLE, LPCOMMTIMEOUTS, DWORD) { return refuse(ERROR_INVALID_HANDLE); }
BOOL WINAPI xcvOpenPort(HANDLE, LPCWSTR, ACCESS_MASK, PHANDLE) {
  return refuse(ERROR_NOT_SUPPORTED);
}
DWORD WINAPI xcvDataPort(HANDLE, LPCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD needed) {
  if (needed) *needed = 0;
  return ERROR_INVALID_HANDLE;
}
BOOL WINAPI xcvClosePort(HANDLE) { return refuse(ERROR_INVALID_HANDLE); }
VOID WINAPI shutdown(HANDLE) {}
DWORD WINAPI sendRecvBidiDataFromPort(HANDLE, DWORD, LPCWSTR, PBIDI_REQUEST_CONTAINER,
                                      PBIDI_RESPONSE_CONTAINER* response) {
  if (response) *response = nullptr;
  return ERROR_NOT_SUPPORTED;
}
DWORD WINAPI notifyPorts(HANDLE, DWORD, PCWSTR*) { return ERROR_NOT_SUPPORTED; }

// Every slot is filled, so a spooler that reads any member of the table it
// was given finds a callable function.
MONITOR2 monitorTable = {
    sizeof(MONITOR2), enumPorts,
    openPort,         openPortEx,
    startDocPort,     writePort,
    readPort,         endDocPort,
    closePort,        addPort,
    addPortEx,        configurePort,
    deletePort,       getPrinterDataFromPort,
    setPortTimeOuts,  xcvOpenPort,
    xcvDataPort,      xcvClosePort,
    shutdown,         sendRecvBidiDataFromPort,
    notifyPorts,      notifyPorts,
};

// The monitor handle only has to be unique and non-null.
int monitorInstance;

}  // namespace

extern "C" __declspec(dllexport) LPMONITOR2 WINAPI
    InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitor) {
  if (!init || !monitor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  *monitor = &monitorInstance;
  return &monitorTable;
}
