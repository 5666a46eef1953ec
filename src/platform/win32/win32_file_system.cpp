#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

// The seam's method names, not the A/W macros of <windows.h>; the W functions are called by name.
#undef CreateDirectory
#undef CopyFile
#undef DeleteFile

namespace installer::win32 {

namespace {

// An owned kernel file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// An owned FindFirstFileW search.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

constexpr std::size_t kMaxChunk = 1u << 30;

class Win32Writer : public FileWriter {
 public:
  explicit Win32Writer(HANDLE handle) : file_(handle) {}

  bool Write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written != chunk) {
        return false;
      }
      bytes += chunk;
      size -= chunk;
    }
    return true;
  }

 private:
  FileHandle file_;
};

class Win32Reader : public FileReader {
 public:
  explicit Win32Reader(HANDLE handle) : file_(handle) {}

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    DWORD read = 0;
    const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
    const bool ok = ReadFile(file_.get(), buffer, chunk, &read, nullptr) != FALSE;
    got = ok ? read : 0;
    return ok;
  }

  bool Seek(std::uint64_t position) override {
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(file_.get(), distance, nullptr, FILE_BEGIN) != FALSE;
  }

  std::optional<std::uint64_t> Size() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_.get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

 private:
  FileHandle file_;
};

}  // namespace

std::unique_ptr<FileWriter> Win32FileSystem::OpenForWrite(const std::wstring& path, bool append) {
  const DWORD access = append ? FILE_APPEND_DATA : GENERIC_WRITE;
  const DWORD disposition = append ? OPEN_ALWAYS : CREATE_ALWAYS;
  HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Writer>(handle);
}

std::unique_ptr<FileReader> Win32FileSystem::OpenForRead(const std::wstring& path) {
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Reader>(handle);
}

bool Win32FileSystem::Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::CreateDirectory(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::CopyFile(const std::wstring& from, const std::wstring& to,
                               bool failIfExists) {
  return CopyFileW(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32FileSystem::DeleteFile(const std::wstring& path) {
  return DeleteFileW(path.c_str()) != FALSE;
}

std::vector<DirectoryEntry> Win32FileSystem::List(const std::wstring& folder) {
  std::vector<DirectoryEntry> entries;
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
  if (!search.valid()) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search.get(), &found));
  return entries;
}

}  // namespace installer::win32
