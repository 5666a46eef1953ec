#pragma once

#include <cstdint>
#include <optional>

#include "platform/canvas.h"
#include "platform/dialog_controls.h"
#include "ui/framework/window_system.h"

namespace installer {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kCbnSelChange = 1;  // notification code of a combo box selection change
constexpr int kBnClicked = 0;

// A modal dialog from a dialog template. While it runs, Controls() reaches its controls. The
// window system calls the On* handlers; the defaults behave as the usual dialog framework.
class CDialog {
 public:
  CDialog(WindowSystem& windows, int templateId) : windows_(windows), templateId_(templateId) {}
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;
  virtual ~CDialog() = default;

  int TemplateId() const { return templateId_; }
  std::intptr_t DoModal(WindowRef owner = 0) { return windows_.RunModal(*this, owner); }

  // WM_INITDIALOG. Return true to let the system set the focus.
  virtual bool OnInitDialog() { return true; }
  // WM_COMMAND. The default sends IDOK to OnOK and IDCANCEL (Esc, the close box) to OnCancel.
  virtual void OnCommand(int id, int notification) {
    (void)notification;
    if (id == kIdOk) OnOK();
    if (id == kIdCancel) OnCancel();
  }
  virtual void OnOK() { EndDialog(kIdOk); }
  virtual void OnCancel() { EndDialog(kIdCancel); }
  // WM_PAINT of the dialog. Return false to leave it to the default handling.
  virtual bool OnPaint(Canvas& canvas) {
    (void)canvas;
    return false;
  }
  // WM_DESTROY.
  virtual void OnDestroy() {}
  // WM_CTLCOLORSTATIC: the background of a static, check box or group box of the dialog;
  // nullopt keeps the system's colour.
  virtual std::optional<Color> ControlBackground(int id) {
    (void)id;
    return std::nullopt;
  }

  void EndDialog(int result) {
    if (controls_) controls_->EndDialog(result);
  }

  // Bound by the window system while the dialog window exists.
  void BindControls(DialogControls* controls) { controls_ = controls; }
  DialogControls& Controls() { return *controls_; }
  bool HasWindow() const { return controls_ != nullptr; }
  WindowSystem& Windows() { return windows_; }

 private:
  WindowSystem& windows_;
  int templateId_;
  DialogControls* controls_ = nullptr;
};

}  // namespace installer
