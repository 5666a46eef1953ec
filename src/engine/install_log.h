#pragma once

#include "platform/file_system.h"

namespace installer {

// The support log of the spooler steps; it grows across installations and nothing reads it.
inline constexpr wchar_t kInstallLogPath[] = L"C:\\InstallPrinter.txt";

// Formats one message printf-style (cut at 1023 bytes) and appends it to the log in text mode:
// every "\n" is written as "\r\n", so a message ending in "\r\n" ends in CR CR LF in the file.
// The file is opened and closed for each message; when it cannot be opened the message is
// dropped silently.
void WriteLog(FileSystem& files, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace installer
