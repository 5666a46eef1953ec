#include "platform/sim/sim_spooler.h"

#include <algorithm>
#include <cwctype>

namespace installer::sim {

namespace {

std::uint32_t TextBytes(const std::wstring& text) {
  return static_cast<std::uint32_t>((text.size() + 1) * sizeof(std::uint16_t));
}

std::uint32_t OptionalBytes(const std::optional<std::wstring>& text) {
  return text ? TextBytes(*text) : 0;
}

class SimPrinterHandle : public PrinterHandle {
 public:
  SimPrinterHandle(SimSpooler& spooler, std::uintptr_t value) : spooler_(spooler), value_(value) {}
  ~SimPrinterHandle() override { spooler_.calls.push_back(L"ClosePrinter"); }
  std::uintptr_t Value() const override { return value_; }
  std::uint32_t SetPrinterData(const std::wstring& valueName, const std::wstring& text) override {
    return spooler_.WritePrinterData(value_, valueName, text);
  }

 private:
  SimSpooler& spooler_;
  std::uintptr_t value_;
};

std::wstring FromLatin1(const std::string& text) {
  std::wstring out;
  for (char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<std::wint_t>(x)) ==
                  std::towupper(static_cast<std::wint_t>(y));
         });
}

void SimSpooler::AddStandardLocalPorts() {
  if (!FindMonitor(kLocalPortMonitor)) {
    monitors.push_back({kLocalPortMonitor, environment, L"localspl.dll"});
  }
  for (const wchar_t* name :
       {L"COM1:", L"COM2:", L"COM3:", L"COM4:", L"LPT1:", L"LPT2:", L"LPT3:", L"FILE:"}) {
    AddTestPort(name, kLocalPortMonitor, kLocalPortMonitor);
  }
}

void SimSpooler::AddTestPort(const std::wstring& name, const std::wstring& monitor,
                             const std::wstring& description) {
  PortEntry port;
  port.portName = name;
  port.monitorName = monitor;
  port.description = description;
  port.portType = 3;  // PORT_TYPE_WRITE | PORT_TYPE_READ
  ports.push_back(port);
}

void SimSpooler::AddTestPrinter(const std::wstring& name, const std::wstring& port,
                                const std::wstring& driver) {
  Printer printer;
  printer.info.printerName = name;
  printer.info.portName = port;
  printer.info.driverName = driver;
  printer.handle = nextHandle_++;
  printers.push_back(printer);
}

void SimSpooler::UseX64() {
  environment = kEnvironmentX64;
  driverDirectory = L"C:\\Windows\\system32\\spool\\drivers\\x64";
  pointerSize = 8;
}

const PortEntry* SimSpooler::FindPort(const std::wstring& name) const {
  for (const auto& port : ports) {
    if (SameNameIgnoringCase(port.portName, name)) return &port;
  }
  return nullptr;
}

const MonitorInfo2* SimSpooler::FindMonitor(const std::wstring& name) const {
  for (const auto& monitor : monitors) {
    if (SameNameIgnoringCase(monitor.name, name)) return &monitor;
  }
  return nullptr;
}

const SimSpooler::Driver* SimSpooler::FindDriver(const std::wstring& name,
                                                 const std::wstring& env) const {
  for (const auto& driver : drivers) {
    if (SameNameIgnoringCase(driver.info.name, name) &&
        SameNameIgnoringCase(driver.info.environment, env)) {
      return &driver;
    }
  }
  return nullptr;
}

const SimSpooler::Printer* SimSpooler::FindPrinter(const std::wstring& name) const {
  for (const auto& printer : printers) {
    if (SameNameIgnoringCase(printer.info.printerName, name)) return &printer;
  }
  return nullptr;
}

bool SimSpooler::TakeFault(SpoolerOp op, std::uint32_t& error) {
  auto it = faults_.find(op);
  if (it == faults_.end()) return false;
  error = it->second.error;
  if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
  return true;
}

std::uint32_t SimSpooler::PortBytes() const {
  // PORT_INFO_2: three pointers and two DWORDs, the texts after the records.
  std::uint32_t bytes = 0;
  for (const auto& port : ports) {
    bytes += static_cast<std::uint32_t>(3 * pointerSize + 8);
    bytes += TextBytes(port.portName) + TextBytes(port.monitorName) + TextBytes(port.description);
  }
  return bytes;
}

std::uint32_t SimSpooler::PrinterBytes() const {
  // PRINTER_INFO_2: thirteen pointers and eight DWORDs, the texts after the records.
  std::uint32_t bytes = 0;
  for (const auto& printer : printers) {
    const PrinterInfo2& p = printer.info;
    bytes += static_cast<std::uint32_t>(13 * pointerSize + 32);
    bytes += TextBytes(p.printerName) + TextBytes(p.shareName) + TextBytes(p.portName) +
             TextBytes(p.driverName) + OptionalBytes(p.comment) + OptionalBytes(p.location) +
             TextBytes(p.sepFile) + TextBytes(p.printProcessor) + TextBytes(p.datatype) +
             TextBytes(p.parameters);
  }
  return bytes;
}

