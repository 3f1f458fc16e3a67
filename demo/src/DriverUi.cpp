// Demo printer interface DLL (UNIDRVUI.DLL, RASDDUI.DLL, QLUI957.DLL and, on
// 9x, QLX957E.DRV): the configuration file that the spooler loads when a
// printer is added. It answers the device-mode questions without a dialog and
// offers no property pages.

// The print headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <winspool.h>
#include <winddiui.h>
// clang-format on

#include <cstddef>

namespace {

// DOCUMENTPROPERTYHEADER as documented for printer interface DLLs (the
// compiler's headers lack it); the Unicode form, as the spooler passes it.
struct DocumentPropertyHeader {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  DEVMODEW* pdmIn;
  DEVMODEW* pdmOut;
  DWORD cbOut;
  DWORD fMode;
};

constexpr LONG kFailed = -1;
constexpr LONG kDone = 1;  // CPSUI_OK
constexpr DWORD kDevModeSize = sizeof(DEVMODEW);

void fillDefaults(DEVMODEW& mode, const wchar_t* printerName) {
  auto* bytes = reinterpret_cast<unsigned char*>(&mode);
  for (DWORD i = 0; i < kDevModeSize; ++i) bytes[i] = 0;
  for (int i = 0; printerName && printerName[i] && i < CCHDEVICENAME - 1; ++i)
    mode.dmDeviceName[i] = printerName[i];
  mode.dmSpecVersion = DM_SPECVERSION;
  mode.dmDriverVersion = 0x0301;
  mode.dmSize = static_cast<WORD>(kDevModeSize);
  mode.dmDriverExtra = 0;
  mode.dmFields = DM_ORIENTATION | DM_COPIES;
  mode.dmOrientation = DMORIENT_PORTRAIT;
  mode.dmCopies = 1;
}

// The two settings the demo knows are taken over from the caller's mode when
// they are set and valid; everything else keeps its default.
struct KnownSettings {
  DWORD fields = 0;
  short orientation = 0;
  short copies = 0;
};

KnownSettings readKnownSettings(const DEVMODEW* in) {
  KnownSettings settings;
  if (!in || in->dmSize < offsetof(DEVMODEW, dmScale)) return settings;
  if ((in->dmFields & DM_ORIENTATION) &&
      (in->dmOrientation == DMORIENT_PORTRAIT || in->dmOrientation == DMORIENT_LANDSCAPE)) {
    settings.fields |= DM_ORIENTATION;
    settings.orientation = in->dmOrientation;
  }
  if ((in->dmFields & DM_COPIES) && in->dmCopies >= 1) {
    settings.fields |= DM_COPIES;
    settings.copies = in->dmCopies;
  }
  return settings;
}

}  // namespace

extern "C" __declspec(dllexport) LONG WINAPI
    DrvDocumentPropertySheets(PPROPSHEETUI_INFO sheet, LPARAM parameter) {
  if (sheet) return kFailed;  // no property pages in the demo
  auto* header = reinterpret_cast<DocumentPropertyHeader*>(parameter);
  if (!header || header->cbSize < sizeof(DocumentPropertyHeader)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFailed;
  }
  if (header->fMode == 0 || !header->pdmOut) {
    header->cbOut = kDevModeSize;
    return static_cast<LONG>(kDevModeSize);
  }
  if (header->cbOut < kDevModeSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return kFailed;
  }
  // Read before writing: the caller may pass the same mode in and out.
  KnownSettings settings;
  if (header->fMode & DM_IN_BUFFER) settings = readKnownSettings(header->pdmIn);
  DEVMODEW& out = *header->pdmOut;
  fillDefaults(out, header->pszPrinterName);
  if (settings.fields & DM_ORIENTATION) out.dmOrientation = settings.orientation;
  if (settings.fields & DM_COPIES) out.dmCopies = settings.copies;
  return kDone;
}

extern "C" __declspec(dllexport) BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) {
  return TRUE;
}
