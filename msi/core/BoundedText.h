#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qlx::msi {

// Text in a fixed array: the custom-action DLL has no heap of its own.
// What does not fit is refused whole, never cut, and the text stays
// NUL-terminated.
template <std::size_t Capacity>
class BoundedText {
 public:
  bool append(std::string_view more) {
    if (more.size() > Capacity - 1 - length_) {
      overflowed_ = true;
      return false;
    }
    for (char c : more) text_[length_++] = c;
    text_[length_] = '\0';
    return true;
  }

  bool appendNumber(std::uint32_t number) {
    char digits[10];
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0);
    char reversed[10];
    for (std::size_t i = 0; i < count; ++i) reversed[i] = digits[count - 1 - i];
    return append(std::string_view(reversed, count));
  }

  void clear() {
    length_ = 0;
    text_[0] = '\0';
    overflowed_ = false;
  }

  // False once anything was refused: the caller reports it instead of using
  // a text that lacks a part.
  bool complete() const { return !overflowed_; }
  const char* c_str() const { return text_; }
  char* data() { return text_; }
  std::string_view view() const { return std::string_view(text_, length_); }
  static constexpr std::size_t capacity() { return Capacity; }

 private:
  char text_[Capacity] = {};
  std::size_t length_ = 0;
  bool overflowed_ = false;
};

}  // namespace qlx::msi
