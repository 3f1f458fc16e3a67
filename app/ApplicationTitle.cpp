#include "app/ApplicationTitle.h"

#include "platform/UserInterface.h"

namespace qlx {

namespace {

constexpr unsigned kMbTypeMask = 0x0F;
constexpr unsigned kMbIconMask = 0xF0;

}  // namespace

std::string applicationTitle(std::string_view modulePath, LeadBytePredicate isLeadByte) {
  std::size_t nameStart = 0;
  std::size_t extension = std::string_view::npos;
  for (std::size_t i = 0; i < modulePath.size(); ++i) {
    char c = modulePath[i];
    if (isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(c)) &&
        i + 1 < modulePath.size()) {
      ++i;  // the trail byte belongs to this character
      continue;
    }
    if (c == '\\' || c == '/' || c == ':') {
      nameStart = i + 1;
      extension = std::string_view::npos;
    } else if (c == '.') {
      extension = i;
    }
  }
  std::size_t end = extension == std::string_view::npos ? modulePath.size() : extension;
  return std::string(modulePath.substr(nameStart, end - nameStart));
}

unsigned applicationMessageBoxType(unsigned type) {
  if ((type & kMbIconMask) == 0 && (type & kMbTypeMask) == kMbOk) type |= kMbIconWarning;
  return type;
}

}  // namespace qlx
