#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace installer {

// Kernel-side facts and conversions that the logic asks for.
class System {
 public:
  virtual ~System() = default;
  virtual std::uint32_t SystemDefaultLcid() = 0;
  // IsWow64Process looked up in kernel32 for this process; a 64-bit build answers true.
  virtual bool IsRunningOnWin64() = 0;
  virtual std::wstring SystemDirectory() = 0;  // GetSystemDirectory
  virtual std::wstring ModuleFileName() = 0;   // GetModuleFileNameW of the program
  // FindResourceW/LoadResource/LockResource/SizeofResource of the program's own module.
  virtual std::optional<std::vector<std::uint8_t>> LoadResourceBytes(int id,
                                                                     const std::wstring& type) = 0;
  // Wow64DisableWow64FsRedirection / Wow64RevertWow64FsRedirection, looked up in Kernel32.dll.
  virtual bool DisableFsRedirection() = 0;
  virtual void RevertFsRedirection() = 0;
  // The ANSI code page (CP_ACP) conversions.
  virtual std::string ToAnsi(const std::wstring& text) = 0;
  virtual std::wstring FromAnsi(const std::string& text) = 0;
};

}  // namespace installer
