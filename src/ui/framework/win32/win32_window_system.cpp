#include "ui/framework/win32/win32_window_system.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <atomic>
#include <map>
#include <memory>
#include <optional>

#include "resources/resource.h"
#include "ui/framework/dialog.h"
#include "ui/framework/win32/gdi_canvas.h"
#include "ui/framework/win32/gdi_handles.h"
#include "ui/framework/win32/win32_dialog_controls.h"
#include "ui/framework/window.h"

namespace installer::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"InstallerWindow";
constexpr UINT_PTR kEditSubclassId = 1;

HINSTANCE Module() {
  return GetModuleHandleW(nullptr);
}

HWND AsHwnd(WindowRef window) {
  return reinterpret_cast<HWND>(window);
}

// One live window of a CWnd. The window procedure reaches the CWnd through it; WM_NCDESTROY
// tells it the window is gone (destroyed with its parent), so it never destroys a stranger.
class Win32WindowBackend : public WindowBackend {
 public:
  explicit Win32WindowBackend(CWnd& window) : window_(window) {}
  ~Win32WindowBackend() override {
    if (HWND hwnd = hwnd_.load()) DestroyWindow(hwnd);
  }

  CWnd& Window() { return window_; }
  void Attach(HWND hwnd) { hwnd_.store(hwnd); }
  void Gone() { hwnd_.store(nullptr); }

  WindowRef Ref() const override { return reinterpret_cast<WindowRef>(hwnd_.load()); }
  void Show(bool show) override {
    if (HWND hwnd = hwnd_.load()) ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
  }
  bool IsVisible() override {
    HWND hwnd = hwnd_.load();  // the window's own visibility, whatever its parent's
    return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  bool IsEnabled() override {
    HWND hwnd = hwnd_.load();
    return hwnd && IsWindowEnabled(hwnd);
  }
  void Enable(bool enable) override {
    if (HWND hwnd = hwnd_.load()) EnableWindow(hwnd, enable ? TRUE : FALSE);
  }
  void Invalidate(bool erase) override {
    if (HWND hwnd = hwnd_.load()) InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE);
  }
  void Update() override {
    if (HWND hwnd = hwnd_.load()) UpdateWindow(hwnd);
  }
  Rect ClientRect() override {
    RECT rect{};
    if (HWND hwnd = hwnd_.load()) GetClientRect(hwnd, &rect);
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
  }
  void SetText(const std::wstring& text) override {
    if (HWND hwnd = hwnd_.load()) SetWindowTextW(hwnd, text.c_str());
  }
  std::wstring GetText() override { return WindowText(hwnd_.load()); }
  void SetFont(const FontSpec& font, bool redraw) override {
    HWND hwnd = hwnd_.load();
    if (!hwnd) return;
    GdiFont created(CreateFontFromSpec(font));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(created.Get()), redraw ? TRUE : FALSE);
    font_ = std::move(created);  // the previous font is deleted once the window no longer uses it
  }
  void SetModified(bool modified) override {
    if (HWND hwnd = hwnd_.load()) SendMessageW(hwnd, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  }
  bool IsModified() override {
    HWND hwnd = hwnd_.load();
    return hwnd && SendMessageW(hwnd, EM_GETMODIFY, 0, 0) != 0;
  }

 private:
  CWnd& window_;
  std::atomic<HWND> hwnd_{nullptr};
  GdiFont font_;  // declared after hwnd_: deleted after the window is destroyed
};

