#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_controls.h"
#include "platform/spooler.h"
#include "resources/resource.h"
#include "ui/framework/window_system.h"

namespace installer {

// A copy of one spooler port entry (PORT_INFO_2), owned by the list that holds it.
using PortRecord = PortEntry;

// The Standard TCP/IP ports known to the wizard, in the order they were found.
using TcpPortList = std::vector<PortRecord>;

inline constexpr wchar_t kStandardTcpIpMonitor[] = L"Standard TCP/IP Port";
inline constexpr wchar_t kTcpMonitorDll[] = L"tcpmon.dll";
inline constexpr wchar_t kUsbPortEntry[] = L"USB";

// The ten serial-setting controls, in the order they are shown, hidden, enabled or disabled.
inline constexpr int kSerialSettingControls[10] = {
    IDC_BAUD_LABEL, IDC_BAUD,           IDC_DATABITS_LABEL, IDC_DATABITS,   IDC_PARITY_LABEL,
    IDC_PARITY,     IDC_STOPBITS_LABEL, IDC_STOPBITS,       IDC_FLOW_LABEL, IDC_FLOW};

// The port list's network entry: English and Chinese only; empty for Russian.
std::wstring NetworkPortEntry(int language);

// Fills the five serial-setting lists and selects their defaults (115200, 8, "None", "1",
// "Hardware").
void FillSerialSettingLists(DialogControls& controls);

// Adds one entry per COM port, then per LPT port, each shown without its last character, and
// selects entry 0. When the ports cannot be enumerated nothing is added, and entry 0 ("USB",
// added before) is still selected so that the port step always has a choice.
void FillPortList(DialogControls& controls, Spooler& spooler);

// The whole port list: "USB", FillPortList, then the network entry of the language.
void BuildPortList(DialogControls& controls, Spooler& spooler, int language);

void ShowSerialSettings(DialogControls& controls, bool show);
void EnableSerialSettings(DialogControls& controls, bool enable);

// The port list's selection change: stores the selected text in `portName` and enables the
// serial settings for a COM entry (they stay visible either way).
void OnPortSelChange(DialogControls& controls, std::wstring& portName);

// True when `monitorName` is the Standard TCP/IP monitor (compared ignoring case).
bool IsTcpMonitor(const std::wstring& monitorName);

// Replaces `tcpPorts` with the spooler's Standard TCP/IP ports (empty when enumeration fails).
void LoadTcpPorts(Spooler& spooler, TcpPortList& tcpPorts);

// The first Standard TCP/IP port of the spooler that `tcpPorts` does not hold yet: appended and
// its name returned. Empty when there is none or the ports cannot be enumerated.
std::wstring FindNewTcpPort(Spooler& spooler, TcpPortList& tcpPorts);

// Forgets the first record named exactly `name` and deletes the port in the spooler (result
// ignored). Nothing at all happens when no record has that name.
void RemoveTcpPort(Spooler& spooler, TcpPortList& tcpPorts, WindowRef owner,
                   const std::wstring& name);

// What the port step reaches.
struct PortStep {
  DialogControls& controls;  // the wizard dialog's
  WindowSystem& windows;
  Spooler& spooler;
  int language;
  TcpPortList& tcpPorts;
  // Writes the serial settings of the lists under the value name (a COM port with its colon).
  std::function<void(const std::wstring& valueName)> writeSerialSettings;
};

// The port step at Next on the settings page: sets `portName` and `useMonitorPort` from the
// port list. True goes on to the installation, false keeps the settings page.
bool ResolvePortChoice(PortStep& step, std::wstring& portName, bool& useMonitorPort);

}  // namespace installer
