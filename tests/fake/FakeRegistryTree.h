#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "FakePlatform.h"

namespace qlx::fake::detail {

// The keys under HKEY_LOCAL_MACHINE by path ("" is HKLM itself), names and
// value names compared case-insensitively, each keeping its first spelling.
class RegistryTree {
 public:
  RegistryTree();

  bool exists(std::string_view path) const;
  bool hasSubkey(std::string_view path) const;
  void create(std::string_view path);  // with every missing parent
  void remove(std::string_view path);  // with its subkeys
  void setValue(std::string_view path, const std::string& name, RegistryValue value);
  std::map<std::string, RegistryValue> values(std::string_view path) const;

 private:
  struct Key {
    std::map<std::string, std::pair<std::string, RegistryValue>> values;  // by upper-case name
  };
  std::map<std::string, Key> keys_;  // by upper-case path
};

// The path of `subKey` below the key at `base`.
std::string subKeyPath(std::string_view base, std::string_view subKey);

}  // namespace qlx::fake::detail
