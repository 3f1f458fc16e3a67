#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace qlx::fake::detail {

enum class HandleKind { File, Token, Printer, RegistryKey, Mutex };

// Every handle the machine has handed out and not yet had closed. Values are
// never reused, so a stale handle stays invalid.
class HandleTable {
 public:
  struct Entry {
    HandleKind kind;
    std::string target;  // file path, printer name, key path; empty for a token
    Dword access = 0;
  };

  Handle open(HandleKind kind, std::string target, Dword access = 0);
  const Entry* find(Handle handle, HandleKind kind) const;  // null unless open and of that kind
  bool close(Handle handle, HandleKind kind);
  bool isOpen(HandleKind kind, std::string_view target) const;
  void closeAll() { open_.clear(); }  // the programs are gone; values still never come back
  // Handles not yet closed, but for mutexes: a program keeps one open for its
  // whole life to hold its name.
  int count() const;

 private:
  std::map<Handle, Entry> open_;
  Handle next_ = 0x100;
};

}  // namespace qlx::fake::detail
