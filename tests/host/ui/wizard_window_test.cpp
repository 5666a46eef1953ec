#include "ui/wizard_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/recording_canvas.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_window_system.h"

namespace installer {
namespace {

using sim::CanvasLine;
using sim::CanvasRecord;
using sim::RecordingCanvas;
using Kind = CanvasRecord::Kind;

FontSpec Font(const wchar_t* face, int height, int weight, int charSet = 0) {
  FontSpec font;
  font.face = face;
  font.height = height;
  font.weight = weight;
  font.charSet = charSet;
  return font;
}

const std::wstring kDocuments = sim::SimPlatform::kDocuments;
const Rect kDialogClient{0, 0, 517, 336};  // the wizard window is 515 x 286
constexpr int kW = 515;

class WizardWindowTest : public ::testing::Test {
 protected:
  WizardWindowTest() { canvas.SetCharWidth(5); }
  std::vector<CanvasRecord> Paint(int language, int page) {
    app.languageIndex = language;
    wizard = std::make_unique<CWizardWnd>(app, platform);
    EXPECT_TRUE(wizard->CreateWizardWindow(dialog, kDialogClient));
    wizard->page = page;
    canvas.Clear();
    EXPECT_TRUE(windows.Paint(*wizard, canvas));
    EXPECT_EQ(canvas.BadRestores(), 0);
    EXPECT_EQ(canvas.CurrentFont(), RecordingCanvas::DefaultFont());
    EXPECT_EQ(canvas.CurrentPenColor(), RecordingCanvas::kBlack);
    return canvas.Records();
  }
  std::vector<std::wstring> TextsDrawn() const {
    std::vector<std::wstring> texts;
    for (const CanvasRecord& record : canvas.Texts()) texts.push_back(record.text);
    return texts;
  }

  sim::SimPlatform sim;
  sim::SimFileSystem& files = sim.files;
  sim::SimShell& shell = sim.shell;
  sim::SimWindowSystem& windows = sim.windows;
  Platform& platform = sim.platform;
  AppState app;
  WindowRef dialog = 0x4242;
  RecordingCanvas canvas;
  std::unique_ptr<CWizardWnd> wizard;
};

TEST_F(WizardWindowTest, PageHeaderAndFolderPage) {
  Paint(kEnglish, kPageFolder);

  const auto fills = canvas.RecordsOf(Kind::kFillSolidRect);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, kW, 286}));
  EXPECT_EQ(fills[0].color, Rgb(236, 233, 216));
  EXPECT_EQ(fills[1].rect, (Rect{0, 0, kW, 54}));
  EXPECT_EQ(fills[1].color, Rgb(255, 255, 255));

  const auto lines = canvas.Lines();
  ASSERT_EQ(lines.size(), 14u);  // the separator and the 13 segments of the frame
  EXPECT_EQ(lines[0], (CanvasLine{{0, 54}, {kW, 54}, Rgb(172, 168, 153), 1}));
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].color, Rgb(208, 208, 191));
  EXPECT_EQ(lines[1], (CanvasLine{{28, 168}, {33, 168}, Rgb(208, 208, 191), 1}));
  EXPECT_EQ(lines[2].from, (Point{26 + 13 * 5 + 8, 168}));  // right of "Target folder"

  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0].text, L"Choose installation folder");
  EXPECT_EQ(texts[0].to, (Point{15, 10}));
  EXPECT_EQ(texts[0].font, Font(L"Ms Scanf", 15, 800));
  const std::wstring body[] = {
      L"The wizard will install the Norvik printer driver in the following folder If ",
      L"you want to install to a different folder, please click [Browse] and choose other ",
      L"folder. Click [next] to continue."};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[1 + i].text, body[i]);
    EXPECT_EQ(texts[1 + i].to, (Point{28, 70 + 13 * i}));
    EXPECT_EQ(texts[1 + i].font, Font(L"Ms Scanf", 15, 400));
    EXPECT_EQ(texts[1 + i].color, RecordingCanvas::kBlack);
    EXPECT_TRUE(texts[1 + i].transparent);
  }
  EXPECT_EQ(texts[4].text, L"Target folder");
  EXPECT_EQ(texts[4].to, (Point{34, 168 - 15 / 2}));
  EXPECT_EQ(texts[4].color, Rgb(0, 70, 213));
  EXPECT_EQ(texts[4].font, Font(L"Ms Scanf", 15, 400));
}

TEST_F(WizardWindowTest, FailedPageWithItsPageTextDrawsTwoLinesAndNoEmptyThird) {
  app.pageTexts[5] = L"Label Printer install failed\nClose the window please click [finish].\n";
  Paint(kEnglish, kPageFailed);
  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, L"Setup Failed");
  EXPECT_EQ(texts[1].text, L"Label Printer install failed");
  EXPECT_EQ(texts[1].to, (Point{28, 70}));
  EXPECT_EQ(texts[2].text, L"Close the window please click [finish].");
  EXPECT_EQ(texts[2].to, (Point{28, 173}));
}

