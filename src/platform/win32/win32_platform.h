#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system.h"
#include "ui/framework/win32/win32_window_system.h"

namespace installer::win32 {

// The real machine: one object of every Win32 seam implementation.
struct Win32Platform {
  Win32FileSystem files;
  Win32ProfileFiles profiles;
  Win32Registry registry;
  Win32Spooler spooler;
  Win32Shell shell;
  Win32Services services;
  Win32System system;
  Win32WindowSystem windows;
  Platform platform{files, profiles, registry, spooler, shell, services, system, windows};
};

}  // namespace installer::win32
