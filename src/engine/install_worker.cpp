#include "engine/install_worker.h"

#include <system_error>

#include "engine/characterization_file.h"
#include "engine/driver_package.h"
#include "engine/monitor_port.h"
#include "engine/printer_queue.h"
#include "payload/deployment.h"
#include "registration/folder_cleanup.h"
#include "registration/printer_service.h"
#include "registration/shortcut.h"
#include "registration/uninstall_records.h"

namespace installer {

namespace {

constexpr int kNextButton = 1001;
constexpr int kBackButton = 1003;
constexpr int kProgressBar = 1004;
constexpr int kCancelButton = 1007;
constexpr int kFailedPage = 8;

// A folder and a name in it.
std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return folder + L"\\" + name;
}

void ShowFailurePage(WorkerUi& ui, int languageIndex) {
  DialogControls& controls = ui.Controls();
  controls.Show(kNextButton, false);
  controls.Show(kBackButton, false);
  controls.SetText(kCancelButton, languageIndex == kChinese ? L"完成" : L"Finish");
  controls.Show(kProgressBar, false);
  controls.Enable(kCancelButton, true);
  ui.SetPage(kFailedPage);
  ui.InvalidateWizard();
}

}  // namespace

std::wstring StartMenuFolderName(int languageIndex, const std::wstring& queueName) {
  switch (languageIndex) {
    case kChinese:
      return L"\\" + queueName + L" 打印机驱动";
    case kRussian:
      return L"\\" + queueName + L" Драйвер принтера";
    default:
      return L"\\" + queueName + L" Driver";
  }
}

std::wstring ShortcutFileName(int languageIndex) {
  switch (languageIndex) {
    case kChinese:
      return L"\\卸载 打印机驱动.lnk";
    case kRussian:
      return L"\\Удалите драйвер принтера.lnk";
    default:
      return L"\\Uninstall Printer Driver.lnk";
  }
}

std::wstring InstallingStatusText(int languageIndex) {
  switch (languageIndex) {
    case kChinese:
      return L"正在安装打印机驱动，请稍候...";
    case kRussian:
      return L"Установка драйвера принтера, подождите";
    default:
      return L"Installing Printer Driver, Please wait...";
  }
}

bool RegisterPrinter(EngineContext& context, DialogControls& wizard) {
  if (!WriteCharacterizationFile(context)) return false;
  SetDriverName(context);
  bool registered = CopyDriverFiles(context);
  if (registered) {
    InstallMonitorFiles(context);
    registered =
        ResolveQueuePort(context) && RegisterPrinterDriver(context) && CreatePrinterQueue(context);
  }
  SetDefaultQueue(context, registered, wizard);
  return registered;
}

int InstallWorker(const InstallJob& job, Platform& platform, WorkerUi& ui, WorkerOutcome& outcome) {
  const int language = job.languageIndex;
  const std::wstring& folder = job.settings.installFolder;

  outcome.deployedFolder = folder;
  if (job.image && job.image->present()) {
    DeployPayloadFiles(*job.image, folder, platform.files, platform.system, &ui.Progress());
  } else {
    DeployAppendedPayload(folder, job.model.commandSet, platform.files, platform.system,
                          &ui.Progress());
  }
  platform.files.DeleteFile(Join(folder, L"InstallConfig.txt"));
  platform.files.DeleteFile(Join(folder, L"logo.bmp"));

  // Without a Start menu there is no place for the entry: a folder name on its own would land
  // in the root of the current drive.
  std::wstring startMenuFolder;
  std::wstring shortcutPath;
  const std::wstring startMenu =
      platform.shell.GetSpecialFolder(SpecialFolder::StartMenu).value_or(std::wstring());
  if (!startMenu.empty()) {
    startMenuFolder = startMenu + StartMenuFolderName(language, job.settings.queueName);
    platform.files.CreateDirectory(startMenuFolder);
    shortcutPath = startMenuFolder + ShortcutFileName(language);
  }
  const std::wstring uninstaller = Join(folder, kUninstallerProgram);
  if (!shortcutPath.empty()) CreateShortcut(platform.shell, uninstaller, shortcutPath);

  ui.SetStatusText(InstallingStatusText(language));
  ui.InvalidateWizard();
  ui.UpdateWizard();

  InstallSettings settings = job.settings;
  ProductNames names = job.names;
  names.printerName = settings.queueName;
  names.portName = settings.portName;
  EngineContext context{
      platform.files, platform.system, platform.spooler, ui.PortFallback(),
      names,          settings,        job.model,        platform.system.IsRunningOnWin64(),
      std::wstring()};
  outcome.registered = RegisterPrinter(context, ui.Controls());
  outcome.createdQueueName = context.createdQueueName;

  if (!outcome.registered) {
    ShowFailurePage(ui, language);
    return 0;
  }
  // The records name the queue that exists: a numbered one when the plain name was taken.
  const std::wstring queue =
      context.createdQueueName.empty() ? settings.queueName : context.createdQueueName;
  UninstallRecord record;
  record.printerName = queue;
  record.driverName = names.driverName;
  record.monitorName = names.monitorName;
  record.queueName = queue;
  record.portName = settings.portName;
  record.installFolder = folder;
  record.baseFolder = settings.baseFolder;
  record.chineseTexts = language == kChinese;
  record.startMenuFolder = startMenuFolder;
  record.shortcutPath = shortcutPath;
  RegisterUninstall(platform.registry, platform.profiles, record);
  InstallPrinterService(platform.services, folder);
  ui.Controls().PostCommand(kNextButton);
  return 0;
}

InstallationRun::~InstallationRun() {
  Wait();
}

bool InstallationRun::Start(const InstallSettings& settings, const AppState& app,
                            const PrinterModel& model, const PayloadImage& image,
                            Platform& platform, WorkerUi& ui) {
  if (started_.exchange(true)) return false;
  std::lock_guard<std::mutex> lock(threadMutex_);
  job_.settings = settings;
  job_.languageIndex = app.languageIndex;
  job_.names = app.productNames;
  job_.model = model;
  job_.image = &image;
  running_ = true;
  try {
    thread_ = std::thread([this, &platform, &ui] {
      InstallWorker(job_, platform, ui, outcome_);
      running_ = false;
    });
  } catch (const std::system_error&) {
    running_ = false;
    started_ = false;
    return false;
  }
  return true;
}

void InstallationRun::Wait() {
  std::lock_guard<std::mutex> lock(threadMutex_);
  if (thread_.joinable()) thread_.join();
}

std::optional<WorkerOutcome> InstallationRun::Outcome() {
  Wait();
  std::lock_guard<std::mutex> lock(threadMutex_);
  if (!started_) return std::nullopt;
  return outcome_;
}

void InstallationRun::CleanUpAfterRun(FileSystem& files) {
  const std::optional<WorkerOutcome> outcome = Outcome();
  if (!outcome || outcome->deployedFolder.empty()) return;
  CleanUpInstallFolder(files, outcome->deployedFolder);
}

}  // namespace installer
