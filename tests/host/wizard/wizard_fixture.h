#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_dialog_controls.h"
#include "resources/resource.h"
#include "wizard/install_dialog.h"
#include "worker/worker_fixture.h"

namespace installer::testing {

constexpr wchar_t kDocuments[] = L"C:\\Users\\me\\Documents";
constexpr wchar_t kProposedFolder[] = L"C:\\Program Files\\USB Printer";

// UTF-16LE bytes of `text`, as the model table and the texts are stored.
inline std::vector<std::uint8_t> Utf16(const std::wstring& text) {
  std::vector<std::uint8_t> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
  }
  return bytes;
}

// The wizard dialog on a simulated 32-bit machine with two models in PrinterName.txt.
class WizardTest : public ::testing::Test {
 protected:
  using Script = std::function<void(CInstallDlg&, sim::SimDialogControls&)>;

  WizardTest() : machine(false), image(Image(Container(InstallerEntries()))) {
    machine.files.MakeDirectories(kDocuments);
    machine.files.Put(std::wstring(kDocuments) + L"\\PrinterName.txt",
                      Utf16(L"\xFEFF// name,cutter,commandSet,gpdFile,usbId,resolution,"
                            L"hardwareId,paperWidth,paperHeight,displayName\r\n"
                            L"LP-300,0,TSC,TSC.GPD,vid_1234&pid_0001,300,LP300,400,300,"
                            L"LP-300 Label\r\n"
                            L"LP-203,0,TSC,TSC.GPD,vid_1234&pid_0002,203,LP203,600,400,"
                            L"LP-203 Label"));
    app.productNames.monitorName = L"Label Monitor";
    app.productNames.portName = L"USB";
  }

  // Runs the wizard with `script` in its modal loop; returns the dialog's result.
  std::intptr_t Run(Script script) {
    machine.windows.OnModal(IDD_INSTALL_DIALOG,
                            [this, script](CDialog& d, sim::SimDialogControls& c) {
                              script(static_cast<CInstallDlg&>(d), c);
                            });
    return dialog.DoModal();
  }

  static void Press(CInstallDlg& d, int id) { d.OnCommand(id, kBnClicked); }
  static void Choose(CInstallDlg& d, sim::SimDialogControls& c, int list,
                     const std::wstring& entry) {
    const std::vector<std::wstring> items = c.Control(list).comboItems;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == entry) c.ComboSetSelection(list, static_cast<int>(i));
    }
    ASSERT_EQ(c.GetText(list), entry);
    d.OnCommand(list, kCbnSelChange);
  }
  static bool FolderBoxVisible(CInstallDlg& d) {
    WindowBackend* box = d.WizardWindow().folderEdit.Backend();
    return box && box->IsVisible();
  }
  // Next on the settings page, then the worker's own Next once it has finished.
  static void InstallToTheEnd(CInstallDlg& d, sim::SimDialogControls& c) {
    Press(d, IDC_NEXT);
    const std::optional<int> next = c.WaitForPostedCommand(std::chrono::seconds(20));
    d.Installation().Wait();
    if (next) d.OnCommand(*next, 0);
  }

  Machine machine;
  PayloadImage image;
  AppState app;
  CInstallDlg dialog{machine.platform, app, image};
};

}  // namespace installer::testing
