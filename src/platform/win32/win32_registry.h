#pragma once

#include "platform/registry.h"

namespace installer::win32 {

// HKEY_LOCAL_MACHINE through the advapi32 registry functions.
class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> CreateKey(const std::wstring& path, RegistryView view) override;
  std::unique_ptr<RegistryKey> OpenKey(const std::wstring& path, RegistryView view) override;
};

}  // namespace installer::win32
