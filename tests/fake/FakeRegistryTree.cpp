#include "FakeRegistryTree.h"

#include <algorithm>

#include "FakePaths.h"

namespace qlx::fake::detail {
namespace {

bool isBelow(const std::string& upperPath, const std::string& upperParent) {
  if (upperParent.empty()) return !upperPath.empty();
  return upperPath.size() > upperParent.size() + 1 && upperPath.starts_with(upperParent) &&
         upperPath[upperParent.size()] == '\\';
}

}  // namespace

RegistryTree::RegistryTree() { keys_[""]; }

bool RegistryTree::exists(std::string_view path) const { return keys_.contains(toUpper(path)); }

bool RegistryTree::hasSubkey(std::string_view path) const {
  const std::string parent = toUpper(path);
  return std::any_of(keys_.begin(), keys_.end(),
                     [&](const auto& key) { return isBelow(key.first, parent); });
}

void RegistryTree::create(std::string_view path) {
  const std::string upper = toUpper(path);
  if (keys_.contains(upper)) return;
  const std::size_t separator = upper.rfind('\\');
  if (separator != std::string::npos) create(path.substr(0, separator));
  keys_[upper];
}

void RegistryTree::remove(std::string_view path) {
  const std::string upper = toUpper(path);
  std::erase_if(keys_, [&](const auto& key) {
    return !upper.empty() && (key.first == upper || isBelow(key.first, upper));
  });
}

void RegistryTree::setValue(std::string_view path, const std::string& name, RegistryValue value) {
  auto& values = keys_.at(toUpper(path)).values;
  auto [slot, inserted] = values.try_emplace(toUpper(name), name, RegistryValue{});
  slot->second.second = std::move(value);
}

std::map<std::string, RegistryValue> RegistryTree::values(std::string_view path) const {
  std::map<std::string, RegistryValue> result;
  const auto key = keys_.find(toUpper(path));
  if (key == keys_.end()) return result;
  for (const auto& [upperName, named] : key->second.values) result.insert(named);
  return result;
}

std::string subKeyPath(std::string_view base, std::string_view subKey) {
  if (base.empty()) return std::string(subKey);
  if (subKey.empty()) return std::string(base);
  return std::string(base) + "\\" + std::string(subKey);
}

}  // namespace qlx::fake::detail
