#pragma once

// The Windows Installer headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
// clang-format on

#include <string_view>

#include "msi/core/BoundedText.h"

namespace qlx::msi {

// The calls into msi.dll, each once, with its result kept.
class MsiSession {
 public:
  explicit MsiSession(MSIHANDLE install) : install_(install) {}

  // False when the property cannot be read or is longer than `value` holds.
  template <std::size_t N>
  bool property(const char* name, BoundedText<N>& value) const {
    char raw[N];
    DWORD size = N;
    const UINT result = MsiGetPropertyA(install_, name, raw, &size);
    value.clear();
    return result == ERROR_SUCCESS && value.append(std::string_view(raw, size));
  }

  // One line in the Windows Installer log, the parts joined; cut at 2 KB.
  void log(std::string_view first, std::string_view second = {}, std::string_view third = {}) const;
  // MSIRUNMODE_REBOOTATEND: msiexec ends with 3010. Immediate actions only.
  bool requestRestart() const;

 private:
  MSIHANDLE install_;
};

}  // namespace qlx::msi
