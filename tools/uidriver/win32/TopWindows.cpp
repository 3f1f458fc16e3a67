#include "win32/TopWindows.h"

#include "win32/Controls.h"

namespace uidriver {
namespace {

struct Search {
  DWORD pid;
  std::vector<TopWindow> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search.pid) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  search.found.push_back(
      {hwnd, wideToUtf8(className), windowText(hwnd), IsWindowVisible(hwnd) != 0});
  return TRUE;
}

}  // namespace

std::vector<TopWindow> topWindowsOf(DWORD pid) {
  Search search{pid, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace uidriver
