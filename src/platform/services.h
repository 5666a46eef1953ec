#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace installer {

struct ServiceConfig {
  std::wstring name;
  std::wstring displayName;
  std::uint32_t serviceType = 0;   // 0x110: own process, interactive
  std::uint32_t startType = 0;     // 2: automatic
  std::uint32_t errorControl = 0;  // 1: normal
  std::wstring binaryPath;
  // No load-order group, no tag, an empty dependency list, the local system account.
};

// An open service; closed when destroyed.
class ServiceHandle {
 public:
  virtual ~ServiceHandle() = default;
  virtual bool SetDescription(const std::wstring& description) = 0;  // ChangeServiceConfig2W
  virtual bool Start() = 0;                                          // StartServiceW, no arguments
};

// An open service control manager; closed when destroyed.
class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  virtual std::unique_ptr<ServiceHandle> CreateService(const ServiceConfig& config,
                                                       std::uint32_t& error) = 0;
};

class Services {
 public:
  virtual ~Services() = default;
  // OpenSCManagerW(local machine, SC_MANAGER_ALL_ACCESS). Null on failure.
  virtual std::unique_ptr<ServiceManager> OpenManager() = 0;
};

}  // namespace installer
