#pragma once

#include "engine/engine_context.h"

namespace installer {

// Size of the plotter characterization data file: header 256, pen block 4, eight forms of 56.
constexpr std::size_t kCharacterizationFileSize = 708;

// Writes "<driver directory>\<printerName>GPC.pcd" for the selected model, replacing an older
// file. False when the driver directory cannot be obtained or the printer name would lead out of
// it (nothing is logged); a file that cannot be opened is skipped and counts as success.
bool WriteCharacterizationFile(EngineContext& context);

}  // namespace installer
