#include "platform/sim/sim_dialog_controls.h"

#include <algorithm>
#include <atomic>

namespace installer::sim {

namespace {

bool ValidIndex(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

WindowRef NewSimWindowRef() {
  static std::atomic<WindowRef> next{0x10000};
  return next.fetch_add(0x10);
}

SimDialogControls::SimDialogControls() {
  At(kDialogItself);
}

SimControl& SimDialogControls::At(int id) {
  auto found = controls_.find(id);
  if (found != controls_.end()) return found->second;
  SimControl& control = controls_[id];
  control.ref = NewSimWindowRef();
  return control;
}

void SimDialogControls::Declare(int id, bool visible, const std::wstring& text, bool combo) {
  std::lock_guard<std::mutex> lock(mutex_);
  SimControl& control = At(id);
  control.visible = visible;
  control.text = text;
  control.isCombo = combo;
}

void SimDialogControls::DeclareFont(int id, const FontSpec& font) {
  std::lock_guard<std::mutex> lock(mutex_);
  At(id).font = font;
}

SimControl SimDialogControls::Control(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return At(id);
}

bool SimDialogControls::Exists(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return controls_.count(id) != 0;
}

std::vector<SimControlCall> SimDialogControls::Calls() {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<SimMessageBox> SimDialogControls::MessageBoxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void SimDialogControls::ScriptMessageBoxAnswers(const std::vector<int>& answers) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.assign(answers.begin(), answers.end());
}

std::optional<int> SimDialogControls::TakePostedCommand() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (commands_.empty()) return std::nullopt;
  int id = commands_.front();
  commands_.pop_front();
  return id;
}

std::vector<int> SimDialogControls::PostedCommands() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::vector<int>(commands_.begin(), commands_.end());
}

std::optional<int> SimDialogControls::WaitForPostedCommand(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!posted_.wait_for(lock, timeout, [this] { return !commands_.empty(); })) return std::nullopt;
  int id = commands_.front();
  commands_.pop_front();
  return id;
}

std::optional<int> SimDialogControls::EndResult() {
  std::lock_guard<std::mutex> lock(mutex_);
  return endResult_;
}

int SimDialogControls::Focus() {
  std::lock_guard<std::mutex> lock(mutex_);
  return focus_;
}

int SimDialogControls::Icons() {
  std::lock_guard<std::mutex> lock(mutex_);
  return icons_;
}

void SimDialogControls::SetClientRect(int id, const Rect& rect) {
  std::lock_guard<std::mutex> lock(mutex_);
  At(id).clientRect = rect;
}

void SimDialogControls::Destroy() {
  std::lock_guard<std::mutex> lock(mutex_);
  alive_ = false;
}

bool SimDialogControls::IsAlive() {
  std::lock_guard<std::mutex> lock(mutex_);
  return alive_;
}

WindowRef SimDialogControls::Ref(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return 0;
  return At(id).ref;
}

void SimDialogControls::SetText(int id, const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  At(id).text = text;
  calls_.push_back({SimControlCall::Kind::kSetText, id, text, false, {}});
}

std::wstring SimDialogControls::GetText(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return std::wstring();
  SimControl& control = At(id);
  if (control.isCombo) {  // a drop-down list's window text is its selected entry
    return ValidIndex(control.comboSelection, control.comboItems.size())
               ? control.comboItems[control.comboSelection]
               : std::wstring();
  }
  return control.text;
}

void SimDialogControls::Show(int id, bool show) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  At(id).visible = show;
  calls_.push_back({SimControlCall::Kind::kShow, id, {}, show, {}});
}

bool SimDialogControls::IsVisible(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return alive_ && At(id).visible;
}

void SimDialogControls::Enable(int id, bool enable) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  At(id).enabled = enable;
  calls_.push_back({SimControlCall::Kind::kEnable, id, {}, enable, {}});
}

bool SimDialogControls::IsEnabled(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return alive_ && At(id).enabled;
}

void SimDialogControls::Update(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) ++At(id).updates;
}

void SimDialogControls::Move(int id, const Rect& rect) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) At(id).rect = rect;
}

Rect SimDialogControls::ClientRect(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return Rect{};
  const SimControl& control = At(id);
  if (control.clientRect) return *control.clientRect;
  return Rect{0, 0, control.rect.Width(), control.rect.Height()};
}

void SimDialogControls::SetFont(int id, const FontSpec& font) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  At(id).font = font;
  calls_.push_back({SimControlCall::Kind::kSetFont, id, {}, false, font});
}

void SimDialogControls::SetIcons(int iconResourceId) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) icons_ = iconResourceId;
}

void SimDialogControls::SetFocus(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  At(id);
  focus_ = id;
}

std::optional<FontSpec> SimDialogControls::GetFont(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return std::nullopt;
  return At(id).font;
}

