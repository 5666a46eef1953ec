#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>

#include "worker_fixture.h"

namespace installer {
namespace {

using testing::Machine;
using testing::RecordingUi;
using Physical = sim::SimRegistry::Physical;

const wchar_t kBase[] = L"C:\\Program Files\\USB Printer";
const wchar_t kFolder[] = L"C:\\Program Files\\USB Printer\\Label";
const wchar_t kStartMenu[] = L"C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
const wchar_t kProduct[] = L"SOFTWARE\\Label";
const wchar_t kEntry[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Label";

std::wstring In(const std::wstring& folder, const std::wstring& name) {
  return folder + L"\\" + name;
}

// The payload: the driver, monitor and removal files in both widths, texts, and the two files
// the worker deletes after unpacking.
std::vector<std::uint8_t> Payload() {
  auto entries = testing::InstallerEntries();
  entries.push_back({"InstallConfig.txt", "stray"});
  entries.push_back({"logo.bmp", "BM"});
  return testing::Container(entries);
}

struct WorkerTest : ::testing::Test {
  explicit WorkerTest(bool win64 = false) : machine(win64), image(testing::Image(Payload())) {
    machine.files.MakeDirectories(In(kFolder, L"Inf"));
    settings.baseFolder = kBase;
    settings.installFolder = kFolder;
    settings.selectedModel = 1;
    settings.queueName = L"Label";
    settings.portName = L"LPT1:";
    app.languageIndex = kEnglish;
    app.productNames.productTitle = L"Label Printer";
    app.productNames.printerName = L"Label";
    app.productNames.monitorName = L"Label Monitor";
    app.productNames.portName = L"LPT1:";
    app.productNames.languageDll = L"ENGLISH.DLL";
    model.name = L"LP-300";
    model.commandSet = L"TSC";
    model.usbId = L"vid_1234&pid_0001";
    model.resolution = 300;
    model.paperWidth = 400;
    model.paperHeight = 300;
  }

  // One installation on the worker thread, to its end.
  WorkerOutcome Install() {
    InstallationRun run;
    EXPECT_TRUE(run.Start(settings, app, model, image, machine.platform, ui));
    return run.Outcome().value_or(WorkerOutcome{});
  }
  std::optional<std::wstring> Product(const wchar_t* name, const wchar_t* key = kProduct) {
    return machine.registry.Value(Physical::Native, key, name);
  }

  Machine machine;
  PayloadImage image;
  InstallSettings settings;
  AppState app;
  PrinterModel model;
  RecordingUi ui;
};

TEST_F(WorkerTest, EnglishInstallationOfLabelRecordsEverything) {
  const WorkerOutcome outcome = Install();
  EXPECT_TRUE(outcome.registered);
  EXPECT_EQ(outcome.createdQueueName, L"Label");

  const std::wstring menu = In(kStartMenu, L"Label Driver");
  const std::wstring shortcut = In(menu, L"Uninstall Printer Driver.lnk");
  const std::pair<const wchar_t*, std::wstring> product[] = {
      {L"Data Directory", kBase},
      {L"Program Directory", kFolder},
      {L"Language", L"English"},
      {L"PrinterName", L"Label"},
      {L"StartMenuDir", menu},
      {L"Uninstaller", shortcut},
      {L"PrinterDriver", L"Label Driver"},
      {L"MonitorName", L"Label Monitor"},
      {L"PortName", L"LPT1:"},
  };
  for (const auto& [name, value] : product) EXPECT_EQ(Product(name), value) << name;
  const std::wstring uninstaller = In(kFolder, L"Uninstaller.exe");
  const std::pair<const wchar_t*, std::wstring> entry[] = {
      {L"DisplayIcon", uninstaller}, {L"DisplayName", L"Label"}, {L"DisplayVersion", L"1.2.1"},
      {L"InstallLocation", kFolder}, {L"Publisher", L"Teskor"},  {L"UninstallString", uninstaller},
      {L"VersionMajor", L"1"},       {L"VersionMinor", L"2"},
  };
  for (const auto& [name, value] : entry) EXPECT_EQ(Product(name, kEntry), value) << name;

  const std::wstring profile = In(kFolder, L"Uninstall.ini");
  EXPECT_EQ(machine.profiles.GetString(L"Print Settings", L"PrinterName", L"", profile), L"Label");
  EXPECT_EQ(machine.profiles.GetString(L"Print Settings", L"ServiceName", L"", profile),
            L"DumoPrinter Service");

  const auto link = machine.shell.ReadLink(shortcut);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, uninstaller);
  EXPECT_EQ(link->workingDirectory, kFolder);
  EXPECT_NE(link->savedOn, std::this_thread::get_id());
  EXPECT_EQ(machine.shell.UnbalancedComThreads(), 0);

  const auto service = machine.services.Find(L"DumoPrinter Service");
  ASSERT_TRUE(service);
  EXPECT_EQ(service->config.binaryPath, In(kFolder, L"ReltPrinterService.exe"));
  EXPECT_TRUE(service->running);

  const auto* printer = machine.spooler.FindPrinter(L"Label");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, L"LPT1:");
  EXPECT_EQ(machine.spooler.defaultPrinter, L"Label");
  EXPECT_FALSE(machine.files.Exists(In(kFolder, L"InstallConfig.txt")));
  EXPECT_FALSE(machine.files.Exists(In(kFolder, L"logo.bmp")));

