#pragma once

#include <memory>
#include <string>

namespace installer {

// Which registry view a key is opened in. `Native64` is KEY_WOW64_64KEY; `Program` is the view of
// this process (the 32-bit view for the 32-bit program on 64-bit Windows).
enum class RegistryView { Program, Native64 };

// An open key; closed when destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // RegSetValueExW, REG_SZ, (length + 1) * 2 bytes.
  virtual bool SetString(const std::wstring& name, const std::wstring& value) = 0;
  virtual bool DeleteValue(const std::wstring& name) = 0;
};

// HKEY_LOCAL_MACHINE, the only hive this program writes.
class Registry {
 public:
  virtual ~Registry() = default;
  // RegCreateKeyExW with KEY_ALL_ACCESS (plus the view flag). Null on failure.
  virtual std::unique_ptr<RegistryKey> CreateKey(const std::wstring& path, RegistryView view) = 0;
  // RegOpenKeyExW with KEY_READ | KEY_WRITE. Null on failure.
  virtual std::unique_ptr<RegistryKey> OpenKey(const std::wstring& path, RegistryView view) = 0;
};

}  // namespace installer
