#pragma once

#include <string>

#include "platform/file_system.h"
#include "startup/product_texts.h"

namespace installer {

// Loads an InstallConfig file: six page sections ended by separator lines (20 "=" in a row),
// then the names of the tail into the first still empty ProductNames field each. The first two
// bytes are skipped whatever they hold. When the file cannot be opened, printerName,
// driverName, monitorName and portName get their built-in defaults and false is returned.
// Both outputs are cleared first. A page text holds at most 511 characters (the rest of its
// section is dropped).
bool LoadTextCatalogue(FileSystem& files, const std::wstring& path, PageTexts& pages,
                       ProductNames& names);

// The language dialogs' caption candidate: the last line of the file (byte-order mark not
// skipped, lines of at most 255 units, a final CR LF turned into LF); empty when the file is
// missing or empty.
std::wstring ReadLastLine(FileSystem& files, const std::wstring& path);

}  // namespace installer
