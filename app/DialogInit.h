#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qlx {

class DialogControls;

// The resource type of a dialog-initialisation record; it carries the same
// name as its dialog template.
inline constexpr unsigned kDialogInitResourceType = 240;

// One entry of the record: a message with its data for one control.
struct DialogInitEntry {
  int controlId = 0;
  unsigned message = 0;  // already translated to the Win32 message
  std::string data;      // the bytes as stored (a string keeps its NUL)

  bool operator==(const DialogInitEntry&) const = default;
};

// Reads a record: entries of WORD control id, WORD message, DWORD length and
// the data, little-endian, until a WORD 0. The 16-bit list and combo "add
// string" codes that such records carry become the Win32 messages. Nothing
// when the record is cut short.
std::optional<std::vector<DialogInitEntry>> parseDialogInit(std::span<const std::uint8_t> bytes);

// Sends every entry to its control, the data as the message's lParam. False
// when a control is missing or an "add string" is refused.
bool applyDialogInit(const std::vector<DialogInitEntry>& entries, DialogControls& controls);

}  // namespace qlx
