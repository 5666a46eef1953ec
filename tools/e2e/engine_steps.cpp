// Runs the spooler steps of an installation, in the worker's order, against the machine's real
// spooler (Wine's, in the end-to-end tests), then checks through the spooler API what landed.
// The payload files are stand-ins written into the installation folder. Every check prints
// "ok   <what>" or "FAIL <what>"; the exit status is the number of failed checks (0: all held).
//
// Two installations of the queue "Label" run one after the other:
//   1. USB (the product's monitor): the monitor DLL is a stand-in that no spooler can load, so
//      the monitor is refused and the port list fallback picks LPT1: (a stub in place of the
//      dialog).
//   2. LPT2: chosen on the settings page: the queue takes the free name "Label (1)" and becomes
//      the default printer.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/characterization_file.h"
#include "engine/driver_package.h"
#include "engine/engine_context.h"
#include "engine/install_log.h"
#include "engine/monitor_port.h"
#include "engine/printer_queue.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system.h"

// The raw API comes last: its A/W macros would rename the seams' operations.
#include <windows.h>
#include <winspool.h>

#include "e2e_checks.h"

namespace {

using namespace installer;

using e2e::Check;
using e2e::failures;
using e2e::Narrow;
using e2e::Note;

// Stands in for the port list dialog: it "picks" LPT1: and says so.
class StubPortPicker : public PortPicker {
 public:
  int shown = 0;
  std::optional<std::wstring> PickPort() override {
    ++shown;
    Note("fallback: the port list dialog would open here; the stub picks LPT1:");
    return std::wstring(L"LPT1:");
  }
};

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void WriteStandIn(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string content = "stand-in for " + Narrow(path);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void PutStandInPayload(const std::wstring& folder) {
  for (const wchar_t* name :
       {L"plotui.dll", L"plotter.dll", L"CHISMPL.DLL", L"CHITRAD.DLL", L"ENGLISH.DLL", L"Image.dll",
        L"KavitPrinterMon.dll", L"KavitPrinterMonUI.dll"}) {
    WriteStandIn(folder + L"\\" + name);
    WriteStandIn(folder + L"\\" + name + L".x64");
  }
  WriteStandIn(folder + L"\\about.jpg");
  WriteStandIn(folder + L"\\about.txt");
}

std::wstring DriverDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer),
                                  sizeof buffer, &needed)) {
    return {};
  }
  return buffer;
}

// The installed driver of that name in the environment, as DRIVER_INFO_3 texts.
struct InstalledDriver {
  std::wstring driverPath, dataFile, configFile, dependentFiles;
};
std::optional<InstalledDriver> FindDriver(const std::wstring& name, const wchar_t* environment) {
  std::wstring env = environment;
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrinterDriversW(nullptr, env.data(), 3, nullptr, 0, &needed, &count);
  if (needed == 0) return std::nullopt;
  std::vector<BYTE> buffer(needed);
  if (!EnumPrinterDriversW(nullptr, env.data(), 3, buffer.data(), needed, &needed, &count)) {
    return std::nullopt;
  }
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (!drivers[i].pName || name != drivers[i].pName) continue;
    InstalledDriver found;
    auto text = [](const wchar_t* t) { return t ? std::wstring(t) : std::wstring(); };
    found.driverPath = text(drivers[i].pDriverPath);
    found.dataFile = text(drivers[i].pDataFile);
    found.configFile = text(drivers[i].pConfigFile);
    for (const wchar_t* file = drivers[i].pDependentFiles; file && *file;
         file += wcslen(file) + 1) {
      found.dependentFiles += std::wstring(file) + L";";
    }
    return found;
  }
  return std::nullopt;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() &&
         CompareStringOrdinal(text.c_str() + text.size() - tail.size(), -1, tail.c_str(), -1,
                              TRUE) == CSTR_EQUAL;
}

