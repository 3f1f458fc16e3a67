#include "engine/MachineChecks.h"

namespace qlx {

Wow64Answer askWow64(Kernel& kernel) {
  bool wow64 = false;
  if (kernel.isWow64Process(kernel.getCurrentProcess(), &wow64)) {
    return {wow64 ? Wow64Answer::Kind::SixtyFourBit : Wow64Answer::Kind::ThirtyTwoBit, false, 0};
  }
  const Dword error = kernel.getLastError();
  // Only a system without the call has no WOW64; one that has it and cannot
  // answer may well be 64-bit.
  if (error == kErrorProcNotFound) return {Wow64Answer::Kind::ThirtyTwoBit, true, error};
  return {Wow64Answer::Kind::Failed, false, error};
}

AdministerAnswer askPrintServerRights(Spooler& spooler, Kernel& kernel) {
  // A null name opens the local print server itself.
  PrinterDefaults defaults{nullptr, nullptr, kServerAccessAdminister};
  PrinterHandle server = 0;
  if (!spooler.openPrinter(nullptr, &server, &defaults)) {
    const Dword error = kernel.getLastError();
    return {error == kErrorAccessDenied ? AdministerAnswer::Kind::Refused
                                        : AdministerAnswer::Kind::Unknown,
            error};
  }
  // A handle that will not close changes nothing on the machine.
  spooler.closePrinter(server);
  return {AdministerAnswer::Kind::Granted, 0};
}

}  // namespace qlx
