#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace installer {

enum class SpecialFolder : int { Personal = 5, StartMenu = 11 };

// The shell-link object (IShellLinkW with its IPersistFile); released when destroyed.
class ShellLink {
 public:
  virtual ~ShellLink() = default;
  virtual bool SetPath(const std::wstring& target) = 0;
  virtual bool SetWorkingDirectory(const std::wstring& folder) = 0;
  virtual bool Save(const std::wstring& linkPath, bool remember) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // SHGetSpecialFolderLocation + SHGetPathFromIDListW; nullopt when the shell gives none.
  virtual std::optional<std::wstring> GetSpecialFolder(SpecialFolder folder) = 0;
  virtual std::wstring ExpandEnvironmentStrings(const std::wstring& text) = 0;
  // SHBrowseForFolderW (root: desktop, no callback) + SHGetPathFromIDListW.
  virtual std::optional<std::wstring> BrowseForFolder(WindowRef owner, const std::wstring& title,
                                                      std::uint32_t flags) = 0;
  // COM on the calling thread. CoInitialize returns the HRESULT (0 is S_OK, 1 S_FALSE).
  virtual long CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // CoCreateInstance(CLSID_ShellLink, in-process, IShellLinkW) and QueryInterface(IPersistFile).
  virtual std::unique_ptr<ShellLink> CreateShellLink() = 0;
};

}  // namespace installer
