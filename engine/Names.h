#pragma once

#include <string>
#include <string_view>

namespace qlx {

// Windows takes file, port, printer, driver and spooler object names, and
// this program its switches, without case (ASCII letters only).
char lowerAscii(char c);
std::string lowerAscii(std::string_view text);
bool sameName(std::string_view a, std::string_view b);

// "C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL" -> "UNIDRV.DLL"
std::string fileNameOf(std::string_view path);

}  // namespace qlx
