#pragma once

// The entry in the system's list of installed software and the uninstaller's
// folder under the Windows directory: written by an installation, looked for
// by the check for a complete one, removed by a removal.
namespace qlx::uninstall {

inline constexpr char kKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-957";
inline constexpr char kDisplayName[] = "DALVERA QLX-957 POS Windows Driver 3.1.1E";
// Every release's entry starts so, its driver version after it: an entry an
// earlier or later release wrote is this installation's all the same.
inline constexpr char kDisplayNamePrefix[] = "DALVERA QLX-957 POS Windows Driver ";
inline constexpr char kFolder[] = "\\QLX-957";                // appended to the Windows directory
inline constexpr char kProgram[] = "QLX957_Uninstaller.exe";  // in that folder
inline constexpr const char* kFiles[] = {kProgram, "Uninstall_2k.dll", "Uninstall_98.dll"};

}  // namespace qlx::uninstall