  const auto log = machine.files.Get(L"C:\\InstallPrinter.txt");
  ASSERT_TRUE(log);
  EXPECT_EQ(std::string(log->begin(), log->end()),
            "**** FileCount=13\r\r\n**** Retrace Finish\r\r\nAddPrinter hPrinter = 2a0010\r\r\n");

  EXPECT_EQ(ui.EventsAfterUnpacking(),
            (std::vector<std::wstring>{L"status Installing Printer Driver, Please wait...",
                                       L"invalidate", L"update"}));
  EXPECT_EQ(ui.controls.PostedCommands(), std::vector<int>{1001});
}

// The failure page as the worker leaves it, and what stays from before the failing step.
void ExpectFailurePage(RecordingUi& ui, const std::wstring& cancelCaption) {
  EXPECT_FALSE(ui.controls.IsVisible(1001));
  EXPECT_FALSE(ui.controls.IsVisible(1003));
  EXPECT_FALSE(ui.controls.IsVisible(1004));
  EXPECT_EQ(ui.controls.GetText(1007), cancelCaption);
  EXPECT_TRUE(ui.controls.IsEnabled(1007));
  const std::vector<std::wstring> events = ui.EventsAfterUnpacking();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(std::vector<std::wstring>(events.end() - 2, events.end()),
            (std::vector<std::wstring>{L"page 8", L"invalidate"}));
  EXPECT_TRUE(ui.controls.PostedCommands().empty());
}

TEST_F(WorkerTest, FailureAfterTheShortcutKeepsItAndRecordsNothing) {
  struct Case {
    int language;
    const wchar_t* menuFolder;
    const wchar_t* shortcut;
    const wchar_t* status;
    const wchar_t* cancel;
  };
  const Case cases[] = {
      {kChinese, L"Label 打印机驱动", L"卸载 打印机驱动.lnk", L"正在安装打印机驱动，请稍候...",
       L"完成"},
      {kRussian, L"Label Драйвер принтера", L"Удалите драйвер принтера.lnk",
       L"Установка драйвера принтера, подождите", L"Finish"},
      {kEnglish, L"Label Driver", L"Uninstall Printer Driver.lnk",
       L"Installing Printer Driver, Please wait...", L"Finish"},
  };
  for (const Case& c : cases) {
    Machine fresh(false);
    fresh.files.MakeDirectories(kFolder);
    fresh.spooler.FailAlways(sim::SpoolerOp::AddPrinter, 5);
    RecordingUi failing;
    app.languageIndex = c.language;
    InstallationRun run;
    ASSERT_TRUE(run.Start(settings, app, model, image, fresh.platform, failing));
    EXPECT_FALSE(run.Outcome()->registered);

    const auto link = fresh.shell.ReadLink(In(In(kStartMenu, c.menuFolder), c.shortcut));
    ASSERT_TRUE(link) << c.language;
    EXPECT_EQ(link->target, In(kFolder, L"Uninstaller.exe"));
    EXPECT_FALSE(fresh.registry.KeyExists(Physical::Native, kProduct));
    EXPECT_FALSE(fresh.registry.KeyExists(Physical::Native, kEntry));
    EXPECT_FALSE(fresh.files.Exists(In(kFolder, L"Uninstall.ini")));
    EXPECT_TRUE(fresh.services.All().empty());
    EXPECT_EQ(failing.EventsAfterUnpacking().front(), std::wstring(L"status ") + c.status);
    ExpectFailurePage(failing, c.cancel);
  }
}

TEST_F(WorkerTest, CancelledPortListShowsTheFailurePage) {
  settings.portName = L"COM9:";  // not on this machine: the port list is offered
  const WorkerOutcome outcome = Install();
  EXPECT_FALSE(outcome.registered);
  const auto events = ui.Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), L"pick"), 1);
  EXPECT_TRUE(machine.spooler.printers.empty());
  ExpectFailurePage(ui, L"Finish");
}

