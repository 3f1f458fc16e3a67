#include "core/Options.h"

#include <algorithm>

namespace prefixstate {
namespace {

template <typename T>
bool contains(const std::vector<T>& values, const T& value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

std::optional<std::uint32_t> parseErrorCode(std::string_view text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option != "--out" && option != "--dir" && option != "--errtext") {
      parsed.error = "unknown argument '" + option + "'";
      return parsed;
    }
    if (i + 1 == arguments.size()) {
      parsed.error = option + " needs a value";
      return parsed;
    }
    const std::string& value = arguments[++i];
    if (option == "--out") {
      parsed.options.outFile = value;
    } else if (option == "--dir") {
      // Each directory is reported once: the report is keyed by the path.
      if (!contains(parsed.options.directories, value)) parsed.options.directories.push_back(value);
    } else if (auto code = parseErrorCode(value)) {
      if (!contains(parsed.options.errorCodes, *code)) parsed.options.errorCodes.push_back(*code);
    } else {
      parsed.error = "--errtext '" + value + "' is not a 32-bit error code";
      return parsed;
    }
  }
  if (parsed.options.outFile.empty()) parsed.error = "--out FILE is required";
  return parsed;
}

std::string usageText() {
  return "usage: prefixstate.exe --out FILE [--dir PATH]... [--errtext CODE]...\n"
         "  Writes the Wine prefix's printers, drivers, monitors, print processors,\n"
         "  spooler directories, uninstall entry, the listing of each PATH and the\n"
         "  system text of each CODE (decimal or 0x...) as JSON to FILE.\n";
}

}  // namespace prefixstate
