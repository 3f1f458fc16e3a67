#include "engine/InstallationContents.h"

namespace qlx {

std::vector<std::string> InstallationContents::namesIn(Place place) const {
  std::vector<std::string> names;
  for (const PlacedFile& file : files) {
    if (file.place == place) names.push_back(file.name);
  }
  return names;
}

std::vector<std::string> InstallationContents::sourcePaths() const {
  std::vector<std::string> paths;
  for (const PlacedFile& file : files) paths.push_back(sourceFolder + file.name);
  return paths;
}

}  // namespace qlx
