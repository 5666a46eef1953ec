#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/scoped_library.h"

namespace installer::win32 {

Win32System::Win32System() = default;
Win32System::~Win32System() = default;

std::uint32_t Win32System::SystemDefaultLcid() {
  return GetSystemDefaultLCID();
}

bool Win32System::IsRunningOnWin64() {
#ifdef _WIN64
  return true;
#else
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  if (!kernel) return false;
  auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  if (!isWow64 || !isWow64(GetCurrentProcess(), &wow64)) return false;
  return wow64 != FALSE;
#endif
}

std::wstring Win32System::SystemDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(buffer, length);
}

std::wstring Win32System::ModuleFileName() {
  wchar_t buffer[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(buffer, length);
}

std::optional<std::vector<std::uint8_t>> Win32System::LoadResourceBytes(int id,
                                                                        const std::wstring& type) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type.c_str());
  if (!info) {
    (void)GetLastError();
    return std::nullopt;
  }
  HGLOBAL loaded = LoadResource(nullptr, info);
  if (!loaded) return std::nullopt;
  const void* data = LockResource(loaded);
  DWORD size = SizeofResource(nullptr, info);
  if (!data && size) return std::nullopt;
  std::vector<std::uint8_t> bytes(size);
  if (size) std::memcpy(bytes.data(), data, size);
  return bytes;
}

bool Win32System::DisableFsRedirection() {
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  auto kernel = std::make_unique<ScopedLibrary>(L"Kernel32.dll");
  if (!*kernel) return false;
  auto disable = kernel->Find<DisableFn>("Wow64DisableWow64FsRedirection");
  if (!disable) return false;
  kernel32_ = std::move(kernel);
  return disable(&redirectionValue_) != FALSE;
}

void Win32System::RevertFsRedirection() {
  if (!kernel32_) return;
  using RevertFn = BOOL(WINAPI*)(PVOID);
  if (auto revert = kernel32_->Find<RevertFn>("Wow64RevertWow64FsRedirection")) {
    revert(redirectionValue_);
  }
  kernel32_.reset();
}

std::string Win32System::ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Win32System::FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

}  // namespace installer::win32
