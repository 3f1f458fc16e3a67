#pragma once

#include "platform/Types.h"

namespace qlx {

// VERSION.dll: a file's version resource.
class FileVersion {
 public:
  virtual ~FileVersion() = default;
  virtual Dword getFileVersionInfoSize(const char* path,
                                       Dword* handle) = 0;  // GetFileVersionInfoSizeA
  virtual bool getFileVersionInfo(const char* path, Dword handle, Dword size,
                                  void* data) = 0;  // GetFileVersionInfoA
  virtual bool verQueryValue(const void* block, const char* subBlock, void** value,
                             unsigned* length) = 0;  // VerQueryValueA
};

}  // namespace qlx
