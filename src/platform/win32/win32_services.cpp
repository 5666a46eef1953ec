#include "platform/win32/win32_services.h"

#include <windows.h>

// The seam's method name, not the Win32 A/W macro.
#undef CreateService

namespace installer::win32 {

namespace {

// An owned service-manager or service handle.
class ScHandle {
 public:
  explicit ScHandle(SC_HANDLE handle) : handle_(handle) {}
  ScHandle(const ScHandle&) = delete;
  ScHandle& operator=(const ScHandle&) = delete;
  ~ScHandle() {
    if (handle_) CloseServiceHandle(handle_);
  }
  SC_HANDLE get() const { return handle_; }

 private:
  SC_HANDLE handle_;
};

class Win32ServiceHandle : public ServiceHandle {
 public:
  explicit Win32ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
  bool SetDescription(const std::wstring& description) override {
    std::wstring text = description;
    SERVICE_DESCRIPTIONW info = {};
    info.lpDescription = text.data();
    return ChangeServiceConfig2W(handle_.get(), SERVICE_CONFIG_DESCRIPTION, &info) != FALSE;
  }
  bool Start() override { return StartServiceW(handle_.get(), 0, nullptr) != FALSE; }

 private:
  ScHandle handle_;
};

class Win32ServiceManager : public ServiceManager {
 public:
  explicit Win32ServiceManager(SC_HANDLE handle) : handle_(handle) {}
  std::unique_ptr<ServiceHandle> CreateService(const ServiceConfig& config,
                                               std::uint32_t& error) override {
    SC_HANDLE service = CreateServiceW(
        handle_.get(), config.name.c_str(), config.displayName.c_str(), SERVICE_ALL_ACCESS,
        config.serviceType, config.startType, config.errorControl, config.binaryPath.c_str(),
        nullptr, nullptr, L"", nullptr, nullptr);
    if (!service) {
      error = GetLastError();
      return nullptr;
    }
    return std::make_unique<Win32ServiceHandle>(service);
  }

 private:
  ScHandle handle_;
};

}  // namespace

std::unique_ptr<ServiceManager> Win32Services::OpenManager() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return nullptr;
  return std::make_unique<Win32ServiceManager>(manager);
}

}  // namespace installer::win32
