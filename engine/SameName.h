#pragma once

#include <string_view>

namespace qlx {

// Windows takes file, port, printer and spooler object names without case
// (ASCII letters): the one comparison the program makes of such names.
bool sameName(std::string_view a, std::string_view b);

}  // namespace qlx
