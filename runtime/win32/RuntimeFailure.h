#pragma once

// What the program does when the language runtime cannot go on: memory
// exhausted, a container asked for more than it can hold, a pure virtual call.
// There is no exception to unwind with; the process ends with this status,
// the one an abort has always left.
inline constexpr int kRuntimeFailureStatus = 3;

// Shows `what` in a stop box and ends the process without its static clean-up.
[[noreturn]] void runtimeFailure(const char* what);
