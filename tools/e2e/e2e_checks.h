#pragma once

// What the Wine test programs share: UTF-8 output and the ok/FAIL lines their scripts read.

#include <windows.h>

#include <cstdio>
#include <string>

namespace e2e {

inline int failures = 0;

inline std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

inline void Check(bool holds, const std::string& what) {
  std::printf("%s %s\n", holds ? "ok  " : "FAIL", what.c_str());
  if (!holds) ++failures;
}

inline void Note(const std::string& text) {
  std::printf("note %s\n", text.c_str());
}

}  // namespace e2e
