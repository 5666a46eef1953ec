#include "registration/folder_cleanup.h"

#include "registration/printer_service.h"
#include "registration/uninstall_records.h"

namespace installer {

namespace {

bool EqualIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i];
    wchar_t y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool IsKeptInstallFile(const std::wstring& name) {
  for (const wchar_t* kept : {kUninstallerProgram, kUninstallProfile, kPrinterServiceProgram}) {
    if (EqualIgnoringAsciiCase(name, kept)) return true;
  }
  return false;
}

void CleanUpInstallFolder(FileSystem& files, const std::wstring& folder) {
  if (folder.empty()) return;
  for (const DirectoryEntry& entry : files.List(folder)) {
    if (entry.isDirectory || entry.name == L"." || entry.name == L"..") continue;
    if (IsKeptInstallFile(entry.name)) continue;
    files.DeleteFile(folder + L"\\" + entry.name);
  }
}

}  // namespace installer
