// What GetVersionExA reports, and the system's English texts for error codes,
// in the wording of the Wine in use.
#include <string>

#include "win32/Sections.h"

namespace prefixstate {

void writeFailure(JsonWriter& json, const char* call, DWORD error) {
  json.key("ok").flag(false).key("call").text(call).key("error").number(error);
}

void writeWindowsVersion(JsonWriter& json) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  json.beginObject();
  if (!GetVersionExA(&version)) {
    writeFailure(json, "GetVersionExA", GetLastError());
  } else {
    json.key("ok").flag(true);
    json.key("dwPlatformId").number(version.dwPlatformId);
    json.key("dwMajorVersion").number(version.dwMajorVersion);
    json.key("dwMinorVersion").number(version.dwMinorVersion);
    json.key("dwBuildNumber").number(version.dwBuildNumber);
    json.key("szCSDVersion")
        .text(std::string_view(version.szCSDVersion,
                               strnlen(version.szCSDVersion, sizeof(version.szCSDVersion))));
  }
  json.endObject();
}

void writeErrorTexts(JsonWriter& json, const std::vector<std::uint32_t>& codes) {
  constexpr DWORD kEnglishUs = 0x409;
  json.beginObject();
  for (std::uint32_t code : codes) {
    json.key(std::to_string(code)).beginObject();
    // Without inserts the text is the same as the installer's call (which does
    // not pass FORMAT_MESSAGE_IGNORE_INSERTS) gives; hasInserts flags the others.
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, kEnglishUs, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (length == 0 || !text) {
      writeFailure(json, "FormatMessageA", GetLastError());
    } else {
      const std::string_view message(text, strnlen(text, length));
      json.key("ok").flag(true).key("text").text(message);
      json.key("hasInserts").flag(message.find('%') != std::string_view::npos);
    }
    if (text) LocalFree(text);
    json.endObject();
  }
  json.endObject();
}

}  // namespace prefixstate
