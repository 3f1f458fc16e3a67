// bare_dialogs.exe: opens a dialog captioned "Select OS Type" and then one
// captioned "Select Port Type", each from a template in memory with a single
// "&Next" button, and exits with 0 when both were confirmed, 1 otherwise.
// It imports KERNEL32 and USER32 alone: what it loads is the floor that any
// Windows program pays, and its time to the first dialog is the reference
// for the installer's.
#include <windows.h>

namespace {

// A dialog template: header, caption, font, one default push button.
struct TemplateBuilder {
  alignas(4) WORD words[160];
  unsigned count = 0;

  void word(WORD value) { words[count++] = value; }
  void dword(DWORD value) {
    word(LOWORD(value));
    word(HIWORD(value));
  }
  void text(const wchar_t* value) {
    do word(WORD(*value));
    while (*value++);
  }
  void alignToDword() {
    if (count % 2) word(0);
  }
};

const DLGTEMPLATE* buildTemplate(TemplateBuilder& t, const wchar_t* caption) {
  t.dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
  t.dword(0);  // extended style
  t.word(1);   // one control
  t.word(0), t.word(0), t.word(174), t.word(119);
  t.word(0);  // no menu
  t.word(0);  // default class
  t.text(caption);
  t.word(8);
  t.text(L"MS Sans Serif");
  t.alignToDword();
  t.dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
  t.dword(0);
  t.word(126), t.word(98), t.word(41), t.word(14);
  t.word(IDOK);
  t.word(0xFFFF), t.word(0x0080);  // button class
  t.text(L"&Next");
  t.word(0);  // no creation data
  return reinterpret_cast<const DLGTEMPLATE*>(t.words);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

bool confirmed(const wchar_t* caption) {
  TemplateBuilder builder;
  const DLGTEMPLATE* dialog = buildTemplate(builder, caption);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, nullptr, dialogProc, 0) == IDOK;
}

}  // namespace

extern "C" void __stdcall programStart() {
  bool ok = confirmed(L"Select OS Type") && confirmed(L"Select Port Type");
  ExitProcess(ok ? 0 : 1);
}
