#include "startup/language_dialogs.h"

#include "resources/resource.h"
#include "startup/documents_folder.h"
#include "startup/text_catalogue.h"
#include "startup/text_ini.h"

namespace installer {

FontSpec LanguageListFont() {
  FontSpec font;
  font.height = 15;
  font.width = 0;
  font.weight = 400;
  font.charSet = 204;  // RUSSIAN_CHARSET
  font.face = L"Times New Romans";
  return font;
}

CLanguageDialog::CLanguageDialog(Platform& platform, int templateId)
    : CDialog(platform.windows, templateId), platform_(platform) {}

void CLanguageDialog::OnCommand(int id, int notification) {
  if (id == IDC_LANGUAGE_LIST && notification == kCbnSelChange) {
    OnSelChangeLanguage();
    return;
  }
  CDialog::OnCommand(id, notification);
}

void CLanguageDialog::OnOK() {
  chosenIndex_ = Controls().ComboSelection(IDC_LANGUAGE_LIST);
  CDialog::OnOK();
}

std::wstring CLanguageDialog::Text(const std::wstring& key, const std::wstring& fallback) {
  return ReadText(platform_.profiles, platform_.shell, key, fallback);
}

void CLanguageDialog::SetCaptionIfAny(const std::wstring& caption) {
  if (!caption.empty()) Controls().SetText(kDialogItself, caption);
}

void CLanguageDialog::ApplyRussianTexts() {
  DialogControls& controls = Controls();
  const FontSpec font = LanguageListFont();
  for (int id : {kDialogItself, IDC_LANGUAGE_LIST, IDC_LANGUAGE_PROMPT, kIdOk, kIdCancel}) {
    controls.SetFont(id, font);
  }
  controls.SetText(kDialogItself, Text(L"SelectLanguage", L"Select Language"));
  controls.SetText(IDC_LANGUAGE_PROMPT, Text(L"PleaseSelectLanguage", L"Please Select Language"));
  controls.SetText(kIdOk, L"OK");
  controls.SetText(kIdCancel, Text(L"Cancel", L"Cancel"));
}

void CLanguageDialog::ApplyEnglishTexts() {
  DialogControls& controls = Controls();
  controls.SetText(kDialogItself, L"Select Language");
  controls.SetText(IDC_LANGUAGE_PROMPT, L"Please Select Language");
  controls.SetText(kIdOk, L"OK");
  controls.SetText(kIdCancel, L"Cancel");
}

void CLanguageDialog::ApplyChineseTexts() {
  DialogControls& controls = Controls();
  controls.SetText(kDialogItself, Text(L"SelectLanguageCN", L"选择语言"));
  controls.SetText(IDC_LANGUAGE_PROMPT, Text(L"PleaseSelectLanguageCN", L"请选择语言"));
  controls.SetText(kIdOk, Text(L"OK", L"OK"));
  controls.SetText(kIdCancel, Text(L"CancelCN", L"取消"));
}

void CLanguageDialog::OnSelChangeLanguage() {
  switch (Controls().ComboSelection(IDC_LANGUAGE_LIST)) {
    case 0:
      OnChineseSelected();
      break;
    case 1:
      ApplyEnglishTexts();
      break;
    case 2:
      ApplyRussianTexts();
      break;
    default:
      break;
  }
}

CSelectLanguageCN::CSelectLanguageCN(Platform& platform)
    : CLanguageDialog(platform, IDD_SELECT_LANGUAGE_CN) {}

bool CSelectLanguageCN::OnInitDialog() {
  DialogControls& controls = Controls();
  const std::wstring documentsFolder = DocumentsFolder(platform_.shell);
  templateFont_ = controls.GetFont(kDialogItself);
  for (const wchar_t* entry : {L"中文简体", L"English", L"Русский"}) {
    controls.ComboAdd(IDC_LANGUAGE_LIST, entry);
  }
  controls.ComboSetSelection(IDC_LANGUAGE_LIST, 0);
  SetCaptionIfAny(ReadLastLine(platform_.files, documentsFolder + L"\\InstallConfig_cn.txt"));
  controls.SetFont(IDC_LANGUAGE_LIST, LanguageListFont());
  return true;
}

void CSelectLanguageCN::OnChineseSelected() {
  if (templateFont_) {
    for (int id : {kDialogItself, IDC_LANGUAGE_PROMPT, kIdCancel, kIdOk}) {
      Controls().SetFont(id, *templateFont_);
    }
  }
  ApplyChineseTexts();
}

CSelectLanguageEn::CSelectLanguageEn(Platform& platform, std::int32_t mode)
    : CLanguageDialog(platform, IDD_SELECT_LANGUAGE_EN), mode_(mode) {}

bool CSelectLanguageEn::OnInitDialog() {
  DialogControls& controls = Controls();
  const std::wstring documentsFolder = DocumentsFolder(platform_.shell);
  const FontSpec font = LanguageListFont();
  std::wstring caption;
  if (mode_ == 0) {
    controls.SetFont(IDC_LANGUAGE_LIST, font);
    caption = ReadLastLine(platform_.files, documentsFolder + L"\\InstallConfig_en.txt");
    for (const wchar_t* entry : {L"中文", L"English", L"Русский"}) {
      controls.ComboAdd(IDC_LANGUAGE_LIST, entry);
    }
    controls.ComboSetSelection(IDC_LANGUAGE_LIST, 1);
  } else {
    controls.SetFont(kDialogItself, font);
    caption = Text(L"SelectLanguage", L"Select Language");
    for (const wchar_t* key : {L"Chinese", L"English", L"Russian"}) {
      controls.ComboAdd(IDC_LANGUAGE_LIST, Text(key, key));
    }
    controls.ComboSetSelection(IDC_LANGUAGE_LIST, 2);
    controls.SetFont(IDC_LANGUAGE_LIST, font);
    controls.SetFont(IDC_LANGUAGE_PROMPT, font);
    controls.SetText(IDC_LANGUAGE_PROMPT, Text(L"PleaseSelectLanguage", L"Please Select Language"));
    controls.SetFont(kIdOk, font);
    controls.SetText(kIdOk, L"OK");
    controls.SetFont(kIdCancel, font);
    controls.SetText(kIdCancel, Text(L"Cancel", L"Cancel"));
  }
  SetCaptionIfAny(caption);
  return true;
}

}  // namespace installer
