#pragma once

#include <string>

#include "engine/engine_context.h"
#include "engine/install_worker.h"
#include "payload/install_progress.h"
#include "platform/platform.h"
#include "startup/app_state.h"
#include "ui/framework/dialog.h"
#include "ui/wizard_window.h"

namespace installer {

// How the installation worker reaches the wizard: the dialog's controls (window messages that
// the user-interface thread answers), the wizard window's page and status text (handed over
// safely) and its repaints, the progress bar, and the port list dialog of a port fallback.
class WizardWorkerUi : public WorkerUi, private PortPicker {
 public:
  WizardWorkerUi(CDialog& dialog, CWizardWnd& wizard, Platform& platform, const AppState& app)
      : dialog_(dialog), wizard_(wizard), platform_(platform), app_(app), progress_(*this) {}

  DialogControls& Controls() override { return dialog_.Controls(); }
  InstallProgress& Progress() override { return progress_; }
  PortPicker& PortFallback() override { return *this; }
  void SetStatusText(const std::wstring& text) override { wizard_.statusText.Set(text); }
  void SetPage(int page) override { wizard_.page.store(page); }
  void InvalidateWizard() override { wizard_.Invalidate(false); }
  void UpdateWizard() override { wizard_.UpdateWindow(); }

 private:
  // Unpacking: the bar moves at once, and each new status line is painted at once.
  class ProgressSink final : public InstallProgress {
   public:
    explicit ProgressSink(WizardWorkerUi& ui) : ui_(ui) {}
    void SetProgressPosition(int position) override;
    void SetStatusText(const std::wstring& text) override { ui_.wizard_.SetStatusText(text); }

   private:
    WizardWorkerUi& ui_;
  };

  // The port list dialog, modal without an owner, in the wizard's language.
  std::optional<std::wstring> PickPort() override;

  CDialog& dialog_;
  CWizardWnd& wizard_;
  Platform& platform_;
  const AppState& app_;
  ProgressSink progress_;
};

}  // namespace installer
