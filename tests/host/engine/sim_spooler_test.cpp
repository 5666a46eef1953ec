#include "platform/sim/sim_spooler.h"

#include <gtest/gtest.h>

namespace installer::sim {
namespace {

TEST(SimSpooler, EnumeratesStandardPortsThroughTheTwoCalls) {
  SimSpooler spooler;
  spooler.AddStandardLocalPorts();
  const SizingResult sizing = spooler.EnumPortsSize();
  EXPECT_FALSE(sizing.ok);
  EXPECT_EQ(sizing.error, kErrorInsufficientBuffer);
  // Eight 20-byte records; "COMn:"/"LPTn:"/"FILE:" 12 bytes, "Local Port" 22 bytes twice.
  EXPECT_EQ(sizing.needed, 8u * 20 + 8 * 12 + 8 * 2 * 22);

  std::vector<PortEntry> ports;
  std::uint32_t error = 0;
  EXPECT_FALSE(spooler.EnumPorts(sizing.needed - 1, ports, error));
  EXPECT_EQ(error, kErrorInsufficientBuffer);

  auto all = EnumerateAllPorts(spooler);
  ASSERT_TRUE(all);
  ASSERT_EQ(all->size(), 8u);
  EXPECT_EQ((*all)[0].portName, L"COM1:");
  EXPECT_EQ((*all)[7].portName, L"FILE:");
  EXPECT_EQ((*all)[4].monitorName, L"Local Port");
  EXPECT_EQ((*all)[4].description, L"Local Port");
}

TEST(SimSpooler, RefusesAsWindowsDoes) {
  SimSpooler spooler;
  spooler.AddStandardLocalPorts();
  std::uint32_t error = 0;

  MonitorInfo2 monitor{L"Label Monitor", kEnvironmentX86, L"C:\\Windows\\system32\\LabelMon.dll"};
  EXPECT_FALSE(spooler.AddMonitor(monitor, error));
  EXPECT_EQ(error, kErrorModNotFound);
  spooler.loadableDlls.insert(L"c:\\windows\\system32\\labelmon.dll");
  EXPECT_TRUE(spooler.AddMonitor(monitor, error));
  EXPECT_FALSE(spooler.AddMonitor(monitor, error));
  EXPECT_EQ(error, kErrorMonitorAlreadyInstalled);

  EXPECT_EQ(spooler.AddPortEx(L"Label-Port:", L"Label Monitor", error), LateBoundResult::Succeeded);
  EXPECT_EQ(spooler.AddPortEx(L"Label-Port:", L"Label Monitor", error), LateBoundResult::Failed);
  EXPECT_EQ(error, kErrorInvalidParameter);
  EXPECT_EQ(spooler.AddPortEx(L"X:", L"No Such Monitor", error), LateBoundResult::Failed);
  EXPECT_EQ(error, kErrorUnknownPrintMonitor);

  PrinterInfo2 printer;
  printer.printerName = L"Label";
  printer.portName = L"Label-Port:";
  printer.driverName = L"Label Driver";
  printer.printProcessor = L"WinPrint";
  EXPECT_FALSE(spooler.AddPrinter(printer, error));
  EXPECT_EQ(error, kErrorUnknownPrinterDriver);

  DriverInfo3 driver;
  driver.version = 3;
  driver.name = L"Label Driver";
  driver.environment = kEnvironmentX86;
  driver.driverPath = L"LabelDrv.dll";
  driver.dataFile = L"LabelGPC.pcd";
  driver.configFile = L"LabelUI.dll";
  ASSERT_TRUE(spooler.AddPrinterDriver(driver, error));

  printer.portName = L"NUL:";
  EXPECT_FALSE(spooler.AddPrinter(printer, error));
  EXPECT_EQ(error, kErrorUnknownPort);
  printer.portName = L"Label-Port:";
  auto handle = spooler.AddPrinter(printer, error);
  ASSERT_TRUE(handle);
  EXPECT_EQ(handle->SetPrinterData(L"Language", L"ENGLISH.DLL"), 0u);
  printer.printerName = L"LABEL";
  EXPECT_FALSE(spooler.AddPrinter(printer, error));
  EXPECT_EQ(error, kErrorPrinterAlreadyExists);

  EXPECT_EQ(spooler.SetDefaultPrinterA("label"), LateBoundResult::Succeeded);
  EXPECT_EQ(spooler.defaultPrinter, L"Label");
  EXPECT_EQ(spooler.SetDefaultPrinterA("Nobody"), LateBoundResult::Failed);
}

TEST(SimSpooler, InjectedFaultsFailOnceOrAlways) {
  SimSpooler spooler;
  std::uint32_t error = 0;
  spooler.FailNext(SpoolerOp::GetPrinterDriverDirectory, 5);
  EXPECT_FALSE(spooler.GetPrinterDriverDirectory(error));
  EXPECT_EQ(error, 5u);
  EXPECT_TRUE(spooler.GetPrinterDriverDirectory(error));

  spooler.FailAlways(SpoolerOp::EnumPrinters, 1722);
  EXPECT_FALSE(EnumerateAllPrinters(spooler));
  EXPECT_FALSE(EnumerateAllPrinters(spooler));
}

TEST(SimSpooler, PortWizardRunsTheTestsCallback) {
  SimSpooler spooler;
  std::uint32_t error = 0;
  EXPECT_FALSE(spooler.AddPort(0, kTcpPortMonitor, error));
  EXPECT_EQ(error, kErrorNotSupported);

  bool addPort = true;
  spooler.portWizards[kTcpPortMonitor] = [&](WindowRef, SimSpooler& s) {
    if (addPort) s.AddTestPort(L"IP_10.0.0.5", kTcpPortMonitor, kTcpPortMonitor);
    return addPort;
  };
  EXPECT_TRUE(spooler.AddPort(7, kTcpPortMonitor, error));
  ASSERT_TRUE(spooler.FindPort(L"IP_10.0.0.5"));
  addPort = false;
  EXPECT_FALSE(spooler.AddPort(7, kTcpPortMonitor, error));
  EXPECT_EQ(error, kErrorCancelled);

  EXPECT_TRUE(spooler.DeletePort(7, L"IP_10.0.0.5"));
  EXPECT_FALSE(spooler.FindPort(L"IP_10.0.0.5"));
  EXPECT_EQ(spooler.calls.back(), L"DeletePortW(IP_10.0.0.5)");
}

}  // namespace
}  // namespace installer::sim
