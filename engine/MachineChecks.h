#pragma once

#include "platform/Kernel.h"
#include "platform/Spooler.h"

namespace qlx {

// Whether this 32-bit program runs on 64-bit Windows (under WOW64), where the
// package, which has no 64-bit driver, cannot be installed.
struct Wow64Answer {
  enum class Kind { ThirtyTwoBit, SixtyFourBit, Failed };
  Kind kind = Kind::ThirtyTwoBit;
  bool queryMissing = false;  // a Windows from before WOW64: 32-bit
  Dword error = 0;            // why the question failed
};
Wow64Answer askWow64(Kernel& kernel);

// Whether the user may administer the local print server: the right that
// adding a monitor, a print processor, a driver and a printer needs.
struct AdministerAnswer {
  enum class Kind { Granted, Refused, Unknown };
  Kind kind = Kind::Granted;
  Dword error = 0;  // the spooler's answer when not granted
};
AdministerAnswer askPrintServerRights(Spooler& spooler, Kernel& kernel);

}  // namespace qlx
