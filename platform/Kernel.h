#pragma once

#include <cstddef>

#include "platform/Records.h"

namespace qlx {

// KERNEL32: version, directories, files, memory, messages and pauses.
// Each operation mirrors the call named beside it; a failing operation leaves
// its code for getLastError, as the real call does.
class Kernel {
 public:
  virtual ~Kernel() = default;

  virtual bool getVersionEx(OsVersionInfo& info) = 0;  // GetVersionExA
  // IsWow64Process, looked up at run time: Windows 95 to 2000 and the first
  // XP lack it, and then it fails with ERROR_PROC_NOT_FOUND.
  virtual bool isWow64Process(Handle process, bool* wow64) = 0;

  // GetSystemDirectoryA / GetWindowsDirectoryA: length without the NUL on
  // success, the size needed (with the NUL) when the buffer is too small,
  // 0 on failure.
  virtual Dword getSystemDirectory(char* buffer, Dword size) = 0;
  virtual Dword getWindowsDirectory(char* buffer, Dword size) = 0;

  virtual bool copyFile(const char* existing, const char* target,
                        bool failIfExists) = 0;        // CopyFileA
  virtual bool deleteFile(const char* path) = 0;       // DeleteFileA
  virtual bool createDirectory(const char* path) = 0;  // CreateDirectoryA, no security
  virtual int compareStrings(const char* first, const char* second) = 0;  // lstrcmpA

  // CreateFileA without security attributes or template; kInvalidHandleValue on failure.
  virtual Handle createFile(const char* path, Dword access, Dword shareMode, Dword creation,
                            Dword flags) = 0;
  virtual bool getFileTime(Handle file, FileTime* creation, FileTime* lastAccess,
                           FileTime* lastWrite) = 0;  // GetFileTime
  virtual bool closeHandle(Handle handle) = 0;        // CloseHandle
  // SetFilePointer without the high part: the new position, or
  // kInvalidSetFilePointer on failure.
  virtual Dword setFilePointer(Handle file, Long distance, Dword method) = 0;
  virtual bool writeFile(Handle file, const void* data, Dword size,
                         Dword* written) = 0;       // WriteFile, not overlapped
  virtual void getLocalTime(SystemTime& time) = 0;  // GetLocalTime

  virtual HGlobal globalAlloc(Dword flags, std::size_t bytes) = 0;  // GlobalAlloc
  virtual void* globalLock(HGlobal memory) = 0;                     // GlobalLock
  virtual bool globalUnlock(HGlobal memory) = 0;                    // GlobalUnlock
  virtual HGlobal globalHandle(const void* locked) = 0;             // GlobalHandle
  virtual HGlobal globalFree(HGlobal memory) = 0;                   // GlobalFree: 0 on success

  virtual Dword getLastError() = 0;  // GetLastError

  // FormatMessageA with FORMAT_MESSAGE_ALLOCATE_BUFFER: the system allocates
  // the text, stores its address in *text and returns its length (0 on failure).
  virtual Dword formatMessage(Dword flags, const void* source, Dword messageId, Dword languageId,
                              char** text) = 0;
  virtual void localFree(void* memory) = 0;  // LocalFree

  virtual void sleep(Dword milliseconds) = 0;  // Sleep
  virtual Handle getCurrentProcess() = 0;      // GetCurrentProcess

  // GetModuleFileNameA of the program itself: the length copied without the
  // NUL, `size` or more when the path was cut short, 0 on failure.
  virtual Dword getModuleFileName(char* buffer, Dword size) = 0;
  virtual bool setCurrentDirectory(const char* path) = 0;  // SetCurrentDirectoryA

  // GetFileAttributesA: kInvalidFileAttributes when the file cannot be reached.
  virtual Dword getFileAttributes(const char* path) = 0;
  virtual bool setFileAttributes(const char* path, Dword attributes) = 0;  // SetFileAttributesA
  virtual bool removeDirectory(const char* path) = 0;                      // RemoveDirectoryA

  // CreateMutexA without security attributes and not owned: the handle, 0 on
  // failure; when the mutex existed already the last error is
  // ERROR_ALREADY_EXISTS. The handle is never closed by the caller that keeps
  // the name taken for the process's life.
  virtual Handle createMutex(const char* name) = 0;

  // MoveFileExA; with a null target and MOVEFILE_DELAY_UNTIL_REBOOT the file
  // is deleted at the next start of Windows NT (Windows 9x lacks it).
  virtual bool moveFileEx(const char* existing, const char* target, Dword flags) = 0;
  // MoveFileA: a rename that never replaces an existing file; the one every
  // Windows version has.
  virtual bool moveFile(const char* existing, const char* target) = 0;
  // FlushFileBuffers: what was written to the file is on the disk, so that a
  // power cut cannot take it away.
  virtual bool flushFileBuffers(Handle file) = 0;
  // GetShortPathNameA: as GetSystemDirectoryA counts, for an existing path.
  virtual Dword getShortPathName(const char* path, char* buffer, Dword size) = 0;
  // GetPrivateProfileSectionA: the bytes copied without the final NUL, size - 2
  // when the section did not fit.
  virtual Dword getPrivateProfileSection(const char* section, char* buffer, Dword size,
                                         const char* file) = 0;
  // WritePrivateProfileSectionA: `lines` are "key=value" strings, each
  // NUL-terminated, with one more NUL after the last.
  virtual bool writePrivateProfileSection(const char* section, const char* lines,
                                          const char* file) = 0;
};

inline constexpr Dword kGenericRead = 0x80000000u;
inline constexpr Dword kFileShareRead = 0x1;
inline constexpr Dword kOpenExisting = 3;
inline constexpr Dword kFileAttributeReadOnly = 0x1;
inline constexpr Dword kFileAttributeDirectory = 0x10;
inline constexpr Dword kFileAttributeArchive = 0x20;
inline constexpr Dword kFileAttributeNormal = 0x80;
inline constexpr Dword kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr Dword kMoveFileReplaceExisting = 0x1;
inline constexpr Dword kMoveFileDelayUntilReboot = 0x4;
inline constexpr Dword kMoveFileWriteThrough = 0x8;
inline constexpr Dword kGenericWrite = 0x40000000u;
inline constexpr Dword kInvalidSetFilePointer = 0xFFFFFFFFu;
inline constexpr Dword kGmemMoveableZeroInit = 0x42;
inline constexpr Dword kFormatMessageAllocateFromSystem = 0x1100;
inline constexpr Dword kLanguageEnglishUs = 0x409;

}  // namespace qlx
