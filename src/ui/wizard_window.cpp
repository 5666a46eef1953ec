#include "ui/wizard_window.h"

#include <cstddef>

#include "startup/documents_folder.h"
#include "startup/text_ini.h"

namespace installer {

namespace {

constexpr std::size_t kFolderCapacity = 255;  // units of the proposed folder

struct BuiltInText {
  int page;
  int section;  // PageTexts section
  const wchar_t* english;
  const wchar_t* chinese;
};

constexpr BuiltInText kBuiltInTexts[] = {
    {kPageWelcome, 0,
     L"Welcome use Norvik printer.\n\nThis Wizard will install Norvik printer driver in \nyour "
     L"computer.This software can support word,excel \netc program standard printing "
     L"function.\n\n\n\n\nPlease click [next] to continue.",
     L"欢迎使用Norvik打印机驱动\n\n本向导将会在您的电脑上安装Norvik打印机驱动。本程序支持Word、"
     L"Excel等程序的Windows标准打印功能。\n\n本程序在完成安装之后，不必重启系統就可以直接使用。"
     L"\n\n\n请点击[下一步]继续。"},
    {kPageFolder, 1,
     L"The wizard will install the Norvik printer driver in the following folder If \nyou want "
     L"to install to a different folder, please click [Browse] and choose other \nfolder. Click "
     L"[next] to continue.",
     L"安装程序将打印机驱动安装在下列文件夹。如果要安装到不同的文件夹，点击   "
     L"【浏览】并选择其它文件夹。点击【下一步】继续。"},
    {kPageInstalling, 2,
     L"The wizard is installing Norvik printer driver in your computer.Please wait, the "
     L"progress will spend your few minute.",
     L"安装程序正在Norvik打印机驱动到您的电脑上。请等待，这个工程可能会花几分钟。"},
    {kPageComplete, 3, L"Norvik printer driver has been successfully installed in your computer. ",
     L"Norvik打印机驱动已成功安装到您的电脑。 "},
    {kPageFailed, 5, L"The Printer Driver install fail. ", L"打印机驱动安装失败。 "},
};

struct Title {
  int page;
  const wchar_t* english;  // also the Russian Text.ini key and its default
  const wchar_t* chinese;
};

constexpr Title kTitles[] = {
    {kPageFolder, L"Choose installation folder", L"选择安装文件夹"},
    {kPageSettings, L"Printer Setting", L"设置打印机"},
    {kPageInstalling, L"Installing", L"正在安装"},
    {kPageComplete, L"Setup Complete", L"安装完成"},
    {kPageFailed, L"Setup Failed", L"安装失败"},
};

FontSpec Font(const wchar_t* face, int height, int weight, int charSet = 0) {
  FontSpec font;
  font.height = height;
  font.weight = weight;
  font.charSet = charSet;
  font.face = face;
  return font;
}

// At most `capacity` units, never ending in the first half of a surrogate pair.
std::wstring CutToCapacity(std::wstring text, std::size_t capacity) {
  if (text.size() <= capacity) return text;
  text.resize(capacity);
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  return text;
}

// A kept newline carries no visible content: it is not handed to TextOut.
std::wstring VisiblePart(const std::wstring& line) {
  std::size_t end = line.size();
  if (end > 0 && line[end - 1] == L'\n') --end;
  if (end > 0 && line[end - 1] == L'\r') --end;
  return line.substr(0, end);
}

}  // namespace

// The fonts of one paint. Selecting one through it keeps the font that was selected before the
// first, which is put back when the paint ends.
class PaintFonts {
 public:
  PaintFonts(Canvas& canvas, const PageFonts& fonts) : canvas_(canvas), fonts_(fonts) {}
  PaintFonts(const PaintFonts&) = delete;
  PaintFonts& operator=(const PaintFonts&) = delete;
  ~PaintFonts() {
    if (selected_) canvas_.RestoreFont(previous_);
  }
  const FontSpec& Body() const { return fonts_.body; }
  void SelectWelcome() { Select(fonts_.welcome); }
  void SelectBody() { Select(fonts_.body); }
  void SelectTitle() { Select(fonts_.title); }

 private:
  void Select(const FontSpec& font) {
    const int previous = canvas_.SelectFont(font);
    if (!selected_) previous_ = previous;
    selected_ = true;
  }

