// Demo print processor (QLPRO957.DLL): the documented entry points, answering
// that it knows the RAW data type and refusing to open a job, since the demo
// package prints nothing.

// The print headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>
// clang-format on

namespace {

const wchar_t kRaw[] = L"RAW";

BOOL refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
    EnumPrintProcessorDatatypesW(LPWSTR, LPWSTR, DWORD level, LPBYTE buffer, DWORD size,
                                 LPDWORD needed, LPDWORD returned) {
  if (!needed || !returned) return refuse(ERROR_INVALID_PARAMETER);
  *returned = 0;
  if (level != 1) return refuse(ERROR_INVALID_LEVEL);
  // One DATATYPES_INFO_1W record followed by the string it points to.
  *needed = sizeof(DATATYPES_INFO_1W) + sizeof(kRaw);
  if (!buffer || size < *needed) return refuse(ERROR_INSUFFICIENT_BUFFER);
  auto* record = reinterpret_cast<DATATYPES_INFO_1W*>(buffer);
  auto* text = reinterpret_cast<wchar_t*>(buffer + sizeof(DATATYPES_INFO_1W));
  for (unsigned i = 0; i < sizeof(kRaw) / sizeof(kRaw[0]); ++i) text[i] = kRaw[i];
  record->pName = text;
  *returned = 1;
  return TRUE;
}

extern "C" __declspec(dllexport) HANDLE WINAPI OpenPrintProcessor(LPWSTR, PPRINTPROCESSOROPENDATA) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

// No job can be open, so the operations on one have an invalid handle.
extern "C" __declspec(dllexport) BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE, LPWSTR) {
  return refuse(ERROR_INVALID_HANDLE);
}

extern "C" __declspec(dllexport) BOOL WINAPI ClosePrintProcessor(HANDLE) {
  return refuse(ERROR_INVALID_HANDLE);
}

extern "C" __declspec(dllexport) BOOL WINAPI ControlPrintProcessor(HANDLE, DWORD) {
  return refuse(ERROR_INVALID_HANDLE);
}
