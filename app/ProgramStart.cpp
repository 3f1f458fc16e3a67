#include "app/ProgramStart.h"

#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"

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

std::string prepareProcess(Kernel& kernel, UserInterface& ui, LeadBytePredicate isLeadByte) {
  char path[kMaxPath + 1] = {};
  const Dword length = kernel.getModuleFileName(path, kMaxPath + 1);
  const Dword pathError = length == 0 ? kernel.getLastError() : kErrorSuccess;
  const auto withReason = [&](std::string what, Dword code) {
    const std::string reason = withoutLineEnd(systemMessageText(kernel, code));
    return join({what, " (error ", std::to_string(code), reason.empty() ? "" : ": ", reason,
                 ").\n\n", text::kNothingInstalled});
  };
  if (length == 0) return withReason("The program's own folder cannot be found", pathError);
  // A path cut short names some other folder.
  if (length > kMaxPath) {
    return join({"The program's own folder cannot be found: its path is longer than ",
                 std::to_string(kMaxPath), " characters.\n\n", text::kNothingInstalled});
  }
  const std::string folder = programFolder(std::string_view(path, length), isLeadByte);
  if (!folder.empty() && !kernel.setCurrentDirectory(folder.c_str())) {
    const Dword code = kernel.getLastError();
    return withReason(
        join({"The program's folder ", quoted(folder), " cannot be made the current directory"}),
        code);
  }
  ui.disableWindowsGhosting();
  return {};
}

}  // namespace qlx
