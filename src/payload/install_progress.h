#pragma once

#include <string>

namespace installer {

// How unpacking keeps the installing page alive. The wizard implements it: on Windows the
// position goes to the progress bar (control 1004) with a synchronous PBM_SETPOS when the bar is
// a live window, and the status text is handed to the wizard window, which is repainted at once.
class InstallProgress {
 public:
  virtual ~InstallProgress() = default;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetStatusText(const std::wstring& text) = 0;
};

}  // namespace installer
