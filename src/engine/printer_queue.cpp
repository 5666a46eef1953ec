#include "engine/printer_queue.h"

#include <algorithm>
#include <cwctype>

#include "engine/install_log.h"
#include "resources/resource.h"

namespace installer {

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<std::wint_t>(x)) ==
                  std::towupper(static_cast<std::wint_t>(y));
         });
}

}  // namespace

std::wstring MakeUniqueQueueName(EngineContext& context) {
  const std::wstring& queue = context.settings.queueName;
  std::wstring candidate = queue;
  const auto printers = EnumerateAllPrinters(context.spooler);
  if (!printers) return candidate;
  auto taken = [&](const std::wstring& name) {
    return std::any_of(printers->begin(), printers->end(), [&](const PrinterEntry& printer) {
      return SameName(printer.printerName, name);
    });
  };
  // Each name is taken at most once, so the search ends within printers->size() + 1 tries.
  for (int n = 1; taken(candidate); ++n) {
    candidate = queue + L" (" + std::to_wstring(n) + L")";
  }
  return candidate;
}

PrinterInfo2 PrinterRecord(const EngineContext& context, const std::wstring& uniqueName) {
  PrinterInfo2 printer;
  printer.printerName = uniqueName;
  printer.shareName = uniqueName;
  printer.portName = context.settings.portName;
  printer.driverName = context.names.driverName;
  printer.sepFile = L"";
  printer.printProcessor = L"WinPrint";
  printer.datatype = L"RAW";
  printer.parameters = L"";
  printer.attributes = 4;  // PRINTER_ATTRIBUTE_DEFAULT
  return printer;
}

bool CreatePrinterQueue(EngineContext& context) {
  const std::wstring name = MakeUniqueQueueName(context);
  std::uint32_t error = 0;
  auto printer = context.spooler.AddPrinter(PrinterRecord(context, name), error);
  if (!printer) {
    WriteLog(context.files, "AddPrinter = %d\r\n", static_cast<int>(error));
    return false;
  }
  const PrinterModel& model = context.model;
  const std::wstring userForm =
      std::to_wstring(model.paperWidth) + L" " + std::to_wstring(model.paperHeight) + L" 0 0";
  // No step fills a device path: the value holds only its terminator.
  printer->SetPrinterData(L"DevicePath", L"");
  printer->SetPrinterData(L"VidAndPid", model.usbId);
  printer->SetPrinterData(L"UserForm", userForm);
  printer->SetPrinterData(L"Language", context.names.languageDll);
  WriteLog(context.files, "AddPrinter hPrinter = %llx\r\n",
           static_cast<unsigned long long>(printer->Value()));
  context.createdQueueName = name;
  return true;
}

void SetDefaultQueue(EngineContext& context, bool registered,
                     const std::function<bool()>& defaultPrinterChecked) {
  context.settings.setAsDefault = defaultPrinterChecked && defaultPrinterChecked();
  if (!context.settings.setAsDefault || !registered) return;
  const std::wstring& name =
      context.createdQueueName.empty() ? context.settings.queueName : context.createdQueueName;
  context.spooler.SetDefaultPrinterA(context.system.ToAnsi(name));
}

void SetDefaultQueue(EngineContext& context, bool registered, DialogControls& wizard) {
  SetDefaultQueue(context, registered, [&wizard] { return wizard.IsChecked(IDC_DEFAULT_PRINTER); });
}

}  // namespace installer
