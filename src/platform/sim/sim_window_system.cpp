#include "platform/sim/sim_window_system.h"

#include <algorithm>

namespace installer::sim {

// The live windows and dialogs, shared by the window system and its windows so that either may
// go first.
struct SimWindowRegistry {
  std::mutex mutex;
  std::vector<SimWindowBackend*> windows;  // in creation order
  std::set<WindowRef> dialogs;             // dialog windows of running modal dialogs

  // Removes from the registry and returns, parent first, the window and all its descendants.
  std::vector<SimWindowBackend*> TakeTree(WindowRef root) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<SimWindowBackend*> tree;
    std::vector<WindowRef> parents{root};
    for (std::size_t next = 0; next < parents.size(); ++next) {
      for (SimWindowBackend* window : windows) {
        if (window->Parent() == parents[next]) {
          tree.push_back(window);
          parents.push_back(window->Ref());
        }
      }
    }
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [&](SimWindowBackend* window) {
                                   return window->Ref() == root ||
                                          std::find(tree.begin(), tree.end(), window) != tree.end();
                                 }),
                  windows.end());
    return tree;
  }
};

namespace {

// Sends WM_DESTROY to every window of a taken tree, parent first, then marks them destroyed.
void DestroyTree(const std::vector<SimWindowBackend*>& tree) {
  for (SimWindowBackend* window : tree) window->Window().OnDestroy();
  for (SimWindowBackend* window : tree) window->MarkDestroyed();
}

}  // namespace

SimWindowBackend::SimWindowBackend(std::shared_ptr<SimWindowRegistry> registry, CWnd& window,
                                   WindowRef parent, const Rect& rect, std::uint32_t style, int id,
                                   bool edit)
    : registry_(std::move(registry)),
      window_(window),
      ref_(NewSimWindowRef()),
      parent_(parent),
      rect_(rect),
      style_(style),
      id_(id),
      edit_(edit),
      visible_((style & kWsVisible) != 0) {}

SimWindowBackend::~SimWindowBackend() {
  bool destroyed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    destroyed = destroyed_;
  }
  std::vector<SimWindowBackend*> children = registry_->TakeTree(ref_);
  if (!destroyed) {
    window_.OnDestroy();
    DestroyTree(children);
  }
}

void SimWindowBackend::MarkDestroyed() {
  std::lock_guard<std::mutex> lock(mutex_);
  destroyed_ = true;
  visible_ = false;
}

bool SimWindowBackend::IsDestroyed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return destroyed_;
}

void SimWindowBackend::Show(bool show) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!destroyed_) visible_ = show;
}

bool SimWindowBackend::IsVisible() {
  std::lock_guard<std::mutex> lock(mutex_);
  return !destroyed_ && visible_;
}

bool SimWindowBackend::IsEnabled() {
  std::lock_guard<std::mutex> lock(mutex_);
  return !destroyed_ && enabled_;
}

void SimWindowBackend::Enable(bool enable) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!destroyed_) enabled_ = enable;
}

void SimWindowBackend::Invalidate(bool erase) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (destroyed_) return;
  ++invalidations_;
  if (erase) ++erasingInvalidations_;
  pending_ = true;
}

void SimWindowBackend::Update() {
  bool paintNow;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (destroyed_) return;
    ++updates_;
    paintNow = autoPaint_ && pending_;
  }
  if (paintNow) {
    RecordingCanvas canvas;
    Paint(canvas);
    std::lock_guard<std::mutex> lock(mutex_);
    lastPaint_ = std::move(canvas);
  }
}

Rect SimWindowBackend::ClientRect() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (destroyed_) return Rect{};
  return Rect{0, 0, rect_.Width(), rect_.Height()};
}

void SimWindowBackend::SetText(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (destroyed_) return;
  text_ = text;
  if (edit_) modified_ = false;  // WM_SETTEXT clears an edit's modified flag
}

std::wstring SimWindowBackend::GetText() {
  std::lock_guard<std::mutex> lock(mutex_);
  return destroyed_ ? std::wstring() : text_;
}

void SimWindowBackend::SetFont(const FontSpec& font, bool redraw) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (destroyed_) return;
  font_ = font;
  if (redraw) {
    ++invalidations_;
    pending_ = true;
  }
}

void SimWindowBackend::SetModified(bool modified) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!destroyed_) modified_ = modified;
}

bool SimWindowBackend::IsModified() {
  std::lock_guard<std::mutex> lock(mutex_);
  return !destroyed_ && modified_;
}

std::optional<FontSpec> SimWindowBackend::Font() {
  std::lock_guard<std::mutex> lock(mutex_);
  return font_;
}

int SimWindowBackend::Invalidations() {
  std::lock_guard<std::mutex> lock(mutex_);
  return invalidations_;
}

int SimWindowBackend::ErasingInvalidations() {
  std::lock_guard<std::mutex> lock(mutex_);
  return erasingInvalidations_;
}

int SimWindowBackend::Updates() {
  std::lock_guard<std::mutex> lock(mutex_);
  return updates_;
}

int SimWindowBackend::Paints() {
  std::lock_guard<std::mutex> lock(mutex_);
  return paints_;
}

bool SimWindowBackend::PaintPending() {
  std::lock_guard<std::mutex> lock(mutex_);
  return pending_;
}

void SimWindowBackend::SetAutoPaint(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  autoPaint_ = on;
}

