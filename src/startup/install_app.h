#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "payload/payload_image.h"
#include "platform/platform.h"
#include "startup/app_state.h"
#include "startup/language_dialogs.h"

namespace installer {

// Runs the wizard dialog modally with the start-up results; the program ends when it returns.
using WizardRun = std::function<void(AppState& state, PayloadImage& payload)>;

// The language dialog for the system's default locale: the Chinese one for 2052, the English
// one in mode 0 for 1033 and in mode 1 for every other locale.
std::unique_ptr<CLanguageDialog> MakeLanguageDialog(Platform& platform, std::uint32_t lcid);

// The language index of a language-list index: 0 Chinese, 1 English, anything else Russian.
int LanguageFromListIndex(int listIndex);

// "InstallConfig_en.txt", "InstallConfig_cn.txt" or "InstallConfig_rs.txt".
std::wstring InstallConfigName(int languageIndex);

// The application object: all the work of the program happens in InitInstance.
class CInstallApp {
 public:
  explicit CInstallApp(Platform& platform) : platform_(platform) {}
  CInstallApp(const CInstallApp&) = delete;
  CInstallApp& operator=(const CInstallApp&) = delete;

  // Copies the payload into memory, unpacks the start-up files into the documents folder, lets
  // the user choose the language, loads its texts and runs the wizard. Returns false always:
  // the program ends afterwards. Cancel in the language dialog ends it before the wizard.
  bool InitInstance(const WizardRun& runWizard);

  int LanguageIndex() const { return state_.languageIndex; }
  AppState& State() { return state_; }
  const PayloadImage& Payload() const { return payload_; }

 private:
  Platform& platform_;
  AppState state_;
  PayloadImage payload_;  // lives as long as the program
};

}  // namespace installer
