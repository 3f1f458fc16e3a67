#pragma once

#include "platform/FileVersion.h"
#include "platform/Kernel.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/Spooler.h"
#include "platform/UserInterface.h"

namespace qlx {

// Everything of Windows that the engine reaches, handed to it in one piece.
struct Platform {
  Kernel& kernel;
  FileVersion& fileVersion;
  Registry& registry;
  Security& security;
  Spooler& spooler;
  UserInterface& ui;
};

// The running Windows system; defined only in the Windows build.
Platform& systemPlatform();

}  // namespace qlx
