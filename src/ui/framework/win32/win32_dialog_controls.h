#pragma once

#include <windows.h>
// The seam's operation keeps its plain name (see the seam header).
#undef MessageBox

#include <utility>
#include <vector>

#include "platform/dialog_controls.h"
#include "ui/framework/win32/gdi_handles.h"

namespace installer::win32 {

// The controls of a live dialog window. Lives from WM_INITDIALOG to WM_NCDESTROY; the fonts it
// creates are the dialog's and are deleted with it, after its controls are gone.
class Win32DialogControls : public DialogControls {
 public:
  explicit Win32DialogControls(HWND dialog) : dialog_(dialog) {}

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
  HWND Item(int id) const;
  HFONT Font(const FontSpec& font);  // cached per spec

  HWND dialog_;
  std::vector<std::pair<FontSpec, GdiFont>> fonts_;
};

// The text of a window (GetWindowTextW), any length.
std::wstring WindowText(HWND window);

}  // namespace installer::win32
