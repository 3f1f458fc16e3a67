#include "FakeState.h"

#include "FakePaths.h"

namespace qlx::fake {

std::optional<std::string> FakePlatform::State::environment(const char* requested) const {
  const std::string own = ownEnvironment();
  if (requested == nullptr || *requested == '\0' || detail::equalsIgnoreCase(requested, own)) {
    return own;
  }
  return std::nullopt;
}

std::string FakePlatform::State::locate(std::string_view directory, const char* name) const {
  if (detail::isAbsolutePath(name)) return absolute(name);
  return absolute(detail::joinPath(directory, name));
}

}  // namespace qlx::fake
