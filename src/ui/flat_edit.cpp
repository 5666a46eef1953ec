#include "ui/flat_edit.h"

namespace installer {

FontSpec FlatEditFont() {
  FontSpec font;
  font.height = 14;
  font.weight = 400;
  font.face = L"Arial";
  return font;
}

void CMyEdit::Create(WindowSystem& windows, WindowRef parent, const Rect& rect) {
  Attach(windows.CreateEdit(*this, parent, rect, kFlatEditInnerId,
                            kWsChild | kWsVisible | kEsAutoHScroll));
}

bool CMyEdit::OnPaint(Canvas& canvas) {
  if (IsWindowEnabled()) return false;  // the system's own edit painting
  const std::wstring text = Backend() ? Backend()->GetText() : std::wstring();
  const int previousFont = canvas.SelectFont(FlatEditFont());
  canvas.SetTextColor(kMyEditDisabledText);
  canvas.TextOut(0, 0, text);
  canvas.RestoreFont(previousFont);
  return true;
}

void CFlatEdit::CreateFlatEdit(WindowSystem& windows, const Rect& rect, WindowRef parent) {
  Attach(windows.CreateChild(*this, parent, rect, kWsChild | kWsClipChildren));
  if (!IsCreated()) return;
  const Rect client = ClientRect();
  innerEdit.Create(windows, Ref(), Rect{2, 3, client.Width() - 1, client.Height() - 1});
  editFont = FlatEditFont();
  if (innerEdit.Backend()) innerEdit.Backend()->SetFont(editFont, true);
}

void CFlatEdit::SetText(const std::wstring& text) {
  WindowBackend* edit = innerEdit.Backend();
  if (!edit) return;
  edit->SetText(text);
  edit->SetModified(true);
}

std::wstring CFlatEdit::GetText() const {
  WindowBackend* edit = innerEdit.Backend();
  return edit ? edit->GetText() : std::wstring();
}

bool CFlatEdit::IsModified() const {
  WindowBackend* edit = innerEdit.Backend();
  return edit && edit->IsModified();
}

bool CFlatEdit::OnPaint(Canvas& canvas) {
  const Rect client = ClientRect();
  const int right = client.Width() - 1;
  const int bottom = client.Height() - 1;
  const int previousPen =
      canvas.SelectPen(IsWindowEnabled() ? kFlatEditOutline : kFlatEditOutlineDisabled, 1);
  canvas.MoveTo(0, 0);
  canvas.LineTo(right, 0);
  canvas.LineTo(right, bottom);
  canvas.LineTo(0, bottom);
  canvas.LineTo(0, 0);
  canvas.RestorePen(previousPen);
  return true;
}

}  // namespace installer