std::optional<RecordingCanvas> SimWindowBackend::LastPaint() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastPaint_;
}

bool SimWindowBackend::Paint(RecordingCanvas& canvas) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (destroyed_) return false;
    ++paints_;
    pending_ = false;
  }
  canvas.SetClientRect(Rect{0, 0, rect_.Width(), rect_.Height()});
  return window_.OnPaint(canvas);
}

SimWindowSystem::SimWindowSystem() : registry_(std::make_shared<SimWindowRegistry>()) {}

SimWindowSystem::~SimWindowSystem() = default;

void SimWindowSystem::OnModal(int templateId, ModalScript script) {
  std::lock_guard<std::mutex> lock(mutex_);
  scripts_[templateId] = std::move(script);
}

std::vector<SimModalRun> SimWindowSystem::Runs() {
  std::lock_guard<std::mutex> lock(mutex_);
  return runs_;
}

int SimWindowSystem::RunCount(int templateId) {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(std::count_if(runs_.begin(), runs_.end(), [&](const SimModalRun& run) {
    return run.templateId == templateId;
  }));
}

std::shared_ptr<SimDialogControls> SimWindowSystem::LatestControls(int templateId) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
    if (run->templateId == templateId) return run->controls;
  }
  return nullptr;
}

SimWindowBackend* SimWindowSystem::Find(WindowRef window) {
  std::lock_guard<std::mutex> lock(registry_->mutex);
  for (SimWindowBackend* backend : registry_->windows) {
    if (backend->Ref() == window) return backend;
  }
  return nullptr;
}

SimWindowBackend* SimWindowSystem::BackendOf(CWnd& window) {
  return dynamic_cast<SimWindowBackend*>(window.Backend());
}

std::vector<SimWindowBackend*> SimWindowSystem::Children(WindowRef parent) {
  std::lock_guard<std::mutex> lock(registry_->mutex);
  std::vector<SimWindowBackend*> children;
  for (SimWindowBackend* backend : registry_->windows) {
    if (backend->Parent() == parent) children.push_back(backend);
  }
  return children;
}

bool SimWindowSystem::Paint(CWnd& window, RecordingCanvas& canvas) {
  SimWindowBackend* backend = BackendOf(window);
  return backend != nullptr && backend->Paint(canvas);
}

void SimWindowSystem::FailNextCreations(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  failCreations_ = count;
}

std::intptr_t SimWindowSystem::RunModal(CDialog& dialog, WindowRef owner) {
  auto controls = std::make_shared<SimDialogControls>();
  DeclareTemplateControls(dialog.TemplateId(), *controls);
  const WindowRef ref = controls->Ref(kDialogItself);
  std::size_t index;
  ModalScript script;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    index = runs_.size();
    runs_.push_back(SimModalRun{dialog.TemplateId(), owner, ref, controls, false, 0});
    auto found = scripts_.find(dialog.TemplateId());
    if (found != scripts_.end()) script = found->second;
  }
  {
    std::lock_guard<std::mutex> lock(registry_->mutex);
    registry_->dialogs.insert(ref);
  }

  dialog.BindControls(controls.get());
  dialog.OnInitDialog();
  if (script && !controls->EndResult()) script(dialog, *controls);
  while (!controls->EndResult()) {
    std::optional<int> command = controls->TakePostedCommand();
    if (!command) break;
    dialog.OnCommand(*command, 0);
  }
  const std::intptr_t result = controls->EndResult().value_or(kIdCancel);

  // The dialog window goes, and its child windows with it.
  std::vector<SimWindowBackend*> children = registry_->TakeTree(ref);
  dialog.OnDestroy();
  DestroyTree(children);
  {
    std::lock_guard<std::mutex> lock(registry_->mutex);
    registry_->dialogs.erase(ref);
  }
  controls->Destroy();
  dialog.BindControls(nullptr);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    runs_[index].finished = true;
    runs_[index].result = result;
  }
  return result;
}

std::unique_ptr<WindowBackend> SimWindowSystem::Create(CWnd& window, WindowRef parent,
                                                       const Rect& rect, int id,
                                                       std::uint32_t style, bool edit) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failCreations_ > 0) {
      --failCreations_;
      return nullptr;
    }
  }
  auto backend =
      std::make_unique<SimWindowBackend>(registry_, window, parent, rect, style, id, edit);
  std::lock_guard<std::mutex> lock(registry_->mutex);
  registry_->windows.push_back(backend.get());
  return backend;
}

std::unique_ptr<WindowBackend> SimWindowSystem::CreateChild(CWnd& window, WindowRef parent,
                                                            const Rect& rect, std::uint32_t style) {
  return Create(window, parent, rect, 0, style, false);
}

std::unique_ptr<WindowBackend> SimWindowSystem::CreateEdit(CWnd& window, WindowRef parent,
                                                           const Rect& rect, int id,
                                                           std::uint32_t style) {
  return Create(window, parent, rect, id, style, true);
}

bool SimWindowSystem::IsWindow(WindowRef window) {
  if (window == 0) return false;
  std::lock_guard<std::mutex> lock(registry_->mutex);
  if (registry_->dialogs.count(window) != 0) return true;
  return std::any_of(registry_->windows.begin(), registry_->windows.end(),
                     [&](SimWindowBackend* backend) { return backend->Ref() == window; });
}

}  // namespace installer::sim
