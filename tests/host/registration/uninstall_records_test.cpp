#include "registration/uninstall_records.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_registry.h"

namespace installer {
namespace {

using Physical = sim::SimRegistry::Physical;

const wchar_t kProduct[] = L"SOFTWARE\\Label";
const wchar_t kEntry[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Label";
const wchar_t kRunOnce[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const wchar_t kProfile[] = L"C:\\Program Files\\USB Printer\\Label\\Uninstall.ini";

struct UninstallRecordsTest : ::testing::Test {
  UninstallRecordsTest() {
    files.MakeDirectories(L"C:\\Program Files\\USB Printer\\Label");
    registry.program32OnWin64 = true;
    record.printerName = L"Label";
    record.driverName = L"Label Driver";
    record.monitorName = L"Label Monitor";
    record.queueName = L"Label";
    record.portName = L"USB001";
    record.installFolder = L"C:\\Program Files\\USB Printer\\Label";
    record.baseFolder = L"C:\\Program Files\\USB Printer";
    record.startMenuFolder = L"C:\\Users\\me\\Start Menu\\Label Driver";
    record.shortcutPath = L"C:\\Users\\me\\Start Menu\\Label Driver\\Uninstall Printer Driver.lnk";
  }
  std::wstring Profile(const std::wstring& key) {
    return profiles.GetString(L"Print Settings", key, L"<none>", kProfile);
  }

  sim::SimFileSystem files;
  sim::SimProfileFiles profiles{files};
  sim::SimRegistry registry;
  UninstallRecord record;
};

TEST_F(UninstallRecordsTest, WritesProductKeyProfileAndEntryInTheirViews) {
  registry.CreateKey(kRunOnce, RegistryView::Program)->SetString(L"PirnUninstaller", L"x.exe");
  RegisterUninstall(registry, profiles, record);

  const std::pair<const wchar_t*, const wchar_t*> product[] = {
      {L"Data Directory", L"C:\\Program Files\\USB Printer"},
      {L"Program Directory", L"C:\\Program Files\\USB Printer\\Label"},
      {L"Language", L"English"},
      {L"PrinterName", L"Label"},
      {L"StartMenuDir", L"C:\\Users\\me\\Start Menu\\Label Driver"},
      {L"Uninstaller", L"C:\\Users\\me\\Start Menu\\Label Driver\\Uninstall Printer Driver.lnk"},
      {L"PrinterDriver", L"Label Driver"},
      {L"MonitorName", L"Label Monitor"},
      {L"PortName", L"USB001"},
  };
  for (const auto& [name, value] : product) {
    EXPECT_EQ(registry.Value(Physical::Native, kProduct, name), value) << name;
  }
  EXPECT_FALSE(registry.KeyExists(Physical::Wow32, kProduct));

  const std::pair<const wchar_t*, const wchar_t*> entry[] = {
      {L"DisplayIcon", L"C:\\Program Files\\USB Printer\\Label\\Uninstaller.exe"},
      {L"DisplayName", L"Label"},
      {L"DisplayVersion", L"1.2.1"},
      {L"InstallLocation", L"C:\\Program Files\\USB Printer\\Label"},
      {L"Publisher", L"Teskor"},
      {L"UninstallString", L"C:\\Program Files\\USB Printer\\Label\\Uninstaller.exe"},
      {L"VersionMajor", L"1"},
      {L"VersionMinor", L"2"},
  };
  for (const auto& [name, value] : entry) {
    EXPECT_EQ(registry.Value(Physical::Wow32, kEntry, name), value) << name;
  }
  EXPECT_FALSE(registry.KeyExists(Physical::Native, kEntry));

  EXPECT_EQ(Profile(L"PrinterName"), L"Label");
  EXPECT_EQ(Profile(L"ServiceName"), L"DumoPrinter Service");
  EXPECT_EQ(registry.Value(Physical::Wow32, kRunOnce, L"PirnUninstaller"), std::nullopt);
}

TEST_F(UninstallRecordsTest, LanguageIsChineseOnlyForChineseTexts) {
  for (bool chinese : {false, true}) {
    record.chineseTexts = chinese;
    RegisterUninstall(registry, profiles, record);
    EXPECT_EQ(registry.Value(Physical::Native, kProduct, L"Language"),
              chinese ? L"Chinese" : L"English");
  }
}

TEST_F(UninstallRecordsTest, NothingWhenTheProductKeyCannotBeCreated) {
  registry.CreateKey(kRunOnce, RegistryView::Program)->SetString(L"PirnUninstaller", L"x.exe");
  registry.FailCreate(kProduct);
  RegisterUninstall(registry, profiles, record);
  EXPECT_FALSE(files.Exists(kProfile));
  EXPECT_FALSE(registry.KeyExists(Physical::Wow32, kEntry));
  EXPECT_EQ(registry.Value(Physical::Wow32, kRunOnce, L"PirnUninstaller"), L"x.exe");
}

TEST_F(UninstallRecordsTest, MissingEntryKeyOrRunOnceKeyStillWritesTheRest) {
  registry.FailCreate(kEntry);
  RegisterUninstall(registry, profiles, record);
  EXPECT_EQ(registry.Value(Physical::Native, kProduct, L"PortName"), L"USB001");
  EXPECT_EQ(Profile(L"ServiceName"), L"DumoPrinter Service");
  EXPECT_FALSE(registry.KeyExists(Physical::Wow32, kEntry));
  EXPECT_FALSE(registry.KeyExists(Physical::Wow32, kRunOnce));  // not created by the removal
}

TEST_F(UninstallRecordsTest, NamesThatWouldReachOtherKeysWriteNothing) {
  for (const wchar_t* name : {L"", L"..\\Classes", L"Label\\Sub"}) {
    record.printerName = name;
    RegisterUninstall(registry, profiles, record);
    record.printerName = L"Label";
    record.queueName = name;
    RegisterUninstall(registry, profiles, record);
    record.queueName = L"Label";
  }
  EXPECT_EQ(registry.Value(Physical::Native, L"SOFTWARE", L"PrinterName"), std::nullopt);
  EXPECT_FALSE(registry.KeyExists(Physical::Native, kProduct));
  EXPECT_FALSE(files.Exists(kProfile));
}

}  // namespace
}  // namespace installer
