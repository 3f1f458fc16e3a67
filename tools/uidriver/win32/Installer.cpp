#include "win32/Installer.h"

namespace uidriver {

Installer::~Installer() {
  if (info_.hThread) CloseHandle(info_.hThread);
  if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool Installer::start(const std::wstring& path, std::wstring commandLine,
                      const std::wstring& directory, DWORD& error) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &info_)) {
    error = GetLastError();
    info_ = {};
    return false;
  }
  return true;
}

bool Installer::exited(DWORD& code) const {
  if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) return false;
  if (!GetExitCodeProcess(info_.hProcess, &code)) code = DWORD(-1);
  return true;
}

void Installer::terminate() const { TerminateProcess(info_.hProcess, 255); }

}  // namespace uidriver
