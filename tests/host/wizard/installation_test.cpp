#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <thread>

#include "engine/monitor_port.h"
#include "wizard_fixture.h"

namespace installer {
namespace {

using sim::SimDialogControls;
using testing::kProposedFolder;
using Strings = std::vector<std::wstring>;

constexpr wchar_t kFolder[] = L"C:\\Program Files\\USB Printer\\LP-300";

class InstallationTest : public testing::WizardTest {
 protected:
  // Welcome and folder page with the proposed folder, then model 1 and `port`.
  static void ToSettings(CInstallDlg& d, SimDialogControls& c, const std::wstring& port) {
    Press(d, IDC_NEXT);
    Press(d, IDC_NEXT);
    ASSERT_EQ(d.Page(), kPageSettings);
    Choose(d, c, IDC_MODEL_LIST, L"LP-300 Label");
    Choose(d, c, IDC_PORT_LIST, port);
  }

  Strings FilesIn(const std::wstring& folder) {
    Strings names;
    for (const DirectoryEntry& entry : machine.files.List(folder)) {
      names.push_back(entry.isDirectory ? entry.name + L"\\" : entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(InstallationTest, FromWelcomeToCompletion) {
  const std::intptr_t result = Run([this](CInstallDlg& d, SimDialogControls& c) {
    ToSettings(d, c, L"LPT1");
    EXPECT_EQ(c.GetText(IDC_PRINTER_NAME), L"LP-300");
    Press(d, IDC_NEXT);

    // The installing page while the worker runs.
    EXPECT_EQ(d.Page(), kPageInstalling);
    EXPECT_TRUE(c.IsVisible(IDC_PROGRESS));
    for (int id : {IDC_NEXT, IDC_BACK, IDC_CANCEL_BUTTON}) EXPECT_FALSE(c.IsEnabled(id)) << id;
    for (int id :
         {IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_MODEL_LIST, IDC_PRINTER_NAME,
          IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER, IDC_PORT_LABEL, IDC_PORT_LIST, IDC_BROWSE}) {
      EXPECT_FALSE(c.IsVisible(id)) << id;
    }
    for (int id : kSerialSettingControls) EXPECT_FALSE(c.IsVisible(id)) << id;
    EXPECT_FALSE(FolderBoxVisible(d));
    EXPECT_EQ(d.WizardWindow().folderEdit.GetText(), kFolder);
    const InstallSettings& s = d.Settings();
    EXPECT_EQ(s.baseFolder, kProposedFolder);
    EXPECT_EQ(s.installFolder, kFolder);
    EXPECT_EQ(s.queueName, L"LP-300");
    EXPECT_EQ(s.portName, L"LPT1:");
    EXPECT_FALSE(s.useMonitorPort);
    EXPECT_TRUE(s.setAsDefault);
    EXPECT_EQ(s.selectedModel, 1);
    EXPECT_EQ(app.productNames.printerName, L"LP-300");

    const std::optional<int> next = c.WaitForPostedCommand(std::chrono::seconds(20));
    ASSERT_EQ(next, IDC_NEXT);
    d.Installation().Wait();
    EXPECT_FALSE(c.TakePostedCommand());  // exactly one
    d.OnCommand(*next, 0);
    EXPECT_EQ(d.Page(), kPageComplete);
    EXPECT_FALSE(c.IsVisible(IDC_NEXT));
    EXPECT_FALSE(c.IsVisible(IDC_BACK));
    EXPECT_FALSE(c.IsVisible(IDC_PROGRESS));
    EXPECT_TRUE(c.IsEnabled(IDC_CANCEL_BUTTON));
    EXPECT_EQ(c.GetText(IDC_CANCEL_BUTTON), L"Finish");
    EXPECT_EQ(c.Control(IDC_PROGRESS).progressPosition, 100);
    Press(d, IDC_CANCEL_BUTTON);
  });
  EXPECT_EQ(result, kIdCancel);

  const sim::SimSpooler::Printer* queue = machine.spooler.FindPrinter(L"LP-300");
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(queue->info.portName, L"LPT1:");
  EXPECT_EQ(machine.spooler.defaultPrinter, L"LP-300");
  // Closing the wizard window cleared what the unpacking left, but the Inf folder.
  EXPECT_EQ(FilesIn(kFolder),
            (Strings{L"Inf\\", L"ReltPrinterService.exe", L"Uninstall.ini", L"Uninstaller.exe"}));
}

TEST_F(InstallationTest, FailureShowsTheFailedPageAndFinishEnds) {
  machine.spooler.FailAlways(sim::SpoolerOp::AddPrinter, 1801);
  app.languageIndex = kChinese;
  const std::intptr_t result = Run([](CInstallDlg& d, SimDialogControls& c) {
    ToSettings(d, c, L"LPT1");
    Press(d, IDC_NEXT);
    d.Installation().Wait();
    EXPECT_EQ(d.Page(), kPageFailed);
    EXPECT_FALSE(c.TakePostedCommand());
    EXPECT_EQ(c.GetText(IDC_CANCEL_BUTTON), L"完成");
    EXPECT_TRUE(c.IsEnabled(IDC_CANCEL_BUTTON));
    d.OnCommand(kIdCancel, 0);  // Esc, once the worker has finished
  });
  EXPECT_EQ(result, kIdCancel);
  EXPECT_EQ(machine.spooler.FindPrinter(L"LP-300"), nullptr);
}

TEST_F(InstallationTest, WizardCannotEndWhileTheWorkerRuns) {
  // USB: the monitor cannot be registered here, so the worker shows the port list dialog on its
  // own thread and waits there until the checks below are done.
  std::promise<void> checked;
  std::shared_future<void> released = checked.get_future().share();
  machine.windows.OnModal(IDD_SELECT_PORT, [released](CDialog& d, SimDialogControls& c) {
    released.wait();
    for (int row = 0; row < c.ListItemCount(IDC_PORT_VIEW); ++row) {
      if (c.ListItemText(IDC_PORT_VIEW, row, 0) == L"LPT2:") c.ListSelect(IDC_PORT_VIEW, row, true);
    }
    d.OnCommand(kIdOk, 0);
  });
  const std::intptr_t result = Run([&](CInstallDlg& d, SimDialogControls& c) {
    ToSettings(d, c, L"USB");
    Press(d, IDC_NEXT);
    EXPECT_TRUE(d.Settings().useMonitorPort);
    EXPECT_EQ(d.Settings().portName, L"USB");
    while (machine.windows.RunCount(IDD_SELECT_PORT) == 0) std::this_thread::yield();
    d.OnCommand(kIdCancel, 0);  // Esc, the close box
    d.OnCommand(kIdOk, 0);      // Enter
    Press(d, IDC_CANCEL_BUTTON);
    EXPECT_FALSE(c.EndResult());
    EXPECT_TRUE(d.Installation().IsRunning());
    checked.set_value();

    const std::optional<int> next = c.WaitForPostedCommand(std::chrono::seconds(20));
    ASSERT_EQ(next, IDC_NEXT);
    d.OnCommand(*next, 0);
    EXPECT_EQ(d.Page(), kPageComplete);
    d.OnCommand(kIdOk, 0);  // now Enter ends the finished wizard
  });
  EXPECT_EQ(result, kIdOk);
  ASSERT_EQ(machine.windows.RunCount(IDD_SELECT_PORT), 1);
  for (const sim::SimModalRun& run : machine.windows.Runs()) {
    if (run.templateId == IDD_SELECT_PORT) {
      EXPECT_EQ(run.owner, 0u);  // no owner window
    }
  }
  const sim::SimSpooler::Printer* queue = machine.spooler.FindPrinter(L"LP-300");
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(queue->info.portName, L"LPT2:");
}

TEST_F(InstallationTest, BackKeepsEveryChoiceAndADriveRootGetsOneBackslash) {
  machine.shell.SetBrowseAnswer(L"C:\\");
  Run([this](CInstallDlg& d, SimDialogControls& c) {
    Press(d, IDC_NEXT);
    Press(d, IDC_BROWSE);
    Press(d, IDC_NEXT);
    ASSERT_EQ(d.Page(), kPageSettings);
    Choose(d, c, IDC_MODEL_LIST, L"LP-203 Label");
    EXPECT_EQ(c.GetText(IDC_PRINTER_NAME), L"LP-203");
    c.SetText(IDC_PRINTER_NAME, L"Shop Label");
    c.SetCheck(IDC_DEFAULT_PRINTER, false);
    Choose(d, c, IDC_PORT_LIST, L"COM3");
    c.ComboSetSelection(IDC_BAUD, 5);  // 9600
    c.ComboSetSelection(IDC_STOPBITS, 2);

    Press(d, IDC_BACK);
    EXPECT_EQ(d.WizardWindow().folderEdit.GetText(), L"C:\\");
    Press(d, IDC_NEXT);
    EXPECT_EQ(c.GetText(IDC_MODEL_LIST), L"LP-203 Label");
    EXPECT_EQ(c.GetText(IDC_PRINTER_NAME), L"Shop Label");
    EXPECT_FALSE(c.IsChecked(IDC_DEFAULT_PRINTER));
    EXPECT_EQ(c.GetText(IDC_PORT_LIST), L"COM3");
    EXPECT_EQ(c.GetText(IDC_BAUD), L"9600");
    EXPECT_EQ(c.GetText(IDC_STOPBITS), L"2");
    for (int id : kSerialSettingControls) EXPECT_TRUE(c.IsEnabled(id)) << id;

    InstallToTheEnd(d, c);
    const InstallSettings& s = d.Settings();
    EXPECT_EQ(s.installFolder, L"C:\\Shop Label");
    EXPECT_EQ(s.portName, L"COM3:");
    EXPECT_FALSE(s.setAsDefault);
    EXPECT_EQ(s.selectedModel, 2);
    EXPECT_EQ(d.Page(), kPageComplete);
    Press(d, IDC_CANCEL_BUTTON);
  });
  EXPECT_TRUE(machine.files.IsDirectory(L"C:\\Shop Label\\Inf"));
  EXPECT_EQ(machine.registry.Value(sim::SimRegistry::Physical::Native, kPortsKey, L"COM3:"),
            L"9600,n,8,2,p");
  const sim::SimSpooler::Printer* queue = machine.spooler.FindPrinter(L"Shop Label");
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(queue->info.portName, L"COM3:");
  EXPECT_TRUE(machine.spooler.defaultPrinter.empty());
}

TEST_F(InstallationTest, EnterInTheNameBoxNeverInstalls) {
  const std::intptr_t result = Run([](CInstallDlg& d, SimDialogControls& c) {
    ToSettings(d, c, L"LPT1");
    c.SetFocus(IDC_PRINTER_NAME);
    d.OnCommand(kIdOk, 0);  // what Enter in the edit sends
  });
  EXPECT_EQ(result, kIdOk);
  EXPECT_FALSE(dialog.Installation().HasStarted());
  EXPECT_TRUE(machine.spooler.printers.empty());
  EXPECT_FALSE(machine.files.Exists(kFolder));
}

TEST_F(InstallationTest, ClosingBeforeAnInstallationDeletesNothing) {
  const std::wstring typed = std::wstring(kProposedFolder) + L"\\notes.txt";
  machine.files.Put(typed, "mine");
  Run([](CInstallDlg& d, SimDialogControls& c) {
    ToSettings(d, c, L"LPT1");
    Press(d, IDC_CANCEL_BUTTON);
  });
  EXPECT_TRUE(machine.files.Exists(typed));
}

TEST_F(InstallationTest, WithoutModelTableATypedNameInstallsWithRowZero) {
  machine.files.DeleteFile(std::wstring(testing::kDocuments) + L"\\PrinterName.txt");
  Run([](CInstallDlg& d, SimDialogControls& c) {
    Press(d, IDC_NEXT);
    Press(d, IDC_NEXT);
    EXPECT_EQ(c.ComboSelection(IDC_MODEL_LIST), -1);
    c.SetText(IDC_PRINTER_NAME, L"Typed");
    Choose(d, c, IDC_PORT_LIST, L"LPT1");
    Press(d, IDC_NEXT);
    EXPECT_EQ(d.Page(), kPageInstalling);
    EXPECT_EQ(d.Settings().selectedModel, 0);
    d.Installation().Wait();
    d.OnCommand(kIdCancel, 0);
  });
}

}  // namespace
}  // namespace installer
