#pragma once

#include "platform/Records.h"

namespace qlx {

// WINSPOOL.DRV: the print spooler calls the engine makes, always on the local
// machine. Records are passed with their level, as the published calls take them.
class Spooler {
 public:
  virtual ~Spooler() = default;

  // EnumPrinterDriversA: fills buffer with `*returned` DriverInfo3/DriverInfo4
  // entries (by level) followed by their strings; `*needed` gets the size required.
  virtual bool enumPrinterDrivers(const char* server, const char* environment, Dword level,
                                  std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                                  Dword* returned) = 0;
  virtual bool getPrinterDriverDirectory(const char* server, const char* environment, Dword level,
                                         std::uint8_t* buffer, Dword bufferSize,
                                         Dword* needed) = 0;  // GetPrinterDriverDirectoryA
  virtual bool getPrintProcessorDirectory(const char* server, const char* environment, Dword level,
                                          std::uint8_t* buffer, Dword bufferSize,
                                          Dword* needed) = 0;  // GetPrintProcessorDirectoryA
  virtual bool addMonitor(const char* server, Dword level,
                          const MonitorInfo2* info) = 0;  // AddMonitorA
  virtual bool addPrintProcessor(const char* server, const char* environment, const char* pathName,
                                 const char* processorName) = 0;  // AddPrintProcessorA
  virtual bool addPrinterDriver(const char* server, Dword level,
                                const DriverInfo3* info) = 0;  // AddPrinterDriverA
  virtual PrinterHandle addPrinter(const char* server, Dword level,
                                   const PrinterInfo2* info) = 0;  // AddPrinterA, 0 on failure
  virtual bool openPrinter(const char* name, PrinterHandle* handle,
                           const PrinterDefaults* defaults) = 0;  // OpenPrinterA
  virtual bool closePrinter(PrinterHandle handle) = 0;            // ClosePrinter

  // The lists, each as EnumPrinterDriversA: entries of the level's record
  // followed by their strings. EnumPrintersA (flags PRINTER_ENUM_LOCAL, level
  // 2: PrinterInfo2), EnumMonitorsA and EnumPrintProcessorsA and EnumPortsA
  // (level 1: NameInfo1).
  virtual bool enumPrinters(Dword flags, const char* name, Dword level, std::uint8_t* buffer,
                            Dword bufferSize, Dword* needed, Dword* returned) = 0;
  virtual bool enumMonitors(const char* server, Dword level, std::uint8_t* buffer, Dword bufferSize,
                            Dword* needed, Dword* returned) = 0;
  virtual bool enumPrintProcessors(const char* server, const char* environment, Dword level,
                                   std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                                   Dword* returned) = 0;
  virtual bool enumPorts(const char* server, Dword level, std::uint8_t* buffer, Dword bufferSize,
                         Dword* needed, Dword* returned) = 0;

  // Removal. Where the system lacks one of these, it fails with
  // ERROR_PROC_NOT_FOUND.
  virtual bool setPrinter(PrinterHandle handle, Dword level, std::uint8_t* info,
                          Dword command) = 0;            // SetPrinterA
  virtual bool deletePrinter(PrinterHandle handle) = 0;  // DeletePrinter
  virtual bool deletePrinterDriver(const char* server, const char* environment,
                                   const char* driverName) = 0;  // DeletePrinterDriverA
  virtual bool deletePrintProcessor(const char* server, const char* environment,
                                    const char* processorName) = 0;  // DeletePrintProcessorA
  virtual bool deleteMonitor(const char* server, const char* environment,
                             const char* monitorName) = 0;  // DeleteMonitorA
};

inline constexpr Dword kPrinterEnumLocal = 0x2;
inline constexpr Dword kPrinterControlPurge = 3;
inline constexpr Dword kPrinterAllAccess = 0x000F000C;
inline constexpr Dword kServerAccessAdminister = 0x1;

}  // namespace qlx
