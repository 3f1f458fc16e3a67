#include "PlantMarker.h"

namespace planted {
namespace {

// Appends `text` at `at` without passing `end`; returns the new end of the text.
char* append(char* at, const char* end, const char* text) {
  while (*text && at < end) *at++ = *text++;
  return at;
}

}  // namespace

void recordLoad(const char* dllName) {
  char markerPath[MAX_PATH];
  const DWORD pathLength = GetEnvironmentVariableA("QLX_PLANT_MARKER", markerPath, MAX_PATH);
  if (pathLength == 0 || pathLength >= MAX_PATH) return;

  char process[MAX_PATH];
  const DWORD processLength = GetModuleFileNameA(nullptr, process, MAX_PATH);
  if (processLength == 0 || processLength >= MAX_PATH) lstrcpyA(process, "?");

  char line[2 * MAX_PATH];
  const char* end = line + sizeof(line);
  char* at = append(line, end, dllName);
  at = append(at, end, " loaded into ");
  at = append(at, end, process);
  at = append(at, end, "\r\n");

  // Appending writes are atomic, so processes loading a DLL at once keep whole lines.
  const HANDLE marker =
      CreateFileA(markerPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(marker, line, static_cast<DWORD>(at - line), &written, nullptr);
  CloseHandle(marker);
}

}  // namespace planted
