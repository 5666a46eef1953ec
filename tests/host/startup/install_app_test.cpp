#include "startup/install_app.h"

#include <gtest/gtest.h>

#include "payload/container_builder.h"
#include "resources/resource.h"
#include "sim_world.h"
#include "test_bytes.h"

namespace installer {
namespace {

using testing::Le;
using testing::SimWorld;

// A payload container of the entries, in order.
std::vector<std::uint8_t> Container(
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& entries) {
  std::vector<PackEntry> packed;
  for (const auto& [name, content] : entries) packed.push_back({name, content});
  std::vector<std::uint8_t> out;
  std::string error;
  EXPECT_TRUE(BuildContainer(packed, out, error)) << error;
  return out;
}

const std::u16string kSeparators =
    u"====================\r\n====================\r\n"
    u"====================\r\n====================\r\n"
    u"====================\r\n====================\r\n";

std::vector<std::uint8_t> Config(const std::u16string& title, const std::u16string& caption) {
  return Le(u"Page\r\n" + kSeparators + title + u"\r\nPrinter\r\n" + caption);
}

struct WizardSeen {
  bool wizardRan = false;
  AppState state;
  std::int32_t payloadSize = -1;
};

class InitInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.system.resources[{IDR_PAYLOAD, L"INSTALL"}] =
        Container({{"InstallConfig_en.txt", Config(u"English title", u"En caption")},
                   {"INSTALLCONFIG_CN.TXT", Config(u"中文标题", u"中文 caption")},
                   {"PrinterName.txt", Le(u"//header\r\nA,0,TSC,g,u,203,h,1,2,A")}});
  }
  // Runs the program; the language dialog's script highlights `selection` and presses `button`.
  bool Start(int templateId, int selection, int button) {
    world.windows.OnModal(templateId, [=](CDialog& dialog, sim::SimDialogControls& controls) {
      seenDuringDialog = {world.HasDoc(L"InstallConfig_en.txt"), world.HasDoc(L"PrinterName.txt")};
      captionDuringDialog = controls.GetText(kDialogItself);
      controls.ComboSetSelection(IDC_LANGUAGE_LIST, selection);
      dialog.OnCommand(button, 0);
    });
    return app.InitInstance([this](AppState& state, PayloadImage& payload) {
      run.wizardRan = true;
      run.state = state;
      run.payloadSize = payload.size;
    });
  }

  SimWorld world;
  CInstallApp app{world.platform};
  WizardSeen run;
  std::pair<bool, bool> seenDuringDialog;
  std::wstring captionDuringDialog;
};

TEST_F(InitInstanceTest, EnglishRunLoadsTheTextsAndDeletesOnlyTheirFile) {
  world.PutDoc(L"Logo.bmp", {'B', 'M'});
  EXPECT_FALSE(Start(IDD_SELECT_LANGUAGE_EN, 1, kIdOk));
  EXPECT_EQ(seenDuringDialog, std::make_pair(true, true));
  EXPECT_EQ(captionDuringDialog, L"En caption");
  ASSERT_TRUE(run.wizardRan);
  EXPECT_EQ(app.LanguageIndex(), kEnglish);
  EXPECT_EQ(run.state.languageIndex, kEnglish);
  EXPECT_EQ(run.state.pageTexts[0], L"Page\n");
  EXPECT_EQ(run.state.productNames.productTitle, L"English title");
  EXPECT_EQ(run.payloadSize,
            static_cast<std::int32_t>(world.system.resources[{IDR_PAYLOAD, L"INSTALL"}].size()));
  EXPECT_FALSE(world.HasDoc(L"InstallConfig_en.txt"));
  EXPECT_TRUE(world.HasDoc(L"InstallConfig_cn.txt"));
  EXPECT_TRUE(world.HasDoc(L"PrinterName.txt"));
  EXPECT_FALSE(world.HasDoc(L"Logo.bmp"));
  EXPECT_EQ(world.windows.RunCount(IDD_SELECT_LANGUAGE_EN), 1);
}

