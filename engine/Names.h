#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qlx {

// Windows takes file, port, printer, driver and spooler object names, and
// this program its switches, without case (ASCII letters only). Inline, so
// that the package's custom actions, which have no heap, share it.
constexpr char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}
std::string lowerAscii(std::string_view text);

// "C:\\WINDOWS\\SYSTEM\\UNIDRV.DLL" -> "UNIDRV.DLL"
std::string fileNameOf(std::string_view path);

}  // namespace qlx
