// The top-level windows of one process, found without sending it a message.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

struct TopWindow {
  HWND hwnd;
  std::string className;
  std::string caption;
  bool visible;
};

std::vector<TopWindow> topWindowsOf(DWORD pid);

}  // namespace uidriver