TEST_F(WizardWindowTest, WelcomePageShowsThePictureAndTheTextAtTheRight) {
  const auto records = Paint(kEnglish, kPageWelcome);
  std::vector<CanvasRecord> drawing;  // without the selections and modes
  for (const CanvasRecord& record : records) {
    if (record.kind == Kind::kFillSolidRect || record.kind == Kind::kResourceBitmap)
      drawing.push_back(record);
  }
  ASSERT_EQ(drawing.size(), 2u);
  EXPECT_EQ(drawing[0].kind, Kind::kFillSolidRect);
  EXPECT_EQ(drawing[0].rect, (Rect{0, 0, kW, 286}));
  EXPECT_EQ(drawing[0].color, Rgb(255, 255, 255));
  EXPECT_EQ(drawing[1].kind, Kind::kResourceBitmap);
  EXPECT_EQ(drawing[1].id, 131);
  EXPECT_EQ(drawing[1].rect, (Rect{0, 0, 163, 295}));
  EXPECT_TRUE(canvas.RecordsOf(Kind::kFileBitmap).empty());
  EXPECT_TRUE(canvas.Lines().empty());

  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0].text, L"Welcome use Norvik printer.");
  EXPECT_EQ(texts[0].to, (Point{180, 20}));
  EXPECT_EQ(texts[0].font, Font(L"Ms Scanf", 20, 800));
  // Lines 2 and 6 to 9 hold only their newline: they take a step and draw nothing.
  EXPECT_EQ(texts[1].text, L"This Wizard will install Norvik printer driver in ");
  EXPECT_EQ(texts[1].to, (Point{180, 20 + 30 + 16}));
  EXPECT_EQ(texts[1].font, Font(L"Ms Scanf", 15, 400));
  EXPECT_EQ(texts[4].text, L"Please click [next] to continue.");
  EXPECT_EQ(texts[4].to, (Point{180, 20 + 30 + 16 * 8}));
  EXPECT_EQ(texts[4].font, Font(L"Ms Scanf", 15, 400));
}

TEST_F(WizardWindowTest, ChineseWelcomeStartsAt192InItsFonts) {
  Paint(kChinese, kPageWelcome);
  const auto texts = canvas.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, L"欢迎使用Norvik打印机驱动");
  EXPECT_EQ(texts[0].to, (Point{192, 20}));
  EXPECT_EQ(texts[0].font, Font(L"宋体", 14, 800, 134));
  EXPECT_EQ(texts[1].font, Font(L"宋体", 12, 400, 134));
}

TEST_F(WizardWindowTest, TitlesAndFrameCaptionInEachLanguage) {
  struct Case {
    int language;
    int page;
    std::wstring title;
    FontSpec font;
  };
  const Case cases[] = {
      {kEnglish, kPageSettings, L"Printer Setting", Font(L"Ms Scanf", 15, 800)},
      {kEnglish, kPageInstalling, L"Installing", Font(L"Ms Scanf", 15, 800)},
      {kEnglish, kPageComplete, L"Setup Complete", Font(L"Ms Scanf", 15, 800)},
      {kChinese, kPageFolder, L"选择安装文件夹", Font(L"Ms Scanf", 12, 800, 134)},
      {kChinese, kPageSettings, L"设置打印机", Font(L"Ms Scanf", 12, 800, 134)},
      {kChinese, kPageInstalling, L"正在安装", Font(L"Ms Scanf", 12, 800, 134)},
      {kChinese, kPageComplete, L"安装完成", Font(L"Ms Scanf", 12, 800, 134)},
      {kChinese, kPageFailed, L"安装失败", Font(L"Ms Scanf", 12, 800, 134)},
      // Russian without Text.ini: the defaults.
      {kRussian, kPageFolder, L"Choose installation folder", Font(L"Times New Romans", 15, 800)},
      {kRussian, kPageSettings, L"Printer Setting", Font(L"Times New Romans", 15, 800)},
      {kRussian, kPageInstalling, L"Installing", Font(L"Times New Romans", 15, 800)},
      {kRussian, kPageComplete, L"Setup Complete", Font(L"Times New Romans", 15, 800)},
      {kRussian, kPageFailed, L"Setup Failed", Font(L"Times New Romans", 15, 800)},
  };
  for (const Case& c : cases) {
    Paint(c.language, c.page);
    const auto texts = canvas.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, c.title) << c.language << " " << c.page;
    EXPECT_EQ(texts[0].to, (Point{15, 10}));
    EXPECT_EQ(texts[0].font, c.font) << c.language << " " << c.page;
  }

  Paint(kChinese, kPageFolder);
  EXPECT_EQ(canvas.Texts().back().text, L"目标文件夹");
  EXPECT_EQ(canvas.Texts().back().font, Font(L"宋体", 12, 400, 134));
  EXPECT_EQ(canvas.Texts()[1].text.substr(0, 4), L"安装程序");

  Paint(kRussian, kPageFolder);
  EXPECT_EQ(canvas.Texts().back().text, L"Path");
  EXPECT_EQ(canvas.Texts().back().font, Font(L"Times New Romans", 15, 400));
  EXPECT_EQ(canvas.Texts()[1].text.substr(0, 10), L"The wizard");
}

