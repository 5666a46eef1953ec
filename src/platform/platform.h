#pragma once

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "ui/framework/window_system.h"

namespace installer {

// Everything the logic reaches of the operating system. The program builds one of Win32
// implementations (platform/win32); host tests build one of simulations (platform/sim).
struct Platform {
  FileSystem& files;
  ProfileFiles& profiles;
  Registry& registry;
  Spooler& spooler;
  Shell& shell;
  Services& services;
  System& system;
  WindowSystem& windows;
};

}  // namespace installer
