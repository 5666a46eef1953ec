#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_controls.h"

namespace installer::sim {

// The state of one simulated control (or of the dialog window itself, id kDialogItself).
struct SimControl {
  std::wstring text;
  bool visible = true;
  bool enabled = true;
  std::optional<FontSpec> font;
  Rect rect;
  std::optional<Rect> clientRect;  // pinned by a test; else the size of `rect`
  int updates = 0;
  bool checked = false;
  bool isCombo = false;
  std::vector<std::wstring> comboItems;
  int comboSelection = -1;
  int progressLow = 0;
  int progressHigh = 100;
  int progressPosition = 0;
  std::vector<int> progressHistory;  // every position set, after clamping
  std::uint32_t listExtendedStyle = 0;
  std::uint32_t listStyle = 0;
  struct Column {
    std::wstring title;
    int width = 0;
  };
  std::vector<Column> listColumns;
  std::vector<std::vector<std::wstring>> listRows;  // cells by row, column
  std::vector<bool> listSelected;
  WindowRef ref = 0;
};

// A message box the dialog showed.
struct SimMessageBox {
  bool owned = false;
  std::wstring text;
  std::wstring caption;
  std::uint32_t style = 0;
};

// One state change, in the order the code made it.
struct SimControlCall {
  enum class Kind { kSetText, kShow, kEnable, kSetFont };
  Kind kind;
  int id = 0;
  std::wstring text;  // kSetText
  bool flag = false;  // kShow, kEnable
  FontSpec font;      // kSetFont
};

// The controls of one simulated dialog. Controls spring into existence, visible and enabled, on
// first use; Declare presets them as a dialog template would. Every call takes one lock, so the
// installation worker may use it from its own thread. After Destroy (the dialog window is gone)
// every operation is ignored, as calls on a destroyed window are.
class SimDialogControls : public DialogControls {
 public:
  SimDialogControls();

  // Test side.
  void Declare(int id, bool visible, const std::wstring& text = std::wstring(), bool combo = false);
  void DeclareFont(int id, const FontSpec& font);  // the font it starts with, not a SetFont call
  SimControl Control(int id);                      // a copy of the state (created on demand)
  bool Exists(int id);
  std::vector<SimControlCall> Calls();
  std::vector<SimMessageBox> MessageBoxes();
  // Answers for the coming message boxes, in order; once used up every box answers IDOK (1).
  void ScriptMessageBoxAnswers(const std::vector<int>& answers);
  std::optional<int> TakePostedCommand();
  std::vector<int> PostedCommands();  // still queued, oldest first
  // Waits until a command is posted (or the timeout passes) and takes it.
  std::optional<int> WaitForPostedCommand(std::chrono::milliseconds timeout);
  std::optional<int> EndResult();
  int Focus();
  int Icons();
  void SetClientRect(int id, const Rect& rect);
  void Destroy();
  bool IsAlive();

  // DialogControls.
  WindowRef Ref(int id) override;
  void SetText(int id, const std::wstring& text) override;
  std::wstring GetText(int id) override;
  void Show(int id, bool show) override;
  bool IsVisible(int id) override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) override;
  void Update(int id) override;
  void Move(int id, const Rect& rect) override;
  Rect ClientRect(int id) override;
  void SetFont(int id, const FontSpec& font) override;
  void SetIcons(int iconResourceId) override;
  void SetFocus(int id) override;
  std::optional<FontSpec> GetFont(int id) override;
  int ComboAdd(int id, const std::wstring& text) override;
  int ComboCount(int id) override;
  void ComboSetSelection(int id, int index) override;
  int ComboSelection(int id) override;
  std::wstring ComboItemText(int id, int index) override;
  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPosition(int id, int position) override;
  void ListSetExtendedStyle(int id, std::uint32_t style) override;
  void ListAddStyle(int id, std::uint32_t style) override;
  void ListInsertColumn(int id, int column, const std::wstring& title, int width) override;
  int ListInsertItem(int id, int row, const std::wstring& text) override;
  void ListSetItemText(int id, int row, int column, const std::wstring& text) override;
  std::wstring ListItemText(int id, int row, int column) override;
  int ListItemCount(int id) override;
  int ListNextSelected(int id, int start) override;
  void ListSelect(int id, int row, bool selected) override;
  void ListDeleteItem(int id, int row) override;
  int MessageBox(bool ownedByDialog, const std::wstring& text, const std::wstring& caption,
                 std::uint32_t style) override;
  void PostCommand(int id) override;
  void EndDialog(int result) override;

 private:
  SimControl& At(int id);  // caller holds mutex_

  std::mutex mutex_;
  std::condition_variable posted_;
  std::map<int, SimControl> controls_;
  std::vector<SimControlCall> calls_;
  std::vector<SimMessageBox> boxes_;
  std::deque<int> answers_;
  std::deque<int> commands_;
  std::optional<int> endResult_;
  int focus_ = -1;
  int icons_ = 0;
  bool alive_ = true;
};

// A fresh simulated window identity, unique in the process.
WindowRef NewSimWindowRef();

}  // namespace installer::sim
