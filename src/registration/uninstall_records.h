#pragma once

#include <string>

#include "platform/profile.h"
#include "platform/registry.h"

namespace installer {

inline const wchar_t kUninstallerProgram[] = L"Uninstaller.exe";
inline const wchar_t kUninstallProfile[] = L"Uninstall.ini";

// What an installation records for its removal.
struct UninstallRecord {
  std::wstring printerName;  // names the product key; "PrinterName" of Uninstall.ini
  std::wstring driverName;
  std::wstring monitorName;
  std::wstring queueName;  // the queue that was created; names the uninstall entry
  std::wstring portName;
  std::wstring installFolder;
  std::wstring baseFolder;
  bool chineseTexts = false;
  std::wstring startMenuFolder;
  std::wstring shortcutPath;
};

// Writes the product key HKLM\SOFTWARE\<printerName> (64-bit view), "Uninstall.ini" in the
// installation folder and the entry HKLM\...\CurrentVersion\Uninstall\<queueName> (the
// program's view), then removes a pending "PirnUninstaller" RunOnce value. When the product key
// cannot be created nothing at all is written. Names that are empty or hold a backslash would
// land in a parent or foreign key, so they write nothing either. Single failures are swallowed.
void RegisterUninstall(Registry& registry, ProfileFiles& profiles, const UninstallRecord& record);

}  // namespace installer
