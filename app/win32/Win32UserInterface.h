#pragma once

#include "platform/UserInterface.h"

// The USER32 side of the platform, as the program's dialog framework provides it.
qlx::UserInterface& win32UserInterface();