// The queue's port and one printer-data value, read through an opened printer.
struct Queue {
  bool found = false;
  std::wstring port, driver;
};
Queue ReadQueue(const std::wstring& name) {
  Queue queue;
  std::wstring printerName = name;
  HANDLE printer = nullptr;
  if (!OpenPrinterW(printerName.data(), &printer, nullptr)) return queue;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (needed && GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    queue.found = true;
    queue.port = info->pPortName ? info->pPortName : L"";
    queue.driver = info->pDriverName ? info->pDriverName : L"";
  }
  ClosePrinter(printer);
  return queue;
}

std::optional<std::wstring> PrinterData(const std::wstring& name, const std::wstring& value) {
  std::wstring printerName = name;
  std::wstring valueName = value;
  HANDLE printer = nullptr;
  if (!OpenPrinterW(printerName.data(), &printer, nullptr)) return std::nullopt;
  DWORD type = 0;
  DWORD needed = 0;
  std::vector<BYTE> buffer(1024, 0);
  const DWORD status = GetPrinterDataW(printer, valueName.data(), &type, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), &needed);
  ClosePrinter(printer);
  if (status != ERROR_SUCCESS || type != REG_SZ || needed < sizeof(wchar_t)) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(buffer.data()));
}

std::wstring DefaultPrinter() {
  wchar_t buffer[512] = {};
  DWORD size = 512;
  if (!GetDefaultPrinterW(buffer, &size)) return {};
  return buffer;
}

std::string ReadLog() {
  HANDLE file = CreateFileW(kInstallLogPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text(64 * 1024, '\0');
  DWORD got = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(file);
  text.resize(got);
  return text;
}

// One installation's spooler steps in the worker's order; true when the registration succeeded.
bool RunSteps(EngineContext& context) {
  bool ok = WriteCharacterizationFile(context);
  Note(std::string("WriteCharacterizationFile: ") + (ok ? "true" : "false"));
  if (ok) {
    SetDriverName(context);
    ok = CopyDriverFiles(context);
    Note(std::string("CopyDriverFiles: ") + (ok ? "true" : "false"));
  }
  if (ok) {
    InstallMonitorFiles(context);
    ok = ResolveQueuePort(context);
    Note("ResolveQueuePort: " + std::string(ok ? "true" : "false") +
         ", port=" + Narrow(context.settings.portName));
  }
  if (ok) {
    ok = RegisterPrinterDriver(context);
    Note(std::string("RegisterPrinterDriver: ") + (ok ? "true" : "false"));
  }
  if (ok) {
    ok = CreatePrinterQueue(context);
    Note("CreatePrinterQueue: " + std::string(ok ? "true" : "false") +
         ", queue=" + Narrow(context.createdQueueName));
  }
  SetDefaultQueue(context, ok, [] { return true; });
  return ok;
}

}  // namespace

