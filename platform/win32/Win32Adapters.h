#pragma once

#include "platform/FileVersion.h"
#include "platform/Kernel.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/Spooler.h"

// The platform interfaces on the running Windows system. Each operation is the
// published call with the same arguments; where an operation fails, the call's own
// last error is left in place for Kernel::getLastError.
namespace qlx::win32 {

class Win32Kernel final : public Kernel {
 public:
  bool getVersionEx(OsVersionInfo& info) override;
  bool isWow64Process(Handle process, bool* wow64) override;
  Dword getSystemDirectory(char* buffer, Dword size) override;
  Dword getWindowsDirectory(char* buffer, Dword size) override;
  bool copyFile(const char* existing, const char* target, bool failIfExists) override;
  bool deleteFile(const char* path) override;
  bool createDirectory(const char* path) override;
  int compareStrings(const char* first, const char* second) override;
  Handle createFile(const char* path, Dword access, Dword shareMode, Dword creation,
                    Dword flags) override;
  bool getFileTime(Handle file, FileTime* creation, FileTime* lastAccess,
                   FileTime* lastWrite) override;
  bool closeHandle(Handle handle) override;
  Dword setFilePointer(Handle file, Long distance, Dword method) override;
  bool writeFile(Handle file, const void* data, Dword size, Dword* written) override;
  void getLocalTime(SystemTime& time) override;
  HGlobal globalAlloc(Dword flags, std::size_t bytes) override;
  void* globalLock(HGlobal memory) override;
  bool globalUnlock(HGlobal memory) override;
  HGlobal globalHandle(const void* locked) override;
  HGlobal globalFree(HGlobal memory) override;
  Dword getLastError() override;
  Dword formatMessage(Dword flags, const void* source, Dword messageId, Dword languageId,
                      char** text) override;
  void localFree(void* memory) override;
  void sleep(Dword milliseconds) override;
  Handle getCurrentProcess() override;
  Dword getModuleFileName(char* buffer, Dword size) override;
  bool setCurrentDirectory(const char* path) override;
  Dword getFileAttributes(const char* path) override;
  bool setFileAttributes(const char* path, Dword attributes) override;
  bool removeDirectory(const char* path) override;
  Handle createMutex(const char* name) override;
  bool moveFileEx(const char* existing, const char* target, Dword flags) override;
  bool moveFile(const char* existing, const char* target) override;
  bool flushFileBuffers(Handle file) override;
  Dword getShortPathName(const char* path, char* buffer, Dword size) override;
  Dword getPrivateProfileSection(const char* section, char* buffer, Dword size,
                                 const char* file) override;
  bool writePrivateProfileSection(const char* section, const char* lines,
                                  const char* file) override;
};

// version.dll, loaded from the system directory on first use.
class Win32FileVersion final : public FileVersion {
 public:
  Dword getFileVersionInfoSize(const char* path, Dword* handle) override;
  bool getFileVersionInfo(const char* path, Dword handle, Dword size, void* data) override;
  bool verQueryValue(const void* block, const char* subBlock, void** value,
                     unsigned* length) override;
};

class Win32Registry final : public Registry {
 public:
  Long regOpenKeyEx(HKey root, const char* subKey, Dword options, Dword access,
                    HKey* result) override;
  Long regDeleteKey(HKey root, const char* subKey) override;
  Long regCreateKey(HKey root, const char* subKey, HKey* result) override;
  Long regSetValueEx(HKey key, const char* valueName, Dword reserved, Dword type,
                     const std::uint8_t* data, Dword size) override;
  Long regCloseKey(HKey key) override;
  Long regQueryValueEx(HKey key, const char* valueName, Dword* type, std::uint8_t* data,
                       Dword* size) override;
};

class Win32Security final : public Security {
 public:
  bool openProcessToken(Handle process, Dword access, Handle* token) override;
  bool lookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) override;
  bool adjustTokenPrivileges(Handle token, bool disableAll, const TokenPrivileges* state,
                             Dword bufferLength, TokenPrivileges* previous,
                             Dword* returnLength) override;
};

// winspool.drv, loaded from the system directory on first use.
class Win32Spooler final : public Spooler {
 public:
  bool enumPrinterDrivers(const char* server, const char* environment, Dword level,
                          std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                          Dword* returned) override;
  bool getPrinterDriverDirectory(const char* server, const char* environment, Dword level,
                                 std::uint8_t* buffer, Dword bufferSize, Dword* needed) override;
  bool getPrintProcessorDirectory(const char* server, const char* environment, Dword level,
                                  std::uint8_t* buffer, Dword bufferSize, Dword* needed) override;
  bool addMonitor(const char* server, Dword level, const MonitorInfo2* info) override;
  bool addPrintProcessor(const char* server, const char* environment, const char* pathName,
                         const char* processorName) override;
  bool addPrinterDriver(const char* server, Dword level, const DriverInfo3* info) override;
  PrinterHandle addPrinter(const char* server, Dword level, const PrinterInfo2* info) override;
  bool openPrinter(const char* name, PrinterHandle* handle,
                   const PrinterDefaults* defaults) override;
  bool closePrinter(PrinterHandle handle) override;
  bool enumPrinters(Dword flags, const char* name, Dword level, std::uint8_t* buffer,
                    Dword bufferSize, Dword* needed, Dword* returned) override;
  bool enumMonitors(const char* server, Dword level, std::uint8_t* buffer, Dword bufferSize,
                    Dword* needed, Dword* returned) override;
  bool enumPrintProcessors(const char* server, const char* environment, Dword level,
                           std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                           Dword* returned) override;
  bool enumPorts(const char* server, Dword level, std::uint8_t* buffer, Dword bufferSize,
                 Dword* needed, Dword* returned) override;
  bool setPrinter(PrinterHandle handle, Dword level, std::uint8_t* info, Dword command) override;
  bool deletePrinter(PrinterHandle handle) override;
  bool deletePrinterDriver(const char* server, const char* environment,
                           const char* driverName) override;
  bool deletePrintProcessor(const char* server, const char* environment,
                            const char* processorName) override;
  bool deleteMonitor(const char* server, const char* environment, const char* monitorName) override;
};

}  // namespace qlx::win32
