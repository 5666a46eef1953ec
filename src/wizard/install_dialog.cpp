#include "wizard/install_dialog.h"

#include <initializer_list>

#include "engine/monitor_port.h"
#include "payload/directory_path.h"
#include "resources/resource.h"
#include "startup/documents_folder.h"
#include "startup/text_ini.h"
#include "wizard/model_table.h"
#include "wizard/printer_name.h"

namespace installer {

namespace {

constexpr std::size_t kTextCapacity = 255;  // folder, printer name, installation folder
constexpr std::uint32_t kBrowseOnlyFileSystemFolders = 1;  // BIF_RETURNONLYFSDIRS
constexpr int kButtonWidth = 78;
constexpr int kButtonHeight = 23;

// The controls of the settings page beside the port's serial settings.
constexpr int kSettingsControls[] = {
    IDC_SETTINGS_FRAME,     IDC_MODEL_LABEL,     IDC_MODEL_LIST, IDC_PRINTER_NAME,
    IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER, IDC_PORT_LABEL, IDC_PORT_LIST};

// The controls that get the language's font in Chinese and in Russian.
constexpr int kChineseFontControls[] = {
    IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_DEFAULT_PRINTER, IDC_PRINTER_NAME_LABEL,
    IDC_BACK,           IDC_NEXT,        IDC_CANCEL_BUTTON,   IDC_BROWSE,
    IDC_PORT_LABEL,     IDC_BAUD_LABEL,  IDC_MODEL_LIST,      IDC_PRINTER_NAME};
constexpr int kRussianFontControls[] = {
    IDC_BACK,           IDC_NEXT,        IDC_CANCEL_BUTTON,      IDC_BROWSE,
    IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER,
    IDC_PORT_LABEL,     IDC_BAUD_LABEL,  IDC_MODEL_LIST,         IDC_PRINTER_NAME};

constexpr wchar_t kChineseMessageCaption[] = L"打印机驱动安装";
constexpr wchar_t kMessageCaption[] = L"Driver Installation";

FontSpec MakeFont(int height, int charSet, const wchar_t* face) {
  FontSpec font;
  font.height = height;
  font.weight = 400;
  font.charSet = charSet;
  font.face = face;
  return font;
}

// At most `capacity` units, never ending in the first half of a surrogate pair.
std::wstring Cut(std::wstring text, std::size_t capacity = kTextCapacity) {
  if (text.size() <= capacity) return text;
  text.resize(capacity);
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  return text;
}

bool EndsWithBackslash(const std::wstring& text) {
  return !text.empty() && text.back() == L'\\';
}

std::wstring Child(const std::wstring& folder, const std::wstring& name) {
  return EndsWithBackslash(folder) ? folder + name : folder + L"\\" + name;
}

Rect At(int x, int y, int width, int height) {
  return Rect{x, y, x + width, y + height};
}

}  // namespace

CInstallDlg::CInstallDlg(Platform& platform, AppState& app, const PayloadImage& payload)
    : CDialog(platform.windows, IDD_INSTALL_DIALOG),
      platform_(platform),
      app_(app),
      payload_(payload),
      wizard_(app, platform),
      models_(std::make_unique<ModelTable>()),
      workerUi_(*this, wizard_, platform, app) {}

CInstallDlg::~CInstallDlg() {
  installation_.Wait();
}

std::wstring CInstallDlg::Russian(const wchar_t* key, const wchar_t* fallback) {
  return ReadText(platform_.profiles, platform_.shell, key, fallback);
}

bool CInstallDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  DialogControls& controls = Controls();
  controls.SetIcons(IDR_MAINFRAME);
  const std::wstring documents = DocumentsFolder(platform_.shell);
  russianFont_ = MakeFont(14, 0, L"Times New Romans");
  chineseFont_ = MakeFont(12, 134, L"宋体");
  controls.Move(kDialogItself, Rect{0, 0, 523, 365});

  wizard_.CreateWizardWindow(controls.Ref(kDialogItself), controls.ClientRect(kDialogItself));
  // Closing the wizard window removes what this run unpacked, after the worker has finished;
  // without a run nothing is deleted.
  wizard_.SetDestroyHandler([this] { installation_.CleanUpAfterRun(platform_.files); });

  const Rect client = controls.ClientRect(kDialogItself);
  const int w = client.right;
  const int h = client.bottom;
  controls.Move(IDC_BACK, At(w - 252, h - 33, kButtonWidth, kButtonHeight));
  controls.Move(IDC_NEXT, At(w - 169, h - 33, kButtonWidth, kButtonHeight));
  controls.Move(IDC_CANCEL_BUTTON, At(w - 86, h - 33, kButtonWidth, kButtonHeight));
  if (Language() == kRussian) {
    for (int id : {IDC_BACK, IDC_NEXT, IDC_CANCEL_BUTTON}) controls.SetFont(id, russianFont_);
  }
  controls.Move(IDC_BROWSE, At(w - 153, h - 156, kButtonWidth, kButtonHeight));
  controls.SetProgressRange(IDC_PROGRESS, 0, 100);
  controls.SetProgressPosition(IDC_PROGRESS, 0);

