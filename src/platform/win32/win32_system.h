#pragma once

#include "platform/system.h"

namespace installer::win32 {

class Win32System : public System {
 public:
  std::uint32_t SystemDefaultLcid() override;
  bool IsRunningOnWin64() override;
  std::wstring SystemDirectory() override;
  std::wstring ModuleFileName() override;
  std::optional<std::vector<std::uint8_t>> LoadResourceBytes(int id,
                                                             const std::wstring& type) override;
  bool DisableFsRedirection() override;
  void RevertFsRedirection() override;
  std::string ToAnsi(const std::wstring& text) override;
  std::wstring FromAnsi(const std::string& text) override;

 private:
  void* redirectionValue_ = nullptr;
  void* kernel32_ = nullptr;
};

}  // namespace installer::win32
