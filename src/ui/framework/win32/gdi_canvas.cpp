#include "ui/framework/win32/gdi_canvas.h"

#include <algorithm>

namespace installer::win32 {

HFONT CreateFontFromSpec(const FontSpec& font) {
  return CreateFontW(font.height, font.width, 0, 0, font.weight, font.italic ? TRUE : FALSE,
                     font.underline ? TRUE : FALSE, font.strikeOut ? TRUE : FALSE,
                     static_cast<DWORD>(font.charSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, font.face.c_str());
}

GdiCanvas::GdiCanvas(HWND window) : window_(window) {}

GdiCanvas::~GdiCanvas() {
  if (!paint_) return;
  // Put the DC's own objects back before the ones made for this paint are deleted.
  if (!savedFonts_.empty()) SelectObject(paint_->Get(), savedFonts_.front());
  if (!savedPens_.empty()) SelectObject(paint_->Get(), savedPens_.front());
  fonts_.clear();
  pens_.clear();
}

HDC GdiCanvas::Dc() {
  if (!paint_) paint_.emplace(window_);
  return paint_->Get();
}

Rect GdiCanvas::ClientRect() {
  RECT rect{};
  GetClientRect(window_, &rect);
  return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

void GdiCanvas::FillSolidRect(const Rect& rect, Color color) {
  HDC dc = Dc();
  const COLORREF previous = SetBkColor(dc, color);
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  SetBkColor(dc, previous);
}

int GdiCanvas::Select(HGDIOBJ object, int type, std::vector<HGDIOBJ>& saved) {
  HDC dc = Dc();
  HGDIOBJ previous = object ? SelectObject(dc, object) : nullptr;
  if (!previous || previous == HGDI_ERROR) previous = GetCurrentObject(dc, type);
  saved.push_back(previous);
  return static_cast<int>(saved.size()) - 1;
}

void GdiCanvas::Restore(int previous, const std::vector<HGDIOBJ>& saved) {
  if (previous < 0 || static_cast<std::size_t>(previous) >= saved.size()) return;
  SelectObject(Dc(), saved[previous]);
}

int GdiCanvas::SelectFont(const FontSpec& font) {
  fonts_.emplace_back(CreateFontFromSpec(font));
  return Select(fonts_.back().Get(), OBJ_FONT, savedFonts_);
}

void GdiCanvas::RestoreFont(int previous) {
  Restore(previous, savedFonts_);
}

int GdiCanvas::SelectPen(Color color, int width) {
  pens_.emplace_back(CreatePen(PS_SOLID, width, color));
  return Select(pens_.back().Get(), OBJ_PEN, savedPens_);
}

void GdiCanvas::RestorePen(int previous) {
  Restore(previous, savedPens_);
}

void GdiCanvas::MoveTo(int x, int y) {
  MoveToEx(Dc(), x, y, nullptr);
}

void GdiCanvas::LineTo(int x, int y) {
  ::LineTo(Dc(), x, y);
}

void GdiCanvas::SetBackgroundTransparent(bool transparent) {
  SetBkMode(Dc(), transparent ? TRANSPARENT : OPAQUE);
}

void GdiCanvas::SetTextColor(Color color) {
  ::SetTextColor(Dc(), color);
}

void GdiCanvas::TextOut(int x, int y, const std::wstring& text) {
  ::TextOutW(Dc(), x, y, text.c_str(), static_cast<int>(text.size()));
}

Size GdiCanvas::TextExtent(const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(Dc(), text.c_str(), static_cast<int>(text.size()), &size);
  return Size{size.cx, size.cy};
}

void GdiCanvas::CopyBitmap(HBITMAP bitmap, int x, int y, int cx, int cy) {
  HDC dc = Dc();
  MemoryDc memory(dc);
  if (!memory.Get()) return;
  ScopedSelect selected(memory.Get(), bitmap);
  BitBlt(dc, x, y, cx, cy, memory.Get(), 0, 0, SRCCOPY);
}

std::optional<Size> GdiCanvas::DrawResourceBitmap(int id, int x, int y) {
  GdiBitmap bitmap(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap.Get(), sizeof(info), &info) == 0) return std::nullopt;
  CopyBitmap(bitmap.Get(), x, y, info.bmWidth, info.bmHeight);
  return Size{info.bmWidth, info.bmHeight};
}

bool GdiCanvas::DrawFileBitmap(const std::wstring& path, const Size& source, int x, int y) {
  GdiBitmap bitmap(
      static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                      LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap.Get(), sizeof(info), &info) == 0) return false;
  const int cx = std::clamp(source.cx, 0, static_cast<int>(info.bmWidth));
  const int cy = std::clamp(source.cy, 0, std::abs(static_cast<int>(info.bmHeight)));
  CopyBitmap(bitmap.Get(), x, y, cx, cy);
  return true;
}

}  // namespace installer::win32
