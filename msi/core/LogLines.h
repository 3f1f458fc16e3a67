#pragma once

#include <string_view>

namespace qlx::msi {

// Calls `each` with every non-empty line of `text`, without its CR/LF. A
// last line without an ending counts too.
template <typename Each>
void forEachLine(std::string_view text, Each each) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t length = end == std::string_view::npos ? text.size() : end;
    std::string_view line(text.data(), length);
    text.remove_prefix(end == std::string_view::npos ? length : length + 1);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) each(line);
  }
}

}  // namespace qlx::msi
