#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "ui/framework/dialog.h"

namespace installer {

// The font both language dialogs put on their list (and, for the Russian texts, on the other
// controls) so that Cyrillic shows.
FontSpec LanguageListFont();

// What the two language dialogs share: the list of three languages (Chinese, English, Russian
// in this order), the relabelling when the highlighted entry changes, and the chosen index
// recorded by OK (-1 when nothing is selected).
class CLanguageDialog : public CDialog {
 public:
  CLanguageDialog(Platform& platform, int templateId);

  int ChosenIndex() const { return chosenIndex_; }

  void OnCommand(int id, int notification) override;
  void OnOK() override;

 protected:
  // The texts of one language on the dialog; the Russian ones come with the list font on every
  // control.
  void ApplyRussianTexts();
  void ApplyEnglishTexts();
  void ApplyChineseTexts();
  void SetCaptionIfAny(const std::wstring& caption);
  std::wstring Text(const std::wstring& key, const std::wstring& fallback);
  // Selection 0: the Chinese texts (and what else the dialog does for them).
  virtual void OnChineseSelected() { ApplyChineseTexts(); }

  Platform& platform_;

 private:
  void OnSelChangeLanguage();

  std::int32_t chosenIndex_ = -1;
};

// The language dialog of Chinese (People's Republic of China) systems, template 133.
class CSelectLanguageCN : public CLanguageDialog {
 public:
  explicit CSelectLanguageCN(Platform& platform);
  bool OnInitDialog() override;

 protected:
  void OnChineseSelected() override;

 private:
  std::optional<FontSpec> templateFont_;
};

// The language dialog of every other system, template 136. Mode 0 (English, United States)
// shows built-in entries with English preselected; mode 1 opens in Russian with the texts of
// Text.ini.
class CSelectLanguageEn : public CLanguageDialog {
 public:
  CSelectLanguageEn(Platform& platform, std::int32_t mode);
  std::int32_t Mode() const { return mode_; }
  bool OnInitDialog() override;

 private:
  std::int32_t mode_;
};

}  // namespace installer
