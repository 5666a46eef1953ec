#include "platform/win32/win32_shell.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

// The seam's method names, not the Win32 A/W macros.
#undef ExpandEnvironmentStrings
#include <windows.h>

namespace installer::win32 {

namespace {

// An item id list allocated by the shell; freed with CoTaskMemFree.
class OwnedIdList {
 public:
  OwnedIdList() = default;
  explicit OwnedIdList(LPITEMIDLIST list) : list_(list) {}
  OwnedIdList(const OwnedIdList&) = delete;
  OwnedIdList& operator=(const OwnedIdList&) = delete;
  ~OwnedIdList() {
    if (list_) CoTaskMemFree(list_);
  }
  LPITEMIDLIST* out() { return &list_; }
  LPITEMIDLIST get() const { return list_; }

 private:
  LPITEMIDLIST list_ = nullptr;
};

std::optional<std::wstring> PathOf(const OwnedIdList& list) {
  if (!list.get()) return std::nullopt;
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(list.get(), buffer)) return std::nullopt;
  return std::wstring(buffer);
}

// An owned COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
  ~ComPtr() {
    if (ptr_) ptr_->Release();
  }
  T* get() const { return ptr_; }
  T** out() { return &ptr_; }
  void** outVoid() { return reinterpret_cast<void**>(&ptr_); }

 private:
  T* ptr_ = nullptr;
};

class Win32ShellLink : public ShellLink {
 public:
  Win32ShellLink(ComPtr<IShellLinkW> link, ComPtr<IPersistFile> file)
      : link_(std::move(link)), file_(std::move(file)) {}
  bool SetPath(const std::wstring& target) override {
    return SUCCEEDED(link_.get()->SetPath(target.c_str()));
  }
  bool SetWorkingDirectory(const std::wstring& folder) override {
    return SUCCEEDED(link_.get()->SetWorkingDirectory(folder.c_str()));
  }
  bool Save(const std::wstring& linkPath, bool remember) override {
    return SUCCEEDED(file_.get()->Save(linkPath.c_str(), remember ? TRUE : FALSE));
  }

 private:
  // Members are destroyed in reverse order: the IPersistFile is released before the link.
  ComPtr<IShellLinkW> link_;
  ComPtr<IPersistFile> file_;
};

}  // namespace

std::optional<std::wstring> Win32Shell::GetSpecialFolder(SpecialFolder folder) {
  OwnedIdList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, static_cast<int>(folder), list.out()))) {
    return std::nullopt;
  }
  return PathOf(list);
}

std::wstring Win32Shell::ExpandEnvironmentStrings(const std::wstring& text) {
  DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::wstring out(size, L'\0');
  DWORD written = ExpandEnvironmentStringsW(text.c_str(), out.data(), size);
  if (written == 0 || written > size) return text;
  out.resize(written - 1);  // without the terminator
  return out;
}

std::optional<std::wstring> Win32Shell::BrowseForFolder(WindowRef owner, const std::wstring& title,
                                                        std::uint32_t flags) {
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info = {};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = flags;
  OwnedIdList list(SHBrowseForFolderW(&info));
  return PathOf(list);
}

long Win32Shell::CoInitialize() {
  return ::CoInitialize(nullptr);
}

void Win32Shell::CoUninitialize() {
  ::CoUninitialize();
}

std::unique_ptr<ShellLink> Win32Shell::CreateShellLink() {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.outVoid()))) {
    return nullptr;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link.get()->QueryInterface(IID_IPersistFile, file.outVoid()))) return nullptr;
  return std::make_unique<Win32ShellLink>(std::move(link), std::move(file));
}

}  // namespace installer::win32
