#pragma once

#include <memory>

#include "platform/system.h"

namespace installer::win32 {

class ScopedLibrary;

class Win32System : public System {
 public:
  Win32System();
  ~Win32System() override;
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
  std::unique_ptr<ScopedLibrary> kernel32_;  // held while redirection is off
};

}  // namespace installer::win32
