#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/font_spec.h"
#include "platform/geometry.h"

namespace installer {

class CDialog;
class CWnd;

// Window styles used by the program's own child windows (values of WS_*/ES_*).
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsClipSiblings = 0x04000000;
constexpr std::uint32_t kWsClipChildren = 0x02000000;
constexpr std::uint32_t kEsAutoHScroll = 0x0080;

// One live window created for a CWnd. Destroying the backend destroys the window.
class WindowBackend {
 public:
  virtual ~WindowBackend() = default;
  virtual WindowRef Ref() const = 0;
  virtual void Show(bool show) = 0;
  virtual bool IsVisible() = 0;
  virtual bool IsEnabled() = 0;
  virtual void Enable(bool enable) = 0;
  virtual void Invalidate(bool erase) = 0;  // InvalidateRect(whole window, erase)
  virtual void Update() = 0;                // UpdateWindow
  virtual Rect ClientRect() = 0;
  virtual void SetText(const std::wstring& text) = 0;
  virtual std::wstring GetText() = 0;
  virtual void SetFont(const FontSpec& font, bool redraw) = 0;  // the font lives with the window
  virtual void SetModified(bool modified) = 0;                  // EM_SETMODIFY (edits)
  virtual bool IsModified() = 0;
};

// Creates windows and runs modal dialogs. The Win32 implementation is the real thing; the
// simulation keeps state for host tests and lets a test drive modal dialogs.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // DialogBoxParamW of the dialog's template; dispatches to the dialog's On* handlers. Returns
  // the EndDialog result (1 IDOK, 2 IDCANCEL).
  virtual std::intptr_t RunModal(CDialog& dialog, WindowRef owner) = 0;
  // A window of the program's own class (CS_DBLCLKS, arrow cursor, white stock brush) whose
  // painting, background erasing and destruction go to `window`. Null when creation fails.
  virtual std::unique_ptr<WindowBackend> CreateChild(CWnd& window, WindowRef parent,
                                                     const Rect& rect, std::uint32_t style) = 0;
  // A system edit control whose painting and erasing go to `window` first (CWnd::OnPaint
  // returning false lets the system paint).
  virtual std::unique_ptr<WindowBackend> CreateEdit(CWnd& window, WindowRef parent,
                                                    const Rect& rect, int id,
                                                    std::uint32_t style) = 0;
  virtual bool IsWindow(WindowRef window) = 0;
};

}  // namespace installer
