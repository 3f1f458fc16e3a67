// Shared by the planted DLLs: the load record and the failure they answer with.
#pragma once

#include <windows.h>

namespace planted {

// The last error every export sets: an application-defined code (bit 29), so
// that an installer that called into a planted DLL shows a number no Windows
// call gives ("Error Code: 536873303").
constexpr DWORD kPlantedError = 0x20000957;

// Appends "<dllName> loaded into <the process's module file name>\r\n" to the
// file that QLX_PLANT_MARKER names; does nothing when it is not set. Uses
// kernel32 only, as DllMain must.
void recordLoad(const char* dllName);

// Sets kPlantedError and returns `result`, the export's failure value.
template <typename Result>
Result fail(Result result) {
  SetLastError(kPlantedError);
  return result;
}

}  // namespace planted
