#include "platform/win32/RecordLayout.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Adapters.h"

namespace qlx::win32 {
namespace {

constinit SystemLibrary version{"version.dll"};
constinit SystemEntry<decltype(&GetFileVersionInfoSizeA)> getFileVersionInfoSizeA{
    version, "GetFileVersionInfoSizeA"};
constinit SystemEntry<decltype(&GetFileVersionInfoA)> getFileVersionInfoA{version,
                                                                          "GetFileVersionInfoA"};
constinit SystemEntry<decltype(&VerQueryValueA)> verQueryValueA{version, "VerQueryValueA"};

}  // namespace

Dword Win32FileVersion::getFileVersionInfoSize(const char* path, Dword* handle) {
  auto call = getFileVersionInfoSizeA.get();
  return call ? call(path, dwordOut(handle)) : 0;
}

bool Win32FileVersion::getFileVersionInfo(const char* path, Dword handle, Dword size, void* data) {
  auto call = getFileVersionInfoA.get();
  return call && call(path, handle, size, data) != FALSE;
}

bool Win32FileVersion::verQueryValue(const void* block, const char* subBlock, void** value,
                                     unsigned* length) {
  auto call = verQueryValueA.get();
  return call && call(block, subBlock, value, length) != FALSE;
}

}  // namespace qlx::win32