SizingResult SimSpooler::EnumPortsSize() {
  calls.push_back(L"EnumPortsW(size)");
  SizingResult result;
  if (TakeFault(SpoolerOp::EnumPortsSize, result.error)) return result;
  result.needed = PortBytes();
  if (ports.empty()) {
    result.ok = true;
  } else {
    result.error = kErrorInsufficientBuffer;
  }
  return result;
}

bool SimSpooler::EnumPorts(std::uint32_t bufferBytes, std::vector<PortEntry>& out,
                           std::uint32_t& error) {
  calls.push_back(L"EnumPortsW(" + std::to_wstring(bufferBytes) + L")");
  out.clear();
  if (TakeFault(SpoolerOp::EnumPorts, error)) return false;
  if (bufferBytes < PortBytes()) {
    error = kErrorInsufficientBuffer;
    return false;
  }
  out = ports;
  return true;
}

SizingResult SimSpooler::EnumPrintersSize(std::uint32_t flags) {
  calls.push_back(L"EnumPrintersW(" + std::to_wstring(flags) + L", size)");
  SizingResult result;
  if (TakeFault(SpoolerOp::EnumPrintersSize, result.error)) return result;
  result.needed = PrinterBytes();
  if (printers.empty()) {
    result.ok = true;
  } else {
    result.error = kErrorInsufficientBuffer;
  }
  return result;
}

bool SimSpooler::EnumPrinters(std::uint32_t flags, std::uint32_t bufferBytes,
                              std::vector<PrinterEntry>& out, std::uint32_t& error) {
  calls.push_back(L"EnumPrintersW(" + std::to_wstring(flags) + L", " +
                  std::to_wstring(bufferBytes) + L")");
  out.clear();
  if (TakeFault(SpoolerOp::EnumPrinters, error)) return false;
  if (bufferBytes < PrinterBytes()) {
    error = kErrorInsufficientBuffer;
    return false;
  }
  for (const auto& printer : printers) {
    out.push_back({printer.info.printerName, printer.info.portName, printer.info.driverName});
  }
  return true;
}

bool SimSpooler::AddMonitor(const MonitorInfo2& monitor, std::uint32_t& error) {
  calls.push_back(L"AddMonitorW(" + monitor.name + L", " + monitor.environment + L", " +
                  monitor.dllName + L")");
  if (TakeFault(SpoolerOp::AddMonitor, error)) return false;
  if (monitor.name.empty() || monitor.dllName.empty()) {
    error = kErrorInvalidParameter;
    return false;
  }
  if (!SameNameIgnoringCase(monitor.environment, environment)) {
    error = kErrorInvalidEnvironment;
    return false;
  }
  if (FindMonitor(monitor.name)) {
    error = kErrorMonitorAlreadyInstalled;
    return false;
  }
  const bool loads = std::any_of(
      loadableDlls.begin(), loadableDlls.end(),
      [&](const std::wstring& dll) { return SameNameIgnoringCase(dll, monitor.dllName); });
  if (!loads) {
    error = kErrorModNotFound;
    return false;
  }
  monitors.push_back(monitor);
  return true;
}

LateBoundResult SimSpooler::AddPortEx(const std::wstring& portName, const std::wstring& monitorName,
                                      std::uint32_t& error) {
  calls.push_back(L"AddPortExW(" + portName + L", " + monitorName + L")");
  if (!winspoolLoads) return LateBoundResult::Unavailable;
  if (TakeFault(SpoolerOp::AddPortEx, error)) return LateBoundResult::Failed;
  if (!FindMonitor(monitorName)) {
    error = kErrorUnknownPrintMonitor;
    return LateBoundResult::Failed;
  }
  if (portName.empty() || FindPort(portName)) {
    error = kErrorInvalidParameter;
    return LateBoundResult::Failed;
  }
  const std::wstring description =
      SameNameIgnoringCase(monitorName, kLocalPortMonitor) ? kLocalPortMonitor : monitorName;
  AddTestPort(portName, FindMonitor(monitorName)->name, description);
  return LateBoundResult::Succeeded;
}

bool SimSpooler::AddPort(WindowRef owner, const std::wstring& monitorName, std::uint32_t& error) {
  calls.push_back(L"AddPortW(" + monitorName + L")");
  if (TakeFault(SpoolerOp::AddPort, error)) return false;
  auto wizard = portWizards.find(monitorName);
  if (wizard == portWizards.end() || !wizard->second) {
    error = kErrorNotSupported;
    return false;
  }
  if (!wizard->second(owner, *this)) {
    error = kErrorCancelled;
    return false;
  }
  return true;
}

