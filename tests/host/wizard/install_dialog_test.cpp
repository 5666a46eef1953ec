#include <gtest/gtest.h>

#include <set>

#include "wizard_fixture.h"

namespace installer {
namespace {

using sim::SimDialogControls;
using testing::kProposedFolder;
using Strings = std::vector<std::wstring>;

constexpr int kSettingsPage[] = {IDC_SETTINGS_FRAME, IDC_MODEL_LABEL,        IDC_MODEL_LIST,
                                 IDC_PRINTER_NAME,   IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER,
                                 IDC_PORT_LABEL,     IDC_PORT_LIST};
constexpr int kCaptioned[] = {
    kDialogItself,       IDC_BACK,           IDC_NEXT,        IDC_CANCEL_BUTTON,
    IDC_BROWSE,          IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_PRINTER_NAME_LABEL,
    IDC_DEFAULT_PRINTER, IDC_PORT_LABEL,     IDC_BAUD_LABEL};

class InstallDialogTest : public testing::WizardTest {};

TEST_F(InstallDialogTest, SetUpPerLanguage) {
  FontSpec chinese;
  chinese.height = 12;
  chinese.charSet = 134;
  chinese.face = L"宋体";
  FontSpec russian;
  russian.height = 14;
  russian.face = L"Times New Romans";
  const struct {
    int language;
    Strings captions;  // in the order of kCaptioned
    std::optional<FontSpec> font;
    std::wstring prompt;
    std::wstring textIni;  // Text.ini in the documents folder when not empty
  } cases[] = {
      {kEnglish,
       {L"USB printer driver installation Wizard", L"Back", L"Next", L"Cancel", L"Browse",
        L"Select Port", L"Model:", L"Printer Name:", L"Set as default printer", L"Port:",
        L"Baudrate:"},
       std::nullopt,
       L"Please select model",
       L""},
      {kChinese,
       {L"USB打印机驱动安装", L"<<上一步", L"下一步>>", L"取消", L"浏览...", L"设置端口", L"型号：",
        L"打印机名称：", L"设置为默认打印机", L"端口：", L"波特率："},
       chinese,
       L"请选择打印机型号",
       L""},
      {kRussian,  // no Text.ini: the English defaults; the template's title stays
       {L"Printer Driver Installation", L"Back", L"Next", L"Отмена", L"Browse", L"выбор порта",
        L"Model:", L"Printer Name:", L"Set as default printer", L"Port:", L"Baudrate:"},
       russian,
       L"Please select model",
       L""},
      {kRussian,
       {L"Printer Driver Installation", L"Назад", L"Далее", L"Отмена", L"Обзор", L"выбор порта",
        L"Модель:", L"Имя принтера:", L"По умолчанию", L"Port:", L"Baudrate:"},
       russian,
       L"Выберите модель",
       L"[Text]\r\nBack=Назад\r\nNext=Далее\r\nBrowse=Обзор\r\nDriverTitle=Модель:\r\n"
       L"PrintTitle=Имя принтера:\r\nDefaultPrinter=По умолчанию\r\n"
       L"Please select model=Выберите модель\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    testing::Machine machine(false);
    if (!c.textIni.empty()) {
      machine.files.Put(std::wstring(testing::kDocuments) + L"\\Text.ini",
                        testing::Utf16(L"\xFEFF" + c.textIni));
    }
    AppState state;
    state.languageIndex = c.language;
    CInstallDlg wizard(machine.platform, state, image);
    machine.windows.OnModal(IDD_INSTALL_DIALOG, [&](CDialog&, SimDialogControls& controls) {
      Strings captions;
      for (int id : kCaptioned) captions.push_back(controls.GetText(id));
      EXPECT_EQ(captions, c.captions);
      // The fonts set: none in English (the template's font stays), else the language's font
      // on exactly these twelve controls.
      std::set<int> withFont;
      for (const sim::SimControlCall& call : controls.Calls()) {
        if (call.kind != sim::SimControlCall::Kind::kSetFont) continue;
        withFont.insert(call.id);
        EXPECT_EQ(call.font, c.font) << call.id;
      }
      const std::set<int> expected = {
          IDC_BACK,           IDC_NEXT,        IDC_CANCEL_BUTTON,      IDC_BROWSE,
          IDC_SETTINGS_FRAME, IDC_MODEL_LABEL, IDC_PRINTER_NAME_LABEL, IDC_DEFAULT_PRINTER,
          IDC_PORT_LABEL,     IDC_BAUD_LABEL,  IDC_MODEL_LIST,         IDC_PRINTER_NAME};
      EXPECT_EQ(withFont, c.font ? expected : std::set<int>());
      EXPECT_EQ(controls.GetText(IDC_DATABITS_LABEL), L"Databit:");
      EXPECT_EQ(controls.Control(IDC_MODEL_LIST).comboItems, (Strings{c.prompt}));
      const Strings ports = controls.Control(IDC_PORT_LIST).comboItems;
      EXPECT_EQ(ports.size(), c.language == kRussian ? 8u : 9u);  // USB, COM1-4, LPT1-3, net
      EXPECT_EQ(controls.ComboSelection(IDC_PORT_LIST), 0);
    });
    wizard.DoModal();
  }
}

TEST_F(InstallDialogTest, LayoutListsAndDefaults) {
  app.productNames.productTitle = L"Label Printer Setup";
  Run([](CInstallDlg& d, SimDialogControls& c) {
    EXPECT_EQ(c.Icons(), IDR_MAINFRAME);
    EXPECT_EQ(c.Control(kDialogItself).rect, (Rect{0, 0, 523, 365}));
    EXPECT_EQ(c.GetText(kDialogItself), L"Label Printer Setup");
    const Rect client = c.ClientRect(kDialogItself);
    const int w = client.right, h = client.bottom;
    EXPECT_EQ(c.Control(IDC_BACK).rect, (Rect{w - 252, h - 33, w - 174, h - 10}));
    EXPECT_EQ(c.Control(IDC_NEXT).rect, (Rect{w - 169, h - 33, w - 91, h - 10}));
    EXPECT_EQ(c.Control(IDC_CANCEL_BUTTON).rect, (Rect{w - 86, h - 33, w - 8, h - 10}));
    EXPECT_EQ(c.Control(IDC_BROWSE).rect, (Rect{w - 153, h - 156, w - 75, h - 133}));
    EXPECT_EQ(c.Control(IDC_SETTINGS_FRAME).rect, (Rect{3, 85, w - 3, h - 53}));
    const sim::SimControl progress = c.Control(IDC_PROGRESS);
    EXPECT_EQ(progress.progressLow, 0);
    EXPECT_EQ(progress.progressHigh, 100);
    EXPECT_EQ(progress.progressPosition, 0);
    EXPECT_TRUE(c.IsChecked(IDC_DEFAULT_PRINTER));
    EXPECT_TRUE(d.Settings().setAsDefault);
    EXPECT_EQ(c.Control(IDC_MODEL_LIST).comboItems,
              (Strings{L"Please select model", L"LP-300 Label", L"LP-203 Label"}));
    EXPECT_EQ(c.ComboSelection(IDC_MODEL_LIST), 0);
    EXPECT_EQ(c.Control(IDC_PORT_LIST).comboItems,
              (Strings{L"USB", L"COM1", L"COM2", L"COM3", L"COM4", L"LPT1", L"LPT2", L"LPT3",
                       L"Net Port(TCP/IP)"}));
    EXPECT_EQ(d.WizardWindow().folderEdit.GetText(), kProposedFolder);
    EXPECT_EQ(d.Page(), kPageWelcome);
    // The wizard window covers the client area but the button strip.
    WindowBackend* wizard = d.WizardWindow().Backend();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(wizard->ClientRect(), (Rect{0, 0, w - 2, h - 50}));
  });
}

TEST_F(InstallDialogTest, PagesWithNextBackAndTheirChecks) {
  const std::intptr_t result = Run([this](CInstallDlg& d, SimDialogControls& c) {
    EXPECT_TRUE(c.IsVisible(IDC_NEXT));
    EXPECT_FALSE(c.IsVisible(IDC_BACK));
    Press(d, IDC_NEXT);
    EXPECT_EQ(d.Page(), kPageFolder);
    EXPECT_TRUE(FolderBoxVisible(d));
    EXPECT_TRUE(c.IsVisible(IDC_BROWSE));
    EXPECT_TRUE(c.IsVisible(IDC_BACK));

    Press(d, IDC_BACK);
    EXPECT_EQ(d.Page(), kPageWelcome);
    EXPECT_FALSE(FolderBoxVisible(d));
    EXPECT_FALSE(c.IsVisible(IDC_BROWSE));
    EXPECT_FALSE(c.IsVisible(IDC_BACK));
    Press(d, IDC_NEXT);

    // The folder checks: each message keeps the page.
    const struct {
      std::wstring folder;
      std::wstring message;
    } refused[] = {{L"", L"The folder is empty!"},
                   {L"Q:\\Drivers", L"The folder is invalid"},
                   {L"\\\\server\\share\\Drivers", L"The folder is invalid"},
                   {L"Drivers", L"The folder is invalid"}};
    for (const auto& r : refused) {
      d.WizardWindow().folderEdit.SetText(r.folder);
      Press(d, IDC_NEXT);
      EXPECT_EQ(d.Page(), kPageFolder) << r.folder;
      ASSERT_FALSE(c.MessageBoxes().empty());
      const sim::SimMessageBox box = c.MessageBoxes().back();
      EXPECT_TRUE(box.owned);
      EXPECT_EQ(box.text, r.message);
      EXPECT_EQ(box.caption, L"Driver Installation");
      EXPECT_EQ(box.style, kMbOk);
    }
    d.WizardWindow().folderEdit.SetText(L"C:\\Drivers\\Label Printers");
    Press(d, IDC_NEXT);
    EXPECT_EQ(d.Page(), kPageSettings);
    EXPECT_TRUE(machine.files.IsDirectory(L"C:\\Drivers\\Label Printers"));
    EXPECT_EQ(d.Settings().baseFolder, L"C:\\Drivers\\Label Printers");
    EXPECT_FALSE(FolderBoxVisible(d));
    EXPECT_FALSE(c.IsVisible(IDC_BROWSE));
    for (int id : kSettingsPage) EXPECT_TRUE(c.IsVisible(id)) << id;
    for (int id : kSerialSettingControls) {
      EXPECT_TRUE(c.IsVisible(id)) << id;
      EXPECT_FALSE(c.IsEnabled(id)) << id;  // USB is chosen
    }

    // No printer name: a message without owner, with the error icon.
    Press(d, IDC_NEXT);
    EXPECT_EQ(d.Page(), kPageSettings);
    const sim::SimMessageBox box = c.MessageBoxes().back();
    EXPECT_FALSE(box.owned);
    EXPECT_EQ(box.text, L"Please Select a Printer Driver");
    EXPECT_EQ(box.caption, L"Printer Driver Installation");
    EXPECT_EQ(box.style, kMbOk | kMbIconError);
    EXPECT_EQ(c.MessageBoxes().size(), 5u);

    Press(d, IDC_BACK);
    EXPECT_EQ(d.Page(), kPageFolder);
    for (int id : kSettingsPage) EXPECT_FALSE(c.IsVisible(id)) << id;
    for (int id : kSerialSettingControls) EXPECT_FALSE(c.IsVisible(id)) << id;
    EXPECT_TRUE(FolderBoxVisible(d));
    EXPECT_TRUE(c.IsVisible(IDC_BROWSE));

    Press(d, IDC_CANCEL_BUTTON);  // no question
    EXPECT_EQ(c.MessageBoxes().size(), 5u);
  });
  EXPECT_EQ(result, kIdCancel);
  EXPECT_FALSE(dialog.Installation().HasStarted());
}

TEST_F(InstallDialogTest, MessagesPerLanguage) {
  const struct {
    int language;
    Strings texts;  // empty folder and its caption, invalid folder, no name and its caption
  } cases[] = {
      {kChinese,
       {L"安装文件夹不能为空", L"打印机驱动安装", L"安装文件夹不是有效文件夹",
        L"您没有选择打印机型号，请先选择打印机型号", L"打印机驱动安装"}},
      {kRussian,
       {L"The folder is empty!", L"Driver Installation", L"The folder is invalid",
        L"Выберите драйвер", L"Установка"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    testing::Machine machine(false);
    machine.files.Put(std::wstring(testing::kDocuments) + L"\\Text.ini",
                      testing::Utf16(L"\xFEFF[Text]\r\nNoSelectPrinter=Выберите драйвер\r\n"
                                     L"MsgBoxTitle=Установка\r\n"));
    AppState state;
    state.languageIndex = c.language;
    CInstallDlg wizard(machine.platform, state, image);
    machine.windows.OnModal(IDD_INSTALL_DIALOG, [&](CDialog& d, SimDialogControls& controls) {
      auto& w = static_cast<CInstallDlg&>(d);
      Press(w, IDC_NEXT);
      w.WizardWindow().folderEdit.SetText(L"");
      Press(w, IDC_NEXT);
      w.WizardWindow().folderEdit.SetText(L"Q:\\");
      Press(w, IDC_NEXT);
      w.WizardWindow().folderEdit.SetText(L"C:\\Drivers");
      Press(w, IDC_NEXT);
      Press(w, IDC_NEXT);
      const std::vector<sim::SimMessageBox> boxes = controls.MessageBoxes();
      ASSERT_EQ(boxes.size(), 3u);
      EXPECT_EQ((Strings{boxes[0].text, boxes[0].caption, boxes[1].text, boxes[2].text,
                         boxes[2].caption}),
                c.texts);
      EXPECT_EQ(boxes[1].caption, boxes[0].caption);
    });
    wizard.DoModal();
  }
}

TEST_F(InstallDialogTest, PrinterNamesThatLeaveTheFolderAreRefused) {
  machine.files.DenyWrites(L"C:\\Locked");
  Run([this](CInstallDlg& d, SimDialogControls& c) {
    Press(d, IDC_NEXT);
    Press(d, IDC_NEXT);
    const struct {
      std::wstring name;
      std::wstring message;  // empty: accepted
    } cases[] = {
        {L"..", L"The printer name is invalid"},
        {L" . ", L"The printer name is invalid"},
        {L"..\\..\\Windows", L"The printer name is invalid"},
        {L"Lab/Printer", L"The printer name is invalid"},
        {L"C:Label", L"The printer name is invalid"},
        {L"Label,2", L"The printer name is invalid"},
        {L"Label\tTab", L"The printer name is invalid"},
    };
    for (const auto& k : cases) {
      c.SetText(IDC_PRINTER_NAME, k.name);
      Press(d, IDC_NEXT);
      EXPECT_EQ(d.Page(), kPageSettings) << k.name;
      ASSERT_FALSE(c.MessageBoxes().empty());
      EXPECT_EQ(c.MessageBoxes().back().text, k.message) << k.name;
      EXPECT_FALSE(c.MessageBoxes().back().owned);
    }
    // A folder that cannot be made: the folder message, and the settings page stays.
    Press(d, IDC_BACK);
    d.WizardWindow().folderEdit.SetText(L"C:\\Locked");
    machine.files.MakeDirectories(L"C:\\Locked");
    Press(d, IDC_NEXT);
    ASSERT_EQ(d.Page(), kPageSettings);
    c.SetText(IDC_PRINTER_NAME, L"Label (1)");
    Press(d, IDC_NEXT);
    EXPECT_EQ(d.Page(), kPageSettings);
    EXPECT_EQ(c.MessageBoxes().back().text, L"The folder is invalid");
    EXPECT_TRUE(c.MessageBoxes().back().owned);
    EXPECT_FALSE(d.Installation().HasStarted());
  });
  EXPECT_TRUE(machine.spooler.printers.empty());
}

TEST_F(InstallDialogTest, BrowseReplacesTheFolder) {
  Run([this](CInstallDlg& d, SimDialogControls& c) {
    Press(d, IDC_NEXT);
    Press(d, IDC_BROWSE);  // the user cancels the browser
    EXPECT_EQ(d.WizardWindow().folderEdit.GetText(), kProposedFolder);
    machine.shell.SetBrowseAnswer(L"D:\\Printers");
    d.WizardWindow().folderEdit.Backend()->SetModified(false);
    Press(d, IDC_BROWSE);
    EXPECT_EQ(d.WizardWindow().folderEdit.GetText(), L"D:\\Printers");
    EXPECT_TRUE(d.WizardWindow().folderEdit.IsModified());
    const auto requests = machine.shell.BrowseRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].owner, c.Ref(kDialogItself));
    EXPECT_EQ(requests[1].title, L"Selection ");
    EXPECT_EQ(requests[1].flags, 1u);
  });
}

}  // namespace
}  // namespace installer
