#include "registration/printer_service.h"

namespace installer {

namespace {

constexpr std::uint32_t kServiceWin32OwnProcess = 0x10;
constexpr std::uint32_t kServiceInteractiveProcess = 0x100;
constexpr std::uint32_t kServiceAutoStart = 2;
constexpr std::uint32_t kServiceErrorNormal = 1;

}  // namespace

void InstallPrinterService(Services& services, const std::wstring& installFolder) {
  auto manager = services.OpenManager();
  if (!manager) return;
  ServiceConfig config;
  config.name = kPrinterServiceName;
  config.displayName = kPrinterServiceName;
  config.serviceType = kServiceWin32OwnProcess | kServiceInteractiveProcess;
  config.startType = kServiceAutoStart;
  config.errorControl = kServiceErrorNormal;
  config.binaryPath = installFolder + L"\\" + kPrinterServiceProgram;
  std::uint32_t error = 0;
  auto service = manager->CreateService(config, error);
  if (!service) return;
  service->SetDescription(kPrinterServiceDescription);
  service->Start();
}

}  // namespace installer
