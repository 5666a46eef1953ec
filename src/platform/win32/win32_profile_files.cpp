#include "platform/win32/win32_profile_files.h"

#include <windows.h>

#include <vector>

namespace installer::win32 {

std::wstring Win32ProfileFiles::GetString(const std::wstring& section, const std::wstring& key,
                                          const std::wstring& fallback, const std::wstring& file,
                                          std::size_t capacity) {
  if (capacity == 0 || capacity > 0x7FFFFFFF) return {};
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD length =
      GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                               static_cast<DWORD>(capacity), file.c_str());
  return std::wstring(buffer.data(), length < capacity ? length : capacity - 1);
}

bool Win32ProfileFiles::WriteString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& value, const std::wstring& file) {
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

}  // namespace installer::win32
