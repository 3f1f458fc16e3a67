// What the driver knows of the installer's windows: captions, control ids and
// the order of the radio buttons in the dialog templates.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace uidriver {

enum class WindowKind { Progress, OsDialog, PortDialog, MessageBox, Other };

inline constexpr std::string_view kProgressCaption = "DALVERA QLX-957 Installation Progress";
inline constexpr std::string_view kOsCaption = "Select OS Type";
inline constexpr std::string_view kPortCaption = "Select Port Type";
inline constexpr std::string_view kRestartCaption = "DALVERA QLX-957 installer";
inline constexpr std::string_view kDialogClass = "#32770";

inline constexpr int kStatusId = 1003;       // progress window: status line
inline constexpr int kProgressBarId = 1000;  // progress window: bar
inline constexpr int kComboId = 1000;        // port dialog: overwrite policy
inline constexpr int kNextId = 1;            // both option dialogs: "&Next" (IDOK)
inline constexpr int kBoxTextId = 0xFFFF;    // message box: the static holding the text

// Radio ids in template order: the position in the array is the index that
// the install flow reads.
inline constexpr std::array<int, 8> kOsRadioIds = {1000, 1001, 1005, 1002, 1004, 1003, 1006, 1007};
inline constexpr std::array<int, 6> kPortRadioIds = {1006, 1008, 1009, 1011, 1007, 1010};
inline constexpr int kOverwriteItems = 4;

WindowKind classifyWindow(std::string_view className, std::string_view caption);
std::string_view kindName(WindowKind kind);
// The radio ids of an option dialog, empty for any other kind.
std::span<const int> radioIds(WindowKind kind);
// The index of `id` among `ids`, -1 when it is not one of them.
int radioIndex(std::span<const int> ids, int id);

}  // namespace uidriver
