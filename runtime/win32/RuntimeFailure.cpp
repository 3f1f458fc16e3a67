#include "runtime/win32/RuntimeFailure.h"

#include <windows.h>

namespace {

constinit qlx::runtime::FailureReport report;

}  // namespace

qlx::runtime::FailureReport& runtimeFailureReport() { return report; }

void runtimeFailure(const char* what) {
  // Task-modal and without an owner: the program's own windows may be the
  // cause, and the box must show even when none can.
  if (report.report(what)) {
    MessageBoxA(nullptr, what, nullptr, MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
  }
  ExitProcess(kRuntimeFailureStatus);
}
