#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace installer::sim {

constexpr long kSOk = 0;
constexpr long kSFalse = 1;
constexpr long kRpcEChangedMode = static_cast<long>(0x80010106u);

// The shell for host tests.
// - Special folders: Personal and StartMenu have the usual per-user paths; a test may change or
//   remove them.
// - ExpandEnvironmentStrings replaces %NAME% (name compared ignoring ASCII case) from a table
//   that starts with ProgramFiles = C:\Program Files; unknown names stay as written.
// - BrowseForFolder records the request and gives the scripted answer (none at first).
// - COM is tracked per thread as the real one: CoInitialize gives S_OK on a thread the first
//   time and S_FALSE when COM is already initialised there; both must be balanced by
//   CoUninitialize. CreateShellLink fails on a thread without COM.
// - A saved shell link becomes a file in the attached FileSystem (saving fails without one or
//   when the file cannot be written); ReadLink gives back its target and working directory.
// Safe to use from several threads.
class SimShell : public Shell {
 public:
  SimShell();

  std::optional<std::wstring> GetSpecialFolder(SpecialFolder folder) override;
  std::wstring ExpandEnvironmentStrings(const std::wstring& text) override;
  std::optional<std::wstring> BrowseForFolder(WindowRef owner, const std::wstring& title,
                                              std::uint32_t flags) override;
  long CoInitialize() override;
  void CoUninitialize() override;
  std::unique_ptr<ShellLink> CreateShellLink() override;

  // Set-up.
  void AttachFileSystem(FileSystem* files);
  void SetSpecialFolder(SpecialFolder folder, std::optional<std::wstring> path);
  void SetEnvironmentVariable(const std::wstring& name, const std::wstring& value);
  void SetBrowseAnswer(std::optional<std::wstring> answer);
  // The next `times` calls of CoInitialize return `result` instead of the real outcome. S_OK and
  // S_FALSE still count as an initialisation to be balanced; failure codes do not.
  void ScriptCoInitialize(long result, int times = 1);
  void SetShellLinkAvailable(bool available);  // false: CreateShellLink fails (no COM server)

  // Inspection.
  struct BrowseRequest {
    WindowRef owner = 0;
    std::wstring title;
    std::uint32_t flags = 0;
  };
  struct LinkData {
    std::wstring target;
    std::wstring workingDirectory;
    std::thread::id savedOn;  // the thread that saved the link
  };
  std::vector<BrowseRequest> BrowseRequests() const;
  int CoInitializeCalls() const;
  int CoUninitializeCalls() const;
  // Threads that initialised COM more often than they uninitialised it.
  int UnbalancedComThreads() const;
  // The link saved at `path` as far as it is still a link file in the file system.
  std::optional<LinkData> ReadLink(const std::wstring& path) const;
  // The paths of every link saved, in the order saved.
  std::vector<std::wstring> SavedLinks() const;

 private:
  class Link;
  bool ComReady() const;
  bool SaveLink(const std::wstring& path, const LinkData& data);

  mutable std::mutex mutex_;
  FileSystem* files_ = nullptr;
  std::map<SpecialFolder, std::wstring> folders_;
  std::map<std::wstring, std::wstring> environment_;  // keys folded to lower case
  std::optional<std::wstring> browseAnswer_;
  std::vector<BrowseRequest> browseRequests_;
  std::map<std::thread::id, int> comInits_;
  long scriptedResult_ = kSOk;
  int scriptedTimes_ = 0;
  int coInitializeCalls_ = 0;
  int coUninitializeCalls_ = 0;
  bool linkAvailable_ = true;
  std::vector<std::wstring> savedLinks_;
  std::map<std::wstring, std::thread::id> savedOn_;
};

}  // namespace installer::sim
