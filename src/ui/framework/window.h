#pragma once

#include <memory>
#include <string>

#include "platform/canvas.h"
#include "ui/framework/window_system.h"

namespace installer {

// A window of the program. It is created through the WindowSystem and owns its backend; its
// virtual handlers receive the window's messages.
class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd() = default;

  bool IsCreated() const { return backend_ != nullptr; }
  WindowRef Ref() const { return backend_ ? backend_->Ref() : 0; }
  WindowBackend* Backend() const { return backend_.get(); }

  void ShowWindow(bool show) {
    if (backend_) backend_->Show(show);
  }
  void Invalidate(bool erase = false) {
    if (backend_) backend_->Invalidate(erase);
  }
  void UpdateWindow() {
    if (backend_) backend_->Update();
  }
  Rect ClientRect() const { return backend_ ? backend_->ClientRect() : Rect{}; }
  bool IsWindowEnabled() const { return backend_ && backend_->IsEnabled(); }

  // WM_PAINT. Return false to let the system paint (for system controls).
  virtual bool OnPaint(Canvas& canvas) {
    (void)canvas;
    return false;
  }
  // WM_ERASEBKGND. Return true when the background counts as erased without default erasing.
  virtual bool OnEraseBackground() { return false; }
  // WM_DESTROY, before the window goes away.
  virtual void OnDestroy() {}

 protected:
  void Attach(std::unique_ptr<WindowBackend> backend) { backend_ = std::move(backend); }
  void Detach() { backend_.reset(); }

 private:
  std::unique_ptr<WindowBackend> backend_;
};

}  // namespace installer
