// restart_recorder.exe: put in a test prefix as system32\wineboot.exe, it
// receives what Wine's ExitWindowsEx asks of wineboot and appends its command
// line, as one line of UTF-16, to C:\restart-request.txt instead of ending
// the prefix's processes.
#include <windows.h>

extern "C" void __stdcall programStart() {
  HANDLE file = CreateFileW(L"C:\\restart-request.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ExitProcess(2);
  const wchar_t* line = GetCommandLineW();
  DWORD length = 0;
  while (line[length]) ++length;
  DWORD written = 0;
  bool ok = WriteFile(file, line, length * sizeof(wchar_t), &written, nullptr) &&
            WriteFile(file, L"\n", sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
  ExitProcess(ok ? 0 : 3);
}
