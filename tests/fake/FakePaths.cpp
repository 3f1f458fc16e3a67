#include "FakePaths.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace qlx::fake::detail {
namespace {

char upperChar(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool hasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::vector<std::string> canonicalComponents(std::string_view rest) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t end = std::min(rest.find('\\', start), rest.size());
    const std::string_view part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();  // ".." never climbs above the root
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::string toUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), upperChar);
  return upper;
}

bool equalsIgnoreCase(std::string_view first, std::string_view second) {
  return first.size() == second.size() &&
         std::equal(first.begin(), first.end(), second.begin(),
                    [](char a, char b) { return upperChar(a) == upperChar(b); });
}

bool containsIgnoreCase(const std::vector<std::string>& names, std::string_view name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& entry) { return equalsIgnoreCase(entry, name); });
}

bool isAbsolutePath(std::string_view path) {
  return path.starts_with("\\\\") || path.starts_with("//") ||
         (hasDrive(path) && path.size() > 2 && (path[2] == '\\' || path[2] == '/'));
}

std::string absolutePath(std::string_view path, std::string_view currentDirectory) {
  if (path.empty()) return {};
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  const std::string currentRoot(currentDirectory.substr(0, 3));  // "C:\"
  const std::string currentRest(currentDirectory.substr(3));

  std::string root;
  std::string rest;
  if (text.starts_with("\\\\")) {
    root = "\\\\";
    rest = text.substr(2);
  } else if (hasDrive(text)) {
    root = text.substr(0, 2) + "\\";
    rest = text.substr(2);
    // "X:name" is relative to the current directory of drive X; only the
    // current drive's is known.
    if (!rest.starts_with('\\') && equalsIgnoreCase(root, currentRoot)) {
      rest = currentRest + "\\" + rest;
    }
  } else if (text.starts_with('\\')) {
    root = currentRoot;
    rest = text;
  } else {
    root = currentRoot;
    rest = currentRest + "\\" + text;
  }

  std::string result = root;
  const std::vector<std::string> parts = canonicalComponents(rest);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += '\\';
    result += parts[i];
  }
  return result;
}

std::string parentPath(std::string_view path) {
  const std::size_t separator = path.rfind('\\');
  if (separator == std::string_view::npos || separator + 1 == path.size() || separator < 2) {
    return {};  // a root ("C:\", "\\") or no directory part
  }
  if (separator == 2 && hasDrive(path)) return std::string(path.substr(0, 3));
  return std::string(path.substr(0, separator));
}

std::string fileName(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\:");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string joinPath(std::string_view directory, std::string_view name) {
  std::string joined(directory);
  if (!joined.empty() && !joined.ends_with('\\')) joined += '\\';
  return joined + std::string(name);
}

}  // namespace qlx::fake::detail
