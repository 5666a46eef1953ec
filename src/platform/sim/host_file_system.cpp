#include "platform/sim/host_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace installer::sim {

namespace {

// An owned POSIX file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

class HostWriter : public FileWriter {
 public:
  explicit HostWriter(int fd) : fd_(fd) {}
  bool Write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t written = ::write(fd_.get(), bytes, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes += written;
      size -= static_cast<std::size_t>(written);
    }
    return true;
  }

 private:
  Descriptor fd_;
};

class HostReader : public FileReader {
 public:
  explicit HostReader(int fd) : fd_(fd) {}
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    ssize_t read = 0;
    do {
      read = ::read(fd_.get(), buffer, size);
    } while (read < 0 && errno == EINTR);
    got = read > 0 ? static_cast<std::size_t>(read) : 0;
    return read >= 0;
  }
  bool Seek(std::uint64_t position) override {
    return ::lseek(fd_.get(), static_cast<off_t>(position), SEEK_SET) >= 0;
  }
  std::optional<std::uint64_t> Size() override {
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
  }

 private:
  Descriptor fd_;
};

// UTF-8 for the host's file names.
std::string ToUtf8(std::wstring_view text) {
  std::string out;
  for (wchar_t wc : text) {
    const auto c = static_cast<std::uint32_t>(wc);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace

HostFileSystem::HostFileSystem(std::string root) : root_(std::move(root)) {}

std::string HostFileSystem::HostPath(const std::wstring& path) const {
  if (path.size() < 2 || (path[0] != L'C' && path[0] != L'c') || path[1] != L':') return {};
  std::string rest = ToUtf8(std::wstring_view(path).substr(2));
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  return root_ + (rest.empty() || rest[0] != '/' ? "/" : "") + rest;
}

std::unique_ptr<FileWriter> HostFileSystem::OpenForWrite(const std::wstring& path, bool append) {
  const std::string host = HostPath(path);
  if (host.empty()) return nullptr;
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  const int fd = ::open(host.c_str(), flags, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<HostWriter>(fd);
}

std::unique_ptr<FileReader> HostFileSystem::OpenForRead(const std::wstring& path) {
  const std::string host = HostPath(path);
  if (host.empty()) return nullptr;
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<HostReader>(fd);
}

bool HostFileSystem::Exists(const std::wstring& path) {
  const std::string host = HostPath(path);
  struct stat info {};
  return !host.empty() && ::stat(host.c_str(), &info) == 0;
}

bool HostFileSystem::IsDirectory(const std::wstring& path) {
  const std::string host = HostPath(path);
  struct stat info {};
  return !host.empty() && ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HostFileSystem::CreateDirectory(const std::wstring& path) {
  const std::string host = HostPath(path);
  return !host.empty() && ::mkdir(host.c_str(), 0755) == 0;
}

bool HostFileSystem::CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) {
  if (failIfExists && Exists(to)) return false;
  auto reader = OpenForRead(from);
  if (!reader) return false;
  auto writer = OpenForWrite(to, false);
  if (!writer) return false;
  char buffer[16384];
  for (;;) {
    std::size_t got = 0;
    if (!reader->Read(buffer, sizeof buffer, got)) return false;
    if (got == 0) return true;
    if (!writer->Write(buffer, got)) return false;
  }
}

bool HostFileSystem::DeleteFile(const std::wstring& path) {
  const std::string host = HostPath(path);
  return !host.empty() && !IsDirectory(path) && ::unlink(host.c_str()) == 0;
}

std::vector<DirectoryEntry> HostFileSystem::List(const std::wstring& folder) {
  std::vector<DirectoryEntry> entries;
  const std::string host = HostPath(folder);
  if (host.empty()) return entries;
  DIR* dir = ::opendir(host.c_str());
  if (!dir) return entries;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const bool isDirectory =
        ::stat((host + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    entries.push_back({std::wstring(name.begin(), name.end()), isDirectory});
  }
  ::closedir(dir);
  return entries;
}

}  // namespace installer::sim
