#include "wizard/printer_name.h"

namespace installer {

bool IsUsablePrinterName(const std::wstring& name) {
  bool onlyDotsAndBlanks = true;
  for (wchar_t c : name) {
    if (c < 0x20 || std::wstring(L"\\/:*?\"<>|,").find(c) != std::wstring::npos) return false;
    if (c != L'.' && c != L' ') onlyDotsAndBlanks = false;
  }
  return !name.empty() && !onlyDotsAndBlanks;
}

}  // namespace installer
