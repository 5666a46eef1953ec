#pragma once

#include <string>

#include "platform/file_system.h"

namespace installer {

// Creates a drive-rooted folder and every missing folder above it, outermost first. Returns 1
// when the folder exists afterwards, 0 otherwise. Refused (0, nothing created): paths without
// a drive letter and colon (relative or network paths), drive-relative paths such as "C:name",
// paths on a drive that does not exist, and paths longer than 255 characters. A path ending in
// a backslash is complete at that backslash.
int CreateDirectoryPath(FileSystem& files, const std::wstring& path);

}  // namespace installer