  SetCaptions();

  controls.ComboAdd(IDC_MODEL_LIST, ModelPrompt(Language(), platform_.profiles, platform_.shell));
  LoadModelTable(platform_.files, documents, *models_, controls);
  controls.Move(IDC_SETTINGS_FRAME, At(3, 85, w - 6, h - 138));
  controls.SetCheck(IDC_DEFAULT_PRINTER, true);
  settings_.setAsDefault = true;
  FillSerialSettingLists(controls);
  LoadTcpPorts(platform_.spooler, tcpPorts_);
  BuildPortList(controls, platform_.spooler, Language());
  return true;
}

void CInstallDlg::SetCaptions() {
  DialogControls& controls = Controls();
  const std::wstring& title = app_.productNames.productTitle;
  switch (Language()) {
    case kChinese:
      controls.SetText(kDialogItself, title.empty() ? L"USB打印机驱动安装" : title);
      controls.SetText(IDC_BACK, L"<<上一步");
      controls.SetText(IDC_NEXT, L"下一步>>");
      controls.SetText(IDC_CANCEL_BUTTON, L"取消");
      controls.SetText(IDC_BROWSE, L"浏览...");
      controls.SetText(IDC_SETTINGS_FRAME, L"设置端口");
      controls.SetText(IDC_MODEL_LABEL, L"型号：");
      controls.SetText(IDC_PRINTER_NAME_LABEL, L"打印机名称：");
      controls.SetText(IDC_DEFAULT_PRINTER, L"设置为默认打印机");
      controls.SetText(IDC_PORT_LABEL, L"端口：");
      controls.SetText(IDC_BAUD_LABEL, L"波特率：");
      for (int id : kChineseFontControls) controls.SetFont(id, chineseFont_);
      break;
    case kRussian:
      // Without a product title the template's title stays.
      if (!title.empty()) controls.SetText(kDialogItself, title);
      controls.SetText(IDC_BACK, Russian(L"Back", L"Back"));
      controls.SetText(IDC_NEXT, Russian(L"Next", L"Next"));
      controls.SetText(IDC_CANCEL_BUTTON, L"Отмена");
      controls.SetText(IDC_BROWSE, Russian(L"Browse", L"Browse"));
      controls.SetText(IDC_SETTINGS_FRAME, L"выбор порта");
      controls.SetText(IDC_MODEL_LABEL, Russian(L"DriverTitle", L"Model:"));
      controls.SetText(IDC_PRINTER_NAME_LABEL, Russian(L"PrintTitle", L"Printer Name:"));
      controls.SetText(IDC_DEFAULT_PRINTER, Russian(L"DefaultPrinter", L"Set as default printer"));
      controls.SetText(IDC_PORT_LABEL, L"Port:");
      controls.SetText(IDC_BAUD_LABEL, L"Baudrate:");
      for (int id : kRussianFontControls) controls.SetFont(id, russianFont_);
      break;
    default:
      controls.SetText(kDialogItself,
                       title.empty() ? L"USB printer driver installation Wizard" : title);
      controls.SetText(IDC_BACK, L"Back");
      controls.SetText(IDC_NEXT, L"Next");
      controls.SetText(IDC_CANCEL_BUTTON, L"Cancel");
      controls.SetText(IDC_BROWSE, L"Browse");
      controls.SetText(IDC_SETTINGS_FRAME, L"Select Port");
      controls.SetText(IDC_MODEL_LABEL, L"Model:");
      controls.SetText(IDC_PRINTER_NAME_LABEL, L"Printer Name:");
      controls.SetText(IDC_DEFAULT_PRINTER, L"Set as default printer");
      controls.SetText(IDC_PORT_LABEL, L"Port:");
      controls.SetText(IDC_BAUD_LABEL, L"Baudrate:");
      break;
  }
}

void CInstallDlg::OnCommand(int id, int notification) {
  switch (id) {
    case IDC_NEXT:
      if (notification == kBnClicked) OnNext();
      return;
    case IDC_BROWSE:
      if (notification == kBnClicked) OnBrowse();
      return;
    case IDC_BACK:
      if (notification == kBnClicked) OnBack();
      return;
    case IDC_CANCEL_BUTTON:
      if (notification == kBnClicked) OnCancelButton();
      return;
    case IDC_MODEL_LIST:
      if (notification == kCbnSelChange) OnModelSelChange();
      return;
    case IDC_PORT_LIST:
      if (notification == kCbnSelChange) OnPortSelChange();
      return;
    default:
      CDialog::OnCommand(id, notification);
  }
}

