#include "core/Layout.h"

namespace uidriver {

WindowKind classifyWindow(std::string_view className, std::string_view caption) {
  if (caption == kProgressCaption) return WindowKind::Progress;
  if (className != kDialogClass) return WindowKind::Other;
  if (caption == kOsCaption) return WindowKind::OsDialog;
  if (caption == kPortCaption) return WindowKind::PortDialog;
  return WindowKind::MessageBox;
}

std::string_view kindName(WindowKind kind) {
  switch (kind) {
    case WindowKind::Progress:
      return "progress";
    case WindowKind::OsDialog:
      return "os";
    case WindowKind::PortDialog:
      return "port";
    case WindowKind::MessageBox:
      return "box";
    case WindowKind::Other:
      break;
  }
  return "other";
}

std::span<const int> radioIds(WindowKind kind) {
  if (kind == WindowKind::OsDialog) return kOsRadioIds;
  if (kind == WindowKind::PortDialog) return kPortRadioIds;
  return {};
}

int radioIndex(std::span<const int> ids, int id) {
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == id) return static_cast<int>(i);
  return -1;
}

}  // namespace uidriver
