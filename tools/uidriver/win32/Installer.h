// The installer process that the driver starts and waits for.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

class Installer {
 public:
  Installer() = default;
  ~Installer();
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  // Starts `path` with `directory` as its current directory. It inherits no
  // handle of ours, so the log file is not held open by it.
  // `commandLine` starts with the quoted path.
  bool start(const std::wstring& path, std::wstring commandLine, const std::wstring& directory,
             DWORD& error);
  // True once the process has ended; `code` is then its exit status.
  bool exited(DWORD& code) const;
  // Ends the process this driver started (after the overall timeout, or
  // where the script ends it), with exit status 255.
  void terminate() const;

  DWORD pid() const { return info_.dwProcessId; }
  HANDLE process() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_ = {};
};

}  // namespace uidriver
