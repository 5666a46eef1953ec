#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "platform/sim/recording_canvas.h"
#include "platform/sim/sim_dialog_controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/window.h"
#include "ui/framework/window_system.h"

namespace installer::sim {

struct SimWindowRegistry;

// A simulated window of the program's own class or a simulated edit control. It keeps the
// state a test looks at. Destroying it destroys the window and its children (their OnDestroy
// runs, parent first), as DestroyWindow does.
class SimWindowBackend : public WindowBackend {
 public:
  SimWindowBackend(std::shared_ptr<SimWindowRegistry> registry, CWnd& window, WindowRef parent,
                   const Rect& rect, std::uint32_t style, int id, bool edit);
  ~SimWindowBackend() override;

  // WindowBackend. Calls on a destroyed window are ignored.
  WindowRef Ref() const override { return ref_; }
  void Show(bool show) override;
  bool IsVisible() override;
  bool IsEnabled() override;
  void Enable(bool enable) override;
  void Invalidate(bool erase) override;
  void Update() override;
  Rect ClientRect() override;
  void SetText(const std::wstring& text) override;
  std::wstring GetText() override;
  void SetFont(const FontSpec& font, bool redraw) override;
  void SetModified(bool modified) override;
  bool IsModified() override;

  // Test side.
  CWnd& Window() const { return window_; }
  WindowRef Parent() const { return parent_; }
  Rect WindowRect() const { return rect_; }  // in the parent's client coordinates
  std::uint32_t Style() const { return style_; }
  int Id() const { return id_; }
  bool IsEdit() const { return edit_; }
  bool IsDestroyed();
  std::optional<FontSpec> Font();
  int Invalidations();         // InvalidateRect calls
  int ErasingInvalidations();  // those that asked for erasing
  int Updates();               // UpdateWindow calls
  int Paints();                // paints delivered to the window
  bool PaintPending();         // invalidated since the last paint
  // With auto-painting on, UpdateWindow of an invalidated window paints it at once into a
  // fresh canvas, kept as LastPaint (on the calling thread).
  void SetAutoPaint(bool on);
  std::optional<RecordingCanvas> LastPaint();
  // Delivers one paint to the window; returns what its OnPaint returned.
  bool Paint(RecordingCanvas& canvas);

  void MarkDestroyed();  // used by the window system

 private:
  std::shared_ptr<SimWindowRegistry> registry_;
  CWnd& window_;
  const WindowRef ref_;
  const WindowRef parent_;
  const Rect rect_;
  const std::uint32_t style_;
  const int id_;
  const bool edit_;

  std::mutex mutex_;
  bool destroyed_ = false;
  bool visible_;
  bool enabled_ = true;
  std::wstring text_;
  std::optional<FontSpec> font_;
  bool modified_ = false;
  int invalidations_ = 0;
  int erasingInvalidations_ = 0;
  int updates_ = 0;
  int paints_ = 0;
  bool pending_ = false;
  bool autoPaint_ = false;
  std::optional<RecordingCanvas> lastPaint_;
};

using ModalScript = std::function<void(CDialog&, SimDialogControls&)>;

// One modal run of a dialog.
struct SimModalRun {
  int templateId = 0;
  WindowRef owner = 0;
  WindowRef ref = 0;  // the dialog window
  std::shared_ptr<SimDialogControls> controls;
  bool finished = false;
  std::intptr_t result = 0;
};

// The window system of host tests. RunModal creates the dialog's controls as its template
// declares them (see DeclareTemplateControls), binds them, runs OnInitDialog, then the test's
// script for that template, then delivers posted commands until the dialog ended or none is
// left (a script that waits for another thread's command uses WaitForPostedCommand). It returns
// the EndDialog result, IDCANCEL when nothing ended the dialog. Thread-safe.
class SimWindowSystem : public WindowSystem {
 public:
  SimWindowSystem();
  ~SimWindowSystem() override;

  // Test side.
  void OnModal(int templateId, ModalScript script);  // replaces an earlier one
  std::vector<SimModalRun> Runs();
  int RunCount(int templateId);
  // The controls of the latest run of the template (running or finished); null when none ran.
  std::shared_ptr<SimDialogControls> LatestControls(int templateId);
  SimWindowBackend* Find(WindowRef window);  // a live window
  static SimWindowBackend* BackendOf(CWnd& window);
  std::vector<SimWindowBackend*> Children(WindowRef parent);  // live ones, in creation order
  bool Paint(CWnd& window, RecordingCanvas& canvas);          // false also when it has no window
  void FailNextCreations(int count);  // CreateChild/CreateEdit give null meanwhile

  // WindowSystem.
  std::intptr_t RunModal(CDialog& dialog, WindowRef owner) override;
  std::unique_ptr<WindowBackend> CreateChild(CWnd& window, WindowRef parent, const Rect& rect,
                                             std::uint32_t style) override;
  std::unique_ptr<WindowBackend> CreateEdit(CWnd& window, WindowRef parent, const Rect& rect,
                                            int id, std::uint32_t style) override;
  bool IsWindow(WindowRef window) override;

 private:
  std::unique_ptr<WindowBackend> Create(CWnd& window, WindowRef parent, const Rect& rect, int id,
                                        std::uint32_t style, bool edit);

  std::shared_ptr<SimWindowRegistry> registry_;
  std::mutex mutex_;
  std::map<int, ModalScript> scripts_;
  std::vector<SimModalRun> runs_;
  int failCreations_ = 0;
};

// Presets the controls of one of the program's dialog templates as the resource file declares
// them: which start hidden, the template captions and texts. Unknown templates get nothing.
void DeclareTemplateControls(int templateId, SimDialogControls& controls);

}  // namespace installer::sim
