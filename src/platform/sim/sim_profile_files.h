#pragma once

#include "platform/file_system.h"
#include "platform/profile.h"

namespace installer::sim {

// Profile files kept as real files of a FileSystem (normally the SimFileSystem of the same
// simulated platform), so that the program's other file operations see them. Files are read as
// UTF-16LE when they start with FF FE, else as UTF-8 (plain ASCII included); they are written as
// UTF-16LE with a byte-order mark and CR LF line ends. Section and key names are compared
// ignoring case; blanks around names and values are dropped, and a value in matching quotes
// loses them. Lines starting with ';' are comments. Without a file system every read gives the
// fallback and every write fails.
class SimProfileFiles : public ProfileFiles {
 public:
  SimProfileFiles() = default;
  explicit SimProfileFiles(FileSystem& fileSystem) : files(&fileSystem) {}

  std::wstring GetString(const std::wstring& section, const std::wstring& key,
                         const std::wstring& fallback, const std::wstring& file,
                         std::size_t capacity = 256) override;
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                   const std::wstring& file) override;

  FileSystem* files = nullptr;
  int reads = 0;   // GetString calls
  int writes = 0;  // WriteString calls
};

}  // namespace installer::sim
