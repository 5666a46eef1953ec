#pragma once

#include <optional>
#include <string>

#include "platform/font_spec.h"
#include "platform/geometry.h"

// <windows.h> makes TextOut a macro; this seam's operation keeps the plain name.
#undef TextOut

namespace installer {

// A device context being painted (the window's paint DC). Fonts and pens selected through it
// are created for this paint and released when the paint ends; Restore* puts back what was
// selected before the matching Select* call.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual Rect ClientRect() = 0;
  virtual void FillSolidRect(const Rect& rect, Color color) = 0;
  // Returns a token of the previously selected font/pen.
  virtual int SelectFont(const FontSpec& font) = 0;
  virtual void RestoreFont(int previous) = 0;
  virtual int SelectPen(Color color, int width) = 0;  // solid pen
  virtual void RestorePen(int previous) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;  // end point excluded, as GDI
  virtual void SetBackgroundTransparent(bool transparent) = 0;
  virtual void SetTextColor(Color color) = 0;
  virtual void TextOut(int x, int y, const std::wstring& text) = 0;
  // GetTextExtentPoint32W with the selected font.
  virtual Size TextExtent(const std::wstring& text) = 0;
  // LoadBitmapW from the program's resources, copied (SRCCOPY) at (x, y) in its own size.
  // Returns its size, nullopt when it cannot be loaded.
  virtual std::optional<Size> DrawResourceBitmap(int id, int x, int y) = 0;
  // LoadImageW(LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION); copies the top-left
  // `source` part (clipped to the bitmap) to (x, y). False when the file is not a loadable bitmap.
  virtual bool DrawFileBitmap(const std::wstring& path, const Size& source, int x, int y) = 0;
};

}  // namespace installer
