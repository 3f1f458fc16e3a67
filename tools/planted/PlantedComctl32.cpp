// comctl32.dll, planted: a test tool of this project. Put beside the installer
// it records its own loading (PlantMarker.h) and registers no window class, so
// that an installer taking it instead of the system's copy could not create
// its progress bar.
#include "PlantMarker.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) planted::recordLoad("comctl32.dll");
  return TRUE;
}

BOOL WINAPI plantedInitCommonControlsEx(LPCVOID) { return planted::fail<BOOL>(FALSE); }

void WINAPI plantedInitCommonControls() { SetLastError(planted::kPlantedError); }

}  // extern "C"
