// Demo QLX957_Uninstaller.exe: the installer only copies it and names it in
// the uninstall entry; run, it says what it is and removes nothing.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr,
              "This is the uninstaller of the QLX957_Installer demo package.\n"
              "It removes nothing.",
              "QLX957_Uninstaller", MB_OK | MB_ICONINFORMATION);
  return 0;
}
