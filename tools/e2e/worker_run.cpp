// Runs one whole installation through the installation worker against the real system API (Wine
// in the end-to-end tests): unpacking of an in-memory payload of stand-in files, the Start-menu
// entry, the spooler registration on LPT1:, the uninstall records and the printer service. A
// small window with the wizard's buttons and progress bar stands in for the wizard dialog and
// counts the commands posted to it. Afterwards the program checks through the API what landed,
// runs the clean-up of the installation folder and checks what it left.
//
//   worker_run.exe en|cn
//
// Prints "ok   <what>" or "FAIL <what>" per check and "queue <name>" for the queue created; the
// exit status is the number of failed checks.

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/install_worker.h"
#include "payload/container_builder.h"
#include "payload/directory_path.h"
#include "platform/win32/win32_platform.h"
#include "ui/framework/win32/win32_dialog_controls.h"

// The raw API comes last: its A/W macros would rename the seams' operations.
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include "e2e_checks.h"

namespace {

using namespace installer;

constexpr int kNext = 1001;
constexpr int kBack = 1003;
constexpr int kProgress = 1004;
constexpr int kCancel = 1007;
constexpr int kDefaultPrinter = 1029;

const wchar_t kFolder[] = L"C:\\Program Files\\USB Printer\\Label";

using e2e::Check;
using e2e::failures;
using e2e::Narrow;
std::atomic<int> nextCommands{0};

// The wizard as the worker reaches it: the stand-in dialog's controls, its status line and page.
class StandInUi : public WorkerUi, private PortPicker {
 public:
  explicit StandInUi(HWND dialog) : dialog_(dialog), controls_(dialog), progress_(*this) {}

  DialogControls& Controls() override { return controls_; }
  InstallProgress& Progress() override { return progress_; }
  PortPicker& PortFallback() override { return *this; }
  void SetStatusText(const std::wstring& text) override { statusText = text; }
  void SetPage(int page) override { this->page = page; }
  void InvalidateWizard() override { InvalidateRect(dialog_, nullptr, FALSE); }
  void UpdateWizard() override { UpdateWindow(dialog_); }

  std::wstring statusText;
  int page = 3;
  int unpackedFiles = 0;
  int picks = 0;

 private:
  class Unpacking : public InstallProgress {
   public:
    explicit Unpacking(StandInUi& ui) : ui_(ui) {}
    void SetProgressPosition(int position) override {
      ui_.controls_.SetProgressPosition(kProgress, position);
    }
    void SetStatusText(const std::wstring& text) override {
      (void)text;
      ++ui_.unpackedFiles;
    }

   private:
    StandInUi& ui_;
  };

  std::optional<std::wstring> PickPort() override {
    ++picks;
    return std::nullopt;
  }

  HWND dialog_;
  win32::Win32DialogControls controls_;
  Unpacking progress_;
};

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kNext && lParam == 0) {
    ++nextCommands;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHost() {
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&common);
  WNDCLASSW cls = {};
  cls.lpfnWndProc = HostProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"WorkerRunHost";
  RegisterClassW(&cls);
  HWND host = CreateWindowExW(0, cls.lpszClassName, L"worker_run", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              0, 0, 523, 365, nullptr, nullptr, cls.hInstance, nullptr);
  struct Child {
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int id;
    int x;
  };
  const Child children[] = {
      {L"BUTTON", L"Back", BS_PUSHBUTTON, kBack, 10},
      {L"BUTTON", L"Next", BS_PUSHBUTTON, kNext, 110},
      {L"BUTTON", L"Cancel", BS_PUSHBUTTON, kCancel, 210},
      {L"BUTTON", L"Default", BS_AUTOCHECKBOX, kDefaultPrinter, 310},
      {PROGRESS_CLASSW, L"", 0, kProgress, 410},
  };
  for (const Child& c : children) {
    CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, 280, 90, 24, host,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), cls.hInstance, nullptr);
  }
  return host;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A container of stand-in files.
std::vector<std::uint8_t> StandInContainer() {
  std::vector<std::string> names = {"InstallConfig_en.txt", "about.jpg", "about.txt",
                                    "Uninstaller.exe", "UNIDRV.HLP"};
  for (const char* dll : {"plotui.dll", "plotter.dll", "CHISMPL.DLL", "CHITRAD.DLL", "ENGLISH.DLL",
                          "Image.dll", "KavitPrinterMon.dll", "KavitPrinterMonUI.dll"}) {
    names.push_back(dll);
    names.push_back(std::string(dll) + ".x64");
  }
  std::vector<PackEntry> entries;
  for (const std::string& name : names) {
    const std::string content = "stand-in for " + name;
    entries.push_back({name, std::vector<std::uint8_t>(content.begin(), content.end())});
  }
  std::vector<std::uint8_t> bytes;
  std::string error;
  BuildContainer(entries, bytes, error);
  return bytes;
}

// The target and working directory of a saved shell link, read back through the link object.
struct LinkData {
  bool loaded = false;
  std::wstring target, workingDirectory;
};
LinkData ReadLink(const std::wstring& path) {
  LinkData data;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return data;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t buffer[MAX_PATH] = {};
      data.loaded = true;
      if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0))) data.target = buffer;
      buffer[0] = L'\0';
      if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) data.workingDirectory = buffer;
    }
    file->Release();
  }
  link->Release();
  return data;
}

