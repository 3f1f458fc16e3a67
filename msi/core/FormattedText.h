#pragma once

#include <string_view>

#include "msi/core/BoundedText.h"

namespace qlx::msi {

// Appends `text` so that Windows Installer's formatting shows it as it is:
// a log line reaches the log as a record's template, where [..] and {..}
// would be read as properties and conditional parts ([\x] is a literal x).
// Cut at a whole character when full; false then.
template <std::size_t N>
bool appendLiteral(BoundedText<N>& out, std::string_view text) {
  for (char c : text) {
    const bool special = c == '[' || c == ']' || c == '{' || c == '}';
    const char escaped[] = {'[', '\\', c, ']'};
    if (!out.append(special ? std::string_view(escaped, 4) : std::string_view(&c, 1))) {
      return false;
    }
  }
  return true;
}

}  // namespace qlx::msi
