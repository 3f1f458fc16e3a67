#include "platform/win32/Win32ProgressControl.h"

#include <windows.h>

namespace qlx::win32 {

std::intptr_t Win32ProgressControl::sendMessage(unsigned message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
  return SendMessageA(reinterpret_cast<HWND>(control_), message, wParam, lParam);
}

}  // namespace qlx::win32
