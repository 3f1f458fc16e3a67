#include "runtime/CommandTail.h"

namespace qlx::runtime {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

const char* commandTail(const char* commandLine) {
  if (commandLine == nullptr) return "";
  const char* at = commandLine;
  if (*at == '"') {
    ++at;
    while (*at != '\0' && *at != '"') ++at;
    if (*at == '"') ++at;
  } else {
    while (*at != '\0' && !isBlank(*at)) ++at;
  }
  while (isBlank(*at)) ++at;
  return at;
}

}  // namespace qlx::runtime
