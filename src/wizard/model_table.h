#pragma once

#include <cstdint>
#include <string>

#include "platform/dialog_controls.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "wizard/printer_model.h"

namespace installer {

// Reads "<documentsFolder>\PrinterName.txt" (raw UTF-16LE, lines of at most 509 units, "//"
// lines are comments, ten comma-separated fields a line) into rows 1, 2, ... of `table` and
// appends each row's displayName to the model list (1025). When the file opens, entry 0 is then
// selected and the printer-name edit (1030) cleared. Lines past row 254 are ignored; a field is
// cut to its capacity.
void LoadModelTable(FileSystem& files, const std::wstring& documentsFolder, ModelTable& table,
                    DialogControls& controls);

// The model list's selection changed: a model proposes its name in the printer-name edit and
// becomes `selectedModel`; the prompt (or no selection) empties the edit.
void OnModelSelChange(DialogControls& controls, const ModelTable& table,
                      std::int32_t& selectedModel);

// The first, placeholder entry of the model list for a language index (Russian from Text.ini).
std::wstring ModelPrompt(int languageIndex, ProfileFiles& profiles, Shell& shell);

}  // namespace installer
