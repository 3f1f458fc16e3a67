#pragma once

#include <cstdint>

namespace qlx::msi {

// What the package runs QLX957_Installer.exe for.
enum class Stage { Install, Removal };

// Custom actions may return only these to Windows Installer; anything else
// it takes as a failure.
inline constexpr std::uint32_t kActionSuccess = 0;      // ERROR_SUCCESS
inline constexpr std::uint32_t kActionUserExit = 1602;  // ERROR_INSTALL_USEREXIT
inline constexpr std::uint32_t kActionFailure = 1603;   // ERROR_INSTALL_FAILURE

struct ActionOutcome {
  std::uint32_t result;  // what the custom action returns
  bool restart;          // the package ends asking for a restart (msiexec: 3010)
  const char* meaning;   // for the Windows Installer log
};

// The installer's exit code as the package's custom action answers it.
ActionOutcome mapExitCode(Stage stage, std::uint32_t code);

}  // namespace qlx::msi
