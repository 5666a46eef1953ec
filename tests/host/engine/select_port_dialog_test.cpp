#include "wizard/select_port_dialog.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_window_system.h"
#include "resources/resource.h"

namespace installer {
namespace {

class SelectPortDialogTest : public ::testing::Test {
 protected:
  SelectPortDialogTest() {
    spooler.AddTestPort(L"COM1:", L"Local Port", L"Local Port");
    spooler.AddTestPort(L"LPT1:", L"Local Port", L"Local Port");
    spooler.AddTestPort(L"IP_10.0.0.5", L"Standard TCP/IP Port", L"Standard TCP/IP Port");
  }
  sim::SimSpooler spooler;
  sim::SimWindowSystem windows;
};

TEST_F(SelectPortDialogTest, ListsThePortsAndOkNeedsASelectedRow) {
  bool stayedOpen = false;
  windows.OnModal(IDD_SELECT_PORT, [&](CDialog& dialog, sim::SimDialogControls& controls) {
    dialog.OnCommand(kIdOk, kBnClicked);
    stayedOpen = !controls.EndResult();
    controls.ListSelect(IDC_PORT_VIEW, 2, true);
    controls.PostCommand(kIdOk);
  });
  PortListPicker picker(windows, spooler, kEnglish);
  EXPECT_EQ(picker.PickPort(), L"IP_10.0.0.5");
  EXPECT_TRUE(stayedOpen);

  ASSERT_EQ(windows.Runs().size(), 1u);
  EXPECT_EQ(windows.Runs()[0].owner, 0u);
  auto controls = windows.LatestControls(IDD_SELECT_PORT);
  const sim::SimControl list = controls->Control(IDC_PORT_VIEW);
  EXPECT_EQ(list.listExtendedStyle, 0x31u);
  ASSERT_EQ(list.listColumns.size(), 3u);
  EXPECT_EQ(list.listColumns[0].title, L"Port");
  EXPECT_EQ(list.listColumns[1].title, L"Description");
  EXPECT_EQ(list.listColumns[2].title, L"Monitor");
  const std::vector<std::vector<std::wstring>> rows = {
      {L"COM1:", L"Local Port", L"Local Port"},
      {L"LPT1:", L"Local Port", L"Local Port"},
      {L"IP_10.0.0.5", L"Standard TCP/IP Port", L"Standard TCP/IP Port"},
  };
  EXPECT_EQ(list.listRows, rows);
  EXPECT_EQ(controls->Control(kDialogItself).text, L"Select Printer Port");
  EXPECT_EQ(controls->Control(kIdOk).text, L"OK");
}

TEST_F(SelectPortDialogTest, ColumnsShareTheListWidthAndChineseTextsAreSet) {
  windows.OnModal(IDD_SELECT_PORT, [&](CDialog&, sim::SimDialogControls& controls) {
    controls.PostCommand(kIdCancel);
  });
  // The list gets its size before the dialog reads it.
  struct Probe : CSelectPortDlg {
    using CSelectPortDlg::CSelectPortDlg;
    bool OnInitDialog() override {
      Controls().Move(IDC_PORT_VIEW, Rect{0, 0, 301, 200});
      return CSelectPortDlg::OnInitDialog();
    }
  } dialog(windows, spooler, kChinese);
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_EQ(dialog.selectedPort, L"");

  auto controls = windows.LatestControls(IDD_SELECT_PORT);
  const sim::SimControl list = controls->Control(IDC_PORT_VIEW);
  ASSERT_EQ(list.listColumns.size(), 3u);
  EXPECT_EQ(list.listColumns[0].title, L"端口");
  EXPECT_EQ(list.listColumns[1].title, L"描述");
  EXPECT_EQ(list.listColumns[2].title, L"监视器");
  EXPECT_EQ(list.listColumns[0].width, 100);
  EXPECT_EQ(list.listColumns[1].width, 100);
  EXPECT_EQ(list.listColumns[2].width, 99);
  EXPECT_EQ(controls->Control(kDialogItself).text, L"选择打印机端口");
  EXPECT_EQ(controls->Control(kIdOk).text, L"确定");
  EXPECT_EQ(controls->Control(kIdCancel).text, L"取消");
}

TEST_F(SelectPortDialogTest, WithoutPortsOnlyCancelCloses) {
  spooler.FailAlways(sim::SpoolerOp::EnumPortsSize, 1722);
  windows.OnModal(IDD_SELECT_PORT, [&](CDialog&, sim::SimDialogControls& controls) {
    controls.PostCommand(kIdOk);
    controls.PostCommand(kIdCancel);
  });
  PortListPicker picker(windows, spooler, kRussian);
  EXPECT_EQ(picker.PickPort(), std::nullopt);
  auto controls = windows.LatestControls(IDD_SELECT_PORT);
  EXPECT_TRUE(controls->Control(IDC_PORT_VIEW).listRows.empty());
  EXPECT_EQ(controls->Control(IDC_PORT_VIEW).listColumns[0].title, L"Port");
}

}  // namespace
}  // namespace installer
