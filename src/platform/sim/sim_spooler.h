#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/spooler.h"

namespace installer::sim {

// Win32 error codes the simulated spooler answers with, as the real one does.
constexpr std::uint32_t kErrorNotSupported = 50;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorModNotFound = 126;
constexpr std::uint32_t kErrorCancelled = 1223;
constexpr std::uint32_t kErrorUnknownPort = 1796;
constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr std::uint32_t kErrorUnknownPrintProcessor = 1798;
constexpr std::uint32_t kErrorInvalidPrinterName = 1801;
constexpr std::uint32_t kErrorPrinterAlreadyExists = 1802;
constexpr std::uint32_t kErrorInvalidEnvironment = 1805;
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorUnknownPrintMonitor = 3000;

constexpr wchar_t kLocalPortMonitor[] = L"Local Port";
constexpr wchar_t kTcpPortMonitor[] = L"Standard TCP/IP Port";

// The operations whose outcome a test can force.
enum class SpoolerOp {
  EnumPortsSize,
  EnumPorts,
  EnumPrintersSize,
  EnumPrinters,
  AddMonitor,
  AddPortEx,
  AddPort,
  GetPrinterDriverDirectory,
  AddPrinterDriver,
  AddPrinter,
  SetPrinterData,
  SetDefaultPrinter,
};

// A print spooler in memory that accepts and refuses as the Windows spooler does. It starts
// empty; AddStandardLocalPorts gives the ports every Windows machine has. By default it is the
// spooler of 32-bit Windows; UseX64 makes it the spooler of 64-bit Windows.
class SimSpooler : public Spooler {
 public:
  struct Printer {
    PrinterInfo2 info;
    std::uintptr_t handle = 0;
    std::vector<std::pair<std::wstring, std::wstring>> data;  // printer data in write order
  };
  struct Driver {
    DriverInfo3 info;
  };
  // Runs the port wizard of a monitor (AddPortW); returns whether a port was added.
  using PortWizard = std::function<bool(WindowRef owner, SimSpooler& spooler)>;

  // Machine facts.
  std::wstring environment = kEnvironmentX86;
  std::wstring driverDirectory = L"C:\\Windows\\system32\\spool\\drivers\\w32x86";
  int pointerSize = 4;  // sizes of the enumeration records follow the caller's pointer size
  // When set, AddPrinterDriver requires the driver, data and config files in driverDirectory.
  FileSystem* files = nullptr;
  bool winspoolLoads = true;           // "winspool.drv" can be loaded
  bool setDefaultPrinterFound = true;  // SetDefaultPrinterA is exported

  // State, readable and writable by tests.
  std::vector<PortEntry> ports;
  std::vector<MonitorInfo2> monitors;
  std::set<std::wstring> loadableDlls;  // monitor DLL paths that load (compared ignoring case)
  std::map<std::wstring, PortWizard> portWizards;  // by monitor name
  std::vector<Driver> drivers;
  std::vector<Printer> printers;
  std::wstring defaultPrinter;
  std::vector<std::wstring> calls;  // one line per operation, in call order

  // The ports of a fresh Windows: COM1:-COM4:, LPT1:-LPT3:, FILE:, of the "Local Port" monitor.
  void AddStandardLocalPorts();
  void AddTestPort(const std::wstring& name, const std::wstring& monitor,
                   const std::wstring& description);
  void AddTestPrinter(const std::wstring& name, const std::wstring& port = L"LPT1:",
                      const std::wstring& driver = L"Generic Driver");
  void UseX64();

  // Fault injection: the next call (or every call) of `op` fails with `error`.
  void FailNext(SpoolerOp op, std::uint32_t error) { faults_[op] = {error, 1}; }
  void FailAlways(SpoolerOp op, std::uint32_t error) { faults_[op] = {error, -1}; }
  void ClearFaults() { faults_.clear(); }

  // Lookups for tests.
  const PortEntry* FindPort(const std::wstring& name) const;
  const MonitorInfo2* FindMonitor(const std::wstring& name) const;
  const Driver* FindDriver(const std::wstring& name, const std::wstring& environment) const;
  const Printer* FindPrinter(const std::wstring& name) const;  // ignoring case

  SizingResult EnumPortsSize() override;
  bool EnumPorts(std::uint32_t bufferBytes, std::vector<PortEntry>& ports,
                 std::uint32_t& error) override;
  SizingResult EnumPrintersSize(std::uint32_t flags) override;
  bool EnumPrinters(std::uint32_t flags, std::uint32_t bufferBytes,
                    std::vector<PrinterEntry>& printers, std::uint32_t& error) override;
  bool AddMonitor(const MonitorInfo2& monitor, std::uint32_t& error) override;
  LateBoundResult AddPortEx(const std::wstring& portName, const std::wstring& monitorName,
                            std::uint32_t& error) override;
  bool AddPort(WindowRef owner, const std::wstring& monitorName, std::uint32_t& error) override;
  bool ConfigurePort(WindowRef owner, const std::wstring& portName) override;
  bool DeletePort(WindowRef owner, const std::wstring& portName) override;
  std::optional<std::wstring> GetPrinterDriverDirectory(std::uint32_t& error) override;
  bool AddPrinterDriver(const DriverInfo3& driver, std::uint32_t& error) override;
  std::unique_ptr<PrinterHandle> AddPrinter(const PrinterInfo2& printer,
                                            std::uint32_t& error) override;
  LateBoundResult SetDefaultPrinterA(const std::string& ansiName) override;

  // Used by the printer handles.
  std::uint32_t WritePrinterData(std::uintptr_t handle, const std::wstring& valueName,
                                 const std::wstring& text);

 private:
  struct Fault {
    std::uint32_t error = 0;
    int remaining = 0;  // -1: always
  };
  bool TakeFault(SpoolerOp op, std::uint32_t& error);
  std::uint32_t PortBytes() const;
  std::uint32_t PrinterBytes() const;

  std::map<SpoolerOp, Fault> faults_;
  std::uintptr_t nextHandle_ = 0x2A0010;
};

// Windows compares spooler names ignoring case.
bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b);

}  // namespace installer::sim
