#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window_system.h"

namespace installer::sim {

// A whole simulated machine: every seam, wired together, with the user's documents folder in
// place. Tests change the members directly.
struct SimPlatform {
  static constexpr const wchar_t* kDocuments = L"C:\\Users\\me\\Documents";

  SimFileSystem files;
  SimProfileFiles profiles{files};
  SimRegistry registry;
  SimSpooler spooler;
  SimShell shell;
  SimServices services;
  SimSystem system;
  SimWindowSystem windows;
  Platform platform{files, profiles, registry, spooler, shell, services, system, windows};

  SimPlatform() {
    shell.AttachFileSystem(&files);
    shell.SetSpecialFolder(SpecialFolder::Personal, kDocuments);
    files.MakeDirectories(kDocuments);
  }
};

}  // namespace installer::sim
