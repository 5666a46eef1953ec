#include "startup/language_dialogs.h"

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "sim_world.h"
#include "test_bytes.h"

namespace installer {
namespace {

using sim::SimControlCall;
using testing::Le;
using testing::SimWorld;

using Entries = std::vector<std::wstring>;

const std::vector<std::uint8_t> kRussianTextIni =
    Le(u"[Text]\r\nSelectLanguage=Выбор языка\r\nPleaseSelectLanguage=Выберите язык\r\n"
       u"Cancel=Отмена\r\nChinese=Китайский\r\nEnglish=Английский\r\nRussian=Русский\r\n"
       u"SelectLanguageCN=CN caption\r\nPleaseSelectLanguageCN=CN prompt\r\nCancelCN=CN cancel\r\n"
       u"OK=CN ok\r\n");

FontSpec TemplateFontCn() {
  FontSpec font;
  font.height = -12;
  font.face = L"宋体";
  return font;
}

// Opens a dialog on simulated controls preset as its template (with the template font).
struct Opened {
  sim::SimDialogControls controls;
  explicit Opened(CDialog& dialog) {
    sim::DeclareTemplateControls(dialog.TemplateId(), controls);
    controls.SetFont(kDialogItself, TemplateFontCn());
    dialog.BindControls(&controls);
    EXPECT_TRUE(dialog.OnInitDialog());
  }
  std::wstring Text(int id) { return controls.GetText(id); }
  std::vector<std::wstring> Labels() {
    return {Text(kDialogItself), Text(IDC_LANGUAGE_PROMPT), Text(kIdOk), Text(kIdCancel)};
  }
  // The ids that got a font since call number `from`, with the font they got.
  std::vector<std::pair<int, FontSpec>> FontsSince(std::size_t from) {
    std::vector<std::pair<int, FontSpec>> fonts;
    const auto calls = controls.Calls();
    for (std::size_t i = from; i < calls.size(); ++i) {
      if (calls[i].kind == SimControlCall::Kind::kSetFont)
        fonts.push_back({calls[i].id, calls[i].font});
    }
    return fonts;
  }
};

using Fonts = std::vector<std::pair<int, FontSpec>>;

TEST(LanguageDialogs, EnglishModeZeroShowsBuiltInEntriesAndTheFileCaption) {
  SimWorld world;
  world.PutDoc(L"InstallConfig_en.txt",
               Le(u"Welcome\r\n=====\r\nLabel Printer Driver--Select Language"));
  CSelectLanguageEn dialog(world.platform, 0);
  Opened opened(dialog);
  EXPECT_EQ(opened.controls.Control(IDC_LANGUAGE_LIST).comboItems,
            (Entries{L"中文", L"English", L"Русский"}));
  EXPECT_EQ(opened.controls.ComboSelection(IDC_LANGUAGE_LIST), 1);
  EXPECT_EQ(opened.Labels(), (Entries{L"Label Printer Driver--Select Language",
                                      L"Please select language:", L"OK", L"Cancel"}));
  EXPECT_EQ(opened.FontsSince(1), (Fonts{{IDC_LANGUAGE_LIST, LanguageListFont()}}));
  EXPECT_EQ(world.profiles.reads, 0);
}

TEST(LanguageDialogs, EnglishModeOneOpensInRussian) {
  const Fonts allFonts = {{kDialogItself, LanguageListFont()},
                          {IDC_LANGUAGE_LIST, LanguageListFont()},
                          {IDC_LANGUAGE_PROMPT, LanguageListFont()},
                          {kIdOk, LanguageListFont()},
                          {kIdCancel, LanguageListFont()}};
  for (bool withTextIni : {false, true}) {
    SCOPED_TRACE(withTextIni ? "with Text.ini" : "without Text.ini");
    SimWorld world;
    world.PutDoc(L"InstallConfig_en.txt", Le(u"File caption"));
    if (withTextIni) world.PutDoc(L"Text.ini", kRussianTextIni);
    CSelectLanguageEn dialog(world.platform, 1);
    Opened opened(dialog);
    const Entries entries = withTextIni ? Entries{L"Китайский", L"Английский", L"Русский"}
                                        : Entries{L"Chinese", L"English", L"Russian"};
    const Entries labels =
        withTextIni ? Entries{L"Выбор языка", L"Выберите язык", L"OK", L"Отмена"}
                    : Entries{L"Select Language", L"Please Select Language", L"OK", L"Cancel"};
    EXPECT_EQ(opened.controls.Control(IDC_LANGUAGE_LIST).comboItems, entries);
    EXPECT_EQ(opened.controls.ComboSelection(IDC_LANGUAGE_LIST), 2);
    EXPECT_EQ(opened.Labels(), labels);
    EXPECT_EQ(opened.FontsSince(1), allFonts);
  }
}

TEST(LanguageDialogs, ChineseDialogOpensOnSimplifiedChinese) {
  SimWorld world;
  world.PutDoc(L"InstallConfig_cn.txt", Le(u"欢迎\r\n打印机驱动安装--选择语言\r\n"));
  CSelectLanguageCN dialog(world.platform);
  Opened opened(dialog);
  EXPECT_EQ(opened.controls.Control(IDC_LANGUAGE_LIST).comboItems,
            (Entries{L"中文简体", L"English", L"Русский"}));
  EXPECT_EQ(opened.controls.ComboSelection(IDC_LANGUAGE_LIST), 0);
  // The file's last line ends with CR LF: the caption keeps an LF.
  EXPECT_EQ(opened.Labels(),
            (Entries{L"打印机驱动安装--选择语言\n", L"请选择语言：", L"确定", L"取消"}));
  EXPECT_EQ(opened.FontsSince(1), (Fonts{{IDC_LANGUAGE_LIST, LanguageListFont()}}));
}

TEST(LanguageDialogs, MissingCaptionFileKeepsTheTemplateCaption) {
  SimWorld world;
  CSelectLanguageCN cn(world.platform);
  EXPECT_EQ(Opened(cn).Text(kDialogItself), L"USB打印机驱动安装--选择语言");
  CSelectLanguageEn en(world.platform, 0);
  EXPECT_EQ(Opened(en).Text(kDialogItself), L"Wizard--Select Language");
}

TEST(LanguageDialogs, HighlightingAnEntryRelabelsTheDialog) {
  const Fonts russianFonts = {{kDialogItself, LanguageListFont()},
                              {IDC_LANGUAGE_LIST, LanguageListFont()},
                              {IDC_LANGUAGE_PROMPT, LanguageListFont()},
                              {kIdOk, LanguageListFont()},
                              {kIdCancel, LanguageListFont()}};
  const Fonts templateFonts = {{kDialogItself, TemplateFontCn()},
                               {IDC_LANGUAGE_PROMPT, TemplateFontCn()},
                               {kIdCancel, TemplateFontCn()},
                               {kIdOk, TemplateFontCn()}};
  struct Case {
    bool chineseDialog;
    bool withTextIni;
    int selection;
    Entries labels;
    Fonts fonts;
  };
  const Entries english = {L"Select Language", L"Please Select Language", L"OK", L"Cancel"};
  const std::vector<Case> cases = {
      {true, false, 2, english, russianFonts},
      {false, true, 2, {L"Выбор языка", L"Выберите язык", L"OK", L"Отмена"}, russianFonts},
      {true, true, 1, english, {}},
      {false, true, 1, english, {}},
      {true, false, 0, {L"选择语言", L"请选择语言", L"OK", L"取消"}, templateFonts},
      {true, true, 0, {L"CN caption", L"CN prompt", L"CN ok", L"CN cancel"}, templateFonts},
      {false, false, 0, {L"选择语言", L"请选择语言", L"OK", L"取消"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.chineseDialog ? "CN" : "En") + " selection " +
                 std::to_string(c.selection) + (c.withTextIni ? " with Text.ini" : ""));
    SimWorld world;
    if (c.withTextIni) world.PutDoc(L"Text.ini", kRussianTextIni);
    CSelectLanguageCN cn(world.platform);
    CSelectLanguageEn en(world.platform, 0);
    CDialog& dialog = c.chineseDialog ? static_cast<CDialog&>(cn) : en;
    Opened opened(dialog);
    const std::size_t mark = opened.controls.Calls().size();
    opened.controls.ComboSetSelection(IDC_LANGUAGE_LIST, c.selection);
    dialog.OnCommand(IDC_LANGUAGE_LIST, kCbnSelChange);
    EXPECT_EQ(opened.Labels(), c.labels);
    EXPECT_EQ(opened.FontsSince(mark), c.fonts);
  }
}

TEST(LanguageDialogs, NoSelectionChangesNothing) {
  SimWorld world;
  CSelectLanguageEn dialog(world.platform, 1);
  Opened opened(dialog);
  const auto before = opened.Labels();
  const std::size_t mark = opened.controls.Calls().size();
  opened.controls.ComboSetSelection(IDC_LANGUAGE_LIST, -1);
  dialog.OnCommand(IDC_LANGUAGE_LIST, kCbnSelChange);
  EXPECT_EQ(opened.Labels(), before);
  EXPECT_EQ(opened.controls.Calls().size(), mark);
}

TEST(LanguageDialogs, OkRecordsTheSelectionCancelDoesNot) {
  struct Case {
    int selection;
    int command;
    int result;
    int chosen;
  };
  for (const Case& c : {Case{0, kIdOk, kIdOk, 0}, Case{2, kIdOk, kIdOk, 2},
                        Case{-1, kIdOk, kIdOk, -1}, Case{1, kIdCancel, kIdCancel, -1}}) {
    SimWorld world;
    world.windows.OnModal(IDD_SELECT_LANGUAGE_EN,
                          [&](CDialog& dialog, sim::SimDialogControls& controls) {
                            controls.ComboSetSelection(IDC_LANGUAGE_LIST, c.selection);
                            dialog.OnCommand(c.command, 0);
                          });
    CSelectLanguageEn dialog(world.platform, 0);
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(dialog.ChosenIndex(), c.chosen);
  }
}

}  // namespace
}  // namespace installer
