// prefixstate.exe: a test tool of this project. Run inside a Wine prefix after
// the installer, it writes the prefix's end state (printers, drivers, monitors,
// print processors, spooler directories, the uninstall entry, listings of the
// directories asked for, system error texts and the Windows version) as one
// JSON document to the --out file. Never to standard output: under Wine a
// pipe stays open as long as the prefix's services run.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/Options.h"
#include "json/Json.h"
#include "win32/Sections.h"

namespace {

std::string buildReport(const prefixstate::Options& options) {
  using namespace prefixstate;
  JsonWriter json;
  json.beginObject().key("tool").text("prefixstate");
  json.key("windowsVersion");
  writeWindowsVersion(json);
  json.key("printers");
  writePrinters(json);
  json.key("drivers");
  writeDrivers(json);
  json.key("monitors");
  writeMonitors(json);
  json.key("printProcessors");
  writePrintProcessors(json);
  json.key("spoolerDirectories");
  writeSpoolerDirectories(json);
  json.key("uninstall");
  writeUninstallEntry(json);
  json.key("directories");
  writeDirectoryListings(json, options.directories);
  json.key("errorTexts");
  writeErrorTexts(json, options.errorCodes);
  json.endObject();
  return json.str();
}

// Written in full or reported as failed: a test must not read half a report.
bool writeFile(const std::string& path, const std::string& text, DWORD& error) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  error = ok ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const prefixstate::ParsedOptions parsed = prefixstate::parseOptions(arguments);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "prefixstate: %s\n%s", parsed.error.c_str(),
                 prefixstate::usageText().c_str());
    return prefixstate::kUsage;
  }
  DWORD error = ERROR_SUCCESS;
  if (!writeFile(parsed.options.outFile, buildReport(parsed.options), error)) {
    std::fprintf(stderr, "prefixstate: cannot write %s (error %lu)\n",
                 parsed.options.outFile.c_str(), static_cast<unsigned long>(error));
    return prefixstate::kNotWritten;
  }
  return prefixstate::kWritten;
}
