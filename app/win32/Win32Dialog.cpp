#include "app/win32/Win32Dialog.h"

#include <optional>
#include <span>

#include "app/DialogInit.h"
#include "app/WindowGeometry.h"

namespace qlx::win32 {

static_assert(kWsGroup == WS_GROUP && kBsTypeMask == BS_TYPEMASK);
static_assert(kBsRadioButton == BS_RADIOBUTTON && kBsAutoRadioButton == BS_AUTORADIOBUTTON);
static_assert(kBmGetCheck == BM_GETCHECK && kBmSetCheck == BM_SETCHECK);
static_assert(kBstChecked == BST_CHECKED && kBstUnchecked == BST_UNCHECKED);
static_assert(kCbAddString == CB_ADDSTRING && kLbAddString == LB_ADDSTRING);
static_assert(kCbGetCurSel == CB_GETCURSEL && kCbSetCurSel == CB_SETCURSEL);
static_assert(kCbErr == CB_ERR && kCbErrSpace == CB_ERRSPACE);
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL);

namespace {

Win32Dialog* theMainWindow = nullptr;

HWND windowOf(ControlRef control) { return reinterpret_cast<HWND>(control); }
ControlRef refOf(HWND window) { return reinterpret_cast<ControlRef>(window); }
Rect rectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

enum class RecordLookup { Absent, Found, Unreadable };

// The template's dialog-initialisation record, if the program has one.
RecordLookup findInitRecord(int templateId, std::span<const std::uint8_t>& record) {
  HINSTANCE instance = programInstance();
  HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(templateId),
                                 MAKEINTRESOURCEA(kDialogInitResourceType));
  if (resource == nullptr) return RecordLookup::Absent;
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return RecordLookup::Unreadable;
  record = {static_cast<const std::uint8_t*>(data), SizeofResource(instance, resource)};
  return RecordLookup::Found;
}

}  // namespace

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

std::vector<ControlInfo> Win32Controls::children() {
  std::vector<ControlInfo> result;
  for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    result.push_back({refOf(child), GetDlgCtrlID(child), className,
                      static_cast<std::uint32_t>(GetWindowLongA(child, GWL_STYLE))});
  }
  return result;
}

ControlRef Win32Controls::control(int id) { return refOf(GetDlgItem(dialog_, id)); }

std::intptr_t Win32Controls::sendMessage(ControlRef control, unsigned message,
                                         std::uintptr_t wParam, std::intptr_t lParam) {
  return SendMessageA(windowOf(control), message, wParam, lParam);
}

std::string Win32Controls::text(ControlRef control) {
  int length = GetWindowTextLengthA(windowOf(control));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(windowOf(control), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void Win32Controls::setText(ControlRef control, const std::string& text) {
  SetWindowTextA(windowOf(control), text.c_str());
}

DialogResult Win32Dialog::runModal() {
  HWND owner = theMainWindow != nullptr && theMainWindow != this ? theMainWindow->hwnd() : nullptr;
  INT_PTR code = DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(templateId_), owner,
                                 &Win32Dialog::dialogProc, reinterpret_cast<LPARAM>(this));
  return dialogResultFromCode(code);
}

void Win32Dialog::updateData(ExchangeDirection direction) {
  if (hwnd_ == nullptr) return;
  DataExchange exchange(controls_, direction);
  behaviour_.exchangeData(exchange);
}

bool Win32Dialog::handleMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK Win32Dialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32Dialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    self->controls_.setDialog(hwnd);
    return self->onInitDialog();
  }
  auto* self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG

  switch (message) {
    case WM_COMMAND:
      // Next (or Enter) confirms; Escape and the close box arrive as IDCANCEL.
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK) {
        confirmDialog(self->controls_, self->behaviour_);
        EndDialog(hwnd, IDOK);
        return TRUE;
      }
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      self->controls_.detachAll();
      self->controls_.setDialog(nullptr);
      self->hwnd_ = nullptr;
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      return FALSE;
    default:
      break;
  }
  INT_PTR result = FALSE;
  return self->handleMessage(message, wParam, lParam, result) ? result : FALSE;
}

INT_PTR Win32Dialog::onInitDialog() {
  std::span<const std::uint8_t> record;
  RecordLookup lookup = findInitRecord(templateId_, record);
  bool opened =
      lookup != RecordLookup::Unreadable &&
      openDialog(controls_, lookup == RecordLookup::Found ? &record : nullptr, behaviour_);
  if (!opened) {
    EndDialog(hwnd_, -1);
    return FALSE;
  }
  centre();
  return TRUE;  // the default focus: the first tab stop
}

void Win32Dialog::centre() {
  RECT window;
  if (!GetWindowRect(hwnd_, &window)) return;
  std::optional<Rect> owner;
  HWND ownerWindow = GetWindow(hwnd_, GW_OWNER);
  RECT ownerRect;
  if (ownerWindow != nullptr && IsWindowVisible(ownerWindow) && !IsIconic(ownerWindow) &&
      GetWindowRect(ownerWindow, &ownerRect)) {
    owner = rectOf(ownerRect);
  }
  RECT workArea;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) {
    workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  Point position = centredPosition(rectOf(window), owner, rectOf(workArea));
  SetWindowPos(hwnd_, nullptr, position.x, position.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void setMainWindow(Win32Dialog* window) { theMainWindow = window; }

Win32Dialog* mainWindow() { return theMainWindow; }

HWND mainWindowHandle() { return theMainWindow != nullptr ? theMainWindow->hwnd() : nullptr; }

}  // namespace qlx::win32
