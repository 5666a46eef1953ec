#include "ui/framework/win32/win32_dialog_controls.h"

#include <commctrl.h>

#include "ui/framework/win32/gdi_canvas.h"

namespace installer::win32 {

namespace {

LRESULT Send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return window ? SendMessageW(window, message, wparam, lparam) : 0;
}

}  // namespace

std::wstring WindowText(HWND window) {
  if (!window) return std::wstring();
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

HWND Win32DialogControls::Item(int id) const {
  return id == kDialogItself ? dialog_ : GetDlgItem(dialog_, id);
}

HFONT Win32DialogControls::Font(const FontSpec& font) {
  for (const auto& cached : fonts_) {
    if (cached.first == font) return cached.second.Get();
  }
  fonts_.emplace_back(font, GdiFont(CreateFontFromSpec(font)));
  return fonts_.back().second.Get();
}

WindowRef Win32DialogControls::Ref(int id) {
  return reinterpret_cast<WindowRef>(Item(id));
}

void Win32DialogControls::SetText(int id, const std::wstring& text) {
  if (HWND item = Item(id)) SetWindowTextW(item, text.c_str());
}

std::wstring Win32DialogControls::GetText(int id) {
  return WindowText(Item(id));
}

void Win32DialogControls::Show(int id, bool show) {
  if (HWND item = Item(id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

bool Win32DialogControls::IsVisible(int id) {
  // The control's own visibility, whether or not the dialog is shown yet.
  HWND item = Item(id);
  return item && (GetWindowLongPtrW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32DialogControls::Enable(int id, bool enable) {
  if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32DialogControls::IsEnabled(int id) {
  HWND item = Item(id);
  return item && IsWindowEnabled(item);
}

void Win32DialogControls::Update(int id) {
  if (HWND item = Item(id)) UpdateWindow(item);
}

void Win32DialogControls::Move(int id, const Rect& rect) {
  if (HWND item = Item(id))
    MoveWindow(item, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

Rect Win32DialogControls::ClientRect(int id) {
  RECT rect{};
  if (HWND item = Item(id)) GetClientRect(item, &rect);
  return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

void Win32DialogControls::SetFont(int id, const FontSpec& font) {
  HWND item = Item(id);
  if (!item) return;
  Send(item, WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), TRUE);
}

void Win32DialogControls::SetIcons(int iconResourceId) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  // Shared icons belong to the system; they are not destroyed.
  HANDLE big = LoadImageW(module, MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED);
  HANDLE small =
      LoadImageW(module, MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  Send(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  Send(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void Win32DialogControls::SetFocus(int id) {
  if (HWND item = Item(id)) ::SetFocus(item);
}

std::optional<FontSpec> Win32DialogControls::GetFont(int id) {
  const HFONT font = reinterpret_cast<HFONT>(Send(Item(id), WM_GETFONT));
  LOGFONTW logical{};
  if (!font || GetObjectW(font, sizeof logical, &logical) <= 0) return std::nullopt;
  FontSpec spec;
  spec.height = logical.lfHeight;
  spec.width = logical.lfWidth;
  spec.weight = logical.lfWeight;
  spec.italic = logical.lfItalic != 0;
  spec.underline = logical.lfUnderline != 0;
  spec.strikeOut = logical.lfStrikeOut != 0;
  spec.charSet = logical.lfCharSet;
  spec.face = logical.lfFaceName;
  return spec;
}

int Win32DialogControls::ComboAdd(int id, const std::wstring& text) {
  HWND item = Item(id);
  if (!item) return CB_ERR;
  return static_cast<int>(Send(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int Win32DialogControls::ComboCount(int id) {
  HWND item = Item(id);
  return item ? static_cast<int>(Send(item, CB_GETCOUNT)) : 0;
}

void Win32DialogControls::ComboSetSelection(int id, int index) {
  Send(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32DialogControls::ComboSelection(int id) {
  HWND item = Item(id);
  return item ? static_cast<int>(Send(item, CB_GETCURSEL)) : CB_ERR;
}

std::wstring Win32DialogControls::ComboItemText(int id, int index) {
  HWND item = Item(id);
  if (!item || index < 0) return std::wstring();
  const LRESULT length = Send(item, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR || length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(item, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : std::min(static_cast<std::size_t>(copied), text.size() - 1));
  return text;
}

void Win32DialogControls::SetCheck(int id, bool checked) {
  Send(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32DialogControls::IsChecked(int id) {
  return Send(Item(id), BM_GETCHECK) == BST_CHECKED;
}

void Win32DialogControls::SetProgressRange(int id, int low, int high) {
  Send(Item(id), PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Win32DialogControls::SetProgressPosition(int id, int position) {
  // The installation worker calls this from its own thread, also after the wizard is gone.
  if (!IsWindow(dialog_)) return;
  HWND item = Item(id);
  if (item && IsWindow(item)) SendMessageW(item, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32DialogControls::ListSetExtendedStyle(int id, std::uint32_t style) {
  Send(Item(id), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

void Win32DialogControls::ListAddStyle(int id, std::uint32_t style) {
  HWND item = Item(id);
  if (!item) return;
  const LONG_PTR current = GetWindowLongPtrW(item, GWL_STYLE);
  SetWindowLongPtrW(item, GWL_STYLE, current | static_cast<LONG_PTR>(style));
}

void Win32DialogControls::ListInsertColumn(int id, int column, const std::wstring& title,
                                           int width) {
  std::wstring buffer = title;
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.pszText = buffer.data();
  info.cx = width;
  info.iSubItem = column;
  Send(Item(id), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
}

int Win32DialogControls::ListInsertItem(int id, int row, const std::wstring& text) {
  HWND item = Item(id);
  if (!item) return -1;
  std::wstring buffer = text;
  LVITEMW info{};
  info.mask = LVIF_TEXT;
  info.iItem = row;
  info.pszText = buffer.data();
  return static_cast<int>(Send(item, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&info)));
}

void Win32DialogControls::ListSetItemText(int id, int row, int column, const std::wstring& text) {
  std::wstring buffer = text;
  LVITEMW info{};
  info.iSubItem = column;
  info.pszText = buffer.data();
  Send(Item(id), LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&info));
}

std::wstring Win32DialogControls::ListItemText(int id, int row, int column) {
  HWND item = Item(id);
  if (!item || row < 0) return std::wstring();
  // LVM_GETITEMTEXT gives no length up front: grow the buffer until the text fits.
  for (std::size_t capacity = 256; capacity <= (1u << 16); capacity *= 4) {
    std::wstring text(capacity, L'\0');
    LVITEMW info{};
    info.iSubItem = column;
    info.pszText = text.data();
    info.cchTextMax = static_cast<int>(capacity);
    const LRESULT copied =
        Send(item, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&info));
    const std::size_t length = copied > 0 ? static_cast<std::size_t>(copied) : 0;
    if (length + 1 < capacity) {
      text.resize(length);
      return text;
    }
  }
  return std::wstring();
}

int Win32DialogControls::ListItemCount(int id) {
  return static_cast<int>(Send(Item(id), LVM_GETITEMCOUNT));
}

int Win32DialogControls::ListNextSelected(int id, int start) {
  HWND item = Item(id);
  if (!item) return -1;
  return static_cast<int>(
      Send(item, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(LVNI_SELECTED, 0)));
}

void Win32DialogControls::ListSelect(int id, int row, bool selected) {
  LVITEMW info{};
  info.stateMask = LVIS_SELECTED;
  info.state = selected ? LVIS_SELECTED : 0;
  Send(Item(id), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&info));
}

void Win32DialogControls::ListDeleteItem(int id, int row) {
  Send(Item(id), LVM_DELETEITEM, static_cast<WPARAM>(row));
}

int Win32DialogControls::MessageBox(bool ownedByDialog, const std::wstring& text,
                                    const std::wstring& caption, std::uint32_t style) {
  return ::MessageBoxW(ownedByDialog ? dialog_ : nullptr, text.c_str(), caption.c_str(), style);
}

void Win32DialogControls::PostCommand(int id) {
  PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void Win32DialogControls::EndDialog(int result) {
  ::EndDialog(dialog_, result);
}

}  // namespace installer::win32
