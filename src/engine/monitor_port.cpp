#include "engine/monitor_port.h"

#include "engine/install_log.h"
#include "resources/resource.h"

namespace installer {

namespace {

constexpr std::size_t kSerialValueLimit = 255;

void SetPortName(EngineContext& context, const std::wstring& portName) {
  context.settings.portName = portName;
  context.names.portName = portName;
}

// The fallback: the user's pick becomes the port; false when the user cancelled.
bool PickPort(EngineContext& context) {
  auto picked = context.portPicker.PickPort();
  if (!picked) return false;
  SetPortName(context, *picked);
  return true;
}

}  // namespace

void InstallMonitorFiles(EngineContext& context) {
  if (!IsPlainNamePart(context.names.printerName)) return;
  const bool redirectionOff = context.win64 && context.system.DisableFsRedirection();
  const std::wstring systemDirectory = context.system.SystemDirectory();
  for (const wchar_t* suffix : {L"Mon", L"MonUI"}) {
    std::wstring source = context.settings.installFolder + L"\\KavitPrinter" + suffix + L".dll";
    if (context.win64) source += L".x64";
    const std::wstring target =
        systemDirectory + L"\\" + context.names.printerName + suffix + L".dll";
    context.files.CopyFile(source, target, false);
    context.files.DeleteFile(source);
  }
  if (redirectionOff) context.system.RevertFsRedirection();
}

std::wstring MonitorDllPath(EngineContext& context) {
  return context.system.SystemDirectory() + L"\\" + context.names.printerName + L"Mon.dll";
}

bool RegisterPortMonitor(EngineContext& context, const std::wstring& monitorDll) {
  const MonitorInfo2 monitor{context.names.monitorName, Environment(context), monitorDll};
  std::uint32_t error = 0;
  if (context.spooler.AddMonitor(monitor, error)) return true;
  const bool installed = error == kErrorMonitorAlreadyInstalled;
  if (context.win64) {
    WriteLog(context.files, "AddPrinterMonitor64 Error=%d\r\n", static_cast<int>(error));
    return installed;
  }
  if (installed) return true;
  WriteLog(context.files, "AddPrinterMonitor32 = %d\r\n", static_cast<int>(error));
  return false;
}

bool AddMonitorPort(EngineContext& context) {
  std::uint32_t error = 0;
  switch (context.spooler.AddPortEx(context.settings.portName, context.names.monitorName, error)) {
    case LateBoundResult::Succeeded:
      return true;
    case LateBoundResult::Unavailable:
      return false;
    case LateBoundResult::Failed:
      break;
  }
  WriteLog(context.files, "AddPortEx = %d PortName=%s\r\n", static_cast<int>(error),
           context.system.ToAnsi(context.settings.portName).c_str());
  return false;
}

bool PortExists(Spooler& spooler, const std::wstring& portName) {
  const auto ports = EnumerateAllPorts(spooler);
  if (!ports) return false;
  for (const auto& port : *ports) {
    if (port.portName == portName) return true;
  }
  return false;
}

bool ResolveQueuePort(EngineContext& context) {
  if (context.settings.useMonitorPort) {
    SetPortName(context, context.settings.queueName + L"-Port:");
    if (!RegisterPortMonitor(context, MonitorDllPath(context)) || !AddMonitorPort(context)) {
      if (!PickPort(context)) return false;
    }
  }
  // A port picked from the spooler's own list exists, so it is not asked for a second time.
  if (!PortExists(context.spooler, context.settings.portName)) return PickPort(context);
  return true;
}

void WriteSerialPortSettings(DialogControls& controls, Registry& registry,
                             const std::wstring& valueName) {
  const std::wstring baud = controls.GetText(IDC_BAUD);
  const std::wstring dataBits = controls.GetText(IDC_DATABITS);
  const std::wstring stopBits = controls.GetText(IDC_STOPBITS);
  std::wstring parity = L"n";
  switch (controls.ComboSelection(IDC_PARITY)) {
    case 0:
      parity = L"e";
      break;
    case 1:
      parity = L"o";
      break;
  }
  std::wstring flow;
  switch (controls.ComboSelection(IDC_FLOW)) {
    case 0:
      flow = L"x";
      break;
    case 1:
      flow = L"p";
      break;
  }
  std::wstring value = baud + L"," + parity + L"," + dataBits + L"," + stopBits + L"," + flow;
  if (value.size() > kSerialValueLimit) value.resize(kSerialValueLimit);
  auto key = registry.CreateKey(kPortsKey, RegistryView::Native64);
  if (key) key->SetString(valueName, value);
}

}  // namespace installer
