#include "engine/driver_package.h"

#include "engine/install_log.h"

namespace installer {

namespace {

// The payload names of the driver files; rows 0 to 5 have a 64-bit twin with ".x64" appended.
constexpr const wchar_t* kSourceNames[kDriverFileCount] = {
    L"plotui.dll",  L"plotter.dll", L"CHISMPL.DLL", L"CHITRAD.DLL",
    L"ENGLISH.DLL", L"Image.dll",   L"about.jpg",   L"about.txt",
};
constexpr int kRowsWith64BitTwin = 6;

}  // namespace

std::array<std::wstring, kDriverFileCount> DriverFileNames(const std::wstring& queueName) {
  return {queueName + L"UI.dll",
          queueName + L"Drv.dll",
          L"CHISMPL.DLL",
          L"CHITRAD.DLL",
          L"ENGLISH.DLL",
          L"Image.dll",
          queueName + L"-about.jpg",
          queueName + L"-about.txt"};
}

void SetDriverName(EngineContext& context) {
  context.names.driverName = context.settings.queueName + L" Driver";
}

bool CopyDriverFiles(EngineContext& context) {
  if (!IsPlainNamePart(context.settings.queueName)) return false;
  std::uint32_t error = 0;
  const auto directory = context.spooler.GetPrinterDriverDirectory(error);
  if (!directory) {
    WriteLog(context.files, "GetPrinterDriverDirectory = %d\r\n", static_cast<int>(error));
    return false;
  }
  const auto targets = DriverFileNames(context.settings.queueName);
  const std::wstring& folder = context.settings.installFolder;
  for (int row = 0; row < kDriverFileCount; ++row) {
    const std::wstring plain = folder + L"\\" + kSourceNames[row];
    const bool twin = context.win64 && row < kRowsWith64BitTwin;
    const std::wstring source = twin ? plain + L".x64" : plain;
    context.files.CopyFile(source, *directory + L"\\" + targets[row], false);
    context.files.DeleteFile(source);
    if (twin) context.files.DeleteFile(plain);
  }
  return true;
}

DriverInfo3 DriverRecord(const EngineContext& context) {
  const std::wstring& queue = context.settings.queueName;
  const auto files = DriverFileNames(queue);
  DriverInfo3 driver;
  driver.version = 3;
  driver.name = context.names.driverName;
  driver.environment = Environment(context);
  driver.driverPath = files[1];
  driver.dataFile = queue + L"GPC.pcd";
  driver.configFile = files[0];
  for (const auto& file : files) {
    driver.dependentFiles += file;
    driver.dependentFiles.push_back(L'\0');
  }
  driver.dependentFiles.push_back(L'\0');
  return driver;
}

bool RegisterPrinterDriver(EngineContext& context) {
  std::uint32_t error = 0;
  if (context.spooler.AddPrinterDriver(DriverRecord(context), error)) return true;
  WriteLog(context.files, "AddPrinterDriver = %d\r\n", static_cast<int>(error));
  return false;
}

}  // namespace installer
