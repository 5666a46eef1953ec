#pragma once

#include <cstdint>

namespace installer {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size& a, const Size& b) { return a.cx == b.cx && a.cy == b.cy; }
};

// Left, top, right, bottom, as Win32 RECT.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// 0x00BBGGRR, as COLORREF.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// An opaque window identity: the HWND value on Windows, a simulated id on the host. 0 is none.
using WindowRef = std::uintptr_t;

}  // namespace installer