bool SimSpooler::ConfigurePort(WindowRef owner, const std::wstring& portName) {
  (void)owner;
  calls.push_back(L"ConfigurePortW(" + portName + L")");
  return FindPort(portName) != nullptr;
}

bool SimSpooler::DeletePort(WindowRef owner, const std::wstring& portName) {
  (void)owner;
  calls.push_back(L"DeletePortW(" + portName + L")");
  auto it = std::find_if(ports.begin(), ports.end(), [&](const PortEntry& port) {
    return SameNameIgnoringCase(port.portName, portName);
  });
  if (it == ports.end()) return false;
  ports.erase(it);
  return true;
}

std::optional<std::wstring> SimSpooler::GetPrinterDriverDirectory(std::uint32_t& error) {
  calls.push_back(L"GetPrinterDriverDirectoryW");
  if (TakeFault(SpoolerOp::GetPrinterDriverDirectory, error)) return std::nullopt;
  return driverDirectory;
}

bool SimSpooler::AddPrinterDriver(const DriverInfo3& driver, std::uint32_t& error) {
  calls.push_back(L"AddPrinterDriverW(" + driver.name + L", " + driver.environment + L")");
  if (TakeFault(SpoolerOp::AddPrinterDriver, error)) return false;
  if (driver.name.empty() || driver.driverPath.empty() || driver.dataFile.empty() ||
      driver.configFile.empty()) {
    error = kErrorInvalidParameter;
    return false;
  }
  if (!SameNameIgnoringCase(driver.environment, kEnvironmentX86) &&
      !SameNameIgnoringCase(driver.environment, kEnvironmentX64)) {
    error = kErrorInvalidEnvironment;
    return false;
  }
  if (files) {
    for (const std::wstring* name : {&driver.driverPath, &driver.dataFile, &driver.configFile}) {
      if (!files->Exists(driverDirectory + L"\\" + *name)) {
        error = kErrorFileNotFound;
        return false;
      }
    }
  }
  for (auto& existing : drivers) {
    if (SameNameIgnoringCase(existing.info.name, driver.name) &&
        SameNameIgnoringCase(existing.info.environment, driver.environment)) {
      existing.info = driver;  // an update of the same driver
      return true;
    }
  }
  drivers.push_back({driver});
  return true;
}

std::unique_ptr<PrinterHandle> SimSpooler::AddPrinter(const PrinterInfo2& printer,
                                                      std::uint32_t& error) {
  calls.push_back(L"AddPrinterW(" + printer.printerName + L", " + printer.portName + L", " +
                  printer.driverName + L")");
  if (TakeFault(SpoolerOp::AddPrinter, error)) return nullptr;
  if (printer.printerName.empty() ||
      printer.printerName.find_first_of(L",!\\") != std::wstring::npos) {
    error = kErrorInvalidPrinterName;
    return nullptr;
  }
  if (FindPrinter(printer.printerName)) {
    error = kErrorPrinterAlreadyExists;
    return nullptr;
  }
  if (!FindDriver(printer.driverName, environment)) {
    error = kErrorUnknownPrinterDriver;
    return nullptr;
  }
  if (!FindPort(printer.portName)) {
    error = kErrorUnknownPort;
    return nullptr;
  }
  if (!SameNameIgnoringCase(printer.printProcessor, L"WinPrint")) {
    error = kErrorUnknownPrintProcessor;
    return nullptr;
  }
  Printer added;
  added.info = printer;
  added.handle = nextHandle_++;
  printers.push_back(added);
  return std::make_unique<SimPrinterHandle>(*this, added.handle);
}

std::uint32_t SimSpooler::WritePrinterData(std::uintptr_t handle, const std::wstring& valueName,
                                           const std::wstring& text) {
  calls.push_back(L"SetPrinterDataW(" + valueName + L")");
  std::uint32_t error = 0;
  if (TakeFault(SpoolerOp::SetPrinterData, error)) return error;
  for (auto& printer : printers) {
    if (printer.handle != handle) continue;
    for (auto& value : printer.data) {
      if (SameNameIgnoringCase(value.first, valueName)) {
        value.second = text;
        return 0;
      }
    }
    printer.data.emplace_back(valueName, text);
    return 0;
  }
  return 6;  // ERROR_INVALID_HANDLE
}

LateBoundResult SimSpooler::SetDefaultPrinterA(const std::string& ansiName) {
  const std::wstring name = FromLatin1(ansiName);
  calls.push_back(L"SetDefaultPrinterA(" + name + L")");
  if (!winspoolLoads || !setDefaultPrinterFound) return LateBoundResult::Unavailable;
  std::uint32_t error = 0;
  if (TakeFault(SpoolerOp::SetDefaultPrinter, error)) return LateBoundResult::Failed;
  const Printer* printer = FindPrinter(name);
  if (!printer) return LateBoundResult::Failed;
  defaultPrinter = printer->info.printerName;
  return LateBoundResult::Succeeded;
}

}  // namespace installer::sim