// WM_PAINT and WM_ERASEBKGND offered to a CWnd: the message's result when the window handled
// it. A window that declines to paint without drawing leaves the update region untouched for
// the default painting.
std::optional<LRESULT> OfferToWindow(HWND hwnd, UINT message, CWnd& window) {
  if (message == WM_PAINT) {
    GdiCanvas canvas(hwnd);
    if (window.OnPaint(canvas) || canvas.Begun()) return 0;
  }
  if (message == WM_ERASEBKGND && window.OnEraseBackground()) return 1;
  return std::nullopt;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      auto* backend = static_cast<Win32WindowBackend*>(create->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(backend));
      if (backend) backend->Attach(hwnd);
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    auto* backend = reinterpret_cast<Win32WindowBackend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!backend) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (auto handled = OfferToWindow(hwnd, message, backend->Window())) return *handled;
    switch (message) {
      case WM_DESTROY:
        backend->Window().OnDestroy();
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        backend->Gone();
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                          DWORD_PTR data) {
  auto* backend = reinterpret_cast<Win32WindowBackend*>(data);
  try {
    if (auto handled = OfferToWindow(hwnd, message, backend->Window())) return *handled;
    switch (message) {
      case WM_DESTROY:
        backend->Window().OnDestroy();
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditProc, kEditSubclassId);
        backend->Gone();
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool RegisterWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = Module();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// What the dialog procedure keeps for one modal run.
struct ModalSession {
  CDialog& dialog;
  std::unique_ptr<Win32DialogControls> controls;
  std::map<Color, GdiBrush> brushes;  // control backgrounds, released with the session
};

INT_PTR ControlColour(ModalSession& session, HDC dc, HWND control) {
  const std::optional<Color> colour = session.dialog.ControlBackground(GetDlgCtrlID(control));
  if (!colour) return FALSE;
  auto brush = session.brushes.find(*colour);
  if (brush == session.brushes.end()) {
    brush = session.brushes.emplace(*colour, GdiBrush(CreateSolidBrush(*colour))).first;
  }
  SetBkColor(dc, *colour);
  return reinterpret_cast<INT_PTR>(brush->second.Get());
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    if (message == WM_INITDIALOG) {
      auto* session = reinterpret_cast<ModalSession*>(lparam);
      SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(session));
      session->controls = std::make_unique<Win32DialogControls>(hwnd);
      session->dialog.BindControls(session->controls.get());
      return session->dialog.OnInitDialog() ? TRUE : FALSE;
    }
    auto* session = reinterpret_cast<ModalSession*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!session) return FALSE;
    CDialog& dialog = session->dialog;
    switch (message) {
      case WM_COMMAND:
        dialog.OnCommand(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
      case WM_CLOSE:
        dialog.OnCommand(kIdCancel, 0);
        return TRUE;
      case WM_PAINT: {
        GdiCanvas canvas(hwnd);
        return (dialog.OnPaint(canvas) || canvas.Begun()) ? TRUE : FALSE;
      }
      case WM_CTLCOLORSTATIC:
        return ControlColour(*session, reinterpret_cast<HDC>(wparam),
                             reinterpret_cast<HWND>(lparam));
      case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(LoadIconW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
      case WM_DESTROY:
        dialog.OnDestroy();
        return TRUE;
      case WM_NCDESTROY:
        // The controls stay bound until the modal run returns: a thread still holding them
        // meets a dead window (calls that fail), not freed memory.
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
      default:
        return FALSE;
    }
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC =
        ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
    return RegisterWindowClass();
  }();
  (void)initialised;
}

std::intptr_t Win32WindowSystem::RunModal(CDialog& dialog, WindowRef owner) {
  ModalSession session{dialog, nullptr, {}};
  const INT_PTR result =
      DialogBoxParamW(Module(), MAKEINTRESOURCEW(dialog.TemplateId()), AsHwnd(owner), DialogProc,
                      reinterpret_cast<LPARAM>(&session));
  dialog.BindControls(nullptr);
  session.controls.reset();  // the dialog's fonts go with its controls, after its window
  // A dialog that could not be created counts as cancelled.
  return (result == -1 || result == 0) ? kIdCancel : result;
}

std::unique_ptr<WindowBackend> Win32WindowSystem::CreateChild(CWnd& window, WindowRef parent,
                                                              const Rect& rect,
                                                              std::uint32_t style) {
  auto backend = std::make_unique<Win32WindowBackend>(window);
  HWND hwnd = CreateWindowExW(0, kWindowClass, L"", style, rect.left, rect.top, rect.Width(),
                              rect.Height(), AsHwnd(parent), nullptr, Module(), backend.get());
  if (!hwnd) return nullptr;
  return backend;
}

std::unique_ptr<WindowBackend> Win32WindowSystem::CreateEdit(CWnd& window, WindowRef parent,
                                                             const Rect& rect, int id,
                                                             std::uint32_t style) {
  auto backend = std::make_unique<Win32WindowBackend>(window);
  HWND hwnd = CreateWindowExW(0, L"EDIT", L"", style | WS_CHILD, rect.left, rect.top, rect.Width(),
                              rect.Height(), AsHwnd(parent),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Module(), nullptr);
  if (!hwnd) return nullptr;
  backend->Attach(hwnd);
  // Should subclassing fail, a plain system edit still holds the text.
  SetWindowSubclass(hwnd, EditProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(backend.get()));
  return backend;
}

bool Win32WindowSystem::IsWindow(WindowRef window) {
  return window != 0 && ::IsWindow(AsHwnd(window));
}

}  // namespace installer::win32
