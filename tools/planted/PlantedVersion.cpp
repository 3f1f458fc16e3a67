// version.dll, planted: a test tool of this project. Put beside the installer
// it records its own loading (PlantMarker.h) and fails every version query, so
// that an installer taking it instead of the system's copy would be seen.
#include "PlantMarker.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) planted::recordLoad("version.dll");
  return TRUE;
}

DWORD WINAPI plantedGetFileVersionInfoSizeA(LPCSTR, LPDWORD handle) {
  if (handle) *handle = 0;
  return planted::fail<DWORD>(0);
}

BOOL WINAPI plantedGetFileVersionInfoA(LPCSTR, DWORD, DWORD, LPVOID) {
  return planted::fail<BOOL>(FALSE);
}

BOOL WINAPI plantedVerQueryValueA(LPCVOID, LPCSTR, LPVOID* value, PUINT length) {
  if (value) *value = nullptr;
  if (length) *length = 0;
  return planted::fail<BOOL>(FALSE);
}

}  // extern "C"
