#include "wizard/port_selection.h"

#include <algorithm>
#include <cwctype>
#include <optional>

#include "startup/product_texts.h"
#include "wizard/tcp_port_dialog.h"

namespace installer {

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

void AddPortsStartingWith(DialogControls& controls, const std::vector<PortEntry>& ports,
                          const wchar_t* prefix) {
  for (const PortEntry& port : ports) {
    if (!StartsWith(port.portName, prefix)) continue;
    // Shown without the last character (the colon), whatever the name's length.
    controls.ComboAdd(IDC_PORT_LIST, port.portName.substr(0, port.portName.size() - 1));
  }
}

void AddEntries(DialogControls& controls, int id, std::initializer_list<const wchar_t*> entries,
                int selected) {
  for (const wchar_t* entry : entries) controls.ComboAdd(id, entry);
  controls.ComboSetSelection(id, selected);
}

std::wstring SelectedText(DialogControls& controls, int id) {
  const int selection = controls.ComboSelection(id);
  if (selection < 0) return {};
  return controls.ComboItemText(id, selection);
}

}  // namespace

std::wstring NetworkPortEntry(int language) {
  if (language == kEnglish) return L"Net Port(TCP/IP)";
  if (language == kChinese) return L"网络端口（TCP/IP）";
  return {};
}

void FillSerialSettingLists(DialogControls& controls) {
  AddEntries(controls, IDC_BAUD,
             {L"100", L"300", L"1200", L"2400", L"4800", L"9600", L"19200", L"38400", L"57600",
              L"115200", L"230400", L"460800", L"921600"},
             9);
  AddEntries(controls, IDC_DATABITS, {L"5", L"6", L"7", L"8"}, 3);
  AddEntries(controls, IDC_PARITY, {L"PE_EVEN", L"PE_ODD", L"None"}, 2);
  AddEntries(controls, IDC_STOPBITS, {L"1", L"1.5", L"2"}, 0);
  AddEntries(controls, IDC_FLOW, {L"Xon / Xoff", L"Hardware", L"None"}, 1);
}

void FillPortList(DialogControls& controls, Spooler& spooler) {
  const std::optional<std::vector<PortEntry>> ports = EnumerateAllPorts(spooler);
  if (ports) {
    AddPortsStartingWith(controls, *ports, L"COM");
    AddPortsStartingWith(controls, *ports, L"LPT");
  }
  if (controls.ComboCount(IDC_PORT_LIST) > 0) controls.ComboSetSelection(IDC_PORT_LIST, 0);
}

void BuildPortList(DialogControls& controls, Spooler& spooler, int language) {
  controls.ComboAdd(IDC_PORT_LIST, kUsbPortEntry);
  FillPortList(controls, spooler);
  const std::wstring network = NetworkPortEntry(language);
  if (!network.empty()) controls.ComboAdd(IDC_PORT_LIST, network);
}

void ShowSerialSettings(DialogControls& controls, bool show) {
  for (int id : kSerialSettingControls) controls.Show(id, show);
}

void EnableSerialSettings(DialogControls& controls, bool enable) {
  for (int id : kSerialSettingControls) controls.Enable(id, enable);
}

void OnPortSelChange(DialogControls& controls, std::wstring& portName) {
  portName = SelectedText(controls, IDC_PORT_LIST);
  EnableSerialSettings(controls, StartsWith(portName, L"COM"));
}

bool IsTcpMonitor(const std::wstring& monitorName) {
  const std::wstring expected = kTcpMonitorDll;
  return monitorName.size() == expected.size() &&
         std::equal(monitorName.begin(), monitorName.end(), expected.begin(),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

void LoadTcpPorts(Spooler& spooler, TcpPortList& tcpPorts) {
  tcpPorts.clear();
  const std::optional<std::vector<PortEntry>> ports = EnumerateAllPorts(spooler);
  if (!ports) return;
  for (const PortEntry& port : *ports) {
    if (IsTcpMonitor(port.monitorName)) tcpPorts.push_back(port);
  }
}

std::wstring FindNewTcpPort(Spooler& spooler, TcpPortList& tcpPorts) {
  const std::optional<std::vector<PortEntry>> ports = EnumerateAllPorts(spooler);
  if (!ports) return {};
  for (const PortEntry& port : *ports) {
    if (!IsTcpMonitor(port.monitorName)) continue;
    const bool known = std::any_of(tcpPorts.begin(), tcpPorts.end(), [&](const PortRecord& record) {
      return record.portName == port.portName;
    });
    if (known) continue;
    tcpPorts.push_back(port);
    return port.portName;
  }
  return {};
}

void RemoveTcpPort(Spooler& spooler, TcpPortList& tcpPorts, WindowRef owner,
                   const std::wstring& name) {
  auto found = std::find_if(tcpPorts.begin(), tcpPorts.end(),
                            [&](const PortRecord& record) { return record.portName == name; });
  if (found == tcpPorts.end()) return;
  tcpPorts.erase(found);
  spooler.DeletePort(owner, name);
}

bool ResolvePortChoice(PortStep& step, std::wstring& portName, bool& useMonitorPort) {
  DialogControls& controls = step.controls;
  // With nothing selected the earlier name stays (the list always has a selection here).
  if (controls.ComboSelection(IDC_PORT_LIST) >= 0) {
    portName = SelectedText(controls, IDC_PORT_LIST);
  }
  if (portName == kUsbPortEntry) {
    useMonitorPort = true;
    return true;
  }
  useMonitorPort = false;
  if (Contains(portName, L"COM")) {
    portName += L':';
    if (step.writeSerialSettings) step.writeSerialSettings(portName);
    return true;
  }
  if (Contains(portName, L"TCP")) {
    const WindowRef owner = controls.Ref(kDialogItself);
    if (!step.tcpPorts.empty()) {
      CTCPPortConfigDlg dialog(step.windows, step.language, step.spooler, step.tcpPorts);
      if (dialog.DoModal(owner) != kIdOk) return false;
      portName = dialog.SelectedPort();
      return !portName.empty();
    }
    std::uint32_t error = 0;
    if (!step.spooler.AddPort(owner, kStandardTcpIpMonitor, error)) return false;
    // Goes on even with an empty name: the queue step then meets a port the spooler lacks.
    portName = FindNewTcpPort(step.spooler, step.tcpPorts);
    return true;
  }
  portName += L':';
  return true;
}

}  // namespace installer
