#include "engine/printer_queue.h"

#include "engine/characterization_file.h"
#include "engine/driver_package.h"
#include "engine/monitor_port.h"
#include "engine_fixture.h"
#include "platform/sim/sim_dialog_controls.h"
#include "resources/resource.h"

namespace installer {
namespace {

class PrinterQueueTest : public EngineTest {
 protected:
  PrinterQueueTest() {
    names.driverName = L"Label Driver";
    settings.portName = L"LPT1:";
    DriverInfo3 driver;
    driver.name = L"Label Driver";
    driver.environment = spooler.environment;
    spooler.drivers.push_back({driver});
  }
};

TEST_F(PrinterQueueTest, UniqueNameSkipsTakenNamesIgnoringCase) {
  struct Case {
    std::vector<const wchar_t*> existing;
    const wchar_t* unique;
  };
  for (const Case& c :
       {Case{{}, L"Label"}, Case{{L"Other"}, L"Label"}, Case{{L"Label"}, L"Label (1)"},
        Case{{L"Label (1)", L"Label"}, L"Label (2)"}, Case{{L"label"}, L"Label (1)"},
        Case{{L"Label (1)"}, L"Label"}}) {
    spooler.printers.clear();
    for (const wchar_t* name : c.existing) spooler.AddTestPrinter(name);
    EXPECT_EQ(MakeUniqueQueueName(context), c.unique) << c.existing.size();
  }
  spooler.FailNext(sim::SpoolerOp::EnumPrinters, 1722);
  EXPECT_EQ(MakeUniqueQueueName(context), L"Label");
}

TEST_F(PrinterQueueTest, CreatesTheQueueWithItsRecordAndPrinterData) {
  spooler.AddTestPrinter(L"Label");
  ASSERT_TRUE(CreatePrinterQueue(context));
  EXPECT_EQ(context.createdQueueName, L"Label (1)");
  const auto* printer = spooler.FindPrinter(L"Label (1)");
  ASSERT_TRUE(printer);
  const PrinterInfo2& p = printer->info;
  EXPECT_EQ(p.serverName, std::nullopt);
  EXPECT_EQ(p.printerName, L"Label (1)");
  EXPECT_EQ(p.shareName, L"Label (1)");
  EXPECT_EQ(p.portName, L"LPT1:");
  EXPECT_EQ(p.driverName, L"Label Driver");
  EXPECT_EQ(p.comment, std::nullopt);
  EXPECT_EQ(p.location, std::nullopt);
  EXPECT_EQ(p.sepFile, L"");
  EXPECT_EQ(p.printProcessor, L"WinPrint");
  EXPECT_EQ(p.datatype, L"RAW");
  EXPECT_EQ(p.parameters, L"");
  EXPECT_EQ(p.attributes, 4u);
  for (std::uint32_t zero :
       {p.priority, p.defaultPriority, p.startTime, p.untilTime, p.status, p.cJobs, p.averagePPM}) {
    EXPECT_EQ(zero, 0u);
  }
  const std::vector<std::pair<std::wstring, std::wstring>> data = {
      {L"DevicePath", L""},
      {L"VidAndPid", L"vid_1a2b&pid_3c4d"},
      {L"UserForm", L"400 300 0 0"},
      {L"Language", L"ENGLISH.DLL"},
  };
  EXPECT_EQ(printer->data, data);
  EXPECT_EQ(spooler.calls.back(), L"ClosePrinter");
  // The test printer took the first handle value.
  EXPECT_EQ(Log(), "AddPrinter hPrinter = 2a0011\r\r\n");
}

TEST_F(PrinterQueueTest, ARefusedQueueIsLogged) {
  names.driverName = L"Missing Driver";
  EXPECT_FALSE(CreatePrinterQueue(context));
  EXPECT_EQ(context.createdQueueName, L"");
  EXPECT_EQ(Log(), "AddPrinter = 1797\r\r\n");
}

TEST_F(PrinterQueueTest, DefaultPrinterIsTheCreatedQueueWhenTheBoxIsStillChecked) {
  struct Case {
    bool checked;
    bool registered;
    const wchar_t* defaultAfter;
  };
  for (const Case& c :
       {Case{true, true, L"Label (1)"}, Case{false, true, L"Other"}, Case{true, false, L"Other"}}) {
    spooler.printers.clear();
    spooler.AddTestPrinter(L"Other");
    spooler.AddTestPrinter(L"Label");  // an older printer with the plain name
    spooler.defaultPrinter = L"Other";
    context.createdQueueName.clear();
    if (c.registered) {
      ASSERT_TRUE(CreatePrinterQueue(context));
    }
    sim::SimDialogControls wizard;
    wizard.SetCheck(IDC_DEFAULT_PRINTER, c.checked);
    settings.setAsDefault = !c.checked;
    SetDefaultQueue(context, c.registered, wizard);
    EXPECT_EQ(settings.setAsDefault, c.checked);
    EXPECT_EQ(spooler.defaultPrinter, c.defaultAfter);
  }
}

TEST_F(PrinterQueueTest, AMissingSetDefaultPrinterIsSkipped) {
  ASSERT_TRUE(CreatePrinterQueue(context));
  spooler.setDefaultPrinterFound = false;
  SetDefaultQueue(context, true, [] { return true; });
  EXPECT_EQ(spooler.defaultPrinter, L"");
}

// The spooler steps in the worker's order, as one installation runs them.
bool RunSpoolerSteps(EngineContext& context) {
  if (!WriteCharacterizationFile(context)) return false;
  SetDriverName(context);
  return CopyDriverFiles(context) && (InstallMonitorFiles(context), true) &&
         ResolveQueuePort(context) && RegisterPrinterDriver(context) && CreatePrinterQueue(context);
}

class SpoolerStepsTest : public EngineTest {
 protected:
  SpoolerStepsTest() {
    for (const wchar_t* name : {L"plotui.dll", L"plotter.dll", L"CHISMPL.DLL", L"CHITRAD.DLL",
                                L"ENGLISH.DLL", L"Image.dll", L"about.jpg", L"about.txt",
                                L"KavitPrinterMon.dll", L"KavitPrinterMonUI.dll"}) {
      Put(std::wstring(kFolder) + L"\\" + name, "x");
    }
    files.MakeDirectories(kSystem);
    spooler.loadableDlls.insert(L"C:\\Windows\\system32\\LabelMon.dll");
    settings.useMonitorPort = true;
    settings.portName = L"USB";
  }
};

TEST_F(SpoolerStepsTest, ASuccessfulRunWithTheMonitorInstalledLogsOnlyTheQueue) {
  std::uint32_t error = 0;
  ASSERT_TRUE(spooler.AddMonitor(
      {L"Label Monitor", L"Windows NT x86", L"C:\\Windows\\system32\\LabelMon.dll"}, error));
  Put(kInstallLogPath, "earlier run\r\r\n");
  ASSERT_TRUE(RunSpoolerSteps(context));
  EXPECT_EQ(Log(), "earlier run\r\r\nAddPrinter hPrinter = 2a0010\r\r\n");
  const auto* queue = spooler.FindPrinter(L"Label");
  ASSERT_TRUE(queue);
  EXPECT_EQ(queue->info.portName, L"Label-Port:");
  EXPECT_EQ(queue->info.driverName, L"Label Driver");
}

TEST_F(SpoolerStepsTest, AFailedRunStopsAtTheRefusedStep) {
  spooler.FailNext(sim::SpoolerOp::AddPrinterDriver, 1804);
  picker.answers = {L"LPT1:"};
  spooler.loadableDlls.clear();
  EXPECT_FALSE(RunSpoolerSteps(context));
  EXPECT_EQ(Log(), "AddPrinterMonitor32 = 126\r\r\nAddPrinterDriver = 1804\r\r\n");
  EXPECT_TRUE(spooler.printers.empty());
  SetDefaultQueue(context, false, [] { return true; });
  EXPECT_EQ(spooler.defaultPrinter, L"");
}

}  // namespace
}  // namespace installer
