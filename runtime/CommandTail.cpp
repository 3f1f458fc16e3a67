#include "runtime/CommandTail.h"

namespace qlx::runtime {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::size_t programNameLength(std::string_view line) {
  std::size_t at = 0;
  if (at < line.size() && line[at] == '"') {
    ++at;
    while (at < line.size() && line[at] != '"') ++at;
    if (at < line.size()) ++at;
    return at;
  }
  while (at < line.size() && !isBlank(line[at])) ++at;
  return at;
}

const char* commandTail(const char* commandLine) {
  if (commandLine == nullptr) return "";
  const char* at = commandLine + programNameLength(commandLine);
  while (isBlank(*at)) ++at;
  return at;
}

}  // namespace qlx::runtime