TEST_F(WizardWindowTest, RussianTextsComeFromTextIniAtEachPaint) {
  Paint(kRussian, kPageFolder);
  EXPECT_EQ(canvas.Texts().front().text, L"Choose installation folder");

  files.Put(kDocuments + L"\\Text.ini",
            "[Text]\r\nChoose installation folder=Выбор папки\r\nInstallPath=Путь\r\n");
  canvas.Clear();
  windows.Paint(*wizard, canvas);
  EXPECT_EQ(canvas.Texts().front().text, L"Выбор папки");
  EXPECT_EQ(canvas.Texts().back().text, L"Путь");
}

TEST_F(WizardWindowTest, PageTextsReplaceBuiltInTextsOnlyWhenNotEmpty) {
  app.pageTexts[2] = L"Copying files";
  Paint(kEnglish, kPageInstalling);
  EXPECT_EQ(TextsDrawn(),
            (std::vector<std::wstring>{L"Installing", L"Copying files", L"Please wait..."}));

  Paint(kEnglish, kPageComplete);
  EXPECT_EQ(TextsDrawn(), (std::vector<std::wstring>{
                              L"Setup Complete",
                              L"Norvik printer driver has been successfully installed in your "
                              L"computer. "}));
}

TEST_F(WizardWindowTest, SettingsPageHasOnlyItsHeader) {
  Paint(kEnglish, kPageSettings);
  EXPECT_EQ(TextsDrawn(), (std::vector<std::wstring>{L"Printer Setting"}));
  EXPECT_EQ(canvas.Lines().size(), 1u);
}

TEST_F(WizardWindowTest, LogoShowsOnlyItsTopLeft200x54AtTheRightEndOfTheBanner) {
  canvas.SetFileBitmap(kDocuments + L"\\Logo.bmp", Size{300, 80});
  for (int page : {kPageFolder, kPageSettings, kPageInstalling, kPageComplete, kPageFailed}) {
    Paint(kEnglish, page);
    const auto logos = canvas.RecordsOf(Kind::kFileBitmap);
    ASSERT_EQ(logos.size(), 1u) << page;
    EXPECT_TRUE(logos[0].loaded);
    EXPECT_EQ(logos[0].rect, (Rect{kW - 200, 0, kW, 54}));
  }
  Paint(kEnglish, kPageWelcome);
  EXPECT_TRUE(canvas.RecordsOf(Kind::kFileBitmap).empty());
}

TEST_F(WizardWindowTest, WithoutDocumentsFolderTheNamesAreRelative) {
  shell.SetSpecialFolder(SpecialFolder::Personal, std::nullopt);
  Paint(kRussian, kPageFolder);
  const auto logos = canvas.RecordsOf(Kind::kFileBitmap);
  ASSERT_EQ(logos.size(), 1u);
  EXPECT_EQ(logos[0].text, L"\\Logo.bmp");
  EXPECT_FALSE(logos[0].loaded);
  EXPECT_EQ(canvas.Texts().back().text, L"Path");
}

TEST_F(WizardWindowTest, CreatesTheWindowAndTheProposedFolder) {
  struct Case {
    int language;
    std::wstring folderName;
    std::wstring folder;
    std::wstring status;
    int chinese;
  };
  const Case cases[] = {
      {kEnglish, L"", L"C:\\Program Files\\USB Printer", L"Please wait...", 0},
      {kChinese, L"Norvik", L"C:\\Program Files\\Norvik", L"请稍候...", 1},
      {kRussian, L"Norvik", L"C:\\Program Files\\Norvik", L"Please wait...", 0},
  };
  for (const Case& c : cases) {
    app.languageIndex = c.language;
    app.productNames.installFolderName = c.folderName;
    CWizardWnd window(app, platform);
    ASSERT_TRUE(window.CreateWizardWindow(dialog, kDialogClient));
    sim::SimWindowBackend* backend = sim::SimWindowSystem::BackendOf(window);
    EXPECT_EQ(backend->Parent(), dialog);
    EXPECT_EQ(backend->WindowRect(), (Rect{0, 0, 515, 286}));
    EXPECT_EQ(backend->Style(), kWsChild | kWsVisible | kWsClipSiblings | kWsClipChildren);
    EXPECT_EQ(window.chineseTexts, c.chinese);
    EXPECT_EQ(window.statusText.Get(), c.status);
    EXPECT_EQ(window.page, kPageWelcome);
    EXPECT_EQ(window.useMonitorPort, 0);

    sim::SimWindowBackend* box = sim::SimWindowSystem::BackendOf(window.folderEdit);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Parent(), window.Ref());
    EXPECT_EQ(box->WindowRect(), kFolderEditRect);
    EXPECT_FALSE(box->IsVisible());
    EXPECT_EQ(window.folderEdit.GetText(), c.folder);
    EXPECT_TRUE(window.folderEdit.IsModified());
  }
}

