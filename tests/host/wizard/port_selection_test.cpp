#include "wizard/port_selection.h"

#include <gtest/gtest.h>

#include "engine/monitor_port.h"
#include "platform/sim/sim_dialog_controls.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_window_system.h"
#include "resources/resource.h"
#include "startup/product_texts.h"
#include "wizard/tcp_port_dialog.h"

namespace installer {
namespace {

using sim::SimDialogControls;
using Strings = std::vector<std::wstring>;

constexpr wchar_t kTcpMon[] = L"TCPMON.DLL";  // the monitor name is compared ignoring case

class PortSelectionTest : public ::testing::Test {
 protected:
  PortSelectionTest() {
    spooler.AddTestPort(L"COM1:", sim::kLocalPortMonitor, L"Local Port");
    spooler.AddTestPort(L"COM3:", sim::kLocalPortMonitor, L"Local Port");
    spooler.AddTestPort(L"LPT1:", sim::kLocalPortMonitor, L"Local Port");
    spooler.AddTestPort(L"FILE:", sim::kLocalPortMonitor, L"Local Port");
  }

  void Build(int language) {
    FillSerialSettingLists(controls);
    LoadTcpPorts(spooler, tcpPorts);
    BuildPortList(controls, spooler, language);
  }

  void Choose(const std::wstring& entry) {
    const Strings items = controls.Control(IDC_PORT_LIST).comboItems;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == entry) controls.ComboSetSelection(IDC_PORT_LIST, static_cast<int>(i));
    }
    ASSERT_EQ(controls.ComboItemText(IDC_PORT_LIST, controls.ComboSelection(IDC_PORT_LIST)), entry);
  }

  // The port step of the English wizard with the real serial-settings writer.
  bool Resolve() {
    PortStep step{controls,
                  windows,
                  spooler,
                  kEnglish,
                  tcpPorts,
                  [this](const std::wstring& name) {
                    WriteSerialPortSettings(controls, registry, name); }};
    return ResolvePortChoice(step, portName, useMonitorPort);
  }

  // A port wizard that adds a Standard TCP/IP port named `name` (none when empty).
  void PortWizardAdds(const std::wstring& name, bool succeeds = true) {
    spooler.portWizards[kStandardTcpIpMonitor] = [name, succeeds, this](WindowRef,
                                                                        sim::SimSpooler& s) {
      ++portWizardRuns;
      if (!name.empty()) s.AddTestPort(name, kTcpMon, kStandardTcpIpMonitor);
      return succeeds;
    };
  }

  std::optional<std::wstring> PortsValue(const std::wstring& name) {
    return registry.Value(sim::SimRegistry::Physical::Native, kPortsKey, name);
  }

  sim::SimSpooler spooler;
  sim::SimWindowSystem windows;
  sim::SimRegistry registry;
  SimDialogControls controls;
  TcpPortList tcpPorts;
  std::wstring portName = L"default";
  bool useMonitorPort = false;
  int portWizardRuns = 0;
};

TEST_F(PortSelectionTest, PortListPerLanguage) {
  spooler.AddTestPort(L"COM1000:", sim::kLocalPortMonitor, L"Local Port");
  spooler.AddTestPort(L"IP_10.0.0.9", kTcpMon, kStandardTcpIpMonitor);
  const struct {
    int language;
    Strings entries;
  } cases[] = {
      {kEnglish, {L"USB", L"COM1", L"COM3", L"COM1000", L"LPT1", L"Net Port(TCP/IP)"}},
      {kChinese, {L"USB", L"COM1", L"COM3", L"COM1000", L"LPT1", L"网络端口（TCP/IP）"}},
      {kRussian, {L"USB", L"COM1", L"COM3", L"COM1000", L"LPT1"}},
  };
  for (const auto& c : cases) {
    SimDialogControls fresh;
    BuildPortList(fresh, spooler, c.language);
    EXPECT_EQ(fresh.Control(IDC_PORT_LIST).comboItems, c.entries) << c.language;
    EXPECT_EQ(fresh.ComboSelection(IDC_PORT_LIST), 0);
  }
}

TEST_F(PortSelectionTest, FailedEnumerationStillSelectsUsb) {
  spooler.FailAlways(sim::SpoolerOp::EnumPortsSize, 1722);
  Build(kEnglish);
  EXPECT_EQ(controls.Control(IDC_PORT_LIST).comboItems, (Strings{L"USB", L"Net Port(TCP/IP)"}));
  EXPECT_EQ(controls.ComboSelection(IDC_PORT_LIST), 0);
  EXPECT_TRUE(tcpPorts.empty());
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(portName, L"USB");
  EXPECT_TRUE(useMonitorPort);
}

TEST_F(PortSelectionTest, SerialListsAndDefaults) {
  FillSerialSettingLists(controls);
  const struct {
    int id;
    std::size_t count;
    std::wstring selected;
  } cases[] = {{IDC_BAUD, 13, L"115200"},
               {IDC_DATABITS, 4, L"8"},
               {IDC_PARITY, 3, L"None"},
               {IDC_STOPBITS, 3, L"1"},
               {IDC_FLOW, 3, L"Hardware"}};
  for (const auto& c : cases) {
    EXPECT_EQ(controls.Control(c.id).comboItems.size(), c.count) << c.id;
    EXPECT_EQ(controls.GetText(c.id), c.selected) << c.id;
  }
  EXPECT_EQ(controls.Control(IDC_PARITY).comboItems, (Strings{L"PE_EVEN", L"PE_ODD", L"None"}));
  EXPECT_EQ(controls.Control(IDC_FLOW).comboItems, (Strings{L"Xon / Xoff", L"Hardware", L"None"}));
}

