#pragma once

#include "runtime/FailureReport.h"

// What the program does when the language runtime cannot go on: memory
// exhausted, a container asked for more than it can hold, a pure virtual call.
// There is no exception to unwind with; the process ends with this status,
// the one an abort has always left.
inline constexpr int kRuntimeFailureStatus = 3;

// Where such a failure is told: the log, and the box unless the run is unattended.
qlx::runtime::FailureReport& runtimeFailureReport();

// Reports `what` and ends the process without its static clean-up.
[[noreturn]] void runtimeFailure(const char* what);