TEST_F(WorkerTest, PortPickedFromTheListIsRecorded) {
  settings.portName = L"COM9:";
  ui.pick = [] { return std::optional<std::wstring>(L"COM2:"); };
  EXPECT_TRUE(Install().registered);
  EXPECT_EQ(machine.spooler.FindPrinter(L"Label")->info.portName, L"COM2:");
  EXPECT_EQ(Product(L"PortName"), L"COM2:");
}

struct WidthCase {
  bool win64;
  const wchar_t* environment;
  const char* driverContent;  // of the driver file in the spooler's folder
  Physical entryView;
};

class WorkerWidthTest : public WorkerTest, public ::testing::WithParamInterface<WidthCase> {
 public:
  WorkerWidthTest() : WorkerTest(GetParam().win64) {}
};

TEST_P(WorkerWidthTest, UsesTheNamesOfTheWindowsWidth) {
  const WidthCase& c = GetParam();
  ASSERT_TRUE(Install().registered);
  const auto* driver = machine.spooler.FindDriver(L"Label Driver", c.environment);
  ASSERT_NE(driver, nullptr);
  const auto copied = machine.files.Get(In(machine.spooler.driverDirectory, L"LabelDrv.dll"));
  ASSERT_TRUE(copied);
  EXPECT_EQ(std::string(copied->begin(), copied->end()), c.driverContent);
  EXPECT_TRUE(machine.registry.KeyExists(Physical::Native, kProduct));
  EXPECT_TRUE(machine.registry.KeyExists(c.entryView, kEntry));
  EXPECT_EQ(machine.system.redirectionDisabled, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, WorkerWidthTest,
    ::testing::Values(WidthCase{false, L"Windows NT x86", "driver32", Physical::Native},
                      WidthCase{true, L"Windows x64", "driver64", Physical::Wow32}));

TEST_F(WorkerTest, SecondInstallationOverTheFirstRecordsTheNumberedQueue) {
  ASSERT_TRUE(Install().registered);
  RecordingUi second;
  InstallationRun run;
  ASSERT_TRUE(run.Start(settings, app, model, image, machine.platform, second));
  const WorkerOutcome outcome = *run.Outcome();
  EXPECT_TRUE(outcome.registered);
  EXPECT_EQ(outcome.createdQueueName, L"Label (1)");
  EXPECT_EQ(Product(L"PrinterName"), L"Label");
  EXPECT_EQ(Product(L"PrinterName", L"SOFTWARE\\Label (1)"), L"Label (1)");
  EXPECT_EQ(Product(L"DisplayName",
                    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Label (1)"),
            L"Label (1)");
  EXPECT_EQ(machine.profiles.GetString(L"Print Settings", L"PrinterName", L"",
                                       In(kFolder, L"Uninstall.ini")),
            L"Label (1)");
  EXPECT_EQ(machine.services.All().size(), 1u);
  EXPECT_EQ(machine.services.All()[0].startAttempts, 1);
  EXPECT_EQ(second.controls.PostedCommands(), std::vector<int>{1001});
}

TEST_F(WorkerTest, CleanUpWaitsForTheWorkerAndKeepsTheRemovalFiles) {
  settings.portName = L"COM9:";
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  ui.pick = [released] {
    released.wait();
    return std::optional<std::wstring>(L"LPT1:");
  };
  InstallationRun run;
  ASSERT_TRUE(run.Start(settings, app, model, image, machine.platform, ui));
  auto cleanup = std::async(std::launch::async, [&] { run.CleanUpAfterRun(machine.files); });
  EXPECT_EQ(cleanup.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  EXPECT_TRUE(run.IsRunning());
  EXPECT_FALSE(run.Start(settings, app, model, image, machine.platform, ui));
  release.set_value();
  cleanup.get();
  EXPECT_FALSE(run.IsRunning());

  std::vector<std::wstring> left;
  for (const auto& entry : machine.files.List(kFolder)) left.push_back(entry.name);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::wstring>{L"Inf", L"ReltPrinterService.exe", L"Uninstall.ini",
                                             L"Uninstaller.exe"}));
}

TEST_F(WorkerTest, CleanUpWithoutAnInstallationTouchesNoFolder) {
  machine.files.Put(In(kFolder, L"notes.txt"), "mine");
  InstallationRun run;
  run.CleanUpAfterRun(machine.files);
  EXPECT_TRUE(machine.files.Exists(In(kFolder, L"notes.txt")));
  EXPECT_FALSE(run.IsRunning());
}

}  // namespace
}  // namespace installer
