#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace installer::sim {

// An in-memory file system with Windows path rules, for host tests:
// - a path is "X:" followed by names separated by backslashes ('/' is not a separator and, like
//   the other characters Windows refuses in names (<>:"|?* and controls), makes a path invalid);
//   "." and ".." parts and doubled backslashes are resolved as GetFullPathNameW would;
// - a drive exists only when added (C: is there from the start); its root is "C:\" or "C:";
// - names are compared ignoring case (towlower on every character) and kept as first written;
// - relative paths, UNC paths and invalid paths name nothing: every operation on them fails.
// The object may be used from several threads; open readers and writers stay valid after it
// is destroyed.
class SimFileSystem : public FileSystem {
 public:
  SimFileSystem();
  ~SimFileSystem() override;

  std::unique_ptr<FileWriter> OpenForWrite(const std::wstring& path, bool append) override;
  std::unique_ptr<FileReader> OpenForRead(const std::wstring& path) override;
  bool Exists(const std::wstring& path) override;
  bool IsDirectory(const std::wstring& path) override;
  bool CreateDirectory(const std::wstring& path) override;
  bool CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) override;
  bool DeleteFile(const std::wstring& path) override;
  std::vector<DirectoryEntry> List(const std::wstring& folder) override;

  // Test set-up and inspection (not counted as operations, not subject to DenyWrites).
  void AddDrive(wchar_t letter);
  // Creates the file and any missing parent folders; replaces an existing file's content.
  // False when the path is invalid, its drive is missing or a part of it is a file.
  bool Put(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
  bool Put(const std::wstring& path, std::string_view bytes);
  bool MakeDirectories(const std::wstring& path);
  std::optional<std::vector<std::uint8_t>> Get(const std::wstring& path) const;
  // Every later write, creation, copy target or deletion at the path or below it fails, as on
  // a locked file or a folder without write rights. Reading stays possible.
  void DenyWrites(const std::wstring& pathPrefix);
  // Writes fail once `bytes` more bytes have been written in all (a full disk); nullopt lifts it.
  void LimitWrites(std::optional<std::uint64_t> bytes);
  // Every path that exists, folders with a trailing backslash, in sorted order of their keys.
  std::vector<std::wstring> AllPaths() const;

  struct Counters {
    int opensForWrite = 0;  // successful OpenForWrite calls
    int writeCalls = 0;     // FileWriter::Write calls, failed ones included
    std::uint64_t bytesWritten = 0;
    int readCalls = 0;  // FileReader::Read calls
    int createDirectoryCalls = 0;
  };
  Counters counters() const;
  // The folders made by CreateDirectory, in the order made, as the caller wrote them.
  std::vector<std::wstring> createdDirectories() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace installer::sim
