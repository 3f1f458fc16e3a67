#include "core/MultiString.h"

namespace prefixstate {

std::vector<std::string> splitMultiString(const char* first, const char* end) {
  std::vector<std::string> names;
  const char* name = first;
  while (name < end && *name != '\0') {
    const char* stop = name;
    while (stop < end && *stop != '\0') ++stop;
    names.emplace_back(name, stop);
    name = stop + 1;
  }
  return names;
}

}  // namespace prefixstate
