// The listing of each --dir directory: files with size and file version,
// subdirectory names; not recursive. Sorted by name (case-insensitive), since
// the order FindNextFile gives depends on the file system.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "win32/Sections.h"

namespace prefixstate {
namespace {

struct Entry {
  std::string name;
  bool directory;
  std::uint64_t size;
};

bool byName(const Entry& a, const Entry& b) {
  return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
}

std::string joinPath(const std::string& directory, const std::string& name) {
  const bool separated =
      !directory.empty() && (directory.back() == '\\' || directory.back() == '/');
  return separated ? directory + name : directory + '\\' + name;
}

// The four numbers of the fixed file version, or null and the failing call.
void writeFileVersion(JsonWriter& json, const std::string& path) {
  DWORD handle = 0;
  SetLastError(ERROR_SUCCESS);
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  const char* failedCall = nullptr;
  DWORD error = ERROR_SUCCESS;
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  if (size == 0) {
    failedCall = "GetFileVersionInfoSizeA";
    error = GetLastError();
  } else if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) {
    failedCall = "GetFileVersionInfoA";
    error = GetLastError();
  } else if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) ||
             fixedLength < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BD) {
    failedCall = "VerQueryValueA";
    error = GetLastError();
  }
  json.key("version");
  if (failedCall) {
    json.null().key("versionCall").text(failedCall).key("versionError").number(error);
    return;
  }
  json.numbers({HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)});
}

// The entries except . and ..; the call that failed (its code in `error`), or
// null when the whole list was read.
const char* readEntries(const std::string& directory, std::vector<Entry>& entries, DWORD& error) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(joinPath(directory, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    // A drive root has no "." entry, so an empty one finds nothing at all.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ? nullptr
                                                                         : "FindFirstFileA";
  }
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow});
  } while (FindNextFileA(search, &found));
  error = GetLastError();
  FindClose(search);
  return error == ERROR_NO_MORE_FILES ? nullptr : "FindNextFileA";
}

void writeListing(JsonWriter& json, const std::string& directory) {
  json.beginObject();
  const DWORD attributes = GetFileAttributesA(directory.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    json.key("exists").flag(false);
    writeFailure(json, "GetFileAttributesA", GetLastError());
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    json.key("exists").flag(true).key("directory").flag(false);
    writeFailure(json, "GetFileAttributesA", ERROR_DIRECTORY);
  } else {
    json.key("exists").flag(true).key("directory").flag(true);
    std::vector<Entry> entries;
    DWORD error = ERROR_SUCCESS;
    if (const char* failedCall = readEntries(directory, entries, error)) {
      writeFailure(json, failedCall, error);
    } else {
      json.key("ok").flag(true);
    }
    std::sort(entries.begin(), entries.end(), byName);
    json.key("files").beginArray();
    for (const Entry& entry : entries) {
      if (entry.directory) continue;
      json.beginObject().key("name").text(entry.name);
      json.key("size").number(static_cast<std::int64_t>(entry.size));
      writeFileVersion(json, joinPath(directory, entry.name));
      json.endObject();
    }
    json.endArray().key("subdirectories").beginArray();
    for (const Entry& entry : entries)
      if (entry.directory) json.text(entry.name);
    json.endArray();
  }
  json.endObject();
}

}  // namespace

void writeDirectoryListings(JsonWriter& json, const std::vector<std::string>& directories) {
  json.beginObject();
  for (const std::string& directory : directories) {
    json.key(directory);
    writeListing(json, directory);
  }
  json.endObject();
}

}  // namespace prefixstate
