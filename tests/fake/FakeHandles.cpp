#include "FakeHandles.h"

#include <algorithm>

#include "FakePaths.h"

namespace qlx::fake::detail {

Handle HandleTable::open(HandleKind kind, std::string target, Dword access) {
  const Handle handle = next_;
  next_ += 4;  // like Windows, handles are multiples of four
  open_.emplace(handle, Entry{kind, std::move(target), access});
  return handle;
}

const HandleTable::Entry* HandleTable::find(Handle handle, HandleKind kind) const {
  const auto found = open_.find(handle);
  return found == open_.end() || found->second.kind != kind ? nullptr : &found->second;
}

bool HandleTable::close(Handle handle, HandleKind kind) {
  if (find(handle, kind) == nullptr) return false;
  open_.erase(handle);
  return true;
}

int HandleTable::count() const {
  return static_cast<int>(std::count_if(open_.begin(), open_.end(), [](const auto& entry) {
    return entry.second.kind != HandleKind::Mutex;
  }));
}

bool HandleTable::isOpen(HandleKind kind, std::string_view target) const {
  return std::any_of(open_.begin(), open_.end(), [&](const auto& entry) {
    return entry.second.kind == kind && equalsIgnoreCase(entry.second.target, target);
  });
}

}  // namespace qlx::fake::detail
