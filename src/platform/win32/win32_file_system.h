#pragma once

#include "platform/file_system.h"

namespace installer::win32 {

// The file seam over the kernel's W file functions.
class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<FileWriter> OpenForWrite(const std::wstring& path, bool append) override;
  std::unique_ptr<FileReader> OpenForRead(const std::wstring& path) override;
  bool Exists(const std::wstring& path) override;
  bool IsDirectory(const std::wstring& path) override;
  bool CreateDirectory(const std::wstring& path) override;
  bool CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) override;
  bool DeleteFile(const std::wstring& path) override;
  std::vector<DirectoryEntry> List(const std::wstring& folder) override;
};

}  // namespace installer::win32
