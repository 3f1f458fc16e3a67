// Every printer driver with every DRIVER_INFO_3A field, per environment.
#include "core/MultiString.h"
#include "win32/Enumerate.h"
#include "win32/Sections.h"

namespace prefixstate {
namespace {

void writeDriver(JsonWriter& json, const DRIVER_INFO_3A& driver, const char* bufferEnd) {
  json.beginObject();
  json.key("cVersion").number(driver.cVersion);
  json.key("pName").text(driver.pName);
  json.key("pEnvironment").text(driver.pEnvironment);
  json.key("pDriverPath").text(driver.pDriverPath);
  json.key("pDataFile").text(driver.pDataFile);
  json.key("pConfigFile").text(driver.pConfigFile);
  json.key("pHelpFile").text(driver.pHelpFile);
  json.key("pDependentFiles");
  if (driver.pDependentFiles) {
    json.texts(splitMultiString(driver.pDependentFiles, bufferEnd));
  } else {
    json.null();
  }
  json.key("pMonitorName").text(driver.pMonitorName);
  json.key("pDefaultDataType").text(driver.pDefaultDataType);
  json.endObject();
}

void writeEnvironmentDrivers(JsonWriter& json, const char* environment) {
  const Enumerated found =
      enumerate([environment](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
        return EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 3, buffer, size, needed,
                                   count);
      });
  json.beginObject();
  if (!found.ok) {
    writeFailure(json, "EnumPrinterDriversA", found.error);
  } else {
    json.key("ok").flag(true).key("count").number(found.count).key("items").beginArray();
    for (DWORD i = 0; i < found.count; ++i)
      writeDriver(json, found.records<DRIVER_INFO_3A>()[i], found.end());
    json.endArray();
  }
  json.endObject();
}

}  // namespace

void writeDrivers(JsonWriter& json) {
  json.beginObject();
  for (const char* environment : kEnvironments) {
    json.key(environment);
    writeEnvironmentDrivers(json, environment);
  }
  json.endObject();
}

}  // namespace prefixstate
