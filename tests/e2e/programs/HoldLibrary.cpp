// hold_library.exe MARKER LIBRARY: loads LIBRARY and keeps it loaded until
// its process is ended, as Windows' spooler service keeps a language
// monitor's library (Wine's spooler, inside the installer's process, frees
// it after each call); creates MARKER once the library is loaded.
#include <windows.h>

namespace {

const wchar_t* skipBlanks(const wchar_t* p) {
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

// Past one argument: a quoted one, or up to the next blank.
const wchar_t* skipArgument(const wchar_t* p) {
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    return *p ? p + 1 : p;
  }
  while (*p && *p != L' ' && *p != L'\t') ++p;
  return p;
}

}  // namespace

extern "C" void __stdcall programStart() {
  const wchar_t* marker = skipBlanks(skipArgument(GetCommandLineW()));
  const wchar_t* markerEnd = skipArgument(marker);
  const int length = static_cast<int>(markerEnd - marker);
  wchar_t markerPath[MAX_PATH];
  if (length == 0 || length >= MAX_PATH) ExitProcess(2);
  lstrcpynW(markerPath, marker, length + 1);
  const wchar_t* library = skipBlanks(markerEnd);
  if (!*library || !LoadLibraryW(library)) ExitProcess(3);
  HANDLE file = CreateFileW(markerPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ExitProcess(4);
  CloseHandle(file);
  Sleep(INFINITE);
}
