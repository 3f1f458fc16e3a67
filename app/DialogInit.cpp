#include "app/DialogInit.h"

#include "app/DialogFramework.h"

namespace qlx {

namespace {

constexpr unsigned kWin16LbAddString = 0x0401;
constexpr unsigned kWin16CbAddString = 0x0403;

unsigned translateMessage(unsigned message) {
  switch (message) {
    case kWin16LbAddString:
      return kLbAddString;
    case kWin16CbAddString:
      return kCbAddString;
    default:
      return message;
  }
}

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool word(std::uint32_t& value) { return little(2, value); }
  bool dword(std::uint32_t& value) { return little(4, value); }
  bool take(std::size_t count, std::string& out) {
    if (bytes_.size() - offset_ < count) return false;
    out.assign(reinterpret_cast<const char*>(bytes_.data() + offset_), count);
    offset_ += count;
    return true;
  }

 private:
  bool little(std::size_t count, std::uint32_t& value) {
    if (bytes_.size() - offset_ < count) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      value |= static_cast<std::uint32_t>(bytes_[offset_ + i]) << (8 * i);
    }
    offset_ += count;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
};

}  // namespace

std::optional<std::vector<DialogInitEntry>> parseDialogInit(std::span<const std::uint8_t> bytes) {
  Reader reader(bytes);
  std::vector<DialogInitEntry> entries;
  for (;;) {
    std::uint32_t id = 0;
    if (!reader.word(id)) return std::nullopt;
    if (id == 0) return entries;
    std::uint32_t message = 0;
    std::uint32_t length = 0;
    DialogInitEntry entry;
    if (!reader.word(message) || !reader.dword(length) || !reader.take(length, entry.data)) {
      return std::nullopt;
    }
    entry.controlId = static_cast<int>(id);
    entry.message = translateMessage(message);
    entries.push_back(std::move(entry));
  }
}

bool applyDialogInit(const std::vector<DialogInitEntry>& entries, DialogControls& controls) {
  for (const DialogInitEntry& entry : entries) {
    ControlRef control = controls.control(entry.controlId);
    if (control == 0) return false;
    // c_str() guarantees a terminating NUL even if the stored string lacks one.
    std::intptr_t result = controls.sendMessage(
        control, entry.message, 0, reinterpret_cast<std::intptr_t>(entry.data.c_str()));
    bool addsString = entry.message == kCbAddString || entry.message == kLbAddString;
    if (addsString && (result == kCbErr || result == kCbErrSpace)) return false;
  }
  return true;
}

}  // namespace qlx
