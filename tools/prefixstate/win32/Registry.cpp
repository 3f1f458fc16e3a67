// Registry reads: the printer's stored Status and the uninstall entry with
// every value's type and exact bytes.
#include <string>
#include <vector>

#include "win32/Sections.h"

namespace prefixstate {
namespace {

constexpr const char* kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-957";

// Closes the key on every path out of a reader.
class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& path)
      : error_(RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key_)) {}
  ~OpenKey() {
    if (error_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  LONG error() const { return error_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LONG error_;
};

struct Value {
  LONG error = ERROR_SUCCESS;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;  // exactly the stored bytes
};

// The size first, then the data, again while the value grows in between.
Value queryValue(HKEY key, const char* name) {
  Value value;
  for (int attempt = 0; attempt < 5; ++attempt) {
    DWORD size = 0;
    value.error = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (value.error != ERROR_SUCCESS) return value;
    value.data.assign(size, 0);
    value.error = RegQueryValueExA(key, name, nullptr, &value.type,
                                   size ? value.data.data() : nullptr, &size);
    if (value.error != ERROR_MORE_DATA) {
      if (value.error == ERROR_SUCCESS) value.data.resize(size);
      return value;
    }
  }
  return value;
}

const char* typeName(DWORD type) {
  switch (type) {
    case REG_NONE:
      return "REG_NONE";
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    default:
      return nullptr;
  }
}

void writeValue(JsonWriter& json, HKEY key, const std::string& name) {
  const Value value = queryValue(key, name.c_str());
  json.beginObject().key("name").text(name);
  if (value.error != ERROR_SUCCESS) {
    writeFailure(json, "RegQueryValueExA", static_cast<DWORD>(value.error));
  } else {
    json.key("ok").flag(true);
    json.key("type").number(value.type).key("typeName").text(typeName(value.type));
    json.key("length").number(static_cast<std::int64_t>(value.data.size()));
    json.key("data").text(
        std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
  }
  json.endObject();
}

struct Names {
  const char* failedCall = nullptr;
  LONG error = ERROR_SUCCESS;
  std::vector<std::string> names;  // in enumeration order
};

// The name buffer starts at the longest name the key reports and grows while too short.
Names valueNames(HKEY key) {
  Names result;
  DWORD longest = 0;
  result.error = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, &longest, nullptr, nullptr, nullptr);
  if (result.error != ERROR_SUCCESS) {
    result.failedCall = "RegQueryInfoKeyA";
    return result;
  }
  std::string name(longest + 1, '\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG error =
        RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) return result;
    if (error == ERROR_MORE_DATA && name.size() < 65536) {
      name.assign(2 * name.size(), '\0');
      continue;
    }
    if (error != ERROR_SUCCESS) {
      result.failedCall = "RegEnumValueA";
      result.error = error;
      return result;
    }
    result.names.emplace_back(name.data(), length);
    ++index;
  }
}

}  // namespace

void writeStoredPrinterStatus(JsonWriter& json, const char* printerName) {
  if (!printerName) {
    json.null();
    return;
  }
  json.beginObject();
  const OpenKey key(HKEY_LOCAL_MACHINE, std::string(kPrintersKey) + printerName);
  const Value value = key.error() == ERROR_SUCCESS ? queryValue(key.get(), "Status") : Value{};
  if (key.error() != ERROR_SUCCESS) {
    writeFailure(json, "RegOpenKeyExA", static_cast<DWORD>(key.error()));
  } else if (value.error != ERROR_SUCCESS) {
    writeFailure(json, "RegQueryValueExA", static_cast<DWORD>(value.error));
  } else {
    json.key("ok").flag(true).key("type").number(value.type);
    json.key("length").number(static_cast<std::int64_t>(value.data.size())).key("value");
    if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
      DWORD status = 0;
      for (std::size_t i = 0; i < sizeof(DWORD); ++i) status |= DWORD{value.data[i]} << (8 * i);
      json.number(status);
    } else {
      json.null();
    }
  }
  json.endObject();
}

void writeUninstallEntry(JsonWriter& json) {
  json.beginObject().key("key").text(kUninstallKey);
  const OpenKey key(HKEY_LOCAL_MACHINE, kUninstallKey);
  if (key.error() != ERROR_SUCCESS) {
    json.key("exists").flag(false);
    // 2 is the plain "no such key"; anything else means it could not be looked at.
    writeFailure(json, "RegOpenKeyExA", static_cast<DWORD>(key.error()));
  } else {
    json.key("exists").flag(true);
    const Names found = valueNames(key.get());
    if (found.failedCall) {
      writeFailure(json, found.failedCall, static_cast<DWORD>(found.error));
    } else {
      json.key("ok").flag(true).key("values").beginArray();
      for (const std::string& name : found.names) writeValue(json, key.get(), name);
      json.endArray();
    }
  }
  json.endObject();
}

}  // namespace prefixstate