bool CInstallDlg::InstallationBusy() {
  if (!installation_.HasStarted()) return false;
  if (!installation_.IsRunning()) return false;
  // The worker's last acts are posting Next (page 4) or setting the failure page (page 8); from
  // then on it touches nothing that waits for this thread, so it is safe to wait for its end.
  const int page = Page();
  if (page == kPageComplete || page == kPageFailed) {
    installation_.Wait();
    return false;
  }
  return true;
}

void CInstallDlg::OnOK() {
  // Enter in a box of the settings page ends the wizard as Esc does; it never installs.
  if (InstallationBusy()) return;
  EndDialog(kIdOk);
}

void CInstallDlg::OnCancel() {
  if (InstallationBusy()) return;
  EndDialog(kIdCancel);
}

void CInstallDlg::OnCancelButton() {
  OnCancel();
}

std::optional<Color> CInstallDlg::ControlBackground(int id) {
  (void)id;  // every static control of this dialog sits on the wizard window's page
  return kPageBackground;
}

bool CInstallDlg::OnPaint(Canvas& canvas) {
  DrawEtchedLine(canvas, canvas.ClientRect());
  return true;
}

void CInstallDlg::OnDestroy() {
  // The dialog only ends once the worker is done; should it go anyway, the worker must not
  // outlive the controls it uses.
  installation_.Wait();
}

void CInstallDlg::ShowFolderMessage(bool empty) {
  const bool chinese = Language() == kChinese;
  std::wstring text = empty ? L"The folder is empty!" : L"The folder is invalid";
  if (chinese) text = empty ? L"安装文件夹不能为空" : L"安装文件夹不是有效文件夹";
  Controls().MessageBox(true, text, chinese ? kChineseMessageCaption : kMessageCaption, kMbOk);
}

void CInstallDlg::ShowPrinterNameMessage(bool empty) {
  std::wstring text = empty ? L"Please Select a Printer Driver" : L"The printer name is invalid";
  std::wstring caption = L"Printer Driver Installation";
  if (Language() == kChinese) {
    text = empty ? L"您没有选择打印机型号，请先选择打印机型号" : L"打印机名称无效";
    caption = kChineseMessageCaption;
  } else if (Language() == kRussian) {
    if (empty) text = Russian(L"NoSelectPrinter", L"Please Select a Printer Driver");
    caption = Russian(L"MsgBoxTitle", L"Printer Driver Installation");
  }
  Controls().MessageBox(false, text, caption, kMbOk | kMbIconError);
}

std::wstring CInstallDlg::InstallFolderFor(const std::wstring& queueName) {
  return Cut(Child(wizard_.folderEdit.GetText(), queueName));
}

bool CInstallDlg::CheckFolderPage() {
  const std::wstring folder = Cut(wizard_.folderEdit.GetText());
  if (folder.empty()) {
    ShowFolderMessage(true);
    return false;
  }
  if (!CreateDirectoryPath(platform_.files, folder)) {
    ShowFolderMessage(false);
    return false;
  }
  settings_.baseFolder = folder;
  return true;
}

bool CInstallDlg::CheckSettingsPage() {
  DialogControls& controls = Controls();
  const std::wstring name = Cut(controls.GetText(IDC_PRINTER_NAME));
  if (name.empty()) {
    ShowPrinterNameMessage(true);
    return false;
  }
  // The name becomes the last part of the installation folder, whose files the clean-up
  // deletes: a name that leads elsewhere, or a folder that cannot be made, is refused here
  // rather than ending in an installation from an empty folder.
  if (!IsUsablePrinterName(name)) {
    ShowPrinterNameMessage(false);
    return false;
  }
  if (!CreateDirectoryPath(platform_.files, InstallFolderFor(name))) {
    ShowFolderMessage(false);
    return false;
  }
  // With nothing selected (no model table) a typed name installs with row 0, never with -1.
  const int selection = controls.ComboSelection(IDC_MODEL_LIST);
  selectedModel_ = selection > 0 && selection < kModelTableRows ? selection : 0;

  PortStep step{controls,
                platform_.windows,
                platform_.spooler,
                Language(),
                tcpPorts_,
                [this](const std::wstring& valueName) {
                  WriteSerialPortSettings(Controls(), platform_.registry, valueName);
                }};
  std::wstring& portName = app_.productNames.portName;
  bool useMonitorPort = false;
  const bool goOn = ResolvePortChoice(step, portName, useMonitorPort);
  settings_.portName = portName;
  settings_.useMonitorPort = useMonitorPort;
  wizard_.useMonitorPort = useMonitorPort ? 1 : 0;
  return goOn;
}

