#include "platform/spooler.h"

namespace installer {

std::optional<std::vector<PortEntry>> EnumerateAllPorts(Spooler& spooler) {
  const SizingResult sizing = spooler.EnumPortsSize();
  if (sizing.ok || sizing.error != kErrorInsufficientBuffer) return std::nullopt;
  std::vector<PortEntry> ports;
  std::uint32_t error = 0;
  if (!spooler.EnumPorts(sizing.needed + 16, ports, error)) return std::nullopt;
  return ports;
}

std::optional<std::vector<PrinterEntry>> EnumerateAllPrinters(Spooler& spooler) {
  // The sizing call's result is not checked: with no printers it succeeds with 0 bytes.
  const SizingResult sizing = spooler.EnumPrintersSize(kPrinterEnumLocalAndConnections);
  std::vector<PrinterEntry> printers;
  std::uint32_t error = 0;
  if (!spooler.EnumPrinters(kPrinterEnumLocalAndConnections, sizing.needed + 4, printers, error)) {
    return std::nullopt;
  }
  return printers;
}

}  // namespace installer
