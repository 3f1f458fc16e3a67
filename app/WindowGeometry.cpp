#include "app/WindowGeometry.h"

namespace qlx {

namespace {

int centredStart(int areaStart, int areaEnd, int size, int limitStart, int limitEnd) {
  int start = (areaStart + areaEnd) / 2 - size / 2;
  if (start + size > limitEnd) start = limitEnd - size;
  if (start < limitStart) start = limitStart;
  return start;
}

}  // namespace

Point centredPosition(const Rect& window, const std::optional<Rect>& owner, const Rect& workArea) {
  const Rect& over = owner ? *owner : workArea;
  return {centredStart(over.left, over.right, window.width(), workArea.left, workArea.right),
          centredStart(over.top, over.bottom, window.height(), workArea.top, workArea.bottom)};
}

Point minimisedIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

}  // namespace qlx
