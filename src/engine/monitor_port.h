#pragma once

#include <string>

#include "engine/engine_context.h"
#include "platform/dialog_controls.h"
#include "platform/registry.h"

namespace installer {

inline constexpr wchar_t kPortsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// Copies the port monitor DLL and its UI DLL into the system directory as <printerName>Mon.dll
// and <printerName>MonUI.dll (the 64-bit twins, with file-system redirection off, on 64-bit
// Windows) and deletes the sources. Failures are ignored; a printer name that would lead out of
// the system directory copies nothing.
void InstallMonitorFiles(EngineContext& context);

// "<system directory>\<printerName>Mon.dll".
std::wstring MonitorDllPath(EngineContext& context);

// AddMonitorW for the machine's environment. An already installed monitor (3006) counts as
// registered; 64-bit Windows logs it all the same.
bool RegisterPortMonitor(EngineContext& context, const std::wstring& monitorDll);

// AddPortExW of the current port name on the product's monitor; a refusal is logged.
bool AddMonitorPort(EngineContext& context);

// Whether the spooler lists a port of exactly this name (case-sensitive).
bool PortExists(Spooler& spooler, const std::wstring& portName);

// Settles the queue's port: the monitor and its port "<queueName>-Port:" when the USB entry was
// chosen, else the chosen port; each failure lets the user pick a port instead. False when the
// user cancelled the pick.
bool ResolveQueuePort(EngineContext& context);

// Writes the serial-line settings of the settings page (baud 1048, data bits 1047, parity 1049,
// stop bits 1051, flow control 1052) as "9600,n,8,1,p" under the Ports key, value `valueName`.
// Registry failures are ignored.
void WriteSerialPortSettings(DialogControls& controls, Registry& registry,
                             const std::wstring& valueName);

}  // namespace installer
