#include "platform/win32/RecordLayout.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Adapters.h"

namespace qlx::win32 {

bool Win32Kernel::getVersionEx(OsVersionInfo& info) {
  return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != FALSE;
}

bool Win32Kernel::isWow64Process(Handle process, bool* wow64) {
  // An import would keep the program from starting where the call is missing.
  using IsWow64ProcessCall = BOOL(WINAPI*)(HANDLE, BOOL*);
  const auto call =
      findExport<IsWow64ProcessCall>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
  if (!call) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return false;
  }
  BOOL answer = FALSE;
  if (!call(toNative<HANDLE>(process), &answer)) return false;
  if (wow64 != nullptr) *wow64 = answer != FALSE;
  return true;
}

Dword Win32Kernel::getSystemDirectory(char* buffer, Dword size) {
  return GetSystemDirectoryA(buffer, size);
}

Dword Win32Kernel::getWindowsDirectory(char* buffer, Dword size) {
  return GetWindowsDirectoryA(buffer, size);
}

bool Win32Kernel::copyFile(const char* existing, const char* target, bool failIfExists) {
  return CopyFileA(existing, target, failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Kernel::deleteFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool Win32Kernel::createDirectory(const char* path) {
  return CreateDirectoryA(path, nullptr) != FALSE;
}

int Win32Kernel::compareStrings(const char* first, const char* second) {
  return lstrcmpA(first, second);
}

Handle Win32Kernel::createFile(const char* path, Dword access, Dword shareMode, Dword creation,
                               Dword flags) {
  // INVALID_HANDLE_VALUE converts to kInvalidHandleValue.
  return fromNative(CreateFileA(path, access, shareMode, nullptr, creation, flags, nullptr));
}

bool Win32Kernel::getFileTime(Handle file, FileTime* creation, FileTime* lastAccess,
                              FileTime* lastWrite) {
  return GetFileTime(toNative<HANDLE>(file), reinterpret_cast<FILETIME*>(creation),
                     reinterpret_cast<FILETIME*>(lastAccess),
                     reinterpret_cast<FILETIME*>(lastWrite)) != FALSE;
}

bool Win32Kernel::closeHandle(Handle handle) {
  return CloseHandle(toNative<HANDLE>(handle)) != FALSE;
}

Dword Win32Kernel::setFilePointer(Handle file, Long distance, Dword method) {
  return SetFilePointer(toNative<HANDLE>(file), distance, nullptr, method);
}

bool Win32Kernel::writeFile(Handle file, const void* data, Dword size, Dword* written) {
  DWORD count = 0;
  const BOOL ok = WriteFile(toNative<HANDLE>(file), data, size, &count, nullptr);
  if (written != nullptr) *written = count;
  return ok != FALSE;
}

void Win32Kernel::getLocalTime(SystemTime& time) {
  GetLocalTime(reinterpret_cast<SYSTEMTIME*>(&time));
}

HGlobal Win32Kernel::globalAlloc(Dword flags, std::size_t bytes) {
  return fromNative(GlobalAlloc(flags, bytes));
}

void* Win32Kernel::globalLock(HGlobal memory) { return GlobalLock(toNative<HGLOBAL>(memory)); }

// True while the block stays locked, as GlobalUnlock's own result says.
bool Win32Kernel::globalUnlock(HGlobal memory) {
  return GlobalUnlock(toNative<HGLOBAL>(memory)) != FALSE;
}

HGlobal Win32Kernel::globalHandle(const void* locked) { return fromNative(GlobalHandle(locked)); }

HGlobal Win32Kernel::globalFree(HGlobal memory) {
  return fromNative(GlobalFree(toNative<HGLOBAL>(memory)));
}

Dword Win32Kernel::getLastError() { return GetLastError(); }

Dword Win32Kernel::formatMessage(Dword flags, const void* source, Dword messageId, Dword languageId,
                                 char** text) {
  // The operation always hands back a system-allocated text, so the flag that makes
  // the buffer argument a char** is always given; without it the system would write
  // text into the pointer itself.
  if (text) *text = nullptr;
  return FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, source, messageId, languageId,
                        reinterpret_cast<LPSTR>(text), 0, nullptr);
}

void Win32Kernel::localFree(void* memory) { LocalFree(static_cast<HLOCAL>(memory)); }

void Win32Kernel::sleep(Dword milliseconds) { Sleep(milliseconds); }

Handle Win32Kernel::getCurrentProcess() { return fromNative(GetCurrentProcess()); }

Dword Win32Kernel::getModuleFileName(char* buffer, Dword size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

bool Win32Kernel::setCurrentDirectory(const char* path) {
  return SetCurrentDirectoryA(path) != FALSE;
}

Dword Win32Kernel::getFileAttributes(const char* path) { return GetFileAttributesA(path); }

bool Win32Kernel::setFileAttributes(const char* path, Dword attributes) {
  return SetFileAttributesA(path, attributes) != FALSE;
}

bool Win32Kernel::removeDirectory(const char* path) { return RemoveDirectoryA(path) != FALSE; }

Handle Win32Kernel::createMutex(const char* name) {
  return fromNative(CreateMutexA(nullptr, FALSE, name));
}

bool Win32Kernel::moveFileEx(const char* existing, const char* target, Dword flags) {
  return MoveFileExA(existing, target, flags) != FALSE;
}

bool Win32Kernel::moveFile(const char* existing, const char* target) {
  return MoveFileA(existing, target) != FALSE;
}

bool Win32Kernel::flushFileBuffers(Handle file) {
  return FlushFileBuffers(toNative<HANDLE>(file)) != FALSE;
}

Dword Win32Kernel::getShortPathName(const char* path, char* buffer, Dword size) {
  return GetShortPathNameA(path, buffer, size);
}

Dword Win32Kernel::getPrivateProfileSection(const char* section, char* buffer, Dword size,
                                            const char* file) {
  return GetPrivateProfileSectionA(section, buffer, size, file);
}

bool Win32Kernel::writePrivateProfileSection(const char* section, const char* lines,
                                             const char* file) {
  return WritePrivateProfileSectionA(section, lines, file) != FALSE;
}

}  // namespace qlx::win32
