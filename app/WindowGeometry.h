#pragma once

#include <optional>

namespace qlx {

// Screen rectangles and points in pixels, as the window system gives them.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// Where a window's top-left corner goes when it is centred over its owner, or
// over the work area when it has no usable owner (none, hidden or minimised),
// then pulled back into the work area; when it is larger than the work area
// its top-left corner stays visible.
Point centredPosition(const Rect& window, const std::optional<Rect>& owner, const Rect& workArea);

// Where a minimised window draws its icon: centred in its client area, the
// halves rounded up and truncated toward zero.
Point minimisedIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

}  // namespace qlx
