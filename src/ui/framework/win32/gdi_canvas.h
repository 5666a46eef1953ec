#pragma once

#include <windows.h>
// The seam's operation keeps its plain name (see the seam header).
#undef TextOut

#include <optional>
#include <vector>

#include "platform/canvas.h"
#include "ui/framework/win32/gdi_handles.h"

namespace installer::win32 {

// The Canvas of one WM_PAINT. The paint DC is begun on the first drawing call, so a handler
// that declines to paint without drawing leaves the update region to the default painting.
// Fonts and pens are created here and deleted when the paint ends, after the DC's own objects
// have been selected back.
class GdiCanvas : public Canvas {
 public:
  explicit GdiCanvas(HWND window);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override;

  bool Begun() const { return paint_.has_value(); }

  Rect ClientRect() override;
  void FillSolidRect(const Rect& rect, Color color) override;
  int SelectFont(const FontSpec& font) override;
  void RestoreFont(int previous) override;
  int SelectPen(Color color, int width) override;
  void RestorePen(int previous) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetBackgroundTransparent(bool transparent) override;
  void SetTextColor(Color color) override;
  void TextOut(int x, int y, const std::wstring& text) override;
  Size TextExtent(const std::wstring& text) override;
  std::optional<Size> DrawResourceBitmap(int id, int x, int y) override;
  bool DrawFileBitmap(const std::wstring& path, const Size& source, int x, int y) override;

 private:
  HDC Dc();
  int Select(HGDIOBJ object, int type, std::vector<HGDIOBJ>& saved);
  void Restore(int previous, const std::vector<HGDIOBJ>& saved);
  void CopyBitmap(HBITMAP bitmap, int x, int y, int cx, int cy);

  HWND window_;
  std::optional<PaintDc> paint_;  // destroyed last: EndPaint after the objects are released
  std::vector<GdiFont> fonts_;
  std::vector<GdiPen> pens_;
  std::vector<HGDIOBJ> savedFonts_;  // what each SelectFont replaced; [0] is the DC's own
  std::vector<HGDIOBJ> savedPens_;
};

// A font as CreateFontW makes it from a FontSpec (everything it does not name 0 or default).
HFONT CreateFontFromSpec(const FontSpec& font);

}  // namespace installer::win32
