#pragma once

#include "platform/shell.h"

namespace installer::win32 {

// The shell and the COM shell-link object.
class Win32Shell : public Shell {
 public:
  std::optional<std::wstring> GetSpecialFolder(SpecialFolder folder) override;
  std::wstring ExpandEnvironmentStrings(const std::wstring& text) override;
  std::optional<std::wstring> BrowseForFolder(WindowRef owner, const std::wstring& title,
                                              std::uint32_t flags) override;
  long CoInitialize() override;
  void CoUninitialize() override;
  std::unique_ptr<ShellLink> CreateShellLink() override;
};

}  // namespace installer::win32
