#pragma once

#include "ProgramVersion.h"

namespace qlx {

// As the version record of the program file states them.
inline constexpr char kProgramName[] = "QLX957_Installer";
inline constexpr char kProgramVersion[] = QLX_PROGRAM_VERSION;

}  // namespace qlx
