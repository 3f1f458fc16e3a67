#include "platform/win32/RecordLayout.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Adapters.h"

namespace qlx::win32 {
namespace {

constinit SystemLibrary winspool{"winspool.drv"};
constinit SystemEntry<decltype(&EnumPrinterDriversA)> enumPrinterDriversA{winspool,
                                                                          "EnumPrinterDriversA"};
constinit SystemEntry<decltype(&GetPrinterDriverDirectoryA)> getPrinterDriverDirectoryA{
    winspool, "GetPrinterDriverDirectoryA"};
constinit SystemEntry<decltype(&GetPrintProcessorDirectoryA)> getPrintProcessorDirectoryA{
    winspool, "GetPrintProcessorDirectoryA"};
constinit SystemEntry<decltype(&AddMonitorA)> addMonitorA{winspool, "AddMonitorA"};
constinit SystemEntry<decltype(&AddPrintProcessorA)> addPrintProcessorA{winspool,
                                                                        "AddPrintProcessorA"};
constinit SystemEntry<decltype(&AddPrinterDriverA)> addPrinterDriverA{winspool,
                                                                      "AddPrinterDriverA"};
constinit SystemEntry<decltype(&AddPrinterA)> addPrinterA{winspool, "AddPrinterA"};
constinit SystemEntry<decltype(&OpenPrinterA)> openPrinterA{winspool, "OpenPrinterA"};
constinit SystemEntry<decltype(&ClosePrinter)> closePrinterEntry{winspool, "ClosePrinter"};
constinit SystemEntry<decltype(&EnumPrintersA)> enumPrintersA{winspool, "EnumPrintersA"};
constinit SystemEntry<decltype(&EnumMonitorsA)> enumMonitorsA{winspool, "EnumMonitorsA"};
constinit SystemEntry<decltype(&EnumPrintProcessorsA)> enumPrintProcessorsA{winspool,
                                                                            "EnumPrintProcessorsA"};
constinit SystemEntry<decltype(&EnumPortsA)> enumPortsA{winspool, "EnumPortsA"};
constinit SystemEntry<decltype(&SetPrinterA)> setPrinterA{winspool, "SetPrinterA"};
constinit SystemEntry<decltype(&DeletePrinter)> deletePrinterEntry{winspool, "DeletePrinter"};
constinit SystemEntry<decltype(&DeletePrinterDriverA)> deletePrinterDriverA{winspool,
                                                                            "DeletePrinterDriverA"};
constinit SystemEntry<decltype(&DeletePrintProcessorA)> deletePrintProcessorA{
    winspool, "DeletePrintProcessorA"};
constinit SystemEntry<decltype(&DeleteMonitorA)> deleteMonitorA{winspool, "DeleteMonitorA"};

// The records are read by the system only; the published calls take them as bytes.
template <typename Record>
BYTE* recordIn(const Record* record) {
  return reinterpret_cast<BYTE*>(const_cast<Record*>(record));
}

}  // namespace

bool Win32Spooler::enumPrinterDrivers(const char* server, const char* environment, Dword level,
                                      std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                                      Dword* returned) {
  // The system lays DRIVER_INFO_3A/4A entries and their strings straight into the
  // caller's buffer, which the engine reads as DriverInfo3/DriverInfo4.
  auto call = enumPrinterDriversA.get();
  return call && call(inString(server), inString(environment), level, buffer, bufferSize,
                      dwordOut(needed), dwordOut(returned)) != FALSE;
}

bool Win32Spooler::getPrinterDriverDirectory(const char* server, const char* environment,
                                             Dword level, std::uint8_t* buffer, Dword bufferSize,
                                             Dword* needed) {
  auto call = getPrinterDriverDirectoryA.get();
  return call && call(inString(server), inString(environment), level, buffer, bufferSize,
                      dwordOut(needed)) != FALSE;
}

bool Win32Spooler::getPrintProcessorDirectory(const char* server, const char* environment,
                                              Dword level, std::uint8_t* buffer, Dword bufferSize,
                                              Dword* needed) {
  auto call = getPrintProcessorDirectoryA.get();
  return call && call(inString(server), inString(environment), level, buffer, bufferSize,
                      dwordOut(needed)) != FALSE;
}

bool Win32Spooler::addMonitor(const char* server, Dword level, const MonitorInfo2* info) {
  auto call = addMonitorA.get();
  return call && call(inString(server), level, recordIn(info)) != FALSE;
}

bool Win32Spooler::addPrintProcessor(const char* server, const char* environment,
                                     const char* pathName, const char* processorName) {
  auto call = addPrintProcessorA.get();
  return call && call(inString(server), inString(environment), inString(pathName),
                      inString(processorName)) != FALSE;
}

bool Win32Spooler::addPrinterDriver(const char* server, Dword level, const DriverInfo3* info) {
  auto call = addPrinterDriverA.get();
  return call && call(inString(server), level, recordIn(info)) != FALSE;
}

PrinterHandle Win32Spooler::addPrinter(const char* server, Dword level, const PrinterInfo2* info) {
  auto call = addPrinterA.get();
  return call ? fromNative(call(inString(server), level, recordIn(info))) : 0;
}

bool Win32Spooler::openPrinter(const char* name, PrinterHandle* handle,
                               const PrinterDefaults* defaults) {
  auto call = openPrinterA.get();
  if (!call) return false;
  HANDLE native = handle ? toNative<HANDLE>(*handle) : nullptr;
  const BOOL opened =
      call(inString(name), handle ? &native : nullptr,
           reinterpret_cast<PRINTER_DEFAULTSA*>(const_cast<PrinterDefaults*>(defaults)));
  if (handle) *handle = fromNative(native);
  return opened != FALSE;
}

bool Win32Spooler::closePrinter(PrinterHandle handle) {
  auto call = closePrinterEntry.get();
  return call && call(toNative<HANDLE>(handle)) != FALSE;
}

bool Win32Spooler::enumPrinters(Dword flags, const char* name, Dword level, std::uint8_t* buffer,
                                Dword bufferSize, Dword* needed, Dword* returned) {
  auto call = enumPrintersA.get();
  return call && call(flags, inString(name), level, buffer, bufferSize, dwordOut(needed),
                      dwordOut(returned)) != FALSE;
}

bool Win32Spooler::enumMonitors(const char* server, Dword level, std::uint8_t* buffer,
                                Dword bufferSize, Dword* needed, Dword* returned) {
  auto call = enumMonitorsA.get();
  return call && call(inString(server), level, buffer, bufferSize, dwordOut(needed),
                      dwordOut(returned)) != FALSE;
}

bool Win32Spooler::enumPrintProcessors(const char* server, const char* environment, Dword level,
                                       std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                                       Dword* returned) {
  auto call = enumPrintProcessorsA.get();
  return call && call(inString(server), inString(environment), level, buffer, bufferSize,
                      dwordOut(needed), dwordOut(returned)) != FALSE;
}

bool Win32Spooler::enumPorts(const char* server, Dword level, std::uint8_t* buffer,
                             Dword bufferSize, Dword* needed, Dword* returned) {
  auto call = enumPortsA.get();
  return call && call(inString(server), level, buffer, bufferSize, dwordOut(needed),
                      dwordOut(returned)) != FALSE;
}

bool Win32Spooler::setPrinter(PrinterHandle handle, Dword level, std::uint8_t* info,
                              Dword command) {
  auto call = setPrinterA.get();
  return call && call(toNative<HANDLE>(handle), level, info, command) != FALSE;
}

bool Win32Spooler::deletePrinter(PrinterHandle handle) {
  auto call = deletePrinterEntry.get();
  return call && call(toNative<HANDLE>(handle)) != FALSE;
}

bool Win32Spooler::deletePrinterDriver(const char* server, const char* environment,
                                       const char* driverName) {
  auto call = deletePrinterDriverA.get();
  return call && call(inString(server), inString(environment), inString(driverName)) != FALSE;
}

bool Win32Spooler::deletePrintProcessor(const char* server, const char* environment,
                                        const char* processorName) {
  auto call = deletePrintProcessorA.get();
  return call && call(inString(server), inString(environment), inString(processorName)) != FALSE;
}

bool Win32Spooler::deleteMonitor(const char* server, const char* environment,
                                 const char* monitorName) {
  auto call = deleteMonitorA.get();
  return call && call(inString(server), inString(environment), inString(monitorName)) != FALSE;
}

}  // namespace qlx::win32
