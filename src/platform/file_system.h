#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace installer {

// An open file for writing; closed when destroyed.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Writes all bytes or reports failure (a short write is a failure).
  virtual bool Write(const void* data, std::size_t size) = 0;
};

// An open file for reading; closed when destroyed.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to `size` bytes; `got` is what arrived (0 at the end). False on a read error.
  virtual bool Read(void* buffer, std::size_t size, std::size_t& got) = 0;
  virtual bool Seek(std::uint64_t position) = 0;
  virtual std::optional<std::uint64_t> Size() = 0;
};

struct DirectoryEntry {
  std::wstring name;  // as stored, without the folder
  bool isDirectory = false;
};

// Files and folders, with Windows path rules (backslashes, drive letters, names compared
// ignoring case). Paths are wide; the Win32 side calls the W functions.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // "wb" (truncate) or "ab" (append), creating the file. Null when it cannot be opened.
  virtual std::unique_ptr<FileWriter> OpenForWrite(const std::wstring& path, bool append) = 0;
  // "rb". Null when it cannot be opened.
  virtual std::unique_ptr<FileReader> OpenForRead(const std::wstring& path) = 0;
  // The file-existence test (GetFileAttributesW succeeds): files, folders and drive roots.
  virtual bool Exists(const std::wstring& path) = 0;
  virtual bool IsDirectory(const std::wstring& path) = 0;
  // CreateDirectoryW without security attributes: the parent must exist.
  virtual bool CreateDirectory(const std::wstring& path) = 0;
  virtual bool CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) = 0;
  virtual bool DeleteFile(const std::wstring& path) = 0;
  // FindFirstFileW/FindNextFileW over "<folder>\*.*", without "." and "..". Empty when nothing is
  // found.
  virtual std::vector<DirectoryEntry> List(const std::wstring& folder) = 0;
};

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(FileSystem& files, const std::wstring& path);

}  // namespace installer
