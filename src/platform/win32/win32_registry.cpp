#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace installer::win32 {

namespace {

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;
  ~Win32Key() override { RegCloseKey(key_); }
  bool SetString(const std::wstring& name, const std::wstring& value) override {
    return RegSetValueExW(
               key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  bool DeleteValue(const std::wstring& name) override {
    return RegDeleteValueW(key_, name.c_str()) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

REGSAM ViewFlag(RegistryView view) {
  return view == RegistryView::Native64 ? KEY_WOW64_64KEY : 0;
}

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(const std::wstring& path, RegistryView view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | ViewFlag(view), nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(const std::wstring& path, RegistryView view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WRITE | ViewFlag(view),
                    &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

}  // namespace installer::win32
