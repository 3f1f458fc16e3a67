// Demo stand-in for the package's libraries that nothing calls into (driver
// and resource libraries, the uninstaller's helpers): a loadable DLL with no
// exports.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
