#pragma once

#include <windows.h>

#include <cstdint>

namespace qlx::msi {

// Starts a program and waits for it: its exit code, or the system error
// that kept it from starting or from being waited for.
struct ProgramResult {
  bool ran;
  std::uint32_t exitCode;
  DWORD error;
};

ProgramResult runProgram(const char* program, char* commandLine);

}  // namespace qlx::msi