TEST_F(InitInstanceTest, ListIndexGivesTheLanguageAndItsFile) {
  struct Case {
    int selection;
    int language;
    std::wstring title;
  };
  for (const Case& c : {Case{0, kChinese, L"中文标题"}, Case{1, kEnglish, L"English title"},
                        Case{2, kRussian, L""}, Case{-1, kRussian, L""}}) {
    SCOPED_TRACE(c.selection);
    SimWorld fresh;
    fresh.system.resources = world.system.resources;
    CInstallApp other(fresh.platform);
    fresh.windows.OnModal(IDD_SELECT_LANGUAGE_EN,
                          [&](CDialog& dialog, sim::SimDialogControls& controls) {
                            controls.ComboSetSelection(IDC_LANGUAGE_LIST, c.selection);
                            dialog.OnCommand(kIdOk, 0);
                          });
    AppState seen;
    other.InitInstance([&](AppState& state, PayloadImage&) { seen = state; });
    EXPECT_EQ(seen.languageIndex, c.language);
    EXPECT_EQ(seen.productNames.productTitle, c.title);
    // InstallConfig_rs.txt is not in the payload: the defaults.
    EXPECT_EQ(seen.productNames.printerName, c.language == kRussian ? L"USB Printer" : L"Printer");
    EXPECT_EQ(fresh.HasDoc(L"InstallConfig_cn.txt"), c.language != kChinese);
    EXPECT_EQ(fresh.HasDoc(L"InstallConfig_en.txt"), c.language != kEnglish);
  }
}

TEST_F(InitInstanceTest, CancelEndsBeforeTheWizardAndKeepsTheFiles) {
  EXPECT_FALSE(Start(IDD_SELECT_LANGUAGE_EN, 0, kIdCancel));
  EXPECT_FALSE(run.wizardRan);
  EXPECT_TRUE(world.HasDoc(L"InstallConfig_en.txt"));
  EXPECT_TRUE(world.HasDoc(L"InstallConfig_cn.txt"));
  EXPECT_TRUE(world.HasDoc(L"PrinterName.txt"));
}

TEST_F(InitInstanceTest, ThePayloadLogoReplacesAnOldOne) {
  world.system.resources[{IDR_PAYLOAD, L"INSTALL"}] = Container({{"logo.bmp", {'n', 'e', 'w'}}});
  world.PutDoc(L"Logo.bmp", {'o', 'l', 'd'});
  Start(IDD_SELECT_LANGUAGE_EN, 1, kIdOk);
  EXPECT_EQ(world.files.Get(testing::kDocs + L"\\logo.bmp"),
            (std::vector<std::uint8_t>{'n', 'e', 'w'}));
}

TEST_F(InitInstanceTest, WithoutAPayloadTheDefaultsApply) {
  world.system.resources.clear();
  EXPECT_FALSE(Start(IDD_SELECT_LANGUAGE_EN, 1, kIdOk));
  ASSERT_TRUE(run.wizardRan);
  EXPECT_EQ(run.payloadSize, 0);
  EXPECT_EQ(captionDuringDialog, L"Wizard--Select Language");
  EXPECT_EQ(run.state.productNames.printerName, L"USB Printer");
  EXPECT_EQ(run.state.productNames.portName, L"USB PRINTER PORT:");
}

TEST(LanguageDialogChoice, FollowsTheSystemLocale) {
  SimWorld world;
  struct Case {
    std::uint32_t lcid;
    int templateId;
    int mode;
  };
  for (const Case& c :
       {Case{2052, IDD_SELECT_LANGUAGE_CN, -1}, Case{1033, IDD_SELECT_LANGUAGE_EN, 0},
        Case{2057, IDD_SELECT_LANGUAGE_EN, 1}, Case{1028, IDD_SELECT_LANGUAGE_EN, 1},
        Case{1049, IDD_SELECT_LANGUAGE_EN, 1}}) {
    SCOPED_TRACE(c.lcid);
    auto dialog = MakeLanguageDialog(world.platform, c.lcid);
    EXPECT_EQ(dialog->TemplateId(), c.templateId);
    if (auto* en = dynamic_cast<CSelectLanguageEn*>(dialog.get())) {
      EXPECT_EQ(en->Mode(), c.mode);
    }
  }
}

TEST(LanguageDialogChoice, InitInstanceShowsTheChineseDialogOn2052) {
  SimWorld world;
  world.system.lcid = 2052;
  CInstallApp app(world.platform);
  bool ran = false;
  app.InitInstance([&](AppState&, PayloadImage&) { ran = true; });
  EXPECT_EQ(world.windows.RunCount(IDD_SELECT_LANGUAGE_CN), 1);
  EXPECT_EQ(world.windows.RunCount(IDD_SELECT_LANGUAGE_EN), 0);
  EXPECT_FALSE(ran);  // nothing pressed OK: the run ended as cancelled
}

}  // namespace
}  // namespace installer
