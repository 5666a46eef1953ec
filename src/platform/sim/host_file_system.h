#pragma once

#include <string>

#include "platform/file_system.h"

namespace installer::sim {

// The file seam over the real Linux file system, for benchmarks: drive C: is a folder of the
// host ("C:\a\b" is <root>/a/b); other drives and paths without a drive do not exist. Names
// are compared as the host does (with case).
class HostFileSystem : public FileSystem {
 public:
  explicit HostFileSystem(std::string root);

  std::unique_ptr<FileWriter> OpenForWrite(const std::wstring& path, bool append) override;
  std::unique_ptr<FileReader> OpenForRead(const std::wstring& path) override;
  bool Exists(const std::wstring& path) override;
  bool IsDirectory(const std::wstring& path) override;
  bool CreateDirectory(const std::wstring& path) override;
  bool CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) override;
  bool DeleteFile(const std::wstring& path) override;
  std::vector<DirectoryEntry> List(const std::wstring& folder) override;

  // The host path of a drive-C path; empty when the path is not on drive C.
  std::string HostPath(const std::wstring& path) const;

 private:
  std::string root_;
};

}  // namespace installer::sim
