#include "engine/InstallationContents.h"

#include <string_view>

namespace qlx {

bool InstallationContents::windows9x() const {
  return std::string_view(environment) == "Windows 4.0";
}

std::vector<std::string> InstallationContents::namesIn(Place place) const {
  std::vector<std::string> names;
  for (const PlacedFile& file : files) {
    if (file.place == place) names.push_back(file.name);
  }
  return names;
}

std::string InstallationContents::sourcePath(const PlacedFile& file) const {
  return file.place == Place::UninstallerFolder ? file.name : sourceFolder + file.name;
}

std::vector<std::string> InstallationContents::sourcePaths() const {
  std::vector<std::string> paths;
  for (const PlacedFile& file : files) paths.push_back(sourcePath(file));
  return paths;
}

const std::string& InstallationContents::requiredMonitor() const {
  static const std::string none;
  for (const PlacedMonitor& monitor : monitors) {
    if (monitor.required) return monitor.name;
  }
  return none;
}

DriverInfo3 InstallationContents::driverInfo() const {
  DriverInfo3 info{};
  info.cVersion = driver.version;
  info.pName = driver.name.c_str();
  info.pEnvironment = environment;
  info.pDriverPath = driver.driverPath.c_str();
  info.pDataFile = driver.dataFile.c_str();
  info.pConfigFile = driver.configFile.c_str();
  info.pHelpFile = driver.helpFile.c_str();
  info.pDependentFiles = driver.dependentFiles.c_str();
  info.pMonitorName = requiredMonitor().c_str();
  info.pDefaultDataType = "RAW";
  return info;
}

}  // namespace qlx
