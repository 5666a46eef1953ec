#include "wizard/tcp_port_dialog.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_dialog_controls.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_window_system.h"
#include "resources/resource.h"
#include "startup/product_texts.h"

namespace installer {
namespace {

using sim::SimDialogControls;
using Strings = std::vector<std::wstring>;

class TcpPortDialogTest : public ::testing::Test {
 protected:
  TcpPortDialogTest() {
    spooler.AddTestPort(L"LPT1:", sim::kLocalPortMonitor, L"Local Port");
    spooler.AddTestPort(L"IP_10.0.0.1", L"tcpmon.dll", L"Standard TCP/IP Port");
    spooler.AddTestPort(L"IP_10.0.0.2", L"tcpmon.dll", L"Lab printer");
    LoadTcpPorts(spooler, tcpPorts);
  }

  // Runs the dialog with `script` and returns its result.
  std::intptr_t Run(std::function<void(CDialog&, SimDialogControls&)> script) {
    windows.OnModal(IDD_TCP_PORT_CONFIG, std::move(script));
    return dialog.DoModal(77);
  }

  Strings Column(SimDialogControls& c, std::size_t column) {
    Strings cells;
    for (const auto& row : c.Control(IDC_PORT_VIEW).listRows) {
      cells.push_back(column < row.size() ? row[column] : L"?");
    }
    return cells;
  }

