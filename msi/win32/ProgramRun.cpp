#include "msi/win32/ProgramRun.h"

namespace qlx::msi {

ProgramResult runProgram(const char* program, char* commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return {false, 0, GetLastError()};
  }
  CloseHandle(process.hThread);
  ProgramResult result = {true, 0, ERROR_SUCCESS};
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0) {
    result = {false, 0, GetLastError()};
  } else if (!GetExitCodeProcess(process.hProcess, &code)) {
    result = {false, 0, GetLastError()};
  } else {
    result.exitCode = code;
  }
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace qlx::msi
