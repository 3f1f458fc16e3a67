#pragma once

#include <string>
#include <string_view>
#include <vector>

// Windows path and name rules: case-insensitive, '\' separated, drive roots.
namespace qlx::fake::detail {

std::string toUpper(std::string_view text);
bool equalsIgnoreCase(std::string_view first, std::string_view second);
bool containsIgnoreCase(const std::vector<std::string>& names, std::string_view name);

bool isAbsolutePath(std::string_view path);  // "X:\..." or "\\server\..."

// The canonical absolute form of `path`: '/' read as '\', "." and ".." applied,
// no doubled or trailing separators. Relative paths (and "\dir", "X:name")
// resolve against `currentDirectory`. Empty for an empty path.
std::string absolutePath(std::string_view path, std::string_view currentDirectory);

std::string parentPath(std::string_view path);  // empty for a root
std::string fileName(std::string_view path);    // the last component
std::string joinPath(std::string_view directory, std::string_view name);

}  // namespace qlx::fake::detail