  Canvas& canvas_;
  const PageFonts fonts_;
  bool selected_ = false;
  int previous_ = 0;
};

namespace {

void DrawLine(Canvas& canvas, int x, int y, const std::wstring& line) {
  const std::wstring visible = VisiblePart(line);
  if (!visible.empty()) canvas.TextOut(x, y, visible);
}

}  // namespace

PageFonts PageFontsFor(int languageIndex) {
  switch (languageIndex) {
    case kChinese:
      return {Font(L"宋体", 14, 800, 134), Font(L"宋体", 12, 400, 134),
              Font(L"Ms Scanf", 12, 800, 134)};
    case kRussian:
      return {Font(L"Times New Roman", 18, 800), Font(L"Times New Romans", 15, 400),
              Font(L"Times New Romans", 15, 800)};
    default:
      return {Font(L"Ms Scanf", 20, 800), Font(L"Ms Scanf", 15, 400), Font(L"Ms Scanf", 15, 800)};
  }
}

int SplitTextIntoLines(Canvas& canvas, const std::wstring& text, std::vector<std::wstring>& lines,
                       int maxWidth) {
  std::wstring line;
  for (wchar_t ch : text) {
    line.push_back(ch);
    if (canvas.TextExtent(line).cx > maxWidth || ch == L'\n' || line.size() >= kLineCapacity) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) lines.push_back(line);
  return static_cast<int>(text.size());
}

void DrawCaptionFrame(Canvas& canvas, Rect frame, const std::wstring& caption,
                      const FontSpec& font) {
  const int l = frame.left, t = frame.top, r = frame.right, b = frame.bottom;
  const int previousFont = canvas.SelectFont(font);
  const Size extent = canvas.TextExtent(caption);
  canvas.SetBackgroundTransparent(true);
  canvas.SetTextColor(kFrameCaptionColor);
  canvas.TextOut(l + 8, t - extent.cy / 2, caption);

  const int previousPen = canvas.SelectPen(kFrameLineColor, 1);
  const struct {
    Point from, to;
  } segments[] = {
      {{l + 2, t}, {l + 7, t}},         {{l + extent.cx + 8, t}, {r - 2, t}},
      {{l + 1, t + 1}, {l + 2, t + 1}}, {{l, t + 2}, {l + 1, t + 2}},
      {{l, t + 2}, {l, b - 2}},         {{l, b - 2}, {l + 1, b - 2}},
      {{l + 1, b - 1}, {l + 2, b - 1}}, {{l + 2, b}, {r - 2, b}},
      {{r - 2, b - 1}, {r - 1, b - 1}}, {{r - 1, b - 2}, {r, b - 2}},
      {{r, b - 3}, {r, t + 2}},         {{r - 1, t + 2}, {r, t + 2}},
      {{r - 2, t + 1}, {r - 1, t + 1}},
  };
  for (const auto& segment : segments) {
    canvas.MoveTo(segment.from.x, segment.from.y);
    canvas.LineTo(segment.to.x, segment.to.y);
  }
  canvas.RestorePen(previousPen);
  canvas.RestoreFont(previousFont);
}

void DrawEtchedLine(Canvas& canvas, const Rect& dialogClient) {
  const int w = dialogClient.Width();
  const int y = dialogClient.Height() - 50;
  const int previousPen = canvas.SelectPen(kSeparatorColor, 1);
  canvas.MoveTo(1, y);
  canvas.LineTo(w - 1, y);
  canvas.SelectPen(kWhite, 1);
  canvas.MoveTo(1, y + 1);
  canvas.LineTo(w - 1, y + 1);
  canvas.RestorePen(previousPen);
}

bool CWizardWnd::CreateWizardWindow(WindowRef dialog, const Rect& dialogClient) {
  const Rect rect{0, 0, dialogClient.Width() - 2, dialogClient.Height() - 50};
  Attach(platform_.windows.CreateChild(*this, dialog, rect,
                                       kWsChild | kWsVisible | kWsClipSiblings | kWsClipChildren));
  if (!IsCreated()) return false;

  chineseTexts = app_.languageIndex == kChinese ? 1 : 0;

  folderEdit.CreateFlatEdit(platform_.windows, kFolderEditRect, Ref());
  const std::wstring& folderName = app_.productNames.installFolderName;
  folderEdit.SetText(
      CutToCapacity(platform_.shell.ExpandEnvironmentStrings(L"%ProgramFiles%\\") +
                        (folderName.empty() ? std::wstring(L"USB Printer") : folderName),
                    kFolderCapacity));

  statusText.Set(chineseTexts ? L"请稍候..." : L"Please wait...");
  return true;
}

void CWizardWnd::ShowFolderEdit(bool show) {
  folderEdit.ShowWindow(show);
  Repaint();
}

void CWizardWnd::SetStatusText(const std::wstring& text) {
  statusText.Set(text);
  Repaint();
}

void CWizardWnd::Repaint() {
  Invalidate(false);
  UpdateWindow();
}

void CWizardWnd::OnDestroy() {
  // A window is destroyed once: the handler runs at most once.
  std::function<void()> handler = std::move(onDestroy_);
  onDestroy_ = nullptr;
  if (handler) handler();
}

std::wstring CWizardWnd::PageText(int pageNumber) const {
  for (const BuiltInText& text : kBuiltInTexts) {
    if (text.page != pageNumber) continue;
    const std::wstring& fromFile = app_.pageTexts[static_cast<std::size_t>(text.section)];
    if (!fromFile.empty()) return fromFile;
    return chineseTexts ? text.chinese : text.english;
  }
  return std::wstring();
}

std::wstring CWizardWnd::PageTitle(int pageNumber) const {
  for (const Title& title : kTitles) {
    if (title.page != pageNumber) continue;
    if (app_.languageIndex == kChinese) return title.chinese;
    if (app_.languageIndex == kRussian)
      return ReadText(platform_.profiles, platform_.shell, title.english, title.english);
    return title.english;
  }
  return std::wstring();
}

std::wstring CWizardWnd::FrameCaption() const {
  if (app_.languageIndex == kChinese) return L"目标文件夹";
  if (app_.languageIndex == kRussian)
    return ReadText(platform_.profiles, platform_.shell, L"InstallPath", L"Path");
  return L"Target folder";
}

bool CWizardWnd::OnPaint(Canvas& canvas) {
  const int pageNumber = page.load();
  const Rect client = canvas.ClientRect();
  PaintFonts fonts(canvas, PageFontsFor(app_.languageIndex));
  canvas.SetBackgroundTransparent(true);

  if (pageNumber == kPageWelcome) {
    PaintWelcome(canvas, client, fonts);
  } else {
    PaintHeader(canvas, client, pageNumber, fonts);
    switch (pageNumber) {
      case kPageFolder:
        PaintText(canvas, client, pageNumber, fonts, 13);
        DrawCaptionFrame(canvas, kFolderFrameRect, FrameCaption(), fonts.Body());
        break;
      case kPageInstalling:
        PaintText(canvas, client, pageNumber, fonts, 13);
        canvas.TextOut(28, 160, statusText.Get());
        break;
      case kPageComplete:
      case kPageFailed:
        PaintText(canvas, client, pageNumber, fonts, 103);
        break;
      default:
        break;
    }
  }
  return true;
}

void CWizardWnd::PaintWelcome(Canvas& canvas, const Rect& client, PaintFonts& fonts) {
  canvas.FillSolidRect(client, kWhite);
  canvas.DrawResourceBitmap(kWelcomeBitmapId, 0, 0);
  fonts.SelectWelcome();
  std::vector<std::wstring> lines;
  SplitTextIntoLines(canvas, PageText(kPageWelcome), lines, client.Width() - 10);
  const int x = chineseTexts ? 192 : 180;
  int y = 20;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 1) fonts.SelectBody();
    DrawLine(canvas, x, y, lines[i]);
    y += i == 0 ? 30 : 16;
  }
}

