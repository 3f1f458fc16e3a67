#include "runtime/win32/RuntimeFailure.h"

#include <windows.h>

void runtimeFailure(const char* what) {
  // Task-modal and without an owner: the program's own windows may be the
  // cause, and the box must show even when none can.
  MessageBoxA(nullptr, what, nullptr, MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
  ExitProcess(kRuntimeFailureStatus);
}
