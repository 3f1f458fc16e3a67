#include "app/SingleInstance.h"

#include <initializer_list>

namespace qlx {

InstanceClaim claimSingleInstance(Kernel& kernel) {
  for (const char* name : {kInstanceMutexGlobal, kInstanceMutex}) {
    const Handle mutex = kernel.createMutex(name);
    const Dword error = kernel.getLastError();
    if (mutex != 0) {
      return error == kErrorAlreadyExists ? InstanceClaim::AnotherRunning : InstanceClaim::First;
    }
    // A mutex another user made is there but closed to us.
    if (error == kErrorAccessDenied) return InstanceClaim::AnotherRunning;
    // Otherwise the system has no global namespace: the plain name serves.
  }
  // No name could be taken at all: better one installer unguarded than none.
  return InstanceClaim::First;
}

}  // namespace qlx
