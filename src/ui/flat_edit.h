#pragma once

#include <string>

#include "platform/font_spec.h"
#include "platform/geometry.h"
#include "ui/framework/window.h"
#include "ui/framework/window_system.h"

namespace installer {

constexpr int kFlatEditInnerId = 1001;
constexpr Color kFlatEditOutline = Rgb(127, 157, 187);
constexpr Color kFlatEditOutlineDisabled = Rgb(192, 192, 192);
constexpr Color kMyEditDisabledText = Rgb(192, 192, 192);

// Arial 14, weight 400: the font of the folder box, and of its text when disabled.
FontSpec FlatEditFont();

// The single-line edit inside the flat folder box. Enabled, the system paints it; disabled, it
// shows its text in light grey at its top-left corner. It never erases its background.
class CMyEdit : public CWnd {
 public:
  bool OnEraseBackground() override { return true; }
  bool OnPaint(Canvas& canvas) override;

  void Create(WindowSystem& windows, WindowRef parent, const Rect& rect);
};

// A flat box with a one-pixel outline that hosts a CMyEdit. Created hidden; shown and hidden
// with ShowWindow.
class CFlatEdit : public CWnd {
 public:
  // `rect` in the parent's client coordinates. If the box cannot be created, nothing else is.
  void CreateFlatEdit(WindowSystem& windows, const Rect& rect, WindowRef parent);
  // Replaces the text and marks the edit as modified.
  void SetText(const std::wstring& text);
  // The current text; empty when the box was not created.
  std::wstring GetText() const;
  bool IsModified() const;

  CMyEdit& InnerEdit() { return innerEdit; }
  bool OnPaint(Canvas& canvas) override;

 private:
  FontSpec editFont;
  CMyEdit innerEdit;
};

}  // namespace installer
