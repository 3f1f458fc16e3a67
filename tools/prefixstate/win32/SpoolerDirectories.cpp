// GetPrinterDriverDirectoryA and GetPrintProcessorDirectoryA for each
// environment and for the default one (environment null, under "default"),
// which Wine derives from the Windows version.
#include <string>

#include "win32/Sections.h"

namespace prefixstate {
namespace {

using DirectoryQuery = BOOL(WINAPI*)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD);

void writeDirectory(JsonWriter& json, DirectoryQuery query, const char* call,
                    const char* environment) {
  std::string buffer(MAX_PATH, '\0');
  json.beginObject();
  for (int attempt = 0;; ++attempt) {
    DWORD needed = 0;
    SetLastError(ERROR_SUCCESS);
    if (query(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<BYTE*>(buffer.data()),
              static_cast<DWORD>(buffer.size()), &needed)) {
      json.key("ok").flag(true).key("path").text(buffer.c_str());
      break;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size() || attempt == 3) {
      writeFailure(json, call, error);
      break;
    }
    buffer.assign(needed, '\0');
  }
  json.endObject();
}

void writeDirectories(JsonWriter& json, DirectoryQuery query, const char* call) {
  json.beginObject();
  for (const char* environment : kEnvironments) {
    json.key(environment);
    writeDirectory(json, query, call, environment);
  }
  json.key("default");
  writeDirectory(json, query, call, nullptr);
  json.endObject();
}

}  // namespace

void writeSpoolerDirectories(JsonWriter& json) {
  json.beginObject().key("printerDriver");
  writeDirectories(json, GetPrinterDriverDirectoryA, "GetPrinterDriverDirectoryA");
  json.key("printProcessor");
  writeDirectories(json, GetPrintProcessorDirectoryA, "GetPrintProcessorDirectoryA");
  json.endObject();
}

}  // namespace prefixstate
