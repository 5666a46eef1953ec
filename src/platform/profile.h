#pragma once

#include <cstddef>
#include <string>

namespace installer {

// Windows profile (.ini) files.
class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // GetPrivateProfileStringW into a buffer of `capacity` units (at most capacity - 1 characters).
  virtual std::wstring GetString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& fallback, const std::wstring& file,
                                 std::size_t capacity = 256) = 0;
  // WritePrivateProfileStringW; creates the file when it is missing.
  virtual bool WriteString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& value, const std::wstring& file) = 0;
};

}  // namespace installer
