#pragma once

#include <string>

#include "platform/shell.h"

namespace installer {

// The folder part of `target`: everything before its last backslash; empty without one.
std::wstring WorkingDirectoryOf(const std::wstring& target);

// Saves a shell link at `linkPath` that starts `target` in the target's folder. COM is
// initialised and uninitialised on the calling thread; when COM was already initialised there
// (or cannot be) nothing is created. Every failure is swallowed.
void CreateShortcut(Shell& shell, const std::wstring& target, const std::wstring& linkPath);

}  // namespace installer
