#include "FakeSpoolerLayout.h"

#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

namespace qlx::fake::detail {
namespace {

// Strings are stored with their NUL; the multi-string already ends in its own.
std::size_t stringBytes(const std::optional<std::string>& text) {
  return text ? text->size() + 1 : 0;
}
std::size_t multiStringBytes(const std::optional<std::string>& bytes) {
  return bytes ? bytes->size() : 0;
}

std::size_t stringsSize(const DriverRecord& driver) {
  return stringBytes(driver.name) + stringBytes(driver.environment) +
         stringBytes(driver.driverPath) + stringBytes(driver.dataFile) +
         stringBytes(driver.configFile) + stringBytes(driver.helpFile) +
         multiStringBytes(driver.dependentFiles) + stringBytes(driver.monitorName) +
         stringBytes(driver.defaultDataType);
}

class StringArea {
 public:
  explicit StringArea(std::uint8_t* start) : next_(start) {}
  const char* put(const std::optional<std::string>& text) {
    return text ? copy(text->c_str(), text->size() + 1) : nullptr;
  }
  const char* putMulti(const std::optional<std::string>& bytes) {
    return bytes ? copy(bytes->data(), bytes->size()) : nullptr;
  }

 private:
  const char* copy(const char* bytes, std::size_t size) {
    std::memcpy(next_, bytes, size);
    const char* placed = reinterpret_cast<const char*>(next_);
    next_ += size;
    return placed;
  }
  std::uint8_t* next_;
};

template <typename Info>
void layOut(const std::vector<const DriverRecord*>& drivers, std::uint8_t* buffer) {
  StringArea strings(buffer + drivers.size() * sizeof(Info));
  for (std::size_t i = 0; i < drivers.size(); ++i) {
    const DriverRecord& driver = *drivers[i];
    Info info{};
    info.cVersion = driver.cVersion;
    info.pName = strings.put(driver.name);
    info.pEnvironment = strings.put(driver.environment);
    info.pDriverPath = strings.put(driver.driverPath);
    info.pDataFile = strings.put(driver.dataFile);
    info.pConfigFile = strings.put(driver.configFile);
    info.pHelpFile = strings.put(driver.helpFile);
    info.pDependentFiles = strings.putMulti(driver.dependentFiles);
    info.pMonitorName = strings.put(driver.monitorName);
    info.pDefaultDataType = strings.put(driver.defaultDataType);
    if constexpr (std::is_same_v<Info, DriverInfo4>) info.pszzPreviousNames = nullptr;
    // The caller's buffer need not be aligned for the record.
    std::memcpy(buffer + i * sizeof(Info), &info, sizeof(Info));
  }
}

std::size_t printerStringsSize(const PrinterEntry& printer) {
  return printer.name.size() + printer.driver.size() + printer.port.size() +
         printer.processor.size() + 4 + sizeof "RAW";
}

}  // namespace

std::size_t printerLayoutSize(const std::vector<const PrinterEntry*>& printers) {
  std::size_t size = printers.size() * sizeof(PrinterInfo2);
  for (const PrinterEntry* printer : printers) size += printerStringsSize(*printer);
  return size;
}

void layOutPrinters(const std::vector<const PrinterEntry*>& printers, std::uint8_t* buffer) {
  StringArea strings(buffer + printers.size() * sizeof(PrinterInfo2));
  for (std::size_t i = 0; i < printers.size(); ++i) {
    const PrinterEntry& printer = *printers[i];
    PrinterInfo2 info{};
    info.pPrinterName = strings.put(printer.name);
    info.pPortName = strings.put(printer.port);
    info.pDriverName = strings.put(printer.driver);
    info.pPrintProcessor = strings.put(printer.processor);
    info.pDatatype = strings.put(std::string("RAW"));
    info.cJobs = printer.queuedJobs;
    constexpr Dword kPrinterStatusPendingDeletion = 0x4;
    info.Status = printer.deletePending ? kPrinterStatusPendingDeletion : 0;
    std::memcpy(buffer + i * sizeof(PrinterInfo2), &info, sizeof info);
  }
}

std::size_t nameLayoutSize(const std::vector<std::string>& names) {
  std::size_t size = names.size() * sizeof(NameInfo1);
  for (const std::string& name : names) size += name.size() + 1;
  return size;
}

void layOutNames(const std::vector<std::string>& names, std::uint8_t* buffer) {
  StringArea strings(buffer + names.size() * sizeof(NameInfo1));
  for (std::size_t i = 0; i < names.size(); ++i) {
    const NameInfo1 info{strings.put(names[i])};
    std::memcpy(buffer + i * sizeof(NameInfo1), &info, sizeof info);
  }
}

std::size_t driverLayoutSize(const std::vector<const DriverRecord*>& drivers, Dword level) {
  std::size_t size = drivers.size() * (level == 4 ? sizeof(DriverInfo4) : sizeof(DriverInfo3));
  for (const DriverRecord* driver : drivers) size += stringsSize(*driver);
  return size;
}

void layOutDrivers(const std::vector<const DriverRecord*>& drivers, Dword level,
                   std::uint8_t* buffer) {
  if (level == 4) {
    layOut<DriverInfo4>(drivers, buffer);
  } else {
    layOut<DriverInfo3>(drivers, buffer);
  }
}

}  // namespace qlx::fake::detail
