#include <windows.h>
#include <winspool.h>

// winspool's A/W macros carry the names of the seam's operations.
#undef AddMonitor
#undef AddPort
#undef AddPrinter
#undef AddPrinterDriver
#undef ConfigurePort
#undef DeletePort
#undef EnumPorts
#undef EnumPrinters
#undef GetPrinterDriverDirectory
#undef SetPrinterData

#include "platform/win32/scoped_library.h"
#include "platform/win32/win32_spooler.h"

namespace installer::win32 {

namespace {

class Win32PrinterHandle : public PrinterHandle {
 public:
  explicit Win32PrinterHandle(HANDLE handle) : handle_(handle) {}
  Win32PrinterHandle(const Win32PrinterHandle&) = delete;
  Win32PrinterHandle& operator=(const Win32PrinterHandle&) = delete;
  ~Win32PrinterHandle() override { ClosePrinter(handle_); }
  std::uintptr_t Value() const override { return reinterpret_cast<std::uintptr_t>(handle_); }
  std::uint32_t SetPrinterData(const std::wstring& valueName, const std::wstring& text) override {
    std::wstring name = valueName;
    std::wstring data = text;
    return SetPrinterDataW(handle_, name.data(), REG_SZ, reinterpret_cast<BYTE*>(data.data()),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }

 private:
  HANDLE handle_;
};

// Text fields of the winspool records are non-const pointers; these keep writable copies.
wchar_t* Mutable(std::wstring& text) {
  return text.data();
}
wchar_t* Mutable(std::optional<std::wstring>& text) {
  return text ? text->data() : nullptr;
}
std::wstring Text(const wchar_t* text) {
  return text ? std::wstring(text) : std::wstring();
}

HWND Window(WindowRef owner) {
  return reinterpret_cast<HWND>(owner);
}

}  // namespace

SizingResult Win32Spooler::EnumPortsSize() {
  DWORD needed = 0;
  DWORD returned = 0;
  SizingResult result;
  result.ok = EnumPortsW(nullptr, 2, nullptr, 0, &needed, &returned) != FALSE;
  result.error = result.ok ? 0 : GetLastError();
  result.needed = needed;
  return result;
}

bool Win32Spooler::EnumPorts(std::uint32_t bufferBytes, std::vector<PortEntry>& ports,
                             std::uint32_t& error) {
  ports.clear();
  std::vector<BYTE> buffer(bufferBytes ? bufferBytes : 1);
  DWORD needed = 0;
  DWORD returned = 0;
  if (!EnumPortsW(nullptr, 2, buffer.data(), bufferBytes, &needed, &returned)) {
    error = GetLastError();
    return false;
  }
  const auto* records = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) {
    PortEntry port;
    port.portName = Text(records[i].pPortName);
    port.monitorName = Text(records[i].pMonitorName);
    port.description = Text(records[i].pDescription);
    port.portType = records[i].fPortType;
    port.reserved = records[i].Reserved;
    ports.push_back(port);
  }
  return true;
}

SizingResult Win32Spooler::EnumPrintersSize(std::uint32_t flags) {
  DWORD needed = 0;
  DWORD returned = 0;
  wchar_t empty[1] = {0};
  SizingResult result;
  result.ok = EnumPrintersW(flags, empty, 2, nullptr, 0, &needed, &returned) != FALSE;
  result.error = result.ok ? 0 : GetLastError();
  result.needed = needed;
  return result;
}

bool Win32Spooler::EnumPrinters(std::uint32_t flags, std::uint32_t bufferBytes,
                                std::vector<PrinterEntry>& printers, std::uint32_t& error) {
  printers.clear();
  std::vector<BYTE> buffer(bufferBytes ? bufferBytes : 1, 0);
  DWORD needed = 0;
  DWORD returned = 0;
  wchar_t empty[1] = {0};
  if (!EnumPrintersW(flags, empty, 2, buffer.data(), bufferBytes, &needed, &returned)) {
    error = GetLastError();
    return false;
  }
  const auto* records = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) {
    printers.push_back(
        {Text(records[i].pPrinterName), Text(records[i].pPortName), Text(records[i].pDriverName)});
  }
  return true;
}

bool Win32Spooler::AddMonitor(const MonitorInfo2& monitor, std::uint32_t& error) {
  MonitorInfo2 copy = monitor;
  MONITOR_INFO_2W info = {};
  info.pName = Mutable(copy.name);
  info.pEnvironment = Mutable(copy.environment);
  info.pDLLName = Mutable(copy.dllName);
  if (AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info))) return true;
  error = GetLastError();
  return false;
}