TEST_F(WizardWindowTest, AProposedFolderLongerThan255UnitsIsCut) {
  shell.SetEnvironmentVariable(L"ProgramFiles", L"D:\\" + std::wstring(250, L'p'));
  app.productNames.installFolderName = L"Norvik";
  CWizardWnd window(app, platform);
  ASSERT_TRUE(window.CreateWizardWindow(dialog, kDialogClient));
  const std::wstring expected = (L"D:\\" + std::wstring(250, L'p') + L"\\Norvik").substr(0, 255);
  EXPECT_EQ(window.folderEdit.GetText(), expected);
}

TEST_F(WizardWindowTest, CreationFailureReportsFalseAndCreatesNothing) {
  windows.FailNextCreations(1);
  CWizardWnd window(app, platform);
  EXPECT_FALSE(window.CreateWizardWindow(dialog, kDialogClient));
  EXPECT_FALSE(window.IsCreated());
  EXPECT_FALSE(window.folderEdit.IsCreated());
  EXPECT_EQ(window.folderEdit.GetText(), L"");
}

TEST_F(WizardWindowTest, ShowFolderEditShowsOrHidesAndRepaintsWithoutErasing) {
  CWizardWnd window(app, platform);
  ASSERT_TRUE(window.CreateWizardWindow(dialog, kDialogClient));
  sim::SimWindowBackend* backend = sim::SimWindowSystem::BackendOf(window);
  sim::SimWindowBackend* box = sim::SimWindowSystem::BackendOf(window.folderEdit);
  window.folderEdit.SetText(L"D:\\Kept");

  window.ShowFolderEdit(true);
  EXPECT_TRUE(box->IsVisible());
  window.ShowFolderEdit(false);
  EXPECT_FALSE(box->IsVisible());
  EXPECT_EQ(window.folderEdit.GetText(), L"D:\\Kept");
  EXPECT_EQ(backend->Invalidations(), 2);
  EXPECT_EQ(backend->ErasingInvalidations(), 0);
  EXPECT_EQ(backend->Updates(), 2);
}

TEST_F(WizardWindowTest, StatusTextFromAnotherThreadIsPaintedWholeAndAtOnce) {
  app.languageIndex = kEnglish;
  CWizardWnd window(app, platform);
  ASSERT_TRUE(window.CreateWizardWindow(dialog, kDialogClient));
  window.page = kPageInstalling;
  sim::SimWindowBackend* backend = sim::SimWindowSystem::BackendOf(window);
  backend->SetAutoPaint(true);

  const std::wstring first = L"C:\\Program Files\\Norvik\\" + std::wstring(200, L'a');
  const std::wstring second = L"C:\\Program Files\\Norvik\\" + std::wstring(100, L'b');
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) window.SetStatusText(i % 2 ? second : first);
  });
  for (int i = 0; i < 200; ++i) {
    RecordingCanvas paint;
    windows.Paint(window, paint);
    const std::wstring drawn = paint.Texts().back().text;
    EXPECT_TRUE(drawn == first || drawn == second || drawn == L"Please wait...");
  }
  worker.join();

  const auto last = backend->LastPaint();
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->Texts().back().text, second);
  EXPECT_EQ(last->Texts().back().to, (Point{28, 160}));
  EXPECT_EQ(last->Texts().back().font, Font(L"Ms Scanf", 15, 400));
}

TEST_F(WizardWindowTest, DestroyingTheWindowRunsTheDestroyHandlerWhileTheFolderBoxLives) {
  std::wstring seen;
  int calls = 0;
  {
    CWizardWnd window(app, platform);
    ASSERT_TRUE(window.CreateWizardWindow(dialog, kDialogClient));
    window.folderEdit.SetText(L"D:\\Printer\\Norvik");
    window.SetDestroyHandler([&] {
      ++calls;
      seen = window.folderEdit.GetText();
    });
  }
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, L"D:\\Printer\\Norvik");
}

}  // namespace
}  // namespace installer
