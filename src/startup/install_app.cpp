#include "startup/install_app.h"

#include "payload/payload_resource.h"
#include "payload/startup_extraction.h"
#include "startup/documents_folder.h"
#include "startup/text_catalogue.h"

namespace installer {

namespace {
constexpr std::uint32_t kLcidChinesePrc = 2052;
constexpr std::uint32_t kLcidEnglishUs = 1033;
}  // namespace

std::unique_ptr<CLanguageDialog> MakeLanguageDialog(Platform& platform, std::uint32_t lcid) {
  if (lcid == kLcidChinesePrc) return std::make_unique<CSelectLanguageCN>(platform);
  return std::make_unique<CSelectLanguageEn>(platform, lcid == kLcidEnglishUs ? 0 : 1);
}

int LanguageFromListIndex(int listIndex) {
  if (listIndex == 0) return kChinese;
  if (listIndex == 1) return kEnglish;
  return kRussian;
}

std::wstring InstallConfigName(int languageIndex) {
  if (languageIndex == kChinese) return L"InstallConfig_cn.txt";
  if (languageIndex == kEnglish) return L"InstallConfig_en.txt";
  return L"InstallConfig_rs.txt";
}

bool CInstallApp::InitInstance(const WizardRun& runWizard) {
  payload_ = LoadPayloadResource(platform_.system, kPayloadResourceId, kPayloadResourceType);
  platform_.files.DeleteFile(DocumentsFolder(platform_.shell) + L"\\Logo.bmp");
  ExtractStartupFiles(payload_, platform_.files, platform_.shell);

  {
    std::unique_ptr<CLanguageDialog> dialog =
        MakeLanguageDialog(platform_, platform_.system.SystemDefaultLcid());
    if (dialog->DoModal() == kIdCancel) return false;
    state_.languageIndex = LanguageFromListIndex(dialog->ChosenIndex());
  }

  const std::wstring config =
      DocumentsFolder(platform_.shell) + L"\\" + InstallConfigName(state_.languageIndex);
  if (LoadTextCatalogue(platform_.files, config, state_.pageTexts, state_.productNames)) {
    platform_.files.DeleteFile(config);
  }

  if (runWizard) runWizard(state_, payload_);
  return false;
}

}  // namespace installer
