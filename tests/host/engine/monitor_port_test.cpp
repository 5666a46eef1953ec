#include "engine/monitor_port.h"

#include "engine_fixture.h"
#include "platform/sim/sim_dialog_controls.h"
#include "platform/sim/sim_registry.h"
#include "resources/resource.h"

namespace installer {
namespace {

constexpr wchar_t kMonitorDll[] = L"C:\\Windows\\system32\\LabelMon.dll";

class MonitorPortTest : public EngineTest {};

TEST_F(MonitorPortTest, InstallsTheMonitorDllsUnderThePrinterName) {
  for (bool win64 : {false, true}) {
    SCOPED_TRACE(win64 ? "64-bit" : "32-bit");
    if (win64) Use64Bit();
    const std::wstring suffix = win64 ? L".x64" : L"";
    for (const wchar_t* name : {L"KavitPrinterMon.dll", L"KavitPrinterMonUI.dll"}) {
      const std::wstring source = name + suffix;
      Put(std::wstring(kFolder) + L"\\" + source, std::string(source.begin(), source.end()));
    }
    InstallMonitorFiles(context);
    EXPECT_EQ(Content(std::wstring(kSystem) + L"\\LabelMon.dll"),
              win64 ? "KavitPrinterMon.dll.x64" : "KavitPrinterMon.dll");
    EXPECT_EQ(Content(std::wstring(kSystem) + L"\\LabelMonUI.dll"),
              win64 ? "KavitPrinterMonUI.dll.x64" : "KavitPrinterMonUI.dll");
    EXPECT_FALSE(files.Exists(std::wstring(kFolder) + L"\\KavitPrinterMon.dll" + suffix));
    // Redirection is switched off around the copies on 64-bit Windows only.
    EXPECT_EQ(system.redirectionSwitches, win64 ? 1 : 0);
    EXPECT_EQ(system.redirectionDisabled, 0);
  }
}

TEST_F(MonitorPortTest, UsbGetsTheMonitorAndItsOwnPort) {
  spooler.loadableDlls.insert(kMonitorDll);
  settings.useMonitorPort = true;
  settings.portName = L"USB";
  ASSERT_TRUE(ResolveQueuePort(context));
  EXPECT_EQ(settings.portName, L"Label-Port:");
  EXPECT_EQ(names.portName, L"Label-Port:");
  const MonitorInfo2* monitor = spooler.FindMonitor(L"Label Monitor");
  ASSERT_TRUE(monitor);
  EXPECT_EQ(monitor->environment, L"Windows NT x86");
  EXPECT_EQ(monitor->dllName, kMonitorDll);
  ASSERT_TRUE(spooler.FindPort(L"Label-Port:"));
  EXPECT_EQ(spooler.FindPort(L"Label-Port:")->monitorName, L"Label Monitor");
  EXPECT_EQ(picker.shown, 0);
  EXPECT_EQ(Log(), "");
}

// Each way the port step can go, on 32-bit and 64-bit Windows.
TEST_F(MonitorPortTest, FallsBackToThePortListAndLogsWhatFailed) {
  enum Setup { kFresh, kMonitorInstalled, kMonitorAndPortInstalled, kDllNotLoadable };
  struct Case {
    const char* name;
    bool win64;
    Setup setup;
    bool useMonitorPort;
    const wchar_t* chosenPort;
    std::vector<std::optional<std::wstring>> picks;
    bool result;
    const wchar_t* finalPort;
    int shown;
    const char* log;
  };
  const Case cases[] = {
      {"monitor installed before, 32",
       false,
       kMonitorInstalled,
       true,
       L"USB",
       {},
       true,
       L"Label-Port:",
       0,
       ""},
      {"monitor installed before, 64",
       true,
       kMonitorInstalled,
       true,
       L"USB",
       {},
       true,
       L"Label-Port:",
       0,
       "AddPrinterMonitor64 Error=3006\r\r\n"},
      {"monitor refused, 32",
       false,
       kDllNotLoadable,
       true,
       L"USB",
       {L"LPT1:"},
       true,
       L"LPT1:",
       1,
       "AddPrinterMonitor32 = 126\r\r\n"},
      {"monitor refused, 64",
       true,
       kDllNotLoadable,
       true,
       L"USB",
       {L"LPT1:"},
       true,
       L"LPT1:",
       1,
       "AddPrinterMonitor64 Error=126\r\r\n"},
      {"port refused, 32",
       false,
       kMonitorAndPortInstalled,
       true,
       L"USB",
       {L"Label-Port:"},
       true,
       L"Label-Port:",
       1,
       "AddPortEx = 87 PortName=Label-Port:\r\r\n"},
      {"port refused, 64",
       true,
       kMonitorAndPortInstalled,
       true,
       L"USB",
       {L"Label-Port:"},
       true,
       L"Label-Port:",
       1,
       "AddPrinterMonitor64 Error=3006\r\r\nAddPortEx = 87 PortName=Label-Port:\r\r\n"},
      {"chosen port exists", false, kFresh, false, L"COM3:", {}, true, L"COM3:", 0, ""},
      {"chosen port missing", false, kFresh, false, L"COM9:", {L"COM1:"}, true, L"COM1:", 1, ""},
      {"names differ in case only",
       false,
       kFresh,
       false,
       L"lpt1:",
       {L"LPT1:"},
       true,
       L"LPT1:",
       1,
       ""},
      {"dialog cancelled",
       false,
       kDllNotLoadable,
       true,
       L"USB",
       {std::nullopt},
       false,
       L"Label-Port:",
       1,
       "AddPrinterMonitor32 = 126\r\r\n"},
      {"dialog cancelled, port missing",
       false,
       kFresh,
       false,
       L"COM9:",
       {std::nullopt},
       false,
       L"COM9:",
       1,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimFileSystem caseFiles;
    sim::SimSystem caseSystem;
    sim::SimSpooler caseSpooler;
    ScriptedPortPicker casePicker;
    casePicker.answers = c.picks;
    ProductNames caseNames = names;
    InstallSettings caseSettings = settings;
    caseSettings.useMonitorPort = c.useMonitorPort;
    caseSettings.portName = c.chosenPort;
    EngineContext ctx{caseFiles,    caseSystem, caseSpooler, casePicker, caseNames,
                      caseSettings, model,      c.win64,     {}};
    if (c.win64) caseSpooler.UseX64();
    caseSpooler.AddStandardLocalPorts();
    if (c.setup != kDllNotLoadable) caseSpooler.loadableDlls.insert(kMonitorDll);
    if (c.setup == kMonitorInstalled || c.setup == kMonitorAndPortInstalled) {
      std::uint32_t error = 0;
      ASSERT_TRUE(
          caseSpooler.AddMonitor({L"Label Monitor", caseSpooler.environment, kMonitorDll}, error));
    }
    if (c.setup == kMonitorAndPortInstalled) {
      caseSpooler.AddTestPort(L"Label-Port:", L"Label Monitor", L"Label Monitor");
    }

    EXPECT_EQ(ResolveQueuePort(ctx), c.result);
    EXPECT_EQ(caseSettings.portName, c.finalPort);
    EXPECT_EQ(casePicker.shown, c.shown);
    auto log = caseFiles.Get(kInstallLogPath);
    EXPECT_EQ(log ? std::string(log->begin(), log->end()) : "", c.log);
  }
}

TEST_F(MonitorPortTest, PortExistsComparesExactly) {
  spooler.AddTestPort(L"label-port:", L"Label Monitor", L"Label Monitor");
  EXPECT_TRUE(PortExists(spooler, L"label-port:"));
  EXPECT_FALSE(PortExists(spooler, L"Label-Port:"));
  EXPECT_FALSE(PortExists(spooler, L"COM1"));
  spooler.FailNext(sim::SpoolerOp::EnumPortsSize, 1722);
  EXPECT_FALSE(PortExists(spooler, L"COM1:"));
}

TEST(SerialPortSettings, ComposesTheLineSettingsIntoThePortsValue) {
  struct Case {
    const wchar_t* baud;
    const wchar_t* dataBits;
    int parity;  // position in "PE_EVEN", "PE_ODD", "None"
    const wchar_t* stopBits;
    int flow;  // position in "Xon / Xoff", "Hardware", "None"
    const wchar_t* value;
  };
  for (const Case& c : {Case{L"9600", L"8", 2, L"1", 2, L"9600,n,8,1,"},
                        Case{L"115200", L"7", 0, L"2", 0, L"115200,e,7,2,x"},
                        Case{L"19200", L"8", 1, L"1.5", 1, L"19200,o,8,1.5,p"},
                        Case{L"4800", L"8", -1, L"1", -1, L"4800,n,8,1,"}}) {
    sim::SimDialogControls controls;
    auto combo = [&](int id, std::initializer_list<const wchar_t*> items, int selection) {
      for (const wchar_t* item : items) controls.ComboAdd(id, item);
      controls.ComboSetSelection(id, selection);
    };
    combo(IDC_BAUD, {c.baud}, 0);
    combo(IDC_DATABITS, {c.dataBits}, 0);
    combo(IDC_STOPBITS, {c.stopBits}, 0);
    combo(IDC_PARITY, {L"PE_EVEN", L"PE_ODD", L"None"}, c.parity);
    combo(IDC_FLOW, {L"Xon / Xoff", L"Hardware", L"None"}, c.flow);

    // A 32-bit program on 64-bit Windows still writes the 64-bit view.
    sim::SimRegistry registry;
    registry.program32OnWin64 = true;
    WriteSerialPortSettings(controls, registry, L"COM3:");
    EXPECT_EQ(registry.Value(sim::SimRegistry::Physical::Native, kPortsKey, L"COM3:"), c.value);
  }
}

TEST(SerialPortSettings, RegistryFailuresAreIgnored) {
  sim::SimDialogControls controls;
  sim::SimRegistry registry;
  registry.FailCreate(kPortsKey);
  WriteSerialPortSettings(controls, registry, L"COM1:");
  EXPECT_FALSE(registry.KeyExists(sim::SimRegistry::Physical::Native, kPortsKey));
}

}  // namespace
}  // namespace installer
