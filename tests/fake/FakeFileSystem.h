#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FakePlatform.h"

namespace qlx::fake::detail {

// The machine's disks: directories and files by canonical absolute path,
// looked up case-insensitively, each keeping the spelling it was created with.
class FileSystem {
 public:
  struct Entry {
    std::string path;
    bool directory = false;
    FakeFile file;
  };

  const Entry* find(std::string_view path) const;
  bool isFile(std::string_view path) const;
  bool isDirectory(std::string_view path) const;

  void addDirectories(std::string_view path);   // with every missing parent
  void createDirectory(std::string_view path);  // the parent exists
  // Creates or replaces a file; a replaced file keeps its spelling.
  void putFile(std::string_view path, FakeFile file);
  void remove(std::string_view path);
  std::vector<std::string> filesIn(std::string_view directory) const;  // names, sorted
  bool hasChildren(std::string_view directory) const;                  // files or directories
  std::vector<std::string> allFiles() const;                           // full paths

  // Win32 codes for opening an existing file to read with `shareMode`:
  // 3 path missing, 2 file missing, 5 a directory, 32 held open for writing.
  Dword readError(std::string_view path, Dword shareMode) const;
  // Codes for replacing or deleting whatever is at `path`: 3 when its
  // directory is missing, 5 a directory, 32 held open for writing.
  Dword writeError(std::string_view path) const;

 private:
  std::map<std::string, Entry> entries_;  // by upper-case path
};

}  // namespace qlx::fake::detail
