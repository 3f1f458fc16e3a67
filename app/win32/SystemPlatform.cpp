// The program's platform: the system's own calls, and the user interface of
// the program's dialog framework.

#include "app/win32/Win32UserInterface.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Adapters.h"

namespace qlx {
namespace {

// Constant-initialised: they exist before any constructor of the program runs.
constinit win32::Win32Kernel kernel;
constinit win32::Win32FileVersion fileVersion;
constinit win32::Win32Registry registry;
constinit win32::Win32Security security;
constinit win32::Win32Spooler spooler;

}  // namespace

Platform& systemPlatform() {
  static Platform platform{kernel, fileVersion, registry, security, spooler, win32UserInterface()};
  return platform;
}

}  // namespace qlx
