#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "platform/font_spec.h"
#include "platform/geometry.h"
#include "platform/platform.h"
#include "startup/app_state.h"
#include "ui/flat_edit.h"
#include "ui/framework/window.h"

namespace installer {

// Page numbers of the wizard.
enum WizardPage : int {
  kPageWelcome = 0,
  kPageFolder = 1,
  kPageSettings = 2,
  kPageInstalling = 3,
  kPageComplete = 4,
  kPageFailed = 8,
};

constexpr int kWelcomeBitmapId = 131;
constexpr int kLogoWidth = 200;
constexpr int kBannerHeight = 54;
constexpr std::size_t kLineCapacity = 255;  // units of one wrapped line
constexpr Color kPageBackground = Rgb(236, 233, 216);
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kSeparatorColor = Rgb(172, 168, 153);
constexpr Color kFrameCaptionColor = Rgb(0, 70, 213);
constexpr Color kFrameLineColor = Rgb(208, 208, 191);
constexpr Rect kFolderEditRect{38, 182, 362, 204};
constexpr Rect kFolderFrameRect{26, 168, 453, 218};

// The three fonts of a page paint for a language index.
struct PageFonts {
  FontSpec welcome;
  FontSpec body;
  FontSpec title;
};
PageFonts PageFontsFor(int languageIndex);

// Appends to `lines` the lines of `text` that fit `maxWidth` with the canvas's selected font: a
// line ends after the character that makes it wider than `maxWidth`, after a newline (which stays
// on its line), or when it holds kLineCapacity units. Returns the length of the text.
int SplitTextIntoLines(Canvas& canvas, const std::wstring& text, std::vector<std::wstring>& lines,
                       int maxWidth);

// A rounded frame with `caption` set into its top edge, drawn in `font`. Leaves the caption's
// text colour selected.
void DrawCaptionFrame(Canvas& canvas, Rect frame, const std::wstring& caption,
                      const FontSpec& font);

// The wizard dialog's own painting: the etched line above its button strip.
void DrawEtchedLine(Canvas& canvas, const Rect& dialogClient);

// A text that one thread writes while another reads it.
class SharedText {
 public:
  explicit SharedText(std::wstring initial) : text_(std::move(initial)) {}
  std::wstring Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
  }
  void Set(const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    text_ = text;
  }

 private:
  mutable std::mutex mutex_;
  std::wstring text_;
};

class PaintFonts;

// The painted child window of the wizard dialog: it draws the page that `page` names and holds
// the state the wizard shares with the painting. `page` and `statusText` may be written from the
// installation worker; everything else belongs to the user-interface thread.
class CWizardWnd : public CWnd {
 public:
  CWizardWnd(const AppState& app, Platform& platform) : app_(app), platform_(platform) {}
  // A window still alive is destroyed here, while the members its OnDestroy reads still exist.
  ~CWizardWnd() override { Detach(); }

  int useMonitorPort = 0;
  int chineseTexts = 1;
  SharedText statusText{L"请稍候..."};
  CFlatEdit folderEdit;
  std::atomic<int> page{kPageWelcome};

  // Creates the window over the dialog's client area `dialogClient` (less 2 pixels at the right
  // and the 50-pixel button strip), the folder box with the proposed folder, and sets the
  // language flag and the status text. False when the window cannot be created.
  bool CreateWizardWindow(WindowRef dialog, const Rect& dialogClient);
  // Shows or hides the folder box, then repaints the whole window at once.
  void ShowFolderEdit(bool show);
  // Replaces the status text and repaints at once. Safe from any thread.
  void SetStatusText(const std::wstring& text);
  // Invalidates the whole window without erasing and updates it.
  void Repaint();
  // Runs once, when the window is destroyed, before it goes away.
  void SetDestroyHandler(std::function<void()> handler) { onDestroy_ = std::move(handler); }

  bool OnPaint(Canvas& canvas) override;
  void OnDestroy() override;

  // The text drawn on a page: its PageTexts section when not empty, else the built-in text.
  std::wstring PageText(int pageNumber) const;
  // The title of a page (empty for the welcome page) and the folder frame's caption.
  std::wstring PageTitle(int pageNumber) const;
  std::wstring FrameCaption() const;

 private:
  void PaintWelcome(Canvas& canvas, const Rect& client, PaintFonts& fonts);
  void PaintHeader(Canvas& canvas, const Rect& client, int pageNumber, PaintFonts& fonts);
  void PaintText(Canvas& canvas, const Rect& client, int pageNumber, PaintFonts& fonts,
                 int lineStep);

  const AppState& app_;
  Platform& platform_;
  std::function<void()> onDestroy_;
};

}  // namespace installer