  sim::SimSpooler spooler;
  sim::SimWindowSystem windows;
  TcpPortList tcpPorts;
  CTCPPortConfigDlg dialog{windows, kEnglish, spooler, tcpPorts};
};

TEST_F(TcpPortDialogTest, InitialisationPerLanguage) {
  const struct {
    int language;
    Strings texts;  // title, group, delete, new, configure, OK, Cancel, two columns
  } cases[] = {
      {kEnglish,
       {L"Select TCP/IP Port", L"Please select a Standard TCP/IP Port", L"Delete", L"New",
        L"Configure", L"OK", L"Cancel", L"Port", L"Description"}},
      {kChinese,
       {L"网络端口配置", L"请选择符合要求的TCP端口或者创建一个新端口", L"删除端口", L"新端口",
        L"配置端口", L"确定", L"取消", L"端口", L"说明"}},
  };
  for (const auto& c : cases) {
    SimDialogControls controls;
    controls.SetClientRect(IDC_PORT_VIEW, Rect{0, 0, 448, 160});
    CTCPPortConfigDlg d(windows, c.language, spooler, tcpPorts);
    d.BindControls(&controls);
    EXPECT_FALSE(d.OnInitDialog());  // the focus is set by the dialog itself
    const sim::SimControl list = controls.Control(IDC_PORT_VIEW);
    Strings texts;
    for (int id : {kDialogItself, IDC_TCP_GROUP, IDC_TCP_DELETE, IDC_TCP_NEW, IDC_TCP_CONFIGURE,
                   kIdOk, kIdCancel}) {
      texts.push_back(controls.GetText(id));
    }
    ASSERT_EQ(list.listColumns.size(), 2u);
    texts.push_back(list.listColumns[0].title);
    texts.push_back(list.listColumns[1].title);
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(list.listColumns[0].width, 149);  // a third
    EXPECT_EQ(list.listColumns[1].width, 297);  // two thirds minus one
    EXPECT_EQ(list.listExtendedStyle, 0x31u);
    EXPECT_EQ(list.listStyle & 0x9u, 0x9u);
    EXPECT_EQ(Column(controls, 0), (Strings{L"IP_10.0.0.1", L"IP_10.0.0.2"}));
    EXPECT_EQ(Column(controls, 1), (Strings{L"Standard TCP/IP Port", L"Lab printer"}));
    EXPECT_EQ(list.listSelected, (std::vector<bool>{true, false}));
    EXPECT_EQ(controls.Focus(), IDC_PORT_VIEW);
    d.BindControls(nullptr);
  }
}

TEST_F(TcpPortDialogTest, OkAtOnceGivesTheFirstPort) {
  EXPECT_EQ(Run([](CDialog& d, SimDialogControls&) { d.OnCommand(kIdOk, 0); }), kIdOk);
  EXPECT_EQ(dialog.SelectedPort(), L"IP_10.0.0.1");
  EXPECT_EQ(windows.Runs().back().owner, 77u);
}

TEST_F(TcpPortDialogTest, NewPortsAreAppendedUnselected) {
  int runs = 0;
  spooler.portWizards[kStandardTcpIpMonitor] = [&runs](WindowRef, sim::SimSpooler& s) {
    // The first run creates a port, the second creates nothing but reports success.
    if (++runs == 1) s.AddTestPort(L"IP_10.0.0.3", L"tcpmon.dll", L"Standard TCP/IP Port");
    return true;
  };
  std::shared_ptr<SimDialogControls> seen;
  Run([&](CDialog& d, SimDialogControls& c) {
    d.OnCommand(IDC_TCP_NEW, 0);
    d.OnCommand(IDC_TCP_NEW, 0);
    EXPECT_EQ(Column(c, 0), (Strings{L"IP_10.0.0.1", L"IP_10.0.0.2", L"IP_10.0.0.3", L""}));
    EXPECT_EQ(Column(c, 1).back(), L"Standard TCP/IP Port");
    EXPECT_EQ(c.Control(IDC_PORT_VIEW).listSelected,
              (std::vector<bool>{true, false, false, false}));
    d.OnCommand(kIdOk, 0);
  });
  EXPECT_EQ(dialog.SelectedPort(), L"IP_10.0.0.1");
  ASSERT_EQ(tcpPorts.size(), 3u);
  EXPECT_EQ(tcpPorts.back().portName, L"IP_10.0.0.3");
}

TEST_F(TcpPortDialogTest, FailedPortWizardChangesNothing) {
  spooler.portWizards[kStandardTcpIpMonitor] = [](WindowRef, sim::SimSpooler&) { return false; };
  Run([&](CDialog& d, SimDialogControls& c) {
    d.OnCommand(IDC_TCP_NEW, 0);
    EXPECT_EQ(c.ListItemCount(IDC_PORT_VIEW), 2);
    d.OnCommand(kIdCancel, 0);
  });
  EXPECT_EQ(tcpPorts.size(), 2u);
}

TEST_F(TcpPortDialogTest, DeleteWithoutQuestionAndConfigure) {
  spooler.portWizards[kStandardTcpIpMonitor] = [](WindowRef, sim::SimSpooler&) { return true; };
  const std::intptr_t result = Run([&](CDialog& d, SimDialogControls& c) {
    d.OnCommand(IDC_TCP_NEW, 0);  // an empty-named row, unknown to the wizard's list
    d.OnCommand(IDC_TCP_CONFIGURE, 0);
    for (int i = 0; i < 3; ++i) {
      c.ListSelect(IDC_PORT_VIEW, 0, true);
      d.OnCommand(IDC_TCP_DELETE, 0);
    }
    d.OnCommand(IDC_TCP_DELETE, 0);     // nothing selected: nothing happens
    d.OnCommand(IDC_TCP_CONFIGURE, 0);  // likewise
    EXPECT_EQ(c.ListItemCount(IDC_PORT_VIEW), 0);
    EXPECT_TRUE(c.MessageBoxes().empty());
    d.OnCommand(kIdOk, 0);
  });
  EXPECT_EQ(result, kIdOk);  // OK without a selection still ends the dialog
  EXPECT_EQ(dialog.SelectedPort(), L"");
  EXPECT_TRUE(tcpPorts.empty());
  Strings portCalls;
  for (const std::wstring& call : spooler.calls) {
    if (call.rfind(L"DeletePortW", 0) == 0 || call.rfind(L"ConfigurePortW", 0) == 0) {
      portCalls.push_back(call);
    }
  }
  EXPECT_EQ(portCalls, (Strings{L"ConfigurePortW(IP_10.0.0.1)", L"DeletePortW(IP_10.0.0.1)",
                                L"DeletePortW(IP_10.0.0.2)"}));
}

TEST_F(TcpPortDialogTest, PortStepAfterDeletingEveryRow) {
  sim::SimDialogControls wizard;
  BuildPortList(wizard, spooler, kEnglish);
  wizard.ComboSetSelection(IDC_PORT_LIST, wizard.ComboCount(IDC_PORT_LIST) - 1);
  PortStep step{wizard, windows, spooler, kEnglish, tcpPorts, nullptr};
  std::wstring portName;
  bool useMonitorPort = true;
  int wizardRuns = 0;
  spooler.portWizards[kStandardTcpIpMonitor] = [&](WindowRef, sim::SimSpooler& s) {
    ++wizardRuns;
    s.AddTestPort(L"IP_10.0.0.7", L"tcpmon.dll", L"Standard TCP/IP Port");
    return true;
  };
  windows.OnModal(IDD_TCP_PORT_CONFIG, [](CDialog& d, SimDialogControls& c) {
    while (c.ListItemCount(IDC_PORT_VIEW) > 0) {
      c.ListSelect(IDC_PORT_VIEW, 0, true);
      d.OnCommand(IDC_TCP_DELETE, 0);
    }
    d.OnCommand(kIdOk, 0);
  });
  EXPECT_FALSE(ResolvePortChoice(step, portName, useMonitorPort));  // stays, no message
  EXPECT_TRUE(wizard.MessageBoxes().empty());
  EXPECT_EQ(wizardRuns, 0);
  EXPECT_TRUE(ResolvePortChoice(step, portName, useMonitorPort));  // the port wizard now
  EXPECT_EQ(wizardRuns, 1);
  EXPECT_EQ(windows.RunCount(IDD_TCP_PORT_CONFIG), 1);
  EXPECT_EQ(portName, L"IP_10.0.0.7");
  EXPECT_FALSE(useMonitorPort);
}

}  // namespace
}  // namespace installer
