#include "platform/win32/RecordLayout.h"
#include "platform/win32/Win32Adapters.h"

namespace qlx::win32 {
namespace {

// The key comes back in a native HKEY; the caller's value is passed in and copied
// out unchanged where the system does not write it, as if the caller's own
// variable had been passed.
class KeyOut {
 public:
  explicit KeyOut(HKey* target)
      : target_(target), key_(target ? toNative<HKEY>(*target) : nullptr) {}
  ~KeyOut() {
    if (target_) *target_ = fromNative(key_);
  }
  KeyOut(const KeyOut&) = delete;
  KeyOut& operator=(const KeyOut&) = delete;
  HKEY* get() { return target_ ? &key_ : nullptr; }

 private:
  HKey* target_;
  HKEY key_;
};

}  // namespace

Long Win32Registry::regOpenKeyEx(HKey root, const char* subKey, Dword options, Dword access,
                                 HKey* result) {
  KeyOut key(result);
  return RegOpenKeyExA(toNative<HKEY>(root), subKey, options, access, key.get());
}

Long Win32Registry::regDeleteKey(HKey root, const char* subKey) {
  return RegDeleteKeyA(toNative<HKEY>(root), subKey);
}

Long Win32Registry::regCreateKey(HKey root, const char* subKey, HKey* result) {
  KeyOut key(result);
  return RegCreateKeyA(toNative<HKEY>(root), subKey, key.get());
}

Long Win32Registry::regSetValueEx(HKey key, const char* valueName, Dword reserved, Dword type,
                                  const std::uint8_t* data, Dword size) {
  return RegSetValueExA(toNative<HKEY>(key), valueName, reserved, type, data, size);
}

Long Win32Registry::regCloseKey(HKey key) { return RegCloseKey(toNative<HKEY>(key)); }

Long Win32Registry::regQueryValueEx(HKey key, const char* valueName, Dword* type,
                                    std::uint8_t* data, Dword* size) {
  DWORD nativeType = 0;
  DWORD nativeSize = size != nullptr ? *size : 0;
  const Long result = RegQueryValueExA(toNative<HKEY>(key), valueName, nullptr, &nativeType, data,
                                       size != nullptr ? &nativeSize : nullptr);
  if (type != nullptr) *type = nativeType;
  if (size != nullptr) *size = nativeSize;
  return result;
}

}  // namespace qlx::win32
