#include "FakeSpoolerRecords.h"

#include <cstring>

namespace qlx::fake::detail {
namespace {

std::string textOrEmpty(const char* text) { return text == nullptr ? std::string() : text; }

}  // namespace

std::optional<std::string> optionalText(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

std::string multiStringBytes(const char* names) {
  if (names == nullptr) return {};
  const char* end = names;
  while (*end != '\0') end += std::strlen(end) + 1;
  return std::string(names, static_cast<std::size_t>(end - names) + 1);
}

std::vector<std::string> multiStringNames(const char* names) {
  std::vector<std::string> list;
  for (const char* name = names; name != nullptr && *name != '\0'; name += std::strlen(name) + 1) {
    list.emplace_back(name);
  }
  return list;
}

MonitorRecord toRecord(const MonitorInfo2& info) {
  return MonitorRecord{textOrEmpty(info.pName), textOrEmpty(info.pEnvironment),
                       textOrEmpty(info.pDLLName)};
}

DriverRecord toRecord(const DriverInfo3& info) {
  DriverRecord record;
  record.cVersion = info.cVersion;
  record.name = optionalText(info.pName);
  record.environment = optionalText(info.pEnvironment);
  record.driverPath = optionalText(info.pDriverPath);
  record.dataFile = optionalText(info.pDataFile);
  record.configFile = optionalText(info.pConfigFile);
  record.helpFile = optionalText(info.pHelpFile);
  if (info.pDependentFiles != nullptr)
    record.dependentFiles = multiStringBytes(info.pDependentFiles);
  record.monitorName = optionalText(info.pMonitorName);
  record.defaultDataType = optionalText(info.pDefaultDataType);
  return record;
}

PrinterRecord toRecord(const PrinterInfo2& info) {
  PrinterRecord record;
  record.serverName = optionalText(info.pServerName);
  record.printerName = optionalText(info.pPrinterName);
  record.shareName = optionalText(info.pShareName);
  record.portName = optionalText(info.pPortName);
  record.driverName = optionalText(info.pDriverName);
  record.comment = optionalText(info.pComment);
  record.location = optionalText(info.pLocation);
  record.sepFile = optionalText(info.pSepFile);
  record.printProcessor = optionalText(info.pPrintProcessor);
  record.datatype = optionalText(info.pDatatype);
  record.parameters = optionalText(info.pParameters);
  record.devModeNull = info.pDevMode == nullptr;
  record.securityDescriptorNull = info.pSecurityDescriptor == nullptr;
  record.attributes = info.Attributes;
  record.priority = info.Priority;
  record.defaultPriority = info.DefaultPriority;
  record.startTime = info.StartTime;
  record.untilTime = info.UntilTime;
  record.status = info.Status;
  record.cJobs = info.cJobs;
  record.averagePpm = info.AveragePPM;
  return record;
}

DriverRecord withFullPaths(DriverRecord driver, const std::string& directory) {
  const auto inDirectory = [&](std::optional<std::string>& name) {
    if (name && !name->empty() && name->find('\\') == std::string::npos) {
      *name = directory + "\\" + *name;
    }
  };
  for (auto* field : {&driver.driverPath, &driver.dataFile, &driver.configFile, &driver.helpFile}) {
    inDirectory(*field);
  }
  if (driver.dependentFiles) {
    std::string paths;
    for (std::optional<std::string> name : multiStringNames(driver.dependentFiles->c_str())) {
      inDirectory(name);
      paths += *name + '\0';
    }
    driver.dependentFiles = paths + '\0';
  }
  return driver;
}

}  // namespace qlx::fake::detail
