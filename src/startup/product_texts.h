#pragma once

#include <array>
#include <string>

namespace installer {

enum Language : int { kEnglish = 0, kChinese = 1, kRussian = 2 };

// The six page texts of an InstallConfig file (each at most 511 characters, lines ending in LF).
using PageTexts = std::array<std::wstring, 6>;

// The names of the InstallConfig file's tail, in file order.
struct ProductNames {
  std::wstring productTitle;
  std::wstring printerName;
  std::wstring driverName;
  std::wstring monitorName;
  std::wstring portName;  // at most 511 characters; the others at most 255
  std::wstring installFolderName;
  std::wstring languageDll;
};

}  // namespace installer
