#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/font_spec.h"
#include "platform/geometry.h"

// <windows.h> makes MessageBox a macro; this seam's operation keeps the plain name.
#undef MessageBox

namespace installer {

constexpr int kDialogItself = 0;  // the id that names the dialog window itself in DialogControls

// Message box styles used by the program (MB_OK = 0, MB_ICONERROR = 0x10).
constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbIconError = 0x10;

// The controls of one live dialog, addressed by control id (kDialogItself: the dialog window).
// On Windows every call is a window message or a user32 call on the control; the simulation
// keeps the state. Fonts are created and owned by the dialog until it is destroyed.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual WindowRef Ref(int id) = 0;  // the HWND of the control (or of the dialog)
  virtual void SetText(int id, const std::wstring& text) = 0;
  virtual std::wstring GetText(int id) = 0;
  virtual void Show(int id, bool show) = 0;
  virtual bool IsVisible(int id) = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsEnabled(int id) = 0;
  virtual void Update(int id) = 0;  // UpdateWindow
  // MoveWindow, in pixels of the parent's client area (the screen for the dialog itself).
  virtual void Move(int id, const Rect& rect) = 0;
  virtual Rect ClientRect(int id) = 0;
  virtual void SetFont(int id, const FontSpec& font) = 0;  // WM_SETFONT with redraw
  virtual void SetIcons(int iconResourceId) = 0;           // WM_SETICON big and small
  virtual void SetFocus(int id) = 0;
  // WM_GETFONT: the font the window uses; nullopt for the system font.
  virtual std::optional<FontSpec> GetFont(int id) {
    (void)id;
    return std::nullopt;
  }

  // Combo boxes (drop-down lists).
  virtual int ComboAdd(int id, const std::wstring& text) = 0;  // CB_ADDSTRING
  virtual int ComboCount(int id) = 0;
  virtual void ComboSetSelection(int id, int index) = 0;  // -1 clears
  virtual int ComboSelection(int id) = 0;                 // -1 when none
  virtual std::wstring ComboItemText(int id, int index) = 0;

  // Buttons.
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsChecked(int id) = 0;

  // Progress bar.
  virtual void SetProgressRange(int id, int low, int high) = 0;
  virtual void SetProgressPosition(int id, int position) = 0;  // PBM_SETPOS, sent synchronously

  // List views.
  virtual void ListSetExtendedStyle(int id, std::uint32_t style) = 0;
  virtual void ListAddStyle(int id, std::uint32_t style) = 0;  // window style bits
  virtual void ListInsertColumn(int id, int column, const std::wstring& title, int width) = 0;
  virtual int ListInsertItem(int id, int row, const std::wstring& text) = 0;
  virtual void ListSetItemText(int id, int row, int column, const std::wstring& text) = 0;
  virtual std::wstring ListItemText(int id, int row, int column) = 0;
  virtual int ListItemCount(int id) = 0;
  virtual int ListNextSelected(int id, int start) = 0;  // LVM_GETNEXTITEM(start, LVNI_SELECTED)
  virtual void ListSelect(int id, int row, bool selected) = 0;
  virtual void ListDeleteItem(int id, int row) = 0;

  // MessageBoxW with the dialog as owner, or with no owner.
  virtual int MessageBox(bool ownedByDialog, const std::wstring& text, const std::wstring& caption,
                         std::uint32_t style) = 0;
  // PostMessageW(WM_COMMAND, id) to the dialog: safe from any thread.
  virtual void PostCommand(int id) = 0;
  virtual void EndDialog(int result) = 0;
};

}  // namespace installer
