#pragma once

#include <array>
#include <string>

#include "engine/engine_context.h"

namespace installer {

constexpr int kDriverFileCount = 8;

// The driver files' names in the spooler's driver directory for a queue, in their fixed order
// (also the order of the dependent-files list): LabelUI.dll, LabelDrv.dll, CHISMPL.DLL,
// CHITRAD.DLL, ENGLISH.DLL, Image.dll, Label-about.jpg, Label-about.txt for the queue Label.
std::array<std::wstring, kDriverFileCount> DriverFileNames(const std::wstring& queueName);

// driverName := "<queueName> Driver".
void SetDriverName(EngineContext& context);

// Copies the eight driver files from the installation folder into the driver directory (the
// 64-bit sources on 64-bit Windows), overwriting, and deletes the sources. False when the
// driver directory cannot be obtained (logged) or the queue name would lead out of it.
bool CopyDriverFiles(EngineContext& context);

// The driver record as registered: level 3, the machine's environment, files by name only.
DriverInfo3 DriverRecord(const EngineContext& context);

// AddPrinterDriverW with DriverRecord; a refusal is logged and returns false.
bool RegisterPrinterDriver(EngineContext& context);

}  // namespace installer
