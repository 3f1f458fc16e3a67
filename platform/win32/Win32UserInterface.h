#pragma once

#include "platform/UserInterface.h"

// The USER32 side of the platform, provided by the dialog framework in app/win32.
qlx::UserInterface& win32UserInterface();
