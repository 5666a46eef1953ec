#include "registration/shortcut.h"

namespace installer {

namespace {

constexpr long kSOk = 0;
constexpr long kSFalse = 1;

}  // namespace

std::wstring WorkingDirectoryOf(const std::wstring& target) {
  const std::size_t slash = target.rfind(L'\\');
  if (slash == std::wstring::npos) return std::wstring();
  return target.substr(0, slash);
}

void CreateShortcut(Shell& shell, const std::wstring& target, const std::wstring& linkPath) {
  const long result = shell.CoInitialize();
  if (result != kSOk) {
    // S_FALSE also counts as an initialisation that has to be balanced.
    if (result == kSFalse) shell.CoUninitialize();
    return;
  }
  {
    auto link = shell.CreateShellLink();
    if (link && link->SetPath(target) && link->SetWorkingDirectory(WorkingDirectoryOf(target))) {
      link->Save(linkPath, true);
    }
  }  // the link object is released before COM goes away
  shell.CoUninitialize();
}

}  // namespace installer
