#pragma once

#include "ui/framework/window_system.h"

namespace installer::win32 {

// Modal dialogs from the program's dialog templates and the program's own child windows, over
// user32. One dialog procedure and one window procedure dispatch to the framework's handlers;
// no exception leaves them.
class Win32WindowSystem : public WindowSystem {
 public:
  Win32WindowSystem();

  std::intptr_t RunModal(CDialog& dialog, WindowRef owner) override;
  std::unique_ptr<WindowBackend> CreateChild(CWnd& window, WindowRef parent, const Rect& rect,
                                             std::uint32_t style) override;
  std::unique_ptr<WindowBackend> CreateEdit(CWnd& window, WindowRef parent, const Rect& rect,
                                            int id, std::uint32_t style) override;
  bool IsWindow(WindowRef window) override;
};

}  // namespace installer::win32