void CInstallDlg::OnNext() {
  const int page = Page();
  if (page == kPageFolder && !CheckFolderPage()) return;
  if (page == kPageSettings && !CheckSettingsPage()) return;
  wizard_.page.store(page + 1);
  EnterPage(page + 1);
}

void CInstallDlg::ShowSettingsPage(bool show) {
  for (int id : kSettingsControls) Controls().Show(id, show);
}

void CInstallDlg::EnterPage(int page) {
  DialogControls& controls = Controls();
  switch (page) {
    case kPageFolder:
      wizard_.ShowFolderEdit(true);
      controls.Show(IDC_BROWSE, true);
      controls.Show(IDC_BACK, true);
      break;
    case kPageSettings: {
      controls.Show(IDC_BROWSE, false);
      wizard_.ShowFolderEdit(false);
      ShowSettingsPage(true);
      const int selection = controls.ComboSelection(IDC_PORT_LIST);
      const std::wstring port =
          selection < 0 ? std::wstring() : controls.ComboItemText(IDC_PORT_LIST, selection);
      EnableSerialSettings(controls, port.compare(0, 3, L"COM") == 0);
      ShowSerialSettings(controls, true);
      break;
    }
    case kPageInstalling:
      StartInstallation();
      break;
    case kPageComplete:
      wizard_.Invalidate(false);
      controls.Show(IDC_NEXT, false);
      controls.Show(IDC_BACK, false);
      controls.SetText(IDC_CANCEL_BUTTON, Language() == kChinese   ? std::wstring(L"完成")
                                          : Language() == kRussian ? Russian(L"Finish", L"Finish")
                                                                   : std::wstring(L"Finish"));
      controls.Show(IDC_PROGRESS, false);
      controls.Enable(IDC_CANCEL_BUTTON, true);
      break;
    default:
      break;
  }
}

void CInstallDlg::StartInstallation() {
  DialogControls& controls = Controls();
  ShowSerialSettings(controls, false);
  wizard_.ShowFolderEdit(false);
  controls.Show(IDC_BROWSE, false);

  controls.Show(IDC_PROGRESS, true);
  controls.Update(IDC_PROGRESS);
  controls.Enable(IDC_CANCEL_BUTTON, false);
  controls.Enable(IDC_BACK, false);
  controls.Enable(IDC_NEXT, false);
  wizard_.UpdateWindow();

  for (int id : {IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_MODEL_LIST, IDC_PRINTER_NAME,
                 IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER, IDC_PORT_LABEL, IDC_BAUD_LABEL,
                 IDC_PORT_LIST, IDC_BAUD}) {
    controls.Show(id, false);
  }

  settings_.queueName = Cut(controls.GetText(IDC_PRINTER_NAME));
  app_.productNames.printerName = settings_.queueName;
  settings_.setAsDefault = controls.IsChecked(IDC_DEFAULT_PRINTER);
  settings_.selectedModel = selectedModel_;

  settings_.installFolder = InstallFolderFor(settings_.queueName);
  CreateDirectoryPath(platform_.files, settings_.installFolder);
  wizard_.folderEdit.SetText(settings_.installFolder);
  CreateDirectoryPath(platform_.files, Child(settings_.installFolder, L"Inf"));

  const PrinterModel& model = (*models_)[static_cast<std::size_t>(selectedModel_)];
  installation_.Start(settings_, app_, model, payload_, platform_, workerUi_);
}

void CInstallDlg::OnBack() {
  DialogControls& controls = Controls();
  const int page = Page() - 1;
  wizard_.page.store(page);
  switch (page) {
    case kPageWelcome:
      for (int id : {IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_MODEL_LIST, IDC_PRINTER_NAME,
                     IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER}) {
        controls.Show(id, false);
      }
      wizard_.folderEdit.ShowWindow(false);
      controls.Show(IDC_BROWSE, false);
      controls.Show(IDC_BACK, false);
      break;
    case kPageFolder:
      ShowSettingsPage(false);
      ShowSerialSettings(controls, false);
      wizard_.folderEdit.ShowWindow(true);
      controls.Show(IDC_BROWSE, true);
      break;
    default:
      break;
  }
  wizard_.Invalidate(false);
}

void CInstallDlg::OnBrowse() {
  const std::optional<std::wstring> folder = platform_.shell.BrowseForFolder(
      Controls().Ref(kDialogItself), L"Selection ", kBrowseOnlyFileSystemFolders);
  if (folder) wizard_.folderEdit.SetText(*folder);
}

void CInstallDlg::OnModelSelChange() {
  installer::OnModelSelChange(Controls(), *models_, selectedModel_);
}

void CInstallDlg::OnPortSelChange() {
  installer::OnPortSelChange(Controls(), app_.productNames.portName);
}

}  // namespace installer
