#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/services.h"

namespace installer::sim {

constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorServiceExists = 1073;

// The service control manager for host tests. Services are kept by name (compared ignoring
// ASCII case); a second CreateService with a known name fails with 1073. Start succeeds only
// when the service program is a file of the attached FileSystem. Every handle handed out is
// counted until it is closed. Safe to use from several threads.
class SimServices : public Services {
 public:
  std::unique_ptr<ServiceManager> OpenManager() override;

  // Set-up.
  void AttachFileSystem(FileSystem* files);
  void SetManagerAvailable(bool available);  // false: OpenManager fails (no rights)
  void FailCreateWith(std::optional<std::uint32_t> error);

  // Inspection.
  struct ServiceRecord {
    ServiceConfig config;
    std::optional<std::wstring> description;
    int startAttempts = 0;
    bool running = false;
  };
  std::optional<ServiceRecord> Find(const std::wstring& name) const;
  std::vector<ServiceRecord> All() const;
  int CreateAttempts() const;
  int OpenHandles() const;  // managers and services not yet closed

 private:
  class Manager;
  class Handle;
  std::unique_ptr<ServiceHandle> Create(const ServiceConfig& config, std::uint32_t& error);
  bool SetDescription(const std::wstring& key, const std::wstring& description);
  bool Start(const std::wstring& key);
  void Closed();

  mutable std::mutex mutex_;
  FileSystem* files_ = nullptr;
  bool managerAvailable_ = true;
  std::optional<std::uint32_t> createError_;
  std::map<std::wstring, ServiceRecord> services_;  // keyed by the folded name
  std::vector<std::wstring> order_;
  int createAttempts_ = 0;
  int openHandles_ = 0;
};

}  // namespace installer::sim
