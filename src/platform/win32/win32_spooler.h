#pragma once

#include "platform/spooler.h"

namespace installer::win32 {

// The local print spooler through winspool; AddPortExW and SetDefaultPrinterA are looked up in
// "winspool.drv" at each use.
class Win32Spooler : public Spooler {
 public:
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
};

}  // namespace installer::win32
