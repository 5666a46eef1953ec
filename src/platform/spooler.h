#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace installer {

constexpr std::uint32_t kErrorInsufficientBuffer = 122;
constexpr std::uint32_t kErrorMonitorAlreadyInstalled =
    3006;  // ERROR_PRINT_MONITOR_ALREADY_INSTALLED
constexpr std::uint32_t kPrinterEnumLocalAndConnections = 6;  // PRINTER_ENUM_LOCAL | _CONNECTIONS

// The spooler environments of the drivers and monitors this program registers.
constexpr wchar_t kEnvironmentX86[] = L"Windows NT x86";
constexpr wchar_t kEnvironmentX64[] = L"Windows x64";

// PORT_INFO_2.
struct PortEntry {
  std::wstring portName;
  std::wstring monitorName;
  std::wstring description;
  std::uint32_t portType = 0;
  std::uint32_t reserved = 0;
  friend bool operator==(const PortEntry& a, const PortEntry& b) {
    return a.portName == b.portName && a.monitorName == b.monitorName &&
           a.description == b.description && a.portType == b.portType && a.reserved == b.reserved;
  }
};

// The fields of PRINTER_INFO_2 that enumeration callers read.
struct PrinterEntry {
  std::wstring printerName;
  std::wstring portName;
  std::wstring driverName;
};

// MONITOR_INFO_2.
struct MonitorInfo2 {
  std::wstring name;
  std::wstring environment;
  std::wstring dllName;
};

// DRIVER_INFO_3. Optional texts are null pointers when empty-optional. `dependentFiles` is the
// raw multi-string: names each ended by a NUL, then one more NUL (embedded L'\0' characters).
struct DriverInfo3 {
  std::uint32_t version = 0;
  std::wstring name;
  std::wstring environment;
  std::wstring driverPath;
  std::wstring dataFile;
  std::wstring configFile;
  std::optional<std::wstring> helpFile;
  std::wstring dependentFiles;
  std::optional<std::wstring> monitorName;
  std::optional<std::wstring> defaultDataType;
};

// PRINTER_INFO_2 as passed to AddPrinterW; pDevMode and pSecurityDescriptor are always null.
struct PrinterInfo2 {
  std::optional<std::wstring> serverName;
  std::wstring printerName;
  std::wstring shareName;
  std::wstring portName;
  std::wstring driverName;
  std::optional<std::wstring> comment;
  std::optional<std::wstring> location;
  std::wstring sepFile;
  std::wstring printProcessor;
  std::wstring datatype;
  std::wstring parameters;
  std::uint32_t attributes = 0;
  std::uint32_t priority = 0;
  std::uint32_t defaultPriority = 0;
  std::uint32_t startTime = 0;
  std::uint32_t untilTime = 0;
  std::uint32_t status = 0;
  std::uint32_t cJobs = 0;
  std::uint32_t averagePPM = 0;
};

// The first, buffer-less call of an enumeration.
struct SizingResult {
  bool ok = false;           // the call returned TRUE (nothing to list)
  std::uint32_t error = 0;   // GetLastError when it failed (122 when entries exist)
  std::uint32_t needed = 0;  // bytes the spooler asked for
};

// An open printer handle (from AddPrinterW); ClosePrinter when destroyed.
class PrinterHandle {
 public:
  virtual ~PrinterHandle() = default;
  virtual std::uintptr_t Value() const = 0;
  // SetPrinterDataW, REG_SZ, (length + 1) * 2 bytes. Returns the Win32 result code.
  virtual std::uint32_t SetPrinterData(const std::wstring& valueName, const std::wstring& text) = 0;
};

// Result of an entry point that is looked up in winspool.drv at each use.
enum class LateBoundResult { Succeeded, Failed, Unavailable };

// The print spooler of the local machine (server name always null): exactly the operations
// this program uses.
class Spooler {
 public:
  virtual ~Spooler() = default;
  // EnumPortsW level 2 without a buffer.
  virtual SizingResult EnumPortsSize() = 0;
  // EnumPortsW level 2 with a buffer of `bufferBytes`; fails with 122 when that is too small.
  virtual bool EnumPorts(std::uint32_t bufferBytes, std::vector<PortEntry>& ports,
                         std::uint32_t& error) = 0;
  // EnumPrintersW(flags, "", 2) without a buffer, then with one.
  virtual SizingResult EnumPrintersSize(std::uint32_t flags) = 0;
  virtual bool EnumPrinters(std::uint32_t flags, std::uint32_t bufferBytes,
                            std::vector<PrinterEntry>& printers, std::uint32_t& error) = 0;
  // AddMonitorW level 2.
  virtual bool AddMonitor(const MonitorInfo2& monitor, std::uint32_t& error) = 0;
  // AddPortExW level 1, looked up in winspool.drv; Unavailable when the library or entry is
  // missing.
  virtual LateBoundResult AddPortEx(const std::wstring& portName, const std::wstring& monitorName,
                                    std::uint32_t& error) = 0;
  // AddPortW: the monitor's own port wizard. True when a port was added.
  virtual bool AddPort(WindowRef owner, const std::wstring& monitorName, std::uint32_t& error) = 0;
  virtual bool ConfigurePort(WindowRef owner, const std::wstring& portName) = 0;
  virtual bool DeletePort(WindowRef owner, const std::wstring& portName) = 0;
  // GetPrinterDriverDirectoryW, default environment, level 1, 256-byte buffer.
  virtual std::optional<std::wstring> GetPrinterDriverDirectory(std::uint32_t& error) = 0;
  // AddPrinterDriverW level 3.
  virtual bool AddPrinterDriver(const DriverInfo3& driver, std::uint32_t& error) = 0;
  // AddPrinterW level 2; null on failure.
  virtual std::unique_ptr<PrinterHandle> AddPrinter(const PrinterInfo2& printer,
                                                    std::uint32_t& error) = 0;
  // SetDefaultPrinterA, looked up in winspool.drv; Unavailable when it cannot be found.
  virtual LateBoundResult SetDefaultPrinterA(const std::string& ansiName) = 0;
};

// The two-call enumerations as every caller uses them: the sizing call must fail with 122,
// then the buffer is the reported size plus 16 (ports) or 4 (printers) bytes. Any other outcome
// is nullopt (callers treat it as an empty list).
std::optional<std::vector<PortEntry>> EnumerateAllPorts(Spooler& spooler);
std::optional<std::vector<PrinterEntry>> EnumerateAllPrinters(Spooler& spooler);

}  // namespace installer
