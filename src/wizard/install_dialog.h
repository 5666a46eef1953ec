#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/install_settings.h"
#include "engine/install_worker.h"
#include "payload/payload_image.h"
#include "platform/font_spec.h"
#include "platform/platform.h"
#include "startup/app_state.h"
#include "ui/framework/dialog.h"
#include "ui/wizard_window.h"
#include "wizard/port_selection.h"
#include "wizard/printer_model.h"
#include "wizard/wizard_worker_ui.h"

namespace installer {

// The wizard dialog (template 102): the program's only main window. It leads through the
// welcome, folder and settings pages, collects the installation settings, starts the
// installation worker and shows the completion or failure page. Its child CWizardWnd paints the
// pages; this dialog owns the buttons, the settings controls and the progress bar.
class CInstallDlg : public CDialog {
 public:
  CInstallDlg(Platform& platform, AppState& app, const PayloadImage& payload);
  ~CInstallDlg() override;

  bool OnInitDialog() override;
  void OnCommand(int id, int notification) override;
  // Enter, Esc and the close box end the wizard, except while the installation runs.
  void OnOK() override;
  void OnCancel() override;
  bool OnPaint(Canvas& canvas) override;
  // The settings page's labels, check box and frame lie on the page colour, not on grey.
  std::optional<Color> ControlBackground(int id) override;
  void OnDestroy() override;

  void OnNext();
  void OnBack();
  void OnBrowse();
  void OnCancelButton();
  void OnModelSelChange();
  void OnPortSelChange();

  // What the wizard decided and holds, for the start-up code and tests.
  CWizardWnd& WizardWindow() { return wizard_; }
  int Page() const { return wizard_.page.load(); }
  const InstallSettings& Settings() const { return settings_; }
  std::int32_t SelectedModel() const { return selectedModel_; }
  const ModelTable& Models() const { return *models_; }
  const TcpPortList& TcpPorts() const { return tcpPorts_; }
  InstallationRun& Installation() { return installation_; }
  const FontSpec& ChineseFont() const { return chineseFont_; }
  const FontSpec& RussianFont() const { return russianFont_; }

 private:
  int Language() const { return app_.languageIndex; }
  std::wstring Russian(const wchar_t* key, const wchar_t* fallback);
  void SetCaptions();
  void ShowSettingsPage(bool show);
  void EnterPage(int page);
  void ShowFolderMessage(bool empty);
  void ShowPrinterNameMessage(bool empty);
  std::wstring InstallFolderFor(const std::wstring& queueName);
  bool CheckFolderPage();
  bool CheckSettingsPage();
  void StartInstallation();
  // True while the worker still uses the dialog: the wizard must not end then.
  bool InstallationBusy();

  Platform& platform_;
  AppState& app_;
  const PayloadImage& payload_;
  CWizardWnd wizard_;
  FontSpec chineseFont_;
  FontSpec russianFont_;
  std::unique_ptr<ModelTable> models_;
  std::int32_t selectedModel_ = 0;
  TcpPortList tcpPorts_;
  InstallSettings settings_;
  WizardWorkerUi workerUi_;
  InstallationRun installation_;
};

}  // namespace installer