int SimDialogControls::ComboAdd(int id, const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return -1;
  SimControl& control = At(id);
  control.isCombo = true;
  control.comboItems.push_back(text);
  return static_cast<int>(control.comboItems.size()) - 1;
}

int SimDialogControls::ComboCount(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return 0;
  return static_cast<int>(At(id).comboItems.size());
}

void SimDialogControls::ComboSetSelection(int id, int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  SimControl& control = At(id);
  control.isCombo = true;
  control.comboSelection = ValidIndex(index, control.comboItems.size()) ? index : -1;
}

int SimDialogControls::ComboSelection(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return -1;
  return At(id).comboSelection;
}

std::wstring SimDialogControls::ComboItemText(int id, int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return std::wstring();
  const SimControl& control = At(id);
  return ValidIndex(index, control.comboItems.size()) ? control.comboItems[index] : std::wstring();
}

void SimDialogControls::SetCheck(int id, bool checked) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) At(id).checked = checked;
}

bool SimDialogControls::IsChecked(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return alive_ && At(id).checked;
}

void SimDialogControls::SetProgressRange(int id, int low, int high) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  SimControl& control = At(id);
  control.progressLow = low;
  control.progressHigh = high;
  control.progressPosition = std::clamp(control.progressPosition, low, std::max(low, high));
}

void SimDialogControls::SetProgressPosition(int id, int position) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  SimControl& control = At(id);
  // PBM_SETPOS keeps the position inside the range.
  control.progressPosition = std::clamp(position, control.progressLow,
                                        std::max(control.progressLow, control.progressHigh));
  control.progressHistory.push_back(control.progressPosition);
}

void SimDialogControls::ListSetExtendedStyle(int id, std::uint32_t style) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) At(id).listExtendedStyle = style;
}

void SimDialogControls::ListAddStyle(int id, std::uint32_t style) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) At(id).listStyle |= style;
}

void SimDialogControls::ListInsertColumn(int id, int column, const std::wstring& title, int width) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_ || column < 0) return;
  auto& columns = At(id).listColumns;
  std::size_t at = std::min(static_cast<std::size_t>(column), columns.size());
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at),
                 SimControl::Column{title, width});
}

int SimDialogControls::ListInsertItem(int id, int row, const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_ || row < 0) return -1;
  SimControl& control = At(id);
  std::size_t at = std::min(static_cast<std::size_t>(row), control.listRows.size());
  control.listRows.insert(control.listRows.begin() + static_cast<std::ptrdiff_t>(at),
                          std::vector<std::wstring>{text});
  control.listSelected.insert(control.listSelected.begin() + static_cast<std::ptrdiff_t>(at),
                              false);
  return static_cast<int>(at);
}

void SimDialogControls::ListSetItemText(int id, int row, int column, const std::wstring& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_ || column < 0) return;
  SimControl& control = At(id);
  if (!ValidIndex(row, control.listRows.size())) return;
  auto& cells = control.listRows[row];
  if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(column + 1);
  cells[column] = text;
}

std::wstring SimDialogControls::ListItemText(int id, int row, int column) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return std::wstring();
  const SimControl& control = At(id);
  if (!ValidIndex(row, control.listRows.size())) return std::wstring();
  const auto& cells = control.listRows[row];
  return ValidIndex(column, cells.size()) ? cells[column] : std::wstring();
}

int SimDialogControls::ListItemCount(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return 0;
  return static_cast<int>(At(id).listRows.size());
}

int SimDialogControls::ListNextSelected(int id, int start) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return -1;
  const SimControl& control = At(id);
  int count = static_cast<int>(control.listSelected.size());
  for (int row = std::max(start + 1, 0); row < count; ++row) {
    if (control.listSelected[row]) return row;
  }
  return -1;
}

void SimDialogControls::ListSelect(int id, int row, bool selected) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  SimControl& control = At(id);
  if (ValidIndex(row, control.listSelected.size())) control.listSelected[row] = selected;
}

void SimDialogControls::ListDeleteItem(int id, int row) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!alive_) return;
  SimControl& control = At(id);
  if (!ValidIndex(row, control.listRows.size())) return;
  control.listRows.erase(control.listRows.begin() + row);
  control.listSelected.erase(control.listSelected.begin() + row);
}

int SimDialogControls::MessageBox(bool ownedByDialog, const std::wstring& text,
                                  const std::wstring& caption, std::uint32_t style) {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.push_back({ownedByDialog, text, caption, style});
  if (answers_.empty()) return 1;  // IDOK
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void SimDialogControls::PostCommand(int id) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!alive_) return;
    commands_.push_back(id);
  }
  posted_.notify_all();
}

void SimDialogControls::EndDialog(int result) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (alive_) endResult_ = result;  // the last call wins, as with EndDialog
}

}  // namespace installer::sim
