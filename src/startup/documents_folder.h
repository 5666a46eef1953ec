#pragma once

#include <string>

#include "platform/shell.h"

namespace installer {

// The documents folder (CSIDL_PERSONAL) without a trailing backslash, looked up afresh at every
// call; empty when the shell gives none, so that names built from it are relative.
std::wstring DocumentsFolder(Shell& shell);

}  // namespace installer
