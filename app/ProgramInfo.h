#pragma once

namespace qlx {

// As the version record of the program file states them.
inline constexpr char kProgramName[] = "QLX957_Installer";
inline constexpr char kProgramVersion[] = "1.0.2.1";

}  // namespace qlx
