// ADVAPI32 registry calls, below HKEY_LOCAL_MACHINE only. They return their
// code and leave the thread's last error alone.

#include <algorithm>

#include "FakePaths.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::key;
using detail::arg::number;
using detail::arg::text;

constexpr Long kCodeFileNotFound = 2;
constexpr Long kCodeAccessDenied = 5;
constexpr Long kCodeInvalidHandle = 6;
constexpr Long kCodeInvalidParameter = 87;
constexpr Long kCodeBadPathname = 161;
constexpr Long kCodeKeyDeleted = 1018;
constexpr Dword kKeySetValue = 0x2;
constexpr Dword kKeyAllAccess = 0xF003F;

struct OpenKey {
  std::string path;
  Dword access = 0;
};

// What a key handle stands for: HKLM itself or a key opened before.
std::optional<OpenKey> openKey(const detail::HandleTable& handles, HKey handle) {
  if (handle == kHKeyLocalMachine) return OpenKey{"", kKeyAllAccess};
  const detail::HandleTable::Entry* entry = handles.find(handle, detail::HandleKind::RegistryKey);
  if (entry == nullptr) return std::nullopt;
  return OpenKey{entry->target, entry->access};
}

// A subkey path as the registry takes it: no leading or doubled separator;
// one trailing separator is tolerated. Null means the key itself.
std::optional<std::string> subKeyName(const char* subKey) {
  std::string name = subKey == nullptr ? "" : subKey;
  if (name.ends_with('\\')) name.pop_back();
  if (name.starts_with('\\') || name.ends_with('\\') || name.find("\\\\") != std::string::npos) {
    return std::nullopt;
  }
  return name;
}

Long code(Dword error) { return static_cast<Long>(error); }

}  // namespace

Long FakePlatform::regOpenKeyEx(HKey root, const char* subKey, Dword options, Dword access,
                                HKey* result) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "RegOpenKeyExA", {key(root), text(subKey), number(options), number(access)})) {
    return code(*error);
  }
  const std::optional<OpenKey> base = openKey(s.handles, root);
  if (!base) return kCodeInvalidHandle;
  if (!s.registry.exists(base->path)) return kCodeKeyDeleted;
  if (result == nullptr) return kCodeInvalidParameter;
  const std::optional<std::string> name = subKeyName(subKey);
  if (!name) return kCodeBadPathname;
  const std::string path = detail::subKeyPath(base->path, *name);
  if (!s.registry.exists(path)) return kCodeFileNotFound;
  *result = s.handles.open(detail::HandleKind::RegistryKey, path, access);
  return kRegSuccess;
}

Long FakePlatform::regDeleteKey(HKey root, const char* subKey) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("RegDeleteKeyA", {key(root), text(subKey)})) {
    return code(*error);
  }
  const std::optional<OpenKey> base = openKey(s.handles, root);
  if (!base) return kCodeInvalidHandle;
  if (subKey == nullptr) return kCodeInvalidParameter;
  const std::optional<std::string> name = subKeyName(subKey);
  if (!name) return kCodeBadPathname;
  const std::string path = detail::subKeyPath(base->path, *name);
  if (path.empty()) return kCodeAccessDenied;  // HKLM itself stays
  if (!s.registry.exists(path)) return kCodeFileNotFound;
  // Windows NT refuses a key with subkeys; Windows 9x deletes the whole tree.
  if (!s.isWindows9x() && s.registry.hasSubkey(path)) return kCodeAccessDenied;
  s.registry.remove(path);
  return kRegSuccess;
}

Long FakePlatform::regCreateKey(HKey root, const char* subKey, HKey* result) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("RegCreateKeyA", {key(root), text(subKey)})) {
    return code(*error);
  }
  const std::optional<OpenKey> base = openKey(s.handles, root);
  if (!base) return kCodeInvalidHandle;
  if (!s.registry.exists(base->path)) return kCodeKeyDeleted;
  if (result == nullptr) return kCodeInvalidParameter;
  const std::optional<std::string> name = subKeyName(subKey);
  if (!name) return kCodeBadPathname;
  if (name->empty()) {
    *result = root;  // the very handle passed, no new one
    return kRegSuccess;
  }
  const std::string path = detail::subKeyPath(base->path, *name);
  s.registry.create(path);
  *result = s.handles.open(detail::HandleKind::RegistryKey, path, kKeyAllAccess);
  return kRegSuccess;
}

Long FakePlatform::regSetValueEx(HKey handle, const char* valueName, Dword reserved, Dword type,
                                 const std::uint8_t* data, Dword size) {
  State& s = *state_;
  if (auto error =
          s.log.recordFailable("RegSetValueExA", {key(handle), text(valueName), number(reserved),
                                                  number(type), buffer(data), number(size)})) {
    return code(*error);
  }
  const std::optional<OpenKey> target = openKey(s.handles, handle);
  if (!target) return kCodeInvalidHandle;
  if (!s.registry.exists(target->path)) return kCodeKeyDeleted;
  if ((target->access & kKeySetValue) == 0) return kCodeAccessDenied;
  if (reserved != 0 || (data == nullptr && size > 0)) return kCodeInvalidParameter;
  RegistryValue value{type, std::vector<std::uint8_t>(data, data + size)};
  s.registry.setValue(target->path, valueName == nullptr ? "" : valueName, std::move(value));
  return kRegSuccess;
}

Long FakePlatform::regCloseKey(HKey handle) {
  State& s = *state_;
  s.log.record("RegCloseKey", {key(handle)});
  if (handle == kHKeyLocalMachine) return kRegSuccess;
  return s.handles.close(handle, detail::HandleKind::RegistryKey) ? kRegSuccess
                                                                  : kCodeInvalidHandle;
}

Long FakePlatform::regQueryValueEx(HKey handle, const char* valueName, Dword* type,
                                   std::uint8_t* data, Dword* size) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "RegQueryValueExA",
          {key(handle), text(valueName), buffer(data), size == nullptr ? "null" : number(*size)})) {
    return code(*error);
  }
  const std::optional<OpenKey> source = openKey(s.handles, handle);
  if (!source) return kCodeInvalidHandle;
  if (!s.registry.exists(source->path)) return kCodeKeyDeleted;
  if (data != nullptr && size == nullptr) return kCodeInvalidParameter;
  constexpr Dword kKeyQueryValue = 0x1;
  if ((source->access & kKeyQueryValue) == 0) return kCodeAccessDenied;
  const auto values = s.registry.values(source->path);
  std::string wanted = valueName == nullptr ? "" : valueName;
  const auto found = std::find_if(values.begin(), values.end(), [&](const auto& entry) {
    return detail::equalsIgnoreCase(entry.first, wanted);
  });
  if (found == values.end()) return kCodeFileNotFound;
  const RegistryValue& value = found->second;
  if (type != nullptr) *type = value.type;
  if (size == nullptr) return kRegSuccess;
  const auto length = static_cast<Dword>(value.data.size());
  if (data != nullptr && *size < length) {
    *size = length;
    return code(kErrorMoreData);
  }
  if (data != nullptr) std::copy(value.data.begin(), value.data.end(), data);
  *size = length;
  return kRegSuccess;
}

}  // namespace qlx::fake
