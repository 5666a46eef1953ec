#pragma once

#include <optional>
#include <string>

#include "engine/install_settings.h"
#include "platform/file_system.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "startup/product_texts.h"
#include "wizard/printer_model.h"

namespace installer {

// Lets the user pick one of the machine's ports when the queue's own port cannot be set up.
// The program shows the port list dialog modally without an owner.
class PortPicker {
 public:
  virtual ~PortPicker() = default;
  // The chosen port's name; nullopt when the user cancelled.
  virtual std::optional<std::wstring> PickPort() = 0;
};

// What the spooler steps of one installation work on. The worker builds it once; the steps
// read and update it in their fixed order on the worker thread.
struct EngineContext {
  FileSystem& files;
  System& system;
  Spooler& spooler;
  PortPicker& portPicker;
  // The worker's copy of the names: printerName equals settings.queueName; driverName is set by
  // SetDriverName; portName follows settings.portName.
  ProductNames& names;
  // queueName, installFolder, useMonitorPort; portName may be replaced by ResolveQueuePort and
  // setAsDefault is read again by SetDefaultQueue.
  InstallSettings& settings;
  const PrinterModel& model;  // the selected row of the model table
  bool win64 = false;         // 64-bit Windows: 64-bit payload files and environment
  // The name of the queue that CreatePrinterQueue created (it may carry a number, Label (1)).
  std::wstring createdQueueName;
};

// Whether a name taken from the user's printer name can be part of a file name without leading
// out of its folder: no path separator and no drive or stream colon. Steps that build file names
// from it refuse other names (the spooler refuses such printer names anyway).
inline bool IsPlainNamePart(const std::wstring& name) {
  return name.find_first_of(L"\\/:") == std::wstring::npos;
}

inline const wchar_t* Environment(const EngineContext& context) {
  return context.win64 ? kEnvironmentX64 : kEnvironmentX86;
}

}  // namespace installer
