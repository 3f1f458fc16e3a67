#pragma once

#include "platform/Kernel.h"

namespace qlx {

// One installer of the driver at a time, on the whole machine: two double
// clicks or a script started twice would otherwise race each other through
// the spooler. The name is held until the process ends.
enum class InstanceClaim { First, AnotherRunning };

InstanceClaim claimSingleInstance(Kernel& kernel);

// The global name that Windows 2000 and later share across sessions, and the
// plain one for the systems without that namespace.
inline constexpr char kInstanceMutexGlobal[] = "Global\\DALVERA_QLX-957_Installer";
inline constexpr char kInstanceMutex[] = "DALVERA_QLX-957_Installer";

}  // namespace qlx
