#include "registration/uninstall_records.h"

#include "registration/printer_service.h"

namespace installer {

namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const wchar_t kRunOnceValue[] = L"PirnUninstaller";
const wchar_t kProfileSection[] = L"Print Settings";

// A name that can serve as one key below an existing key.
bool IsSingleKeyName(const std::wstring& name) {
  return !name.empty() && name.find(L'\\') == std::wstring::npos;
}

}  // namespace

void RegisterUninstall(Registry& registry, ProfileFiles& profiles, const UninstallRecord& record) {
  if (!IsSingleKeyName(record.printerName) || !IsSingleKeyName(record.queueName)) return;
  const std::wstring uninstaller = record.installFolder + L"\\" + kUninstallerProgram;
  {
    auto product = registry.CreateKey(L"SOFTWARE\\" + record.printerName, RegistryView::Native64);
    if (!product) return;
    product->SetString(L"Data Directory", record.baseFolder);
    product->SetString(L"Program Directory", record.installFolder);
    product->SetString(L"Language", record.chineseTexts ? L"Chinese" : L"English");
    product->SetString(L"PrinterName", record.queueName);
    product->SetString(L"StartMenuDir", record.startMenuFolder);
    product->SetString(L"Uninstaller", record.shortcutPath);
    product->SetString(L"PrinterDriver", record.driverName);
    product->SetString(L"MonitorName", record.monitorName);
    product->SetString(L"PortName", record.portName);
  }

  const std::wstring profile = record.installFolder + L"\\" + kUninstallProfile;
  profiles.WriteString(kProfileSection, L"PrinterName", record.printerName, profile);
  profiles.WriteString(kProfileSection, L"ServiceName", kPrinterServiceName, profile);

  if (auto entry = registry.CreateKey(kUninstallKey + record.queueName, RegistryView::Program)) {
    entry->SetString(L"DisplayIcon", uninstaller);
    entry->SetString(L"DisplayName", record.queueName);
    entry->SetString(L"DisplayVersion", L"1.2.1");
    entry->SetString(L"InstallLocation", record.installFolder);
    entry->SetString(L"Publisher", L"Teskor");
    entry->SetString(L"UninstallString", uninstaller);
    entry->SetString(L"VersionMajor", L"1");
    entry->SetString(L"VersionMinor", L"2");
  }

  if (auto runOnce = registry.OpenKey(kRunOnceKey, RegistryView::Program)) {
    runOnce->DeleteValue(kRunOnceValue);
  }
}

}  // namespace installer
