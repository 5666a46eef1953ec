#pragma once

#include <string>

#include "platform/file_system.h"

namespace installer {

// True for the files that removal needs and the clean-up keeps ("Uninstaller.exe",
// "Uninstall.ini", "ReltPrinterService.exe"), compared ignoring letter case.
bool IsKeptInstallFile(const std::wstring& name);

// Deletes every file directly in `folder` except the kept ones; sub-folders are neither entered
// nor deleted. An empty folder name deletes nothing. Failures are swallowed.
void CleanUpInstallFolder(FileSystem& files, const std::wstring& folder);

}  // namespace installer
