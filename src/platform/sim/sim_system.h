#pragma once

#include <map>
#include <utility>

#include "platform/system.h"

namespace installer::sim {

// Kernel facts for host tests; every field is the test's to set.
class SimSystem : public System {
 public:
  std::uint32_t lcid = 1033;
  bool win64 = false;
  std::wstring systemDirectory = L"C:\\Windows\\system32";
  std::wstring moduleFileName = L"C:\\Setup\\PrinterDriverSetup.exe";
  std::map<std::pair<int, std::wstring>, std::vector<std::uint8_t>> resources;
  int redirectionDisabled = 0;  // calls of DisableFsRedirection not yet reverted
  int redirectionSwitches = 0;  // how often redirection was switched off in all

  std::uint32_t SystemDefaultLcid() override { return lcid; }
  bool IsRunningOnWin64() override { return win64; }
  std::wstring SystemDirectory() override { return systemDirectory; }
  std::wstring ModuleFileName() override { return moduleFileName; }
  std::optional<std::vector<std::uint8_t>> LoadResourceBytes(int id,
                                                             const std::wstring& type) override;
  bool DisableFsRedirection() override;
  void RevertFsRedirection() override;
  // Latin-1 stands in for the ANSI code page: characters above U+00FF become '?'.
  std::string ToAnsi(const std::wstring& text) override;
  std::wstring FromAnsi(const std::string& text) override;
};

}  // namespace installer::sim