struct ServiceData {
  bool found = false;
  DWORD type = 0, start = 0;
  std::wstring path, description;
};
ServiceData ReadService(const wchar_t* name) {
  ServiceData data;
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return data;
  SC_HANDLE service = OpenServiceW(manager, name, SERVICE_QUERY_CONFIG);
  if (service) {
    DWORD needed = 0;
    QueryServiceConfigW(service, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed &&
        QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data()),
                            needed, &needed)) {
      const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer.data());
      data.found = true;
      data.type = config->dwServiceType;
      data.start = config->dwStartType;
      data.path = config->lpBinaryPathName ? config->lpBinaryPathName : L"";
    }
    needed = 0;
    QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, nullptr, 0, &needed);
    std::vector<BYTE> text(needed ? needed : 1);
    if (needed &&
        QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, text.data(), needed, &needed)) {
      const auto* description = reinterpret_cast<const SERVICE_DESCRIPTIONW*>(text.data());
      if (description->lpDescription) data.description = description->lpDescription;
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return data;
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}

std::wstring StartMenu() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTMENU, nullptr, 0, buffer))) return {};
  return buffer;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool chinese = argc > 1 && std::wstring(argv[1]) == L"cn";
  win32::Win32Platform machine;
  HWND host = CreateHost();
  StandInUi ui(host);
  ui.Controls().SetCheck(kDefaultPrinter, true);

  PayloadImage image;
  image.bytes = StandInContainer();
  image.size = static_cast<std::int32_t>(image.bytes.size());
  image.bytes.resize(image.bytes.size() + 16, 0);

  InstallSettings settings;
  settings.baseFolder = L"C:\\Program Files\\USB Printer";
  settings.installFolder = kFolder;
  settings.selectedModel = 1;
  settings.queueName = L"Label";
  settings.portName = L"LPT1:";
  settings.setAsDefault = true;
  AppState app;
  app.languageIndex = chinese ? kChinese : kEnglish;
  app.productNames.productTitle = L"Label Printer";
  app.productNames.printerName = L"Label";
  app.productNames.monitorName = L"Label Monitor";
  app.productNames.portName = L"LPT1:";
  app.productNames.languageDll = L"ENGLISH.DLL";
  PrinterModel model;
  model.name = L"LP-300";
  model.commandSet = L"TSC";
  model.usbId = L"vid_1a2b&pid_3c4d";
  model.resolution = 300;
  model.paperWidth = 400;
  model.paperHeight = 300;

  // What the wizard does before it starts the worker.
  CreateDirectoryPath(machine.files, std::wstring(kFolder) + L"\\Inf");

  InstallationRun run;
  Check(run.Start(settings, app, model, image, machine.platform, ui), "the worker starts");
  // The worker sends to the stand-in's controls synchronously: keep its messages flowing.
  while (run.IsRunning()) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  const WorkerOutcome outcome = run.Outcome().value_or(WorkerOutcome{});
  PumpMessages();

  Check(outcome.registered, "the registration succeeds");
  Check(nextCommands == 1, "exactly one Next command is posted to the dialog");
  Check(ui.page == 3, "the page stays the installing page");
  Check(ui.picks == 0, "LPT1: exists: no port list is offered");
  Check(ui.unpackedFiles == 21, "the status line follows all 21 unpacked files");
  Check(ui.statusText == (chinese ? L"正在安装打印机驱动，请稍候..."
                                  : L"Installing Printer Driver, Please wait..."),
        "the installing status text of the language");
  Check(IsWindowVisible(GetDlgItem(host, kNext)) && IsWindowVisible(GetDlgItem(host, kBack)),
        "Next and Back stay visible");
  std::printf("queue %s\n", Narrow(outcome.createdQueueName).c_str());

  CoInitialize(nullptr);
  const std::wstring menu = StartMenu() + (chinese ? L"\\Label 打印机驱动" : L"\\Label Driver");
  const std::wstring shortcut =
      menu + (chinese ? L"\\卸载 打印机驱动.lnk" : L"\\Uninstall Printer Driver.lnk");
  const LinkData link = ReadLink(shortcut);
  Check(link.loaded, "the shortcut loads: " + Narrow(shortcut));
  Check(link.target == std::wstring(kFolder) + L"\\Uninstaller.exe",
        "the shortcut starts the uninstaller: " + Narrow(link.target));
  Check(link.workingDirectory == kFolder,
        "the shortcut works in the installation folder: " + Narrow(link.workingDirectory));
  CoUninitialize();

  const ServiceData service = ReadService(L"DumoPrinter Service");
  Check(service.found, "the printer service exists");
  Check(service.type == 0x110, "the service is an interactive own process");
  Check(service.start == SERVICE_AUTO_START, "the service starts automatically");
  Check(service.path == std::wstring(kFolder) + L"\\ReltPrinterService.exe",
        "the service runs ReltPrinterService.exe of the installation folder");
  Check(service.description == L"DumoPrinter Printer Monitor", "the service's description");

  run.CleanUpAfterRun(machine.files);
  std::vector<std::wstring> left = FolderEntries(kFolder);
  std::string listing;
  for (const auto& name : left) listing += " " + Narrow(name);
  bool onlyKept = left.size() == 3;
  for (const auto& name : left) {
    onlyKept =
        onlyKept && (name == L"Inf" || name == L"Uninstaller.exe" || name == L"Uninstall.ini");
  }
  Check(onlyKept, "the clean-up leaves Inf, Uninstaller.exe and Uninstall.ini:" + listing);

  DestroyWindow(host);
  return failures;
}
