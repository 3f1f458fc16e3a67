#include "app/ProgramStart.h"

namespace qlx {
namespace {

// MAX_PATH: the longest path the ANSI calls of these systems hand out.
constexpr Dword kMaxPath = 260;

}  // namespace

std::string programFolder(std::string_view modulePath, LeadBytePredicate isLeadByte) {
  std::size_t folderEnd = 0;
  for (std::size_t i = 0; i < modulePath.size(); ++i) {
    const char c = modulePath[i];
    if (isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(c)) &&
        i + 1 < modulePath.size()) {
      ++i;  // a trail byte equal to '\\' is no separator
      continue;
    }
    if (c == '\\' || c == '/') folderEnd = i + 1;
  }
  return std::string(modulePath.substr(0, folderEnd));
}

void prepareProcess(Kernel& kernel, UserInterface& ui, LeadBytePredicate isLeadByte) {
  char path[kMaxPath + 1] = {};
  const Dword length = kernel.getModuleFileName(path, kMaxPath + 1);
  // A path cut short names some other folder.
  if (length != 0 && length <= kMaxPath) {
    const std::string folder = programFolder(std::string_view(path, length), isLeadByte);
    if (!folder.empty()) kernel.setCurrentDirectory(folder.c_str());
  }
  ui.disableWindowsGhosting();
}

}  // namespace qlx