void CWizardWnd::PaintHeader(Canvas& canvas, const Rect& client, int pageNumber,
                             PaintFonts& fonts) {
  const int w = client.Width();
  canvas.FillSolidRect(client, kPageBackground);
  canvas.FillSolidRect(Rect{0, 0, w, kBannerHeight}, kWhite);
  const std::wstring logoPath = DocumentsFolder(platform_.shell) + L"\\Logo.bmp";
  canvas.DrawFileBitmap(logoPath, Size{kLogoWidth, kBannerHeight}, w - kLogoWidth, 0);
  const int previousPen = canvas.SelectPen(kSeparatorColor, 1);
  canvas.MoveTo(0, kBannerHeight);
  canvas.LineTo(w, kBannerHeight);
  canvas.RestorePen(previousPen);
  fonts.SelectTitle();
  canvas.TextOut(15, 10, PageTitle(pageNumber));
}

void CWizardWnd::PaintText(Canvas& canvas, const Rect& client, int pageNumber, PaintFonts& fonts,
                           int lineStep) {
  fonts.SelectBody();
  std::vector<std::wstring> lines;
  SplitTextIntoLines(canvas, PageText(pageNumber), lines, client.Width() - 56);
  int y = 70;
  for (const std::wstring& line : lines) {
    DrawLine(canvas, 28, y, line);
    y += lineStep;
  }
}

}  // namespace installer
