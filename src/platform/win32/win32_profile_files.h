#pragma once

#include "platform/profile.h"

namespace installer::win32 {

class Win32ProfileFiles : public ProfileFiles {
 public:
  std::wstring GetString(const std::wstring& section, const std::wstring& key,
                         const std::wstring& fallback, const std::wstring& file,
                         std::size_t capacity = 256) override;
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                   const std::wstring& file) override;
};

}  // namespace installer::win32
