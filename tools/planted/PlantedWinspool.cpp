// winspool.drv, planted: a test tool of this project. Put beside the installer
// it records its own loading (PlantMarker.h) and fails every spooler call the
// installer makes, so that an installer taking it instead of the system's
// copy would show an error box at the first call.
#include "PlantMarker.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) planted::recordLoad("winspool.drv");
  return TRUE;
}

BOOL WINAPI plantedEnumPrinterDriversA(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD needed,
                                       LPDWORD returned) {
  if (needed) *needed = 0;
  if (returned) *returned = 0;
  return planted::fail<BOOL>(FALSE);
}

BOOL WINAPI plantedGetPrinterDriverDirectoryA(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD needed) {
  if (needed) *needed = 0;
  return planted::fail<BOOL>(FALSE);
}

BOOL WINAPI plantedGetPrintProcessorDirectoryA(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD needed) {
  if (needed) *needed = 0;
  return planted::fail<BOOL>(FALSE);
}

BOOL WINAPI plantedAddMonitorA(LPSTR, DWORD, LPBYTE) { return planted::fail<BOOL>(FALSE); }

BOOL WINAPI plantedAddPrintProcessorA(LPSTR, LPSTR, LPSTR, LPSTR) {
  return planted::fail<BOOL>(FALSE);
}

BOOL WINAPI plantedAddPrinterDriverA(LPSTR, DWORD, LPBYTE) { return planted::fail<BOOL>(FALSE); }

HANDLE WINAPI plantedAddPrinterA(LPSTR, DWORD, LPBYTE) { return planted::fail<HANDLE>(nullptr); }

BOOL WINAPI plantedOpenPrinterA(LPSTR, LPHANDLE printer, LPVOID) {
  if (printer) *printer = nullptr;
  return planted::fail<BOOL>(FALSE);
}

BOOL WINAPI plantedClosePrinter(HANDLE) { return planted::fail<BOOL>(FALSE); }

}  // extern "C"