LateBoundResult Win32Spooler::AddPortEx(const std::wstring& portName,
                                        const std::wstring& monitorName, std::uint32_t& error) {
  using AddPortExFn = BOOL(WINAPI*)(LPWSTR, DWORD, LPBYTE, LPWSTR);
  ScopedLibrary winspool(L"winspool.drv");
  if (!winspool) return LateBoundResult::Unavailable;
  auto addPortEx = winspool.Find<AddPortExFn>("AddPortExW");
  if (!addPortEx) return LateBoundResult::Unavailable;
  std::wstring name = portName;
  std::wstring monitor = monitorName;
  PORT_INFO_1W info = {};
  info.pName = Mutable(name);
  if (addPortEx(nullptr, 1, reinterpret_cast<BYTE*>(&info), Mutable(monitor))) {
    return LateBoundResult::Succeeded;
  }
  error = GetLastError();
  return LateBoundResult::Failed;
}

bool Win32Spooler::AddPort(WindowRef owner, const std::wstring& monitorName, std::uint32_t& error) {
  std::wstring monitor = monitorName;
  if (AddPortW(nullptr, Window(owner), Mutable(monitor))) return true;
  error = GetLastError();
  return false;
}

bool Win32Spooler::ConfigurePort(WindowRef owner, const std::wstring& portName) {
  std::wstring name = portName;
  return ConfigurePortW(nullptr, Window(owner), Mutable(name)) != FALSE;
}

bool Win32Spooler::DeletePort(WindowRef owner, const std::wstring& portName) {
  std::wstring name = portName;
  return DeletePortW(nullptr, Window(owner), Mutable(name)) != FALSE;
}

std::optional<std::wstring> Win32Spooler::GetPrinterDriverDirectory(std::uint32_t& error) {
  std::vector<wchar_t> buffer(MAX_PATH, L'\0');
  DWORD needed = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer.data()),
                                   bytes, &needed)) {
      buffer.back() = L'\0';
      return std::wstring(buffer.data());
    }
    error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER || needed <= bytes) break;
    buffer.assign(needed / sizeof(wchar_t) + 1, L'\0');
  }
  return std::nullopt;
}

bool Win32Spooler::AddPrinterDriver(const DriverInfo3& driver, std::uint32_t& error) {
  DriverInfo3 copy = driver;
  DRIVER_INFO_3W info = {};
  info.cVersion = copy.version;
  info.pName = Mutable(copy.name);
  info.pEnvironment = Mutable(copy.environment);
  info.pDriverPath = Mutable(copy.driverPath);
  info.pDataFile = Mutable(copy.dataFile);
  info.pConfigFile = Mutable(copy.configFile);
  info.pHelpFile = Mutable(copy.helpFile);
  info.pDependentFiles = copy.dependentFiles.empty() ? nullptr : Mutable(copy.dependentFiles);
  info.pMonitorName = Mutable(copy.monitorName);
  info.pDefaultDataType = Mutable(copy.defaultDataType);
  if (AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&info))) return true;
  error = GetLastError();
  return false;
}

std::unique_ptr<PrinterHandle> Win32Spooler::AddPrinter(const PrinterInfo2& printer,
                                                        std::uint32_t& error) {
  PrinterInfo2 copy = printer;
  PRINTER_INFO_2W info = {};
  info.pServerName = Mutable(copy.serverName);
  info.pPrinterName = Mutable(copy.printerName);
  info.pShareName = Mutable(copy.shareName);
  info.pPortName = Mutable(copy.portName);
  info.pDriverName = Mutable(copy.driverName);
  info.pComment = Mutable(copy.comment);
  info.pLocation = Mutable(copy.location);
  info.pDevMode = nullptr;
  info.pSepFile = Mutable(copy.sepFile);
  info.pPrintProcessor = Mutable(copy.printProcessor);
  info.pDatatype = Mutable(copy.datatype);
  info.pParameters = Mutable(copy.parameters);
  info.pSecurityDescriptor = nullptr;
  info.Attributes = copy.attributes;
  info.Priority = copy.priority;
  info.DefaultPriority = copy.defaultPriority;
  info.StartTime = copy.startTime;
  info.UntilTime = copy.untilTime;
  info.Status = copy.status;
  info.cJobs = copy.cJobs;
  info.AveragePPM = copy.averagePPM;
  HANDLE handle = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!handle) {
    error = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32PrinterHandle>(handle);
}

LateBoundResult Win32Spooler::SetDefaultPrinterA(const std::string& ansiName) {
  using SetDefaultPrinterFn = BOOL(WINAPI*)(LPCSTR);
  ScopedLibrary winspool(L"winspool.drv");
  if (!winspool) return LateBoundResult::Unavailable;
  auto setDefault = winspool.Find<SetDefaultPrinterFn>("SetDefaultPrinterA");
  if (!setDefault) return LateBoundResult::Unavailable;
  return setDefault(ansiName.c_str()) ? LateBoundResult::Succeeded : LateBoundResult::Failed;
}

}  // namespace installer::win32
