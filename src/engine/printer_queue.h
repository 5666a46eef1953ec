#pragma once

#include <functional>
#include <string>

#include "engine/engine_context.h"
#include "platform/dialog_controls.h"

namespace installer {

// The queue name that no printer of the machine uses yet: queueName, else "queueName (1)",
// "queueName (2)", ... Names are compared ignoring case, as the spooler compares them. When the
// printers cannot be enumerated, queueName.
std::wstring MakeUniqueQueueName(EngineContext& context);

// The printer record for AddPrinterW.
PrinterInfo2 PrinterRecord(const EngineContext& context, const std::wstring& uniqueName);

// Adds the queue under its unique name on the settled port and driver, then writes its printer
// data (DevicePath, VidAndPid, UserForm, Language). On success createdQueueName holds the name.
// A refusal is logged and returns false.
bool CreatePrinterQueue(EngineContext& context);

// The default-printer step after the registration: reads "Set as default printer" again into
// setAsDefault and, when it is set and the registration succeeded, makes the created queue (its
// numbered name included) the default printer. Failures are ignored.
void SetDefaultQueue(EngineContext& context, bool registered,
                     const std::function<bool()>& defaultPrinterChecked);
// The same, reading the check box (1029) of the wizard dialog.
void SetDefaultQueue(EngineContext& context, bool registered, DialogControls& wizard);

}  // namespace installer