TEST_F(PortSelectionTest, SelectionChangeEnablesSerialGroupForComOnly) {
  Build(kEnglish);
  ShowSerialSettings(controls, true);
  Choose(L"LPT1");
  OnPortSelChange(controls, portName);
  EXPECT_EQ(portName, L"LPT1");
  for (int id : kSerialSettingControls) {
    EXPECT_FALSE(controls.IsEnabled(id)) << id;
    EXPECT_TRUE(controls.IsVisible(id)) << id;
  }
  EXPECT_EQ(controls.GetText(IDC_BAUD), L"115200");  // values kept
  Choose(L"COM3");
  OnPortSelChange(controls, portName);
  for (int id : kSerialSettingControls) EXPECT_TRUE(controls.IsEnabled(id)) << id;
}

TEST_F(PortSelectionTest, PortStepForUsbComAndLpt) {
  Build(kEnglish);
  const struct {
    std::wstring entry;
    std::wstring portName;
    bool monitorPort;
  } cases[] = {{L"USB", L"USB", true}, {L"COM3", L"COM3:", false}, {L"LPT1", L"LPT1:", false}};
  for (const auto& c : cases) {
    Choose(c.entry);
    EXPECT_TRUE(Resolve()) << c.entry;
    EXPECT_EQ(portName, c.portName);
    EXPECT_EQ(useMonitorPort, c.monitorPort);
  }
  // Only the COM port wrote its settings: the defaults, parity none, hardware flow control.
  EXPECT_EQ(PortsValue(L"COM3:"), L"115200,n,8,1,p");
  EXPECT_FALSE(PortsValue(L"LPT1:"));
}

TEST_F(PortSelectionTest, ComSettingsChosenByTheUserAreWritten) {
  Build(kEnglish);
  Choose(L"COM1");
  controls.ComboSetSelection(IDC_BAUD, 5);    // 9600
  controls.ComboSetSelection(IDC_PARITY, 1);  // PE_ODD
  controls.ComboSetSelection(IDC_FLOW, 2);    // None
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(PortsValue(L"COM1:"), L"9600,o,8,1,");
}

TEST_F(PortSelectionTest, NetworkEntryWithoutKnownPortsRunsThePortWizard) {
  Build(kEnglish);
  Choose(L"Net Port(TCP/IP)");
  PortWizardAdds(L"", /*succeeds=*/false);
  EXPECT_FALSE(Resolve());  // cancelled: stay
  EXPECT_EQ(windows.RunCount(IDD_TCP_PORT_CONFIG), 0);

  PortWizardAdds(L"IP_192.168.1.20");
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(portName, L"IP_192.168.1.20");
  EXPECT_FALSE(useMonitorPort);
  ASSERT_EQ(tcpPorts.size(), 1u);
  EXPECT_EQ(portWizardRuns, 2);

  // Now a port is known: the next attempt opens the dialog, whose OK returns the first row.
  windows.OnModal(IDD_TCP_PORT_CONFIG, [](CDialog& d, SimDialogControls&) { d.OnCommand(1, 0); });
  Choose(L"Net Port(TCP/IP)");
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(portName, L"IP_192.168.1.20");
  EXPECT_EQ(portWizardRuns, 2);
  ASSERT_EQ(windows.RunCount(IDD_TCP_PORT_CONFIG), 1);
  EXPECT_EQ(windows.Runs().back().owner, controls.Ref(kDialogItself));
}

TEST_F(PortSelectionTest, PortWizardCreatingNothingGoesOnWithAnEmptyName) {
  Build(kEnglish);
  Choose(L"Net Port(TCP/IP)");
  PortWizardAdds(L"");  // e.g. it only reconfigured a port and reported success
  EXPECT_TRUE(Resolve());
  EXPECT_EQ(portName, L"");
  EXPECT_TRUE(tcpPorts.empty());
}

TEST_F(PortSelectionTest, TcpBookkeeping) {
  spooler.AddTestPort(L"IP_1", L"tcpmon.dll", kStandardTcpIpMonitor);
  spooler.AddTestPort(L"IP_2", kTcpMon, kStandardTcpIpMonitor);
  LoadTcpPorts(spooler, tcpPorts);
  ASSERT_EQ(tcpPorts.size(), 2u);
  EXPECT_EQ(tcpPorts[1].portName, L"IP_2");
  EXPECT_EQ(tcpPorts[1].description, kStandardTcpIpMonitor);
  EXPECT_EQ(FindNewTcpPort(spooler, tcpPorts), L"");

  spooler.calls.clear();
  RemoveTcpPort(spooler, tcpPorts, 7, L"ip_1");  // exact comparison: not known
  EXPECT_EQ(tcpPorts.size(), 2u);
  EXPECT_TRUE(spooler.calls.empty());
  RemoveTcpPort(spooler, tcpPorts, 7, L"IP_1");
  ASSERT_EQ(tcpPorts.size(), 1u);
  EXPECT_EQ(spooler.calls, (Strings{L"DeletePortW(IP_1)"}));
  EXPECT_EQ(FindNewTcpPort(spooler, tcpPorts), L"");  // deleted in the spooler too
}

}  // namespace
}  // namespace installer