int wmain() {
  win32::Win32FileSystem files;
  win32::Win32System system;
  win32::Win32Spooler spooler;
  StubPortPicker picker;

  const std::wstring base = L"C:\\Program Files\\Label Printer";
  const std::wstring folder = base + L"\\Label";
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  DeleteFileW(kInstallLogPath);

  PrinterModel model;
  model.resolution = 300;
  model.paperWidth = 400;
  model.paperHeight = 300;
  model.usbId = L"vid_1a2b&pid_3c4d";

  ProductNames names;
  names.printerName = L"Label";
  names.monitorName = L"Label Monitor";
  names.languageDll = L"ENGLISH.DLL";

  // Installation 1: USB.
  InstallSettings settings;
  settings.queueName = L"Label";
  settings.installFolder = folder;
  settings.portName = L"USB";
  settings.useMonitorPort = true;
  PutStandInPayload(folder);
  EngineContext first{
      files, system, spooler, picker, names, settings, model, system.IsRunningOnWin64(), {}};
  Note("installation 1: queue Label on the product's USB monitor");
  Check(first.win64, "the 64-bit build runs on 64-bit Windows");
  Check(RunSteps(first), "installation 1 registers the printer");
  Check(picker.shown == 1,
        "the monitor stand-in is refused (AddMonitorW needs a real monitor DLL), so the port list "
        "fallback ran once");

  const std::wstring driverDirectory = DriverDirectory();
  Note("driver directory: " + Narrow(driverDirectory));
  for (const std::wstring& name : DriverFileNames(L"Label")) {
    Check(FileExists(driverDirectory + L"\\" + name), "driver directory holds " + Narrow(name));
  }
  Check(FileSize(driverDirectory + L"\\LabelGPC.pcd") == 708,
        "LabelGPC.pcd is 708 bytes in the driver directory");
  Check(!FileExists(folder + L"\\plotter.dll.x64") && !FileExists(folder + L"\\plotter.dll"),
        "the driver sources left the installation folder");
  Check(FileExists(system.SystemDirectory() + L"\\LabelMon.dll") &&
            FileExists(system.SystemDirectory() + L"\\LabelMonUI.dll"),
        "the monitor DLLs are in the system directory");

  const auto driver = FindDriver(L"Label Driver", L"Windows x64");
  Check(driver.has_value(), "driver Label Driver is registered under \"Windows x64\"");
  if (driver) {
    Check(EndsWith(driver->driverPath, L"\\LabelDrv.dll"),
          "driver path " + Narrow(driver->driverPath));
    Check(EndsWith(driver->dataFile, L"\\LabelGPC.pcd"), "data file " + Narrow(driver->dataFile));
    Check(EndsWith(driver->configFile, L"\\LabelUI.dll"),
          "config file " + Narrow(driver->configFile));
    Note("dependent files: " + Narrow(driver->dependentFiles));
  }

  const Queue queue = ReadQueue(L"Label");
  Check(queue.found, "queue Label exists");
  Check(queue.port == L"LPT1:",
        "queue Label prints to the picked port LPT1: (" + Narrow(queue.port) + ")");
  Check(queue.driver == L"Label Driver", "queue Label uses Label Driver");
  const std::pair<const wchar_t*, const wchar_t*> data[] = {
      {L"DevicePath", L""},
      {L"VidAndPid", L"vid_1a2b&pid_3c4d"},
      {L"UserForm", L"400 300 0 0"},
      {L"Language", L"ENGLISH.DLL"},
  };
  for (const auto& [value, expected] : data) {
    const auto stored = PrinterData(L"Label", value);
    Check(stored && *stored == expected,
          "printer data " + Narrow(value) + "=\"" + Narrow(stored.value_or(L"<missing>")) + "\"");
  }
  Check(DefaultPrinter() == L"Label", "Label is the default printer");

  // Installation 2: a local port, the plain name taken.
  InstallSettings second = settings;
  second.portName = L"LPT2:";
  second.useMonitorPort = false;
  ProductNames secondNames = names;
  PutStandInPayload(folder);
  EngineContext again{files, system, spooler, picker, secondNames, second, model, first.win64, {}};
  Note("installation 2: queue Label again, on LPT2:");
  Check(RunSteps(again), "installation 2 registers the printer");
  Check(again.createdQueueName == L"Label (1)", "installation 2 creates the queue \"Label (1)\"");
  Check(ReadQueue(L"Label (1)").port == L"LPT2:", "queue Label (1) prints to LPT2:");
  Check(DefaultPrinter() == L"Label (1)", "the new queue Label (1) is the default printer");
  Check(picker.shown == 1, "an existing chosen port needs no fallback");

  const std::string log = ReadLog();
  std::printf("log C:\\InstallPrinter.txt:\n%s", log.c_str());
  Check(log.find("AddPrinterMonitor64 Error=") != std::string::npos,
        "the log names the refused monitor registration");
  Check(log.find("AddPrinter hPrinter = ") != log.rfind("AddPrinter hPrinter = "),
        "the log holds one queue line per installation");
  Check(log.find("\r\r\n") != std::string::npos, "log messages end in CR CR LF");

  std::printf("%s: %d failed\n", failures ? "FAILED" : "PASSED", failures);
  return failures;
}
