#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_shell.h"
#include "registration/folder_cleanup.h"
#include "registration/printer_service.h"
#include "registration/shortcut.h"

namespace installer {
namespace {

const wchar_t kFolder[] = L"C:\\Program Files\\USB Printer\\Label";
const wchar_t kTarget[] = L"C:\\Program Files\\USB Printer\\Label\\Uninstaller.exe";
const wchar_t kLink[] = L"C:\\Menu\\Uninstall Printer Driver.lnk";

TEST(WorkingDirectoryOf, IsTheFolderBeforeTheLastBackslash) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {kTarget, kFolder},
      {L"C:\\Uninstaller.exe", L"C:"},
      {L"Uninstaller.exe", L""},
      {L"C:\\a\\", L"C:\\a"},
      {L"", L""},
  };
  for (const auto& [target, folder] : cases)
    EXPECT_EQ(WorkingDirectoryOf(target), folder) << target;
}

struct ShortcutTest : ::testing::Test {
  ShortcutTest() {
    files.MakeDirectories(L"C:\\Menu");
    shell.AttachFileSystem(&files);
  }
  sim::SimFileSystem files;
  sim::SimShell shell;
};

TEST_F(ShortcutTest, SavesTargetAndWorkingDirectoryWithComOnTheCallingThread) {
  std::thread::id caller;
  std::thread worker([&] {
    caller = std::this_thread::get_id();
    CreateShortcut(shell, kTarget, kLink);
  });
  worker.join();
  const auto link = shell.ReadLink(kLink);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, kTarget);
  EXPECT_EQ(link->workingDirectory, kFolder);
  EXPECT_EQ(link->savedOn, caller);
  EXPECT_EQ(shell.CoInitializeCalls(), 1);
  EXPECT_EQ(shell.UnbalancedComThreads(), 0);
}

TEST_F(ShortcutTest, NoLinkUnlessComStartsFreshAndNoUnbalancedCom) {
  struct Case {
    long coInitialize;
    bool linkServer;
    int uninitialize;
  };
  const Case cases[] = {
      {sim::kSFalse, true, 1},           // already initialised on this thread
      {sim::kRpcEChangedMode, true, 0},  // cannot be initialised
      {sim::kSOk, false, 1},             // no shell-link object
  };
  for (const Case& c : cases) {
    sim::SimShell fresh;
    fresh.AttachFileSystem(&files);
    fresh.ScriptCoInitialize(c.coInitialize);
    fresh.SetShellLinkAvailable(c.linkServer);
    CreateShortcut(fresh, kTarget, kLink);
    EXPECT_FALSE(files.Exists(kLink));
    EXPECT_EQ(fresh.CoUninitializeCalls(), c.uninitialize);
    EXPECT_EQ(fresh.UnbalancedComThreads(), 0);
  }
}

TEST_F(ShortcutTest, MissingFolderIsSwallowed) {
  CreateShortcut(shell, kTarget, L"C:\\Nowhere\\x.lnk");
  EXPECT_TRUE(shell.SavedLinks().empty());
  EXPECT_EQ(shell.UnbalancedComThreads(), 0);
}

struct ServiceTest : ::testing::Test {
  ServiceTest() { services.AttachFileSystem(&files); }
  sim::SimFileSystem files;
  sim::SimServices services;
};

TEST_F(ServiceTest, CreatesTheInteractiveAutoStartServiceAndStartsIt) {
  files.Put(std::wstring(kFolder) + L"\\ReltPrinterService.exe", "MZ");
  InstallPrinterService(services, kFolder);
  const auto service = services.Find(L"DumoPrinter Service");
  ASSERT_TRUE(service);
  EXPECT_EQ(service->config.displayName, L"DumoPrinter Service");
  EXPECT_EQ(service->config.serviceType, 0x110u);
  EXPECT_EQ(service->config.startType, 2u);
  EXPECT_EQ(service->config.errorControl, 1u);
  EXPECT_EQ(service->config.binaryPath, std::wstring(kFolder) + L"\\ReltPrinterService.exe");
  EXPECT_EQ(service->description, L"DumoPrinter Printer Monitor");
  EXPECT_TRUE(service->running);
  EXPECT_EQ(services.OpenHandles(), 0);
}

TEST_F(ServiceTest, MissingProgramStillCreatesTheService) {
  InstallPrinterService(services, kFolder);
  const auto service = services.Find(L"DumoPrinter Service");
  ASSERT_TRUE(service);
  EXPECT_EQ(service->startAttempts, 1);
  EXPECT_FALSE(service->running);
}

TEST_F(ServiceTest, AnExistingServiceIsLeftAlone) {
  InstallPrinterService(services, L"C:\\First");
  InstallPrinterService(services, kFolder);
  EXPECT_EQ(services.CreateAttempts(), 2);
  ASSERT_EQ(services.All().size(), 1u);
  EXPECT_EQ(services.All()[0].config.binaryPath, L"C:\\First\\ReltPrinterService.exe");
  EXPECT_EQ(services.All()[0].startAttempts, 1);
  EXPECT_EQ(services.OpenHandles(), 0);
}

TEST_F(ServiceTest, NoManagerNoService) {
  services.SetManagerAvailable(false);
  InstallPrinterService(services, kFolder);
  EXPECT_EQ(services.CreateAttempts(), 0);
}

TEST(CleanUpInstallFolder, KeepsTheRemovalFilesAndSubFolders) {
  sim::SimFileSystem files;
  const std::wstring folder = kFolder;
  for (const wchar_t* name :
       {L"UNINSTALLER.EXE", L"uninstall.INI", L"ReltPrinterService.exe", L"InstallConfig_en.txt",
        L"plotter.dll.x64", L"Uninstaller.exe.bak", L"Inf\\Label.inf"}) {
    files.Put(folder + L"\\" + name, "x");
  }
  files.Put(L"C:\\Program Files\\USB Printer\\other.txt", "x");
  CleanUpInstallFolder(files, folder);
  const std::vector<std::wstring> expected = {
      L"C:\\Program Files\\USB Printer\\Label\\Inf\\Label.inf",
      L"C:\\Program Files\\USB Printer\\Label\\ReltPrinterService.exe",
      L"C:\\Program Files\\USB Printer\\Label\\UNINSTALLER.EXE",
      L"C:\\Program Files\\USB Printer\\Label\\uninstall.INI",
      L"C:\\Program Files\\USB Printer\\other.txt",
  };
  std::vector<std::wstring> remaining;
  for (const auto& path : files.AllPaths()) {
    if (path.back() != L'\\') remaining.push_back(path);
  }
  std::sort(remaining.begin(), remaining.end());
  EXPECT_EQ(remaining, expected);
}

TEST(CleanUpInstallFolder, EmptyFolderNameDeletesNothing) {
  sim::SimFileSystem files;
  files.Put(L"C:\\boot.ini", "x");
  CleanUpInstallFolder(files, L"");
  EXPECT_TRUE(files.Exists(L"C:\\boot.ini"));
}

TEST(SimShell, ExpandsKnownVariablesIgnoringCaseAndKeepsTheRest) {
  sim::SimShell shell;
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"%ProgramFiles%\\", L"C:\\Program Files\\"},
      {L"%PROGRAMFILES%x%programfiles%", L"C:\\Program FilesxC:\\Program Files"},
      {L"%Unknown%\\a", L"%Unknown%\\a"},
      {L"50% off", L"50% off"},
      {L"%", L"%"},
  };
  for (const auto& [text, expanded] : cases) {
    EXPECT_EQ(shell.ExpandEnvironmentStrings(text), expanded) << text;
  }
}

}  // namespace
}  // namespace installer
